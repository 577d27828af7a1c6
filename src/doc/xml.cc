#include "doc/xml.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/uri.h>
#include <libxml/valid.h>
#include <libxml/xinclude.h>
#include <libxml/xmlerror.h>

#include "doc/records.h"
#include "util/fatal.h"
#include "util/settings.h"
#include "util/text.h"

namespace qlx {

bool LooksLikeXml(std::string_view head) {
  size_t i = 0;
  if (head.starts_with("\xEF\xBB\xBF")) i = 3;
  // UTF-16 with its byte-order mark: '<' is one of the two bytes after it.
  if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF")) {
    for (i = 2; i + 1 < head.size(); i += 2) {
      const char a = head[i], b = head[i + 1];
      const char c = head[0] == '\xFF' ? a : b, z = head[0] == '\xFF' ? b : a;
      if (z != '\0') return false;
      if (c == '<') return true;
      if (c != ' ' && c != '\t' && c != '\n' && c != '\r') return false;
    }
    return false;
  }
  while (i < head.size() && (head[i] == ' ' || head[i] == '\t' || head[i] == '\n' || head[i] == '\r')) ++i;
  return i < head.size() && head[i] == '<';
}

namespace {

using namespace records;

constexpr int kParseOptions = XML_PARSE_NOENT | XML_PARSE_DTDLOAD | XML_PARSE_DTDATTR | XML_PARSE_NONET |
                              XML_PARSE_NOBASEFIX | XML_PARSE_NOCDATA;
// XInclude marks the included elements with xml:base where their file
// differs: the walk takes their file from it (and drops it).
constexpr int kIncludeOptions = kParseOptions & ~XML_PARSE_NOBASEFIX;

// The ESIS type word of an attribute, and whether its value is folded.
enum class AttType : uint8_t { kCdata, kToken, kEntity, kNotation };

struct AttDecl {
  std::string qname;  // as declared
  std::string esisName;
  AttType type = AttType::kCdata;
};

// What the DTD says of one element type.
struct ElementInfo {
  std::string esisName;
  bool declared = false;
  bool elementOnly = false;  // element content or EMPTY: white space is no data
  bool empty = false;  // declared EMPTY
  std::vector<AttDecl> atts;  // in declaration order
  std::string qname;  // as the document writes it
  mutable const xmlChar* validName = nullptr;  // qname in the parser's dictionary, once looked up
};

// One attribute as the document gives it (namespace declarations count).
struct AttIn {
  std::string_view qname;
  std::string_view value;
};

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  UpperCaseAscii(out);
  return out;
}

std::string QName(const xmlChar* prefix, const xmlChar* local) {
  std::string name;
  if (prefix) {
    name = reinterpret_cast<const char*>(prefix);
    name += ':';
  }
  name += reinterpret_cast<const char*>(local);
  return name;
}

const char* Str(const xmlChar* s) { return reinterpret_cast<const char*>(s); }

// Records per block: enough to make a handover rare, few enough that the
// blocks in flight cost little memory.
constexpr size_t kBlockRecords = 1024;
// Room a block keeps for its bytes once handed over: enough for a usual
// block; what a long text needed goes back.
constexpr size_t kKeptBytes = 1 << 20;

// The blocks of records between the parsing thread and the one that builds
// the tree, in a ring.
class Handover {
 public:
  static constexpr size_t kRing = 4;
  // The parser's filled block goes into the ring; `block` becomes an empty
  // one (waiting for the builder to give one back).
  void Put(Block& block) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return filled_ - taken_ < kRing; });
    std::swap(ring_[filled_ % kRing], block);
    block.count = 0;
    block.bytes.clear();
    if (block.bytes.capacity() > kKeptBytes) std::string().swap(block.bytes);
    if (block.capacity == 0) {
      block.capacity = kBlockRecords;
      block.records.reset(new Record[block.capacity]);
    }
    ++filled_;
    changed_.notify_all();
  }
  void Finish() {
    std::lock_guard<std::mutex> lock(mutex_);
    finished_ = true;
    changed_.notify_all();
  }
  // The next filled block, or null once the parser has finished.
  const Block* Take() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return filled_ > taken_ || finished_; });
    return filled_ > taken_ ? &ring_[taken_ % kRing] : nullptr;
  }
  void Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++taken_;
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  Block ring_[kRing];
  size_t filled_ = 0, taken_ = 0;
  bool finished_ = false;
};

class XmlReader;
// The reader at work.  The callbacks get the parser context (the SAX2
// handlers that keep the DTD need it as their context), or that of an
// entity's text while it is parsed.
XmlReader* current = nullptr;

class XmlReader {
 public:
  XmlReader(const char* inputName);
  ~XmlReader();
  // Parses the document and builds the tree on this thread, or with
  // `threaded` the parsing on a second thread; reports what stops it.
  ElemNode* Read(int fd, std::string_view head, bool threaded);
  // Included files that could not be read (after Read).
  int unreadFiles() const { return unreadFiles_; }

 private:
  struct ParseEnd Parse(int fd, std::string_view head);


