#include "doc/esis.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "util/fatal.h"
#include "util/linereader.h"
#include "util/settings.h"
#include "util/split.h"

namespace qlx {
namespace {

// The attribute lists read so far, each stored once (open addressing over
// the list's words; at most half full).  Lists are compared by the interned
// pointers of their names and values.
class AttrListTable {
 public:
  const AttrList* Intern(const std::vector<AttrPair>& atts) {
    if ((count_ + 1) * 2 > slots_.size()) Grow();
    const uint64_t hash = Hash(atts.data(), atts.size());
    size_t i = hash & (slots_.size() - 1);
    for (; slots_[i]; i = (i + 1) & (slots_.size() - 1)) {
      const AttrList* list = slots_[i];
      if (size_t(list->count) == atts.size() &&
          std::memcmp(list->pairs(), atts.data(), atts.size() * sizeof(AttrPair)) == 0)
        return list;
    }
    void* mem = doc.arena.Array<AttrList>(1 + (atts.size() * sizeof(AttrPair) + sizeof(AttrList) - 1) /
                                          sizeof(AttrList));
    AttrList* list = new (mem) AttrList();
    list->count = int(atts.size());
    std::memcpy(const_cast<AttrPair*>(list->pairs()), atts.data(), atts.size() * sizeof(AttrPair));
    slots_[i] = list;
    ++count_;
    return list;
  }

 private:
  static uint64_t Hash(const AttrPair* pairs, size_t n) {
    uint64_t h = 0x9E3779B97F4A7C15ull ^ n;
    for (size_t i = 0; i < n; ++i) {
      h = (h ^ reinterpret_cast<uintptr_t>(pairs[i].name)) * 0xFF51AFD7ED558CCDull;
      h = (h ^ reinterpret_cast<uintptr_t>(pairs[i].value)) * 0xC4CEB9FE1A85EC53ull;
    }
    return h ^ (h >> 29);
  }
  void Grow() {
    std::vector<const AttrList*> old = std::move(slots_);
    slots_.assign(old.empty() ? 64 : old.size() * 2, nullptr);
    for (const AttrList* list : old) {
      if (!list) continue;
      size_t i = Hash(list->pairs(), size_t(list->count)) & (slots_.size() - 1);
      while (slots_[i]) i = (i + 1) & (slots_.size() - 1);
      slots_[i] = list;
    }
  }
  std::vector<const AttrList*> slots_;  // a power of two in size, or empty
  size_t count_ = 0;
};

struct OpenElement {
  ElemNode* elem;
  size_t firstItem;  // index of its first item in the shared content stack
};

class Reader {
 public:
  Reader(LineReader& in, const char* inputName) : in_(in), inputName_(inputName) {}
  ElemNode* Run();

 private:
  bool NextRecord(std::string_view* rec);
  ElemNode* NewElement();
  void InfoRecord(ElemNode* e, char cmd, std::string_view text);
  // One record of the info block of *pending; the start record ends the
  // block (and *pending becomes null).
  void InfoBlockRecord(ElemNode** pending, char cmd, std::string_view text) {
    if (cmd == '(') {
      StartElement(*pending, text);
      *pending = nullptr;
    } else {
      InfoRecord(*pending, cmd, text);
    }
  }
  void StartElement(ElemNode* e, std::string_view name);
  // Links the element to the entity its NAME, ENTITYREF or EXTERNAL
  // attribute names, the first of them that names one.
  void FindEntity(ElemNode* e);
  void CloseElement();
  const char* CopyText(std::string_view text, size_t align = 1);
  [[noreturn]] void ReadFailed();

