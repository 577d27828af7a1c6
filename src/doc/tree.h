// The document tree: one ElemNode per element of the instance, with its
// content in document order, its attributes and its place among its
// siblings, plus the process-wide Document record (interning tables, the
// element chain, the entities and the ID index).
#pragma once

#include <cstdint>
#include <new>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "util/arena.h"

namespace qlx {

struct ElemNode;

// One entry of an element's content.  kind() is the ESIS command
// character: '(' a child element (elem()), '-' a data record, '?' a
// processing instruction (text(): the record after its command character,
// ESIS escapes kept as they stand).  One word: the kind is kept in the low
// bits of the pointer, so texts must be stored at addresses that are a
// multiple of kTextAlign (elements are, by their own alignment).
class ContentItem {
 public:
  static constexpr size_t kTextAlign = 4;
  ContentItem() = default;
  static ContentItem Element(ElemNode* e) { return ContentItem(reinterpret_cast<uintptr_t>(e)); }
  static ContentItem Data(const char* text) { return ContentItem(reinterpret_cast<uintptr_t>(text) | 1); }
  static ContentItem Pi(const char* text) { return ContentItem(reinterpret_cast<uintptr_t>(text) | 2); }
  char kind() const {
    switch (bits_ & 3) {
      case 0: return '(';
      case 1: return '-';
      default: return '?';
    }
  }
  ElemNode* elem() const { return reinterpret_cast<ElemNode*>(bits_); }
  const char* text() const { return reinterpret_cast<const char*>(bits_ & ~uintptr_t(3)); }

 private:
  explicit ContentItem(uintptr_t bits) : bits_(bits) {}
  uintptr_t bits_;  // trivial, so that an element can hold one item in a union
};

struct AttrPair {
  const char* name;   // interned in the attribute-string table
  const char* value;  // interned; never change
};

// An element's attributes with a value, in record order: a count and the
// pairs right after it.  Lists are stored once and shared by every element
// that has the same one (most elements of a document repeat a few lists).
struct alignas(alignof(AttrPair)) AttrList {
  int count = 0;
  const AttrPair* pairs() const { return reinterpret_cast<const AttrPair*>(this + 1); }
};

struct EntityInfo {
  const char* type = nullptr;
  const char* name = nullptr;
  const char* notation = nullptr;
  const char* systemId = nullptr;
  const char* publicId = nullptr;
  const char* generatedName = nullptr;
  EntityInfo* next = nullptr;
};

// Elements are created in document order and numbered by it (serial), so
// the child elements of an element are the elements that follow it, one
// subtree after another: the first child is the next element, a sibling
// starts where the subtree before it ends.  Navigation goes through the
// functions below (FirstChild, NextSibling, ...), not through stored lists.
struct ElemNode {
  // Pointers first, then the integers, so the record packs without holes.
  // What few elements have, or what runs of elements share (the file and
  // line they were read from), is kept in the Document; see below.
  const char* gi = nullptr;  // interned in giTable
  // The content, contentCount items in document order (items()).  Most
  // elements hold a single item: it is kept here in place of the pointer.
  union {
    ContentItem* manyItems = nullptr;
    ContentItem oneItem;
  };
  const AttrList* attList = nullptr;  // null: no attribute with a value
  int parentSerial = -1;  // -1: the root (parent())
  int contentCount = 0;
  int childCount = 0;
  int serial = 0;  // creation number, 0 for the root
  int order = 0;  // index among the parent's children; -1 for the root
  int end = 0;  // one past the serial of the subtree's last element
  // The marks of translations (the ids of specs inserted before and after
  // the content, finished or not) are few and live in the Document.