 private:
  // SAX callbacks.
  static void OnStart(void* ctx, const xmlChar* local, const xmlChar* prefix, const xmlChar* uri, int nbNs,
                      const xmlChar** ns, int nbAtts, int nbDefaulted, const xmlChar** atts);
  static void OnEnd(void* ctx, const xmlChar* local, const xmlChar* prefix, const xmlChar* uri);
  static void OnText(void* ctx, const xmlChar* text, int len);
  static void OnPi(void* ctx, const xmlChar* target, const xmlChar* data);
  static void OnComment(void* ctx, const xmlChar* text);
  static void OnError(void* ctx, xmlError* error);

  // The events, from the parser or from the walk of an included tree.
  void StartElement(const ElementInfo& info, int line, const char* file);
  void EndElement();
  void Text(const char* p, size_t n, bool charRef);
  void Pi(std::string_view target, std::string_view data, std::string_view blank = " ");
  void Markup() { last_ = Token::kMarkup; }

  // XInclude: the include element's subtree is kept as a small tree, then
  // processed by libxml2 and walked.
  void CaptureStart(const xmlChar* local, const xmlChar* prefix, const xmlChar* uri, int nbNs,
                    const xmlChar** ns, int nbAtts, const xmlChar** atts, int line);
  void ProcessInclude();
  void Walk(xmlNode* first, const char* file);

  const ElementInfo& Info(const std::string& qname);
  // The same by the parser's names (kept once in its dictionary).
  const ElementInfo& Info(const xmlChar* local, const xmlChar* prefix);
  void LoadDecls();
  void EntityRecords(std::string_view names);
  void AttrRecord(const std::string& name, AttType type, std::string_view value);
  int StartLine(xmlParserCtxtPtr c);
  const char* FileName(const std::string& path);
  void Warning(const char* file, int line, const std::string& message);

  // Records.
  Record& Add(RecordKind kind, const char* p = nullptr) {
    if (block_.count == block_.capacity) Drain();
    Record& r = block_.records[block_.count++];
    r = Record{{p}, 0, kind, opening_};
    opening_ = false;
    return r;
  }
  // A record whose text goes to the block's bytes: the record first, as
  // it may start a new block.
  void AddBytes(RecordKind kind, std::string_view text) {
    Add(kind).n = text.size();
    block_.bytes.append(text);
  }
  void Drain() {
    if (handover_) {
      handover_->Put(block_);
      return;
    }
    if (ElemNode* root = builder_.Add(block_)) root_ = root;
    block_.count = 0;
    block_.bytes.clear();
    if (block_.bytes.capacity() > kKeptBytes) std::string().swap(block_.bytes);
  }
  void AppendRun(const char* p, size_t n);
  void FlushData();

  const char* inputName_;
  const char* mainFile_;  // the elements' file name for the main document
  xmlParserCtxtPtr ctxt_ = nullptr;
  Builder builder_;
  Block block_;
  ElemNode* root_ = nullptr;
  Handover* handover_ = nullptr;  // with a parsing thread
  bool opening_ = false;
  bool failed_ = false;  // a fatal error was reported
  int unreadFiles_ = 0;
  bool validate_ = false;
  bool declsLoaded_ = false;
  bool haveDtd_ = false;
  std::unordered_map<std::string, ElementInfo> infos_;
  struct PairHash {
    size_t operator()(const std::pair<const xmlChar*, const xmlChar*>& p) const {
      return std::hash<const void*>()(p.first) * 31 + std::hash<const void*>()(p.second);
    }
  };
  std::unordered_map<std::pair<const xmlChar*, const xmlChar*>, const ElementInfo*, PairHash> byName_;
  std::unordered_map<std::string, std::vector<AttDecl>> attDecls_;
  std::unordered_map<std::string, int> elementTypes_;
  std::unordered_set<std::string> entitiesDone_, notationsDone_;
  // The open elements.
  struct Open {
    const ElementInfo* info;
    xmlNode* node;  // for the validator
  };
  std::vector<Open> open_;
  std::vector<xmlNode*> nodes_;  // a node per depth, reused
  std::vector<AttIn> atts_;
  std::string scratch_;
  // Where the data of the open element not yet stored begins in the
  // block's bytes (as read, a record end as a carriage return, see
  // kRawData), or kNoRun; and the record-end state: a record end waiting
  // for data or an element to follow, whether the element has begun (a
  // record start, data or an element seen in it), whether the current
  // line holds data or an element, and the last thing read.
  static constexpr size_t kNoRun = size_t(-1);
  size_t runStart_ = kNoRun;
  bool pendingRe_ = false;
  bool started_ = false;
  bool lineHasContent_ = false;
  enum class Token : uint8_t { kStart, kRs, kData, kMarkup, kElement } last_ = Token::kStart;
  const char* lastFile_ = nullptr;
  // XInclude capture.
  xmlDocPtr captureDoc_ = nullptr;
  xmlNode* captureRoot_ = nullptr;
  xmlNode* captureCur_ = nullptr;
  int captureDepth_ = 0;
  const char* captureFile_ = nullptr;  // the file the include element stands in
  int captureLine_ = 0;  // and its line
  std::unordered_map<std::string, const char*> fileNames_;
};

XmlReader::XmlReader(const char* inputName) : inputName_(inputName), builder_(inputName) {
  mainFile_ = doc.currentFileName;
  lastFile_ = mainFile_;
  block_.capacity = kBlockRecords;
  block_.records.reset(new Record[block_.capacity]);
}

