// The record form shared by the document readers: a reader turns its input
// into Records, in Blocks, and the Builder adds them to the document tree
// (elements, attribute lists, content, entities, lines and file names).
// The ESIS reader's records are its input's, one for one; the XML reader
// writes the records an ESIS stream of the same document would give, so
// that both readers build the tree with the same code.  Internal to
// src/doc.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "doc/tree.h"
#include "util/split.h"

namespace qlx::records {

// The fields of an "A" record: the name, one blank, the type, one blank and
// the value.  The value is everything after the blank that follows the
// type, its own leading and trailing blanks included; a record that ends
// right after the type has an empty value.
struct AttrRecord {
  std::string_view name, type, value;
};

inline AttrRecord SplitAttrRecord(std::string_view text) {
  AttrRecord r;
  size_t i = 0, n = text.size();
  while (i < n && IsBlank(text[i])) ++i;
  size_t start = i;
  while (i < n && !IsBlank(text[i])) ++i;
  r.name = text.substr(start, i - start);
  while (i < n && IsBlank(text[i])) ++i;
  start = i;
  while (i < n && !IsBlank(text[i])) ++i;
  r.type = text.substr(start, i - start);
  if (i < n) r.value = text.substr(i + 1);
  return r;
}

// The attribute types whose records carry a value.
inline bool HoldsValue(std::string_view type) {
  return type == "CDATA" || type == "TOKEN" || type == "ENTITY" || type == "NOTATION";
}
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

// The reading is split in two stages.  The Scanner reads the lines and does
// most of what needs no tree: it classifies each record, stores data and
// processing-instruction texts, and writes compact Records into Blocks.
// The Builder takes the blocks in order and builds the tree; it also
// interns the element names, splits the attribute records and interns
// their names and values, which keeps the two stages about equally busy
// and leaves the Scanner only doc.textArena to write.  Both follow the same
// record grammar (an info block, the records before a start record, opens
// each element), so the Scanner knows where every record belongs and which
// records end the reading; what an error message needs of the tree (an
// element's line, the open element's name) the Builder supplies, and every
// message is written by the Builder, in record order.

// What a record holds.  "Its bytes": the record's text (after the command
// character) was copied to the block's bytes, n of them, where the
// previous such record's end.
enum class RecordKind : uint8_t {
  kNone,       // nothing to do (a record of no consequence that opens an element)
  kStart,      // its bytes: the name; line: the element's own line, or 0
  kAttr,       // its bytes
  kData,       // p: the stored text
  kPi,         // p: the stored text
  kEnd,
  kSystemId,   // p: the stored text
  kPublicId,   // p: the stored text
  kGenerated,  // p: the stored text
  kEntity,     // p: the EntityInfo, its name, type and notation set
  kLine,       // line; p: the stored file name, or null
  kIntEnt,     // its bytes
  kStop,       // the last record: the block's stop says why
};

// Sixteen bytes: every record crosses from one processor's cache to the
// other's.
struct Record {
  union {
    const char* p;
    size_t n;
  };
  int line;
  RecordKind kind;
  bool opens;  // the record opens a new element's info block
};
static_assert(sizeof(Record) == 16);

// Why the records end.
enum class StopKind : uint8_t {
  kEndOfInput,
  kReadError,          // error: the errno
  kOutOfMemory,
  kNul,                // a record with a NUL where a text is stored
  kDataInInfo,         // a data record before a start record
  kUnexpectedInInfo,   // an unknown command before a start record
  kUnexpectedInContent,
};

struct Stop {
  StopKind kind = StopKind::kEndOfInput;
  char cmd = 0;
  std::string_view text;  // the record's text; it stays in the line reader's buffer
  long recordNumber = 0;
  bool hadNewline = false;
  int error = 0;
};

// Blocks, and the stages' own state, each on cache lines of their own: the
// two threads write them at every record.
struct alignas(128) Block {
  std::unique_ptr<Record[]> records;
  size_t capacity = 0;  // records' room
  size_t count = 0;
  std::string bytes;  // the texts of attribute records and the like, one after another
  Stop stop;  // when the last record is kStop
  const Record* begin() const { return records.get(); }
  const Record* end() const { return records.get() + count; }
};


struct OpenElement {
  ElemNode* elem;
  size_t firstItem;  // index of its first item in the shared content stack
};

class alignas(128) Builder {
 public:
  explicit Builder(const char* inputName) : inputName_(inputName) {}
  // Adds the block's records to the tree.  Returns the root once its end
  // record is met, otherwise null; stops short at a kStop record, which
  // Report then reports.
  ElemNode* Add(const Block& block);
  bool stopped() const { return stopped_; }
  // Reports a block's stop and ends the program.
  [[noreturn]] void Report(const Stop& stop);

 private:
  ElemNode* NewElement();
  // An attribute record of the info block of `e`.
  void Attribute(ElemNode* e, std::string_view text);
  void StartElement(ElemNode* e, const char* gi);
  const char* ElementName(std::string_view name);
  // Links the element to the entity its NAME, ENTITYREF or EXTERNAL
  // attribute names, the first of them that names one.
  void FindEntity(ElemNode* e);
  void CloseElement();

  const char* inputName_;
  ElemNode* root_ = nullptr;
  ElemNode* pending_ = nullptr;  // the element whose info block is being read
  bool stopped_ = false;
  std::vector<OpenElement> open_;
  std::vector<ContentItem> items_;
  std::vector<AttrPair> atts_;
  AttrListTable attLists_;
  const char* pendingSystemId_ = nullptr;
  const char* pendingPublicId_ = nullptr;
  const char* pendingGenerated_ = nullptr;
  // The element names met so far, by a cheap hash of the name: a document
  // has few, and most start records find theirs here without a lookup.
  std::array<const char*, 256> recentNames_{};
};

}  // namespace qlx::records
