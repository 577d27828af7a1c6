#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "doc/records.h"
#include "util/fatal.h"
#include "util/split.h"

namespace qlx::records {

const char* Builder::ElementName(std::string_view name) {
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

// Stored with the tree, in the arena this thread alone writes.
const char* Builder::StoreData(const char* p, size_t n) {
  const size_t size = EscapedSize(p, n);
  char* text = static_cast<char*>(doc.arena.Allocate(size + 1, ContentItem::kTextAlign));
  *WriteEscaped(text, p, n) = '\0';
  return text;
}

ElemNode* Builder::NewElement() {
  ElemNode* e = NewElementRecord();
  SetLineFrom(e, doc.currentLine);
  if (doc.fileRuns.empty() || doc.fileRuns.back().name != doc.currentFileName)
    doc.fileRuns.push_back(Document::FileRun{e->serial, doc.currentFileName});
  pendingSystemId_ = pendingPublicId_ = pendingGenerated_ = nullptr;
  atts_.clear();
  return e;
}

void Builder::StartElement(ElemNode* e, const char* gi) {
  e->gi = gi;
  if (!atts_.empty()) e->attList = attLists_.Intern(atts_);
  // An attribute names an entity only when one has been declared.
  if (doc.entityFirst && !atts_.empty()) FindEntity(e);
  if (const char* id = ElementId(e)) RegisterID(id, e);  // start order is document order
  e->parentSerial = open_.empty() ? -1 : open_.back().elem->serial;
  open_.push_back(OpenElement{e, items_.size()});
}

void Builder::Attribute(ElemNode* e, std::string_view text) {
  const auto [name, type, value] = SplitAttrRecord(text);
  if (type == "IMPLIED") return;
  if (HoldsValue(type)) {
    atts_.push_back(AttrPair{InternAttrString(name), InternAttrString(value)});
    return;
  }
  std::fprintf(stderr, "Error: Bad attr line (%d): A%.*s %.*s...\n", ElementLine(e), int(name.size()),
               name.data(), int(type.size()), type.data());
}

void Builder::FindEntity(ElemNode* e) {
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

// Stores the element's content, counts its children and gives each its
// order while the items are still at hand; the subtree ends here.
void Builder::CloseElement() {
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

ElemNode* Builder::Add(const Block& block) {
  const char* bytes = block.bytes.data();
  for (const Record& r : block) {
    if (r.opens) {
      pending_ = NewElement();
      if (root_) {
        items_.push_back(ContentItem::Element(pending_));
      } else {
        root_ = pending_;
        root_->order = -1;
      }
    }
    switch (r.kind) {
      case RecordKind::kNone:
        break;
      case RecordKind::kStart:
        if (r.line > 0) {  // a line of its own (elements come in serial order)
          doc.elementLines.resize(size_t(pending_->serial), 0);
          doc.elementLines.push_back(r.line);
        }
        StartElement(pending_, ElementName(std::string_view(bytes, r.n)));
        bytes += r.n;
        pending_ = nullptr;
        break;
      case RecordKind::kAttr:
        Attribute(pending_, std::string_view(bytes, r.n));
        bytes += r.n;
        break;
      case RecordKind::kData:
        items_.push_back(ContentItem::Data(r.p));
        break;
      case RecordKind::kRawData:
        items_.push_back(ContentItem::Data(StoreData(bytes, r.n)));
        bytes += r.n;
        break;
      case RecordKind::kPi:
        items_.push_back(ContentItem::Pi(r.p));
        break;
      case RecordKind::kEnd:
        CloseElement();
        if (open_.empty()) return root_;
        break;
      case RecordKind::kSystemId:
        pendingSystemId_ = r.p;
        break;
      case RecordKind::kPublicId:
        pendingPublicId_ = r.p;
        break;
      case RecordKind::kGenerated:
        pendingGenerated_ = r.p;
        break;
      case RecordKind::kEntity: {
        EntityInfo* ent = reinterpret_cast<EntityInfo*>(const_cast<char*>(r.p));
        ent->systemId = pendingSystemId_;
        ent->publicId = pendingPublicId_;
        ent->generatedName = pendingGenerated_;
        if (doc.entityLast) doc.entityLast->next = ent;
        else doc.entityFirst = ent;
        doc.entityLast = ent;
        break;
      }
      case RecordKind::kLine:
        if (r.p) doc.currentFileName = r.p;
        doc.currentLine = r.line;
        SetLineFrom(pending_, doc.currentLine);
        if (r.p) SetFileNameFrom(pending_, doc.currentFileName);
        break;
      case RecordKind::kIntEnt:
        std::fprintf(stderr, "Error: Got CMD_INT_ENT in AccumElemInfo: %.*s\n", int(r.n), bytes);
        bytes += r.n;
        break;
      case RecordKind::kStop:
        stopped_ = true;
        return nullptr;
    }
  }
  return nullptr;
}

void Builder::Report(const Stop& stop) {
  const std::string_view text = stop.text;
  switch (stop.kind) {
    case StopKind::kEndOfInput:
      if (pending_ || open_.empty()) {
        std::fputs("Error: End of AccumElemInfo - should not be here: \n", stderr);
      } else {
        std::fprintf(stderr, "Error: End of ReadESIS - should not be here: %s\n", open_.back().elem->gi);
      }
      break;
    case StopKind::kReadError:
      errno = stop.error;
      std::perror(inputName_ ? inputName_ : "standard input");
      break;
    case StopKind::kOutOfMemory:
      OutOfMemory(kMallocFailed);
    case StopKind::kNul:
      std::fprintf(stderr, "Error: NUL character in ESIS record %ld.\n", stop.recordNumber);
      break;
    case StopKind::kDataInInfo:
      std::fprintf(stderr, "Error: Data in AccumElemInfo, line %d:\n%c%.*s\n", ElementLine(pending_), stop.cmd,
                   int(text.size()), text.data());
      break;
    case StopKind::kUnexpectedInInfo:
      std::fprintf(stderr, "Error: Unexpected input in AccumElemInfo, %d:\n%c%.*s\n", ElementLine(pending_),
                   stop.cmd, int(text.size()), text.data());
      break;
    case StopKind::kUnexpectedInContent: {
      std::string rest(text);
      if (stop.hadNewline) rest += '\n';
      if (stop.cmd == '\n') rest.clear();
      std::fprintf(stderr, "Error: Unexpected input at %d: '%c%s'\n", ElementLine(open_.back().elem), stop.cmd,
                   rest.c_str());
      break;
    }
  }
  Fatal(1);
}

}  // namespace qlx::records