XmlReader::~XmlReader() {
  for (xmlNode* n : nodes_) delete n;
  if (captureDoc_) xmlFreeDoc(captureDoc_);
}

void XmlReader::Warning(const char* file, int line, const std::string& message) {
  if (!settings.warnings) return;
  if (!file) file = inputName_ ? inputName_ : "standard input";
  std::fprintf(stderr, "%s:%d: warning: %s\n", file, line, message.c_str());
}

void XmlReader::OnError(void*, xmlError* error) {
  XmlReader* self = current;
  if (!error || !self) return;
  std::string message = error->message ? error->message : "unknown error";
  while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
  const char* file = error->file && *error->file ? error->file : self->inputName_ ? self->inputName_ : "standard input";
  int line = error->line;
  // What goes wrong while an inclusion is processed has the include
  // element's place when libxml2 gives none.
  if (line == 0 && self->captureDoc_ && !error->file) {
    file = self->captureFile_ ? self->captureFile_ : "standard input";
    line = self->captureLine_;
  }
  if (error->level == XML_ERR_FATAL) {
    if (self->failed_) return;  // the first one says it
    self->failed_ = true;
    std::fprintf(stderr, "%s:%d:%d: error: %s\n", file, line, error->int2, message.c_str());
    return;
  }
  if (error->domain == XML_FROM_XINCLUDE && error->level >= XML_ERR_ERROR) {
    // An included file that cannot be read fails the run, after it.
    std::fprintf(stderr, "%s:%d: error: %s\n", file, line, message.c_str());
    ++self->unreadFiles_;
    return;
  }
  self->Warning(file, line, (error->domain == XML_FROM_VALID ? "validity: " : "") + message);
}

void XmlReader::LoadDecls() {
  declsLoaded_ = true;
  xmlDocPtr d = ctxt_ ? ctxt_->myDoc : nullptr;
  if (!d) return;
  for (xmlDtdPtr dtd : {d->intSubset, d->extSubset}) {
    if (!dtd) continue;
    for (xmlNode* n = dtd->children; n; n = n->next) {
      if (n->type == XML_ELEMENT_DECL) {
        auto* e = reinterpret_cast<xmlElement*>(n);
        elementTypes_.emplace(QName(e->prefix, e->name), int(e->etype));
        haveDtd_ = true;
      } else if (n->type == XML_ATTRIBUTE_DECL) {
        auto* a = reinterpret_cast<xmlAttribute*>(n);
        if (!a->elem) continue;
        AttDecl decl;
        decl.qname = QName(a->prefix, a->name);
        decl.esisName = UpperAscii(decl.qname);
        switch (a->atype) {
          case XML_ATTRIBUTE_CDATA: decl.type = AttType::kCdata; break;
          case XML_ATTRIBUTE_ENTITY:
          case XML_ATTRIBUTE_ENTITIES: decl.type = AttType::kEntity; break;
          case XML_ATTRIBUTE_NOTATION: decl.type = AttType::kNotation; break;
          default: decl.type = AttType::kToken; break;
        }
        auto& list = attDecls_[Str(a->elem)];
        bool seen = false;  // the first declaration counts
        for (const AttDecl& old : list) seen = seen || old.qname == decl.qname;
        if (!seen) list.push_back(std::move(decl));
        haveDtd_ = true;
      }
    }
  }
  // Validity is checked against a DTD that was read; a DTD that could not
  // be found has already been reported.  Its errors are warnings: none to
  // check for under -W.
  validate_ = haveDtd_ && !elementTypes_.empty() && settings.warnings;
}

const ElementInfo& XmlReader::Info(const std::string& qname) {
  if (!declsLoaded_) LoadDecls();
  auto it = infos_.find(qname);
  if (it != infos_.end()) return it->second;
  ElementInfo info;
  info.esisName = UpperAscii(qname);
  info.qname = qname;
  if (auto t = elementTypes_.find(qname); t != elementTypes_.end()) {
    info.declared = true;
    info.elementOnly = t->second == XML_ELEMENT_TYPE_ELEMENT || t->second == XML_ELEMENT_TYPE_EMPTY;
    info.empty = t->second == XML_ELEMENT_TYPE_EMPTY;
  }
  if (auto a = attDecls_.find(qname); a != attDecls_.end()) info.atts = a->second;
  return infos_.emplace(qname, std::move(info)).first->second;
}

// The line the current start tag begins on: the parser stands at its end.
const char* XmlReader::FileName(const std::string& path) {
  auto it = fileNames_.find(path);
  if (it == fileNames_.end()) it = fileNames_.emplace(path, doc.textArena.Copy(path)).first;
  return it->second;
}

int XmlReader::StartLine(xmlParserCtxtPtr c) {
  xmlParserInputPtr in = c->input;
  int line = in->line;
  const xmlChar* p = in->cur;
  // Inside an entity's text the main input stands after the reference.
  if (!p || p <= in->base || (*p != '>' && *p != '/')) return line;
  // Back to the '<', eight bytes at a time while a word holds neither it
  // nor a line end.
  constexpr uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
  while (p - in->base >= 8) {
    uint64_t x;
    std::memcpy(&x, p - 8, 8);
    const uint64_t lt = x ^ (kOnes * '<'), nl = x ^ (kOnes * '\n');
    if ((((lt - kOnes) & ~lt) | ((nl - kOnes) & ~nl)) & kHighs) break;
    p -= 8;
  }
  while (p > in->base) {
    --p;
    if (*p == '<') break;
    if (*p == '\n') --line;
  }
  return line;
}