  const ContentItem* items() const { return contentCount == 1 ? &oneItem : manyItems; }
  ContentItem* items() { return contentCount == 1 ? &oneItem : manyItems; }
  ElemNode* parent() const;  // null for the root
  int attCount() const { return attList ? attList->count : 0; }
  const AttrPair* atts() const { return attList ? attList->pairs() : nullptr; }
};

static_assert(alignof(ElemNode) >= ContentItem::kTextAlign, "the item's kind bits need them");

// The data texts of an element, in content order: its '-' content items,
// read in place (the tree keeps no second list of them).
class DataTexts {
 public:
  explicit DataTexts(const ElemNode* e) : begin_(e->items()), end_(e->items() + e->contentCount) {}
  class iterator {
   public:
    iterator(const ContentItem* p, const ContentItem* end) : p_(p), end_(end) { Skip(); }
    const char* operator*() const { return p_->text(); }
    iterator& operator++() {
      ++p_;
      Skip();
      return *this;
    }
    bool operator!=(const iterator& other) const { return p_ != other.p_; }

   private:
    void Skip() {
      while (p_ != end_ && p_->kind() != '-') ++p_;
    }
    const ContentItem* p_;
    const ContentItem* end_;
  };
  iterator begin() const { return iterator(begin_, end_); }
  iterator end() const { return iterator(end_, end_); }

 private:
  const ContentItem* begin_;
  const ContentItem* end_;
};

// The element's data text number n (from 0), or null when it has fewer.
const char* NthData(const ElemNode* e, int n);

struct IdEntry {
  const char* id;
  ElemNode* elem;
};

// An interning table: texts stored once, in insertion order, with a hash
// index for lookups (open addressing, at most half full).
class InternTable {
 public:
  explicit InternTable(Arena* arena) : arena_(arena) {}
  const char* Intern(std::string_view text);
  // The stored text equal to `text`, or null (nothing is stored).
  const char* Find(std::string_view text) const;
  const std::vector<const char*>& texts() const { return texts_; }
  // A word the table's user keeps with each stored text (null at first):
  // the one kept with `text`, or null when it is not stored; and the one
  // to set, the text being stored first when it is not.
  void* FindPayload(std::string_view text) const;
  void*& PayloadOf(std::string_view text);

 private:
  struct Slot {
    const char* text = nullptr;  // null: free
    void* payload = nullptr;
    uint64_t hash = 0;
    size_t size = 0;
  };
  static uint64_t Hash(std::string_view text);
  // The slot of `text`, stored first when it is not.
  Slot& Store(std::string_view text);
  // The slot holding `text`, or the free slot where it belongs.
  size_t Probe(std::string_view text, uint64_t hash) const;
  void Grow();

