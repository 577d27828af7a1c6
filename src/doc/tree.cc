#include "doc/tree.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace qlx {

Document doc;

void ResetDocument() {
  doc.~Document();  // gives the old tree's memory back
  new (&doc) Document();
}

uint64_t InternTable::Hash(std::string_view text) {
  // Eight bytes at a time, each word mixed in by a multiplication.
  constexpr uint64_t kMul = 0x9E3779B97F4A7C15ull;
  uint64_t h = text.size() * kMul;
  const char* p = text.data();
  size_t n = text.size();
  for (; n >= 8; p += 8, n -= 8) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    h = (h ^ w) * kMul;
    h ^= h >> 32;
  }
  if (n) {
    uint64_t w = 0;
    std::memcpy(&w, p, n);
    h = (h ^ w) * kMul;
    h ^= h >> 32;
  }
  return h;
}

size_t InternTable::Probe(std::string_view text, uint64_t hash) const {
  const size_t mask = slots_.size() - 1;
  for (size_t i = size_t(hash) & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (!slot.text) return i;
    if (slot.hash == hash && slot.size == text.size() &&
        (text.empty() || std::memcmp(slot.text, text.data(), text.size()) == 0))
      return i;
  }
}

void InternTable::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{});
  const size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (!slot.text) continue;
    size_t i = size_t(slot.hash) & mask;
    while (slots_[i].text) i = (i + 1) & mask;
    slots_[i] = slot;
  }
}

const char* InternTable::Find(std::string_view text) const {
  if (slots_.empty()) return nullptr;
  return slots_[Probe(text, Hash(text))].text;
}

InternTable::Slot& InternTable::Store(std::string_view text) {
  if ((texts_.size() + 1) * 2 > slots_.size()) Grow();
  const uint64_t hash = Hash(text);
  Slot& slot = slots_[Probe(text, hash)];
  if (slot.text) return slot;
  const char* copy = arena_->Copy(text);
  texts_.push_back(copy);
  slot = Slot{copy, nullptr, hash, text.size()};
  return slot;
}

const char* InternTable::Intern(std::string_view text) { return Store(text).text; }

void*& InternTable::PayloadOf(std::string_view text) { return Store(text).payload; }

void* InternTable::FindPayload(std::string_view text) const {
  if (slots_.empty()) return nullptr;
  const Slot& slot = slots_[Probe(text, Hash(text))];
  return slot.text ? slot.payload : nullptr;
}

const char* InternElementName(std::string_view text) { return doc.giTable.Intern(text); }

const char* InternAttrString(std::string_view text) { return doc.attStringTable.Intern(text); }

const char* NthData(const ElemNode* e, int n) {
  if (n < 0) return nullptr;
  for (const char* text : DataTexts(e))
    if (n-- == 0) return text;
  return nullptr;
}

int DataCount(const ElemNode* e) {
  int n = 0;
  for (int i = 0; i < e->contentCount; ++i) n += e->items()[i].kind() == '-';
  return n;
}

ElemNode* NextElement(const ElemNode* e) {
  return e->serial + 1 < doc.nextSerial ? ElementBySerial(e->serial + 1) : nullptr;
}

ElemNode* NextSibling(const ElemNode* e) {
  // The next subtree starts where e's ends: a sibling if it has e's parent.
  if (!e->parent() || e->end >= doc.nextSerial) return nullptr;
  ElemNode* next = ElementBySerial(e->end);
  return next->parent() == e->parent() ? next : nullptr;
}

ElemNode* PrevSibling(const ElemNode* e) {
  // The element before e is the last of the previous sibling's subtree.
  if (!e->parent() || e->order <= 0) return nullptr;
  ElemNode* x = ElementBySerial(e->serial - 1);
  while (x->parent() != e->parent()) x = x->parent();
  return x;
}

ElemNode* NthChild(const ElemNode* e, int n) {
  if (n < 0 || n >= e->childCount) return nullptr;
  ElemNode* c = FirstChild(e);
  while (n-- > 0) c = NextSibling(c);
  return c;
}

int ElementDepth(const ElemNode* e) {
  int depth = 0;
  for (const ElemNode* a = e->parent(); a; a = a->parent()) ++depth;
  return depth;
}

const char* ElementFileName(const ElemNode* e) {
  const auto& runs = doc.fileRuns;
  auto after = std::upper_bound(runs.begin(), runs.end(), e->serial,
                                [](int serial, const Document::FileRun& r) { return serial < r.serial; });
  return after == runs.begin() ? nullptr : std::prev(after)->name;
}

void SetFileNameFrom(const ElemNode* e, const char* name) {
  auto& runs = doc.fileRuns;
  auto at = std::lower_bound(runs.begin(), runs.end(), e->serial,
                             [](const Document::FileRun& r, int serial) { return r.serial < serial; });
  if (at != runs.end() && at->serial == e->serial) at->name = name;
  else runs.insert(at, Document::FileRun{e->serial, name});
}

int ElementLine(const ElemNode* e) {
  if (size_t(e->serial) < doc.elementLines.size()) return doc.elementLines[size_t(e->serial)];
  const auto& runs = doc.lineRuns;
  auto after = std::upper_bound(runs.begin(), runs.end(), e->serial,
                                [](int serial, const Document::LineRun& r) { return serial < r.serial; });
  return after == runs.begin() ? 0 : std::prev(after)->line;
}

void SetLineRun(const ElemNode* e, int line) {
  auto& runs = doc.lineRuns;
  // The reader sets the newest element's line: the last run, or a new one
  // when the line changes.
  if (!runs.empty() && runs.back().serial == e->serial) {
    runs.back().line = line;
    return;
  }
  if (runs.empty() || runs.back().serial < e->serial) {
    if (runs.empty() ? line != 0 : runs.back().line != line)
      runs.push_back(Document::LineRun{e->serial, line});
    return;
  }
  auto at = std::lower_bound(runs.begin(), runs.end(), e->serial,
                             [](const Document::LineRun& r, int serial) { return r.serial < serial; });
  if (at->serial == e->serial) at->line = line;
  else runs.insert(at, Document::LineRun{e->serial, line});
}

const char* ElementId(const ElemNode* e) {
  const AttrPair* atts = e->atts();
  for (int i = 0; i < e->attCount(); ++i)
    if (std::strcmp(atts[i].name, "ID") == 0) return atts[i].value;
  return nullptr;
}

EntityInfo* ElementEntity(const ElemNode* e) {
  if (doc.entityOf.empty()) return nullptr;
  auto it = doc.entityOf.find(e);
  return it == doc.entityOf.end() ? nullptr : it->second;
}

void SetElementEntity(const ElemNode* e, EntityInfo* entity) {
  if (entity) doc.entityOf[e] = entity;
  else doc.entityOf.erase(e);
}

void RegisterID(const char* id, ElemNode* elem) {
  doc.idIndex.push_back(IdEntry{id, elem});
  void*& first = doc.attStringTable.PayloadOf(id);
  if (!first) first = elem;
}

}  // namespace qlx