void XmlReader::AppendRun(const char* p, size_t n) {
  if (runStart_ == kNoRun) {
    // The record the run will need, taken now: no block ends under it.
    if (block_.count == block_.capacity) Drain();
    runStart_ = block_.bytes.size();
  }
  block_.bytes.append(p, n);
}

void XmlReader::FlushData() {
  if (runStart_ == kNoRun) return;
  const size_t start = runStart_;
  runStart_ = kNoRun;
  Record& r = Add(RecordKind::kRawData);
  r.n = block_.bytes.size() - start;
}

void XmlReader::AttrRecord(const std::string& name, AttType type, std::string_view value) {
  // The record's text goes straight to the block's bytes.
  Record& r = Add(RecordKind::kAttr);
  std::string& out = block_.bytes;
  const size_t start = out.size();
  out += name;
  switch (type) {
    case AttType::kCdata: out += " CDATA "; break;
    case AttType::kToken: out += " TOKEN "; break;
    case AttType::kEntity: out += " ENTITY "; break;
    case AttType::kNotation: out += " NOTATION "; break;
  }
  if (type == AttType::kCdata) {
    AppendEscaped(out, value.data(), value.size());
  } else {
    // Tokens: white space collapsed; names folded but entity names.
    const bool fold = type != AttType::kEntity;
    bool first = true;
    size_t i = 0;
    while (i < value.size()) {
      while (i < value.size() && (value[i] == ' ' || value[i] == '\t' || value[i] == '\n' || value[i] == '\r')) ++i;
      size_t j = i;
      while (j < value.size() && !(value[j] == ' ' || value[j] == '\t' || value[j] == '\n' || value[j] == '\r')) ++j;
      if (j > i) {
        if (!first) out += ' ';
        first = false;
        const size_t at = out.size();
        AppendEscaped(out, value.data() + i, j - i);
        if (fold)
          for (size_t k = at; k < out.size(); ++k)
            if (out[k] >= 'a' && out[k] <= 'z') out[k] = char(out[k] - 'a' + 'A');
      }
      i = j;
    }
  }
  r.n = out.size() - start;
}

// The entity records of the unparsed entities an ENTITY attribute names,
// each the first time it is named, as onsgmls writes them: the notation's
// identifiers, the entity's, its file name, then the entity.
void XmlReader::EntityRecords(std::string_view names) {
  xmlDocPtr d = ctxt_ ? ctxt_->myDoc : nullptr;
  if (!d) return;
  size_t i = 0;
  while (i < names.size()) {
    while (i < names.size() && names[i] == ' ') ++i;
    size_t j = names.find(' ', i);
    if (j == std::string_view::npos) j = names.size();
    std::string name(names.substr(i, j - i));
    i = j;
    if (name.empty() || !entitiesDone_.insert(name).second) continue;
    xmlEntityPtr ent = xmlGetDocEntity(d, reinterpret_cast<const xmlChar*>(name.c_str()));
    if (!ent || ent->etype != XML_EXTERNAL_GENERAL_UNPARSED_ENTITY) continue;
    const char* notation = ent->content ? Str(ent->content) : "";
    if (notationsDone_.insert(notation).second) {
      if (xmlNotationPtr no = xmlGetDtdNotationDesc(d->intSubset, ent->content); no || d->extSubset) {
        if (!no) no = xmlGetDtdNotationDesc(d->extSubset, ent->content);
        if (no && no->PublicID) Add(RecordKind::kPublicId, doc.textArena.Copy(Str(no->PublicID)));
        if (no && no->SystemID) Add(RecordKind::kSystemId, doc.textArena.Copy(Str(no->SystemID)));
      }
    }
    if (ent->ExternalID) Add(RecordKind::kPublicId, doc.textArena.Copy(Str(ent->ExternalID)));
    if (ent->SystemID) Add(RecordKind::kSystemId, doc.textArena.Copy(Str(ent->SystemID)));
    const xmlChar* file = ent->URI ? ent->URI : ent->SystemID;
    if (file) Add(RecordKind::kGenerated, doc.textArena.Copy(Str(file)));
    EntityInfo* info = doc.textArena.Array<EntityInfo>(1);
    new (info) EntityInfo();
    info->name = doc.textArena.Copy(name);
    info->type = doc.textArena.Copy("NDATA");
    info->notation = doc.textArena.Copy(UpperAscii(notation));
    Add(RecordKind::kEntity, reinterpret_cast<const char*>(info));
  }
}

const ElementInfo& XmlReader::Info(const xmlChar* local, const xmlChar* prefix) {
  auto [it, added] = byName_.try_emplace({local, prefix}, nullptr);
  if (added) it->second = &Info(QName(prefix, local));
  return *it->second;
}