  Arena* arena_;
  std::vector<const char*> texts_;
  std::vector<Slot> slots_;  // a power of two in size, or empty
};

// Everything read from the input, alive until the program ends.
struct Document {
  Arena arena;
  InternTable giTable{&arena};
  InternTable attStringTable{&arena};
  // The texts the reader's first stage stores (data, processing
  // instructions, entity and file names): while a document is read,
  // another thread may fill it, so the rest of the tree goes to `arena`
  // alone.  It sits on cache lines of its own (the reader's two threads
  // write their arenas at every record).
  alignas(128) Arena textArena;
  // The elements themselves, by serial number (document order), in blocks
  // of kElemBlock: a pass over a subtree reads one stretch of memory.
  static constexpr int kElemBlock = 1024;
  alignas(128) std::vector<ElemNode*> elemBlocks;
  // The input file of the elements, by runs: the elements from `serial` on,
  // up to the next run, were read from `name` (null: standard input).
  struct FileRun {
    int serial;
    const char* name;
  };
  std::vector<FileRun> fileRuns;
  // The instance line of the elements, by runs in the same way (no run
  // before the first line record: line 0, unknown).
  struct LineRun {
    int serial;
    int line;
  };
  std::vector<LineRun> lineRuns;
  // The line of each element by serial, when the reader gives every
  // element its own (the XML reader does; four bytes an element, where a
  // run would take eight): it comes before the runs.
  std::vector<int> elementLines;
  ElemNode* root = nullptr;  // the document element, once read
  int nextSerial = 0;  // also the number of elements
  EntityInfo* entityFirst = nullptr;  // entityList, in record order
  EntityInfo* entityLast = nullptr;
  // Every ID attribute in document order.  The first element with each ID
  // is kept as the payload of the ID's text in attStringTable.
  std::vector<IdEntry> idIndex;
  // The entity of each element that names one (few do, so the elements
  // carry no field for it).
  std::unordered_map<const ElemNode*, EntityInfo*> entityOf;
  int currentLine = 0;
  const char* currentFileName = nullptr;
};

extern Document doc;

// Starts a fresh, empty document (tests and fuzzers read many documents in
// one process; the old one's memory is given back, so nothing may point
// into it any more).
void ResetDocument();

const char* InternElementName(std::string_view text);
const char* InternAttrString(std::string_view text);

// The element with the given serial number (0 <= serial < doc.nextSerial).
inline ElemNode* ElementBySerial(int serial) {
  const unsigned s = unsigned(serial);
  return doc.elemBlocks[s / Document::kElemBlock] + s % Document::kElemBlock;
}

// A new element with the next serial number, every field at its default.
inline ElemNode* NewElementRecord() {
  const int serial = doc.nextSerial++;
  if (serial % Document::kElemBlock == 0)
    doc.elemBlocks.push_back(doc.arena.Array<ElemNode>(Document::kElemBlock));
  ElemNode* e = new (ElementBySerial(serial)) ElemNode();
  e->serial = serial;
  return e;
}

inline ElemNode* ElemNode::parent() const {
  return parentSerial < 0 ? nullptr : ElementBySerial(parentSerial);
}

// The element after e in document order (the order they were created in),
// or null after the last.
ElemNode* NextElement(const ElemNode* e);

// One past the serial of the last element of e's subtree: the subtree is
// the elements with serials from e->serial up to it.  For a finished tree.
inline int SubtreeEnd(const ElemNode* e) { return e->end; }

// Navigation among the elements of a finished tree.  FirstChild and
// NextSibling take constant time, PrevSibling the depth of the subtree
// before e, NthChild n steps.
inline ElemNode* FirstChild(const ElemNode* e) {
  return e->childCount > 0 ? ElementBySerial(e->serial + 1) : nullptr;
}
ElemNode* NextSibling(const ElemNode* e);
ElemNode* PrevSibling(const ElemNode* e);
ElemNode* NthChild(const ElemNode* e, int n);  // null when out of range

// The number of ancestors (0 for the root), counted up the parent chain.
int ElementDepth(const ElemNode* e);

// The number of data items among the element's content.
int DataCount(const ElemNode* e);

// The file the element was read from, or null (standard input).
const char* ElementFileName(const ElemNode* e);
// Records that the elements from e on (up to the next element that starts
// a file of its own) were read from `name`.
void SetFileNameFrom(const ElemNode* e, const char* name);

// The instance line the element was read at (0: not known).
int ElementLine(const ElemNode* e);
// Records that the elements from e on were read at `line` (the reader
// sets the newest element's; most keep the line of the one before).
void SetLineRun(const ElemNode* e, int line);
inline void SetLineFrom(const ElemNode* e, int line) {
  const auto& runs = doc.lineRuns;
  if (runs.empty() ? line == 0 : runs.back().serial <= e->serial && runs.back().line == line) return;
  SetLineRun(e, line);
}

// The value of the element's attribute named ID, or null.
const char* ElementId(const ElemNode* e);

// The entity that the element's NAME, ENTITYREF or EXTERNAL attribute named
// when it was read (the first of them that names one), or null.
EntityInfo* ElementEntity(const ElemNode* e);
void SetElementEntity(const ElemNode* e, EntityInfo* entity);

// Appends an entry to the ID index.
void RegisterID(const char* id, ElemNode* elem);

}  // namespace qlx