  LineReader& in_;
  const char* inputName_;
  std::vector<OpenElement> open_;
  std::vector<ContentItem> items_;
  std::vector<AttrPair> atts_;
  AttrListTable attLists_;
  // The element names met so far, by a cheap hash of the name: a document
  // has few, and most start records find theirs here without a lookup.
  std::array<const char*, 256> recentNames_{};
  const char* ElementName(std::string_view name);
  const char* pendingSystemId_ = nullptr;
  const char* pendingPublicId_ = nullptr;
  const char* pendingGenerated_ = nullptr;
  long recordNumber_ = 0;
};

void Reader::ReadFailed() {
  errno = in_.error();
  std::perror(inputName_ ? inputName_ : "standard input");
  Fatal(1);
}

bool Reader::NextRecord(std::string_view* rec) {
  if (!in_.Next(rec)) {
    if (in_.error()) ReadFailed();
    return false;
  }
  ++recordNumber_;
  // CR-LF line ends (ESIS written in text mode elsewhere): the carriage
  // return belongs to the line end, never to the record.
  if (!rec->empty() && rec->back() == '\r') rec->remove_suffix(1);
  return true;
}

const char* Reader::CopyText(std::string_view text, size_t align) {
  if (!text.empty() && std::memchr(text.data(), '\0', text.size())) {
    std::fprintf(stderr, "Error: NUL character in ESIS record %ld.\n", recordNumber_);
    Fatal(1);
  }
  return doc.arena.Copy(text, align);
}

ElemNode* Reader::NewElement() {
  ElemNode* e = NewElementRecord();
  SetLineFrom(e, doc.currentLine);
  if (doc.fileRuns.empty() || doc.fileRuns.back().name != doc.currentFileName)
    doc.fileRuns.push_back(Document::FileRun{e->serial, doc.currentFileName});
  pendingSystemId_ = pendingPublicId_ = pendingGenerated_ = nullptr;
  atts_.clear();
  return e;
}

void Reader::StartElement(ElemNode* e, std::string_view name) {
  e->gi = ElementName(name);
  if (!atts_.empty()) e->attList = attLists_.Intern(atts_);
  // An attribute names an entity only when one has been declared.
  if (doc.entityFirst && !atts_.empty()) FindEntity(e);
  if (const char* id = ElementId(e)) RegisterID(id, e);  // start order is document order
  e->parentSerial = open_.empty() ? -1 : open_.back().elem->serial;
  open_.push_back(OpenElement{e, items_.size()});
}

void Reader::FindEntity(ElemNode* e) {
  const char* entName = nullptr;
  for (const char* key : {"NAME", "ENTITYREF", "EXTERNAL"}) {
    for (size_t i = 0; i < atts_.size() && !entName; ++i)
      if (std::strcmp(atts_[i].name, key) == 0) entName = atts_[i].value;
    if (entName) break;
  }
  if (entName) {
    for (EntityInfo* ent = doc.entityFirst; ent; ent = ent->next) {
      if (std::strcmp(ent->name, entName) == 0) {
        SetElementEntity(e, ent);
        break;
      }
    }
  }
}

const char* Reader::ElementName(std::string_view name) {
  size_t slot = name.size();
  if (!name.empty())
    slot = slot * 31 + static_cast<unsigned char>(name[0]) * 7 +
           static_cast<unsigned char>(name.back()) + static_cast<unsigned char>(name[name.size() / 2]);
  const char*& cached = recentNames_[slot % recentNames_.size()];
  if (cached) {
    size_t i = 0;  // stops at the end of either text (cached ends in NUL)
    while (i < name.size() && cached[i] == name[i] && cached[i] != '\0') ++i;
    if (i == name.size() && cached[i] == '\0') return cached;
  }
  return cached = InternElementName(name);
}

// One record of an info block (the records before a start record).
void Reader::InfoRecord(ElemNode* e, char cmd, std::string_view text) {
  switch (cmd) {
    case 's': pendingSystemId_ = CopyText(text); return;
    case 'p': pendingPublicId_ = CopyText(text); return;
    case 'f': pendingGenerated_ = CopyText(text); return;
    case '?': case 'D': case 'N': return;
    case 'A': {
      // Most attribute records are "NAME IMPLIED": recognised without
      // splitting (a name without blanks, so the split would agree).
      constexpr std::string_view kImplied = " IMPLIED";
      if (text.size() > kImplied.size() && text.ends_with(kImplied)) {
        size_t nameEnd = text.size() - kImplied.size(), i = 0;
        while (i < nameEnd && !IsBlank(text[i])) ++i;
        if (i == nameEnd) return;
      }
      std::string_view w[3];
      SplitInto(text, w, 3);
      std::string_view name = w[0], type = w[1], value = w[2];
      if (type == "IMPLIED") return;
      if (type == "CDATA" || type == "TOKEN" || type == "ENTITY" || type == "NOTATION") {
        if (std::memchr(text.data(), '\0', text.size())) CopyText(text);  // reports and stops
        atts_.push_back(AttrPair{InternAttrString(name), InternAttrString(value)});
        return;
      }
      std::fprintf(stderr, "Error: Bad attr line (%d): A%.*s %.*s...\n", ElementLine(e), int(name.size()),
                   name.data(), int(type.size()), type.data());
      return;
    }
    case 'E': {
      std::string_view w[3];
      SplitInto(text, w, 3);
      EntityInfo* ent = doc.arena.Array<EntityInfo>(1);
      new (ent) EntityInfo();
      ent->name = CopyText(w[0]);
      ent->type = CopyText(w[1]);
      ent->notation = CopyText(w[2]);
      ent->systemId = pendingSystemId_;
      ent->publicId = pendingPublicId_;
      ent->generatedName = pendingGenerated_;
      if (doc.entityLast) doc.entityLast->next = ent;
      else doc.entityFirst = ent;
      doc.entityLast = ent;
      return;
    }
    case 'I':
      std::fprintf(stderr, "Error: Got CMD_INT_ENT in AccumElemInfo: %.*s\n", int(text.size()),
                   text.data());
      return;
    case 'L': {
      size_t sp = text.find(' ');
      if (sp != std::string_view::npos) doc.currentFileName = CopyText(text.substr(sp + 1));
      doc.currentLine = std::atoi(std::string(text.substr(0, sp == std::string_view::npos ? text.size() : sp)).c_str());
      SetLineFrom(e, doc.currentLine);
      if (sp != std::string_view::npos) SetFileNameFrom(e, doc.currentFileName);
      return;
    }
    case '-':
      std::fprintf(stderr, "Error: Data in AccumElemInfo, line %d:\n%c%.*s\n", ElementLine(e), cmd,
                   int(text.size()), text.data());
      Fatal(1);
    default:
      std::fprintf(stderr, "Error: Unexpected input in AccumElemInfo, %d:\n%c%.*s\n", ElementLine(e), cmd,
                   int(text.size()), text.data());
      Fatal(1);
  }
}

// Stores the element's content, counts its children and gives each its
// order while the items are still at hand; the subtree ends here.
void Reader::CloseElement() {
  OpenElement top = open_.back();
  open_.pop_back();
  ElemNode* e = top.elem;
  e->end = doc.nextSerial;
  size_t n = items_.size() - top.firstItem;
  if (n) {
    const ContentItem* items = items_.data() + top.firstItem;
    e->contentCount = int(n);
    if (n == 1) {
      e->oneItem = items[0];
    } else {
      e->manyItems = doc.arena.Array<ContentItem>(n);
      std::memcpy(e->manyItems, items, n * sizeof(ContentItem));
    }
    int nchild = 0;
    for (size_t i = 0; i < n; ++i)
      if (items[i].kind() == '(') items[i].elem()->order = nchild++;
    e->childCount = nchild;
    items_.resize(top.firstItem);
  }
}

ElemNode* Reader::Run() {
  ElemNode* root = nullptr;
  ElemNode* pending = nullptr;  // element whose info block is being read
  std::string_view rec;
  for (;;) {
    if (!NextRecord(&rec)) {
      if (pending || open_.empty()) {
        std::fputs("Error: End of AccumElemInfo - should not be here: \n", stderr);
      } else {
        std::fprintf(stderr, "Error: End of ReadESIS - should not be here: %s\n",
                     open_.back().elem->gi);
      }
      Fatal(1);
    }
    char cmd = rec.empty() ? '\n' : rec[0];
    std::string_view text = rec.empty() ? rec : rec.substr(1);
    if (!pending && open_.empty()) pending = root = NewElement();  // the root's info block
    if (pending) {
      InfoBlockRecord(&pending, cmd, text);
      continue;
    }
    constexpr size_t kAlign = ContentItem::kTextAlign;
    switch (cmd) {
      case 'L':
        break;
      case '-':
        if (settings.esisDataFix && text.size() >= 2 && text[0] == '\\' && text[1] == 'n') {
          if (text.size() == 2) break;
          std::string fixed = " ";
          fixed.append(text.substr(2));
          items_.push_back(ContentItem::Data(CopyText(fixed, kAlign)));
          break;
        }
        // CopyText's own check only once the input has shown a NUL.
        items_.push_back(ContentItem::Data(in_.sawNul() ? CopyText(text, kAlign)
                                                        : doc.arena.Copy(text, kAlign)));
        break;
      case '?':
        items_.push_back(ContentItem::Pi(CopyText(text, kAlign)));
        break;
      case '(': case 'A': case 'D': case 'E': case 'I': case 'N': case 'f': case 'p': case 's': {
        pending = NewElement();
        items_.push_back(ContentItem::Element(pending));
        InfoBlockRecord(&pending, cmd, text);
        break;
      }
      case ')':
        CloseElement();
        if (open_.empty()) return root;
        break;
      default: {
        std::string rest(text);
        if (in_.hadNewline()) rest += '\n';
        if (cmd == '\n') rest.clear();
        std::fprintf(stderr, "Error: Unexpected input at %d: '%c%s'\n", ElementLine(open_.back().elem),
                     cmd, rest.c_str());
        Fatal(1);
      }
    }
  }
}

}  // namespace

ElemNode* ReadESIS(LineReader& in, const char* inputName) {
  Reader reader(in, inputName);
  return reader.Run();
}

}  // namespace qlx