void XmlReader::StartElement(const ElementInfo& info, int line, const char* file) {
  // In the parent: a waiting record end comes before the child.
  if (pendingRe_) {
    AppendRun("\r", 1);
    pendingRe_ = false;
  }
  FlushData();
  // Room for the whole info block in the current block.
  if (block_.count + 8 + 6 * atts_.size() > block_.capacity) {
    Drain();
    if (8 + 6 * atts_.size() > block_.capacity) {
      block_.capacity = 8 + 6 * atts_.size();
      block_.records.reset(new Record[block_.capacity]);
    }
  }
  opening_ = true;
  // The file by line records where it changes; the line goes with the
  // start record.
  if (file != lastFile_) {
    Record& r = Add(RecordKind::kLine, file);
    r.line = line;
    lastFile_ = file;
  }
  // Declared attributes in their order, then the others (as CDATA).
  size_t matched = 0;
  for (const AttDecl& decl : info.atts) {
    for (const AttIn& a : atts_) {
      if (a.qname != decl.qname) continue;
      if (decl.type == AttType::kEntity) EntityRecords(a.value);
      AttrRecord(decl.esisName, decl.type, a.value);
      ++matched;
      break;
    }
  }
  if (matched < atts_.size()) {
    for (const AttIn& a : atts_) {
      bool declared = false;
      for (const AttDecl& decl : info.atts) declared = declared || a.qname == decl.qname;
      if (declared) continue;
      if (validate_ && !a.qname.starts_with("xmlns"))
        Warning(file, line, "validity: No declaration for attribute " + std::string(a.qname) + " of element " +
                                info.qname);
      AttrRecord(UpperAscii(a.qname), AttType::kCdata, a.value);
    }
  }
  AddBytes(RecordKind::kStart, info.esisName);
  block_.records[block_.count - 1].line = line;
  // The validator's stand-in node for the element.
  const size_t depth = open_.size();
  if (nodes_.size() <= depth) {
    xmlNode* n = new xmlNode();
    nodes_.push_back(n);
  }
  xmlNode* node = nodes_[depth];
  if (validate_ && ctxt_) {
    *node = xmlNode();
    node->type = XML_ELEMENT_NODE;
    if (!info.validName)
      info.validName = xmlDictLookup(ctxt_->dict, reinterpret_cast<const xmlChar*>(info.qname.c_str()), -1);
    node->name = info.validName;
    node->doc = ctxt_->myDoc;
    node->line = static_cast<unsigned short>(line < 65535 ? line : 65535);
    xmlValidatePushElement(&ctxt_->vctxt, ctxt_->myDoc, node, node->name);
  }
  open_.push_back(Open{&info, node});
  started_ = false;
  pendingRe_ = false;
  lineHasContent_ = true;
  last_ = Token::kStart;
}

void XmlReader::EndElement() {
  if (open_.empty()) return;
  pendingRe_ = false;  // the last record end of an element is dropped
  FlushData();
  Add(RecordKind::kEnd);
  Open top = open_.back();
  open_.pop_back();
  if (validate_ && ctxt_) xmlValidatePopElement(&ctxt_->vctxt, ctxt_->myDoc, top.node, top.node->name);
  started_ = true;
  lineHasContent_ = true;
  last_ = Token::kElement;
  if (open_.empty()) Drain();
}

// Data under the record-end rules: a line end is a record end and a
// record start.  A record end is dropped when nothing has begun in the
// element before it, when the line holds only markup, and when it is the
// last in its element; the others are written before the data or element
// that follows them.
void XmlReader::Text(const char* p, size_t n, bool charRef) {
  if (open_.empty()) return;
  if (open_.back().info->elementOnly) {
    // Only element content (or none) has text to check; white space only
    // where an element is declared EMPTY.
    size_t i = 0;
    while (i < n && (p[i] == ' ' || p[i] == '\t' || p[i] == '\n' || p[i] == '\r')) ++i;
    if (validate_ && ctxt_ && (i < n || open_.back().info->empty))
      xmlValidatePushCData(&ctxt_->vctxt, reinterpret_cast<const xmlChar*>(p), int(n));
    if (i == n) return;
  }
  const char* end = p + n;
  while (p < end) {
    // One line's data (a character reference's line end is data).
    const char* q = charRef ? end : static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
    if (!q) q = end;
    if (q > p) {
      if (pendingRe_) {
        AppendRun("\r", 1);
        pendingRe_ = false;
      }
      AppendRun(p, size_t(q - p));
      started_ = true;
      lineHasContent_ = true;
      last_ = Token::kData;
    }
    if (q == end) break;
    // The record end, then the record start of the next line.
    if (started_ && (last_ == Token::kRs || lineHasContent_)) {
      if (pendingRe_) AppendRun("\r", 1);
      pendingRe_ = true;
    }
    started_ = true;
    lineHasContent_ = false;
    last_ = Token::kRs;
    p = q + 1;
  }
}

void XmlReader::Pi(std::string_view target, std::string_view data, std::string_view blank) {
  if (open_.empty()) return;  // outside the document element
  FlushData();
  scratch_.clear();
  AppendEscaped(scratch_, target.data(), target.size());
  if (!data.empty()) {
    std::string text(blank);
    text += data;
    data = text;
    // A line end inside the instruction is a record end and a record
    // start, as onsgmls writes them.
    for (size_t i = 0; i < data.size();) {
      size_t nl = data.find('\n', i);
      if (nl == std::string_view::npos) nl = data.size();
      AppendEscaped(scratch_, data.data() + i, nl - i);
      if (nl < data.size()) scratch_ += "\\n\\012";
      i = nl + 1;
    }
  }
  Add(RecordKind::kPi, doc.textArena.Copy(scratch_, ContentItem::kTextAlign));
  last_ = Token::kMarkup;
}

bool IsXInclude(const xmlChar* local, const xmlChar* uri) {
  return uri && (xmlStrEqual(uri, XINCLUDE_NS) || xmlStrEqual(uri, XINCLUDE_OLD_NS)) &&
         xmlStrEqual(local, XINCLUDE_NODE);
}

void XmlReader::OnStart(void* ctx, const xmlChar* local, const xmlChar* prefix, const xmlChar* uri, int nbNs,
                        const xmlChar** ns, int nbAtts, int, const xmlChar** atts) {
  XmlReader* self = current;
  // The element's line and file: in the document, in an external
  // entity (parsed with a context of its own), or in an internal
  // entity's text (the line of the reference).
  auto* c = static_cast<xmlParserCtxtPtr>(ctx);
  const char* file = self->mainFile_;
  int line;
  if (c == self->ctxt_) {
    line = self->StartLine(c);
  } else if (c && c->input && c->input->filename) {
    file = self->FileName(c->input->filename);
    line = self->StartLine(c);
  } else {
    line = self->ctxt_->input->line;
  }
  if (self->captureDepth_ > 0 || IsXInclude(local, uri)) {
    if (self->captureDepth_ == 0) {
      self->captureFile_ = file;
      self->captureLine_ = line;
    }
    self->CaptureStart(local, prefix, uri, nbNs, ns, nbAtts, atts, line);
    return;
  }
  self->atts_.clear();
  for (int i = 0; i < nbNs; ++i) {
    self->scratch_.assign(ns[2 * i] ? "xmlns:" : "xmlns");
    if (ns[2 * i]) self->scratch_ += Str(ns[2 * i]);
    // Kept in the dictionary, so that the view stays valid.
    const xmlChar* name = xmlDictLookup(self->ctxt_->dict, reinterpret_cast<const xmlChar*>(self->scratch_.c_str()), -1);
    self->atts_.push_back(AttIn{Str(name), ns[2 * i + 1] ? Str(ns[2 * i + 1]) : ""});
  }
  for (int i = 0; i < nbAtts; ++i) {
    const xmlChar** a = atts + 5 * i;
    std::string_view name = Str(a[0]);
    if (a[1]) {
      self->scratch_ = QName(a[1], a[0]);
      name = Str(xmlDictLookup(self->ctxt_->dict, reinterpret_cast<const xmlChar*>(self->scratch_.c_str()), -1));
    }
    self->atts_.push_back(AttIn{name, std::string_view(Str(a[3]), size_t(a[4] - a[3]))});
  }
  self->StartElement(self->Info(local, prefix), line, file);
}

void XmlReader::OnEnd(void*, const xmlChar*, const xmlChar*, const xmlChar*) {
  XmlReader* self = current;
  if (self->captureDepth_ > 0) {
    self->captureCur_ = self->captureCur_->parent;
    if (--self->captureDepth_ == 0) self->ProcessInclude();
    return;
  }
  self->EndElement();
}

void XmlReader::OnText(void*, const xmlChar* text, int len) {
  XmlReader* self = current;
  if (self->captureDepth_ > 0) {
    xmlAddChild(self->captureCur_, xmlNewDocTextLen(self->captureDoc_, text, len));
    return;
  }
  // A character reference to a line end or a tab comes alone, the input
  // standing after its ';': it is data, not a line end.
  bool charRef = false;
  if (len == 1 && text[0] == '\n') {
    xmlParserInputPtr in = self->ctxt_->input;
    if (in && in->cur && in->cur - in->base >= 4 && in->cur[-1] == ';') {
      const xmlChar* p = in->cur - 2;
      while (p > in->base && p > in->cur - 12 && *p != '&') --p;
      charRef = p[0] == '&' && p[1] == '#';
    }
  }
  self->Text(Str(text), size_t(len), charRef);
}

void XmlReader::OnPi(void* ctx, const xmlChar* target, const xmlChar* data) {
  XmlReader* self = current;
  if (self->captureDepth_ > 0) {
    xmlAddChild(self->captureCur_, xmlNewDocPI(self->captureDoc_, target, data));
    return;
  }
  // The blanks between the target and the data as written (onsgmls keeps
  // them), read back from the input, which stands after the "?>".
  std::string_view blank = " ";
  auto* c = static_cast<xmlParserCtxtPtr>(ctx);
  xmlParserInputPtr in = c == self->ctxt_ ? c->input : nullptr;
  if (in && data && *data && in->cur - in->base >= 2 && in->cur[-2] == '?' && in->cur[-1] == '>') {
    const size_t dataSize = std::strlen(Str(data)), targetSize = std::strlen(Str(target));
    const xmlChar* start = in->cur - 2 - dataSize;
    if (start > in->base && std::memcmp(start, data, dataSize) == 0) {
      const xmlChar* p = start;
      while (p > in->base && (p[-1] == ' ' || p[-1] == '\t' || p[-1] == '\n' || p[-1] == '\r')) --p;
      if (size_t(p - in->base) >= targetSize + 2 && std::memcmp(p - targetSize, target, targetSize) == 0 &&
          p[-long(targetSize) - 1] == '?' && p[-long(targetSize) - 2] == '<')
        blank = std::string_view(reinterpret_cast<const char*>(p), size_t(start - p));
    }
  }
  self->Pi(Str(target), data ? Str(data) : "", blank);
}

void XmlReader::OnComment(void*, const xmlChar*) {
  XmlReader* self = current;
  if (self->captureDepth_ == 0) self->Markup();
}

void XmlReader::CaptureStart(const xmlChar* local, const xmlChar* prefix, const xmlChar* uri, int nbNs,
                             const xmlChar** ns, int nbAtts, const xmlChar** atts, int line) {
  if (!captureDoc_) {
    captureDoc_ = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    captureRoot_ = xmlNewDocNode(captureDoc_, nullptr, reinterpret_cast<const xmlChar*>("include-wrapper"), nullptr);
    xmlDocSetRootElement(captureDoc_, captureRoot_);
    captureCur_ = captureRoot_;
  }
  xmlNode* node = xmlNewDocNode(captureDoc_, nullptr, local, nullptr);
  for (int i = 0; i < nbNs; ++i) xmlNewNs(node, ns[2 * i + 1], ns[2 * i]);
  if (uri) {
    xmlNs* n = xmlSearchNsByHref(captureDoc_, node, uri);
    if (!n) n = xmlSearchNsByHref(captureDoc_, captureCur_, uri);
    if (!n) n = xmlNewNs(node, uri, prefix);
    xmlSetNs(node, n);
  }
  for (int i = 0; i < nbAtts; ++i) {
    const xmlChar** a = atts + 5 * i;
    std::string value(Str(a[3]), size_t(a[4] - a[3]));
    xmlNewProp(node, a[0], reinterpret_cast<const xmlChar*>(value.c_str()));
  }
  node->line = static_cast<unsigned short>(std::min(line, 65535));
  xmlAddChild(captureCur_, node);
  captureCur_ = node;
  ++captureDepth_;
}

void XmlReader::ProcessInclude() {
  // The base of the reference: the file of the element it stands in.
  const char* base = captureFile_ ? captureFile_ : "";
  xmlFree(const_cast<xmlChar*>(captureDoc_->URL));
  captureDoc_->URL = xmlStrdup(reinterpret_cast<const xmlChar*>(base));
  xmlXIncludeProcessTreeFlags(captureRoot_, kIncludeOptions);
  xmlNode* first = captureRoot_->children;
  Walk(first, captureFile_);
  xmlFreeDoc(captureDoc_);
  captureDoc_ = nullptr;
  captureRoot_ = captureCur_ = nullptr;
}

// The events of an included tree, in document order, without recursion.
// Each level of the walk knows its file, and whether it stands between
// the markers of an inclusion, where an element's xml:base (put there by
// XInclude) names the file it came from.
void XmlReader::Walk(xmlNode* first, const char* file) {
  if (!first) return;
  xmlNode* const top = first->parent;
  struct Level {
    const char* file;
    int including;
  };
  std::vector<Level> levels{Level{file, 0}};
  std::vector<std::string> keep;
  xmlNode* n = first;
  while (n) {
    bool descend = false;
    switch (n->type) {
      case XML_ELEMENT_NODE: {
        const char* elementFile = levels.back().file;
        keep.clear();
        for (xmlNs* d = n->nsDef; d; d = d->next) {
          keep.push_back(d->prefix ? "xmlns:" + std::string(Str(d->prefix)) : "xmlns");
          keep.push_back(d->href ? Str(d->href) : "");
        }
        for (xmlAttr* a = n->properties; a; a = a->next) {
          xmlChar* v = xmlNodeListGetString(n->doc, a->children, 1);
          std::string value = v ? Str(v) : "";
          xmlFree(v);
          if (levels.back().including > 0 && a->ns && xmlStrEqual(a->ns->href, XML_XML_NAMESPACE) &&
              xmlStrEqual(a->name, reinterpret_cast<const xmlChar*>("base"))) {
            const char* base = levels.back().file;
            xmlChar* uri = xmlBuildURI(reinterpret_cast<const xmlChar*>(value.c_str()),
                                       reinterpret_cast<const xmlChar*>(base ? base : ""));
            elementFile = FileName(uri ? Str(uri) : value);
            xmlFree(uri);
            continue;
          }
          keep.push_back(a->ns && a->ns->prefix ? QName(a->ns->prefix, a->name) : Str(a->name));
          keep.push_back(std::move(value));
        }
        atts_.clear();
        for (size_t i = 0; i < keep.size(); i += 2) atts_.push_back(AttIn{keep[i], keep[i + 1]});
        std::string qname = n->ns && n->ns->prefix ? QName(n->ns->prefix, n->name) : Str(n->name);
        StartElement(Info(qname), int(xmlGetLineNo(n)), elementFile);
        atts_.clear();
        levels.push_back(Level{elementFile, 0});
        descend = true;
        break;
      }
      case XML_TEXT_NODE:
      case XML_CDATA_SECTION_NODE:
        if (n->content) Text(Str(n->content), std::strlen(Str(n->content)), false);
        break;
      case XML_PI_NODE:
        Pi(Str(n->name), n->content ? Str(n->content) : "");
        break;
      case XML_COMMENT_NODE:
        Markup();
        break;
      case XML_XINCLUDE_START:
        ++levels.back().including;
        break;
      case XML_XINCLUDE_END:
        if (levels.back().including > 0) --levels.back().including;
        break;
      default:
        break;
    }
    if (descend && n->children) {
      n = n->children;
      continue;
    }
    if (descend) {
      EndElement();
      levels.pop_back();
    }
    // Up until a node has a next sibling; elements end on the way.
    while (n && !n->next) {
      n = n->parent;
      if (!n || n == top) {
        n = nullptr;
        break;
      }
      if (n->type == XML_ELEMENT_NODE) {
        EndElement();
        levels.pop_back();
      }
    }
    if (n) n = n->next;
  }
}

// What ends a parse: nothing, a read error (its errno), or an error
// already reported.
struct ParseEnd {
  int readError = 0;
  bool failed = false;
};

ParseEnd XmlReader::Parse(int fd, std::string_view head) {
  xmlSAXHandler sax;
  std::memset(&sax, 0, sizeof sax);
  xmlSAXVersion(&sax, 2);
  sax.startElementNs = OnStart;
  sax.endElementNs = OnEnd;
  sax.characters = OnText;
  sax.ignorableWhitespace = OnText;
  sax.cdataBlock = OnText;
  sax.processingInstruction = OnPi;
  sax.comment = OnComment;
  sax.serror = OnError;
  sax.warning = nullptr;
  sax.error = nullptr;
  sax.fatalError = nullptr;
  sax.reference = nullptr;
  current = this;
  xmlSetStructuredErrorFunc(this, OnError);
  ctxt_ = xmlCreatePushParserCtxt(&sax, nullptr, head.data(), int(std::min(head.size(), size_t(4))), inputName_);
  if (!ctxt_) OutOfMemory(kMallocFailed);
  xmlCtxtUseOptions(ctxt_, kParseOptions);
  head.remove_prefix(std::min(head.size(), size_t(4)));
  std::vector<char> buf(1 << 16);
  bool eof = false;
  int err = 0;
  if (!head.empty()) xmlParseChunk(ctxt_, head.data(), int(head.size()), 0);
  while (!eof && !failed_) {
    ssize_t n = ::read(fd, buf.data(), buf.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      err = errno;
      break;
    }
    eof = n == 0;
    xmlParseChunk(ctxt_, buf.data(), int(n), eof ? 1 : 0);
  }
  const bool wellFormed = ctxt_->wellFormed;
  if (ctxt_->myDoc) xmlFreeDoc(ctxt_->myDoc);
  ctxt_->myDoc = nullptr;
  xmlFreeParserCtxt(ctxt_);
  ctxt_ = nullptr;
  xmlSetStructuredErrorFunc(nullptr, nullptr);
  current = nullptr;
  return ParseEnd{err, failed_ || !wellFormed || !open_.empty()};
}

ElemNode* XmlReader::Read(int fd, std::string_view head, bool threaded) {
  ParseEnd end;
  Handover handover;
  std::thread parser;
  if (threaded) {
    handover_ = &handover;
    try {
      parser = std::thread([&] {
        end = Parse(fd, head);
        handover.Finish();
      });
    } catch (const std::system_error&) {
      handover_ = nullptr;  // no thread to be had: one will do
    }
  }
  if (handover_) {
    while (const Block* block = handover.Take()) {
      if (ElemNode* root = builder_.Add(*block)) root_ = root;
      handover.Release();
    }
    parser.join();
    handover_ = nullptr;
  } else {
    end = Parse(fd, head);
  }
  if (end.readError) {
    errno = end.readError;
    std::perror(inputName_ ? inputName_ : "standard input");
    Fatal(1);
  }
  if (end.failed || !root_) {
    if (!failed_)
      std::fprintf(stderr, "%s: error: not a well-formed XML document\n", inputName_ ? inputName_ : "standard input");
    Fatal(1);
  }
  return root_;
}

}  // namespace

ElemNode* ReadXML(int fd, std::string_view head, const char* inputName, bool threaded,
                  int* unreadFiles) {
  xmlInitParser();
  // Nesting costs the parser heap, not stack: no depth limit below the
  // ESIS reader's.
  xmlParserMaxDepth = 1u << 30;
  // Every element has a line of its own.  Room for more lines than a file
  // of this size can hold elements costs no memory until used, and spares
  // the copies (and the freed blocks) of a growing array.
  struct stat st;
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
    doc.elementLines.reserve(doc.elementLines.size() + size_t(st.st_size) / 16);
  XmlReader reader(inputName);
  ElemNode* root = reader.Read(fd, head, threaded);
  if (unreadFiles) *unreadFiles += reader.unreadFiles();
  return root;
}

}  // namespace qlx
