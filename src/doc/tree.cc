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

const char* InternTable::Intern(std::string_view text) {
  if ((texts_.size() + 1) * 2 > slots_.size()) Grow();
  const uint64_t hash = Hash(text);
  Slot& slot = slots_[Probe(text, hash)];
  if (slot.text) return slot.text;
  const char* copy = arena_->Copy(text);
  texts_.push_back(copy);
  slot = Slot{copy, text.size(), hash};
  return copy;
}

const char* InternElementName(std::string_view text) { return doc.giTable.Intern(text); }

const char* InternAttrString(std::string_view text) { return doc.attStringTable.Intern(text); }

const char* NthData(const ElemNode* e, int n) {
  if (n < 0 || n >= e->dataCount) return nullptr;
  for (const char* text : DataTexts(e))
    if (n-- == 0) return text;
  return nullptr;
}

ElemNode* NewElementRecord() {
  const int serial = doc.nextSerial++;
  if (serial % Document::kElemBlock == 0)
    doc.elemBlocks.push_back(doc.arena.Array<ElemNode>(Document::kElemBlock));
  ElemNode* e = new (ElementBySerial(serial)) ElemNode();
  e->serial = serial;
  return e;
}

ElemNode* NextElement(const ElemNode* e) {
  return e->serial + 1 < doc.nextSerial ? ElementBySerial(e->serial + 1) : nullptr;
}

int SubtreeEnd(const ElemNode* e) {
  for (; e->parent; e = e->parent) {
    const ElemNode* p = e->parent;
    if (e->order + 1 < p->childCount) return p->children[e->order + 1]->serial;
  }
  return doc.nextSerial;
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

const char* ElementId(const ElemNode* e) {
  for (int i = 0; i < e->attCount; ++i)
    if (std::strcmp(e->atts[i].name, "ID") == 0) return e->atts[i].value;
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

int InsertedSpecId(const ElemNode* e, char where) {
  auto& marks = where == 'S' ? doc.insertedBefore : doc.insertedAfter;
  if (marks.empty()) return 0;
  auto it = marks.find(e);
  return it == marks.end() ? 0 : it->second;
}

void SetInsertedSpecId(const ElemNode* e, char where, int id) {
  auto& marks = where == 'S' ? doc.insertedBefore : doc.insertedAfter;
  if (id != 0) marks[e] = id;
  else marks.erase(e);
}

bool IsProcessed(const ElemNode* e) {
  return size_t(e->serial) < doc.processed.size() && doc.processed[size_t(e->serial)];
}

void MarkProcessed(const ElemNode* e) {
  if (size_t(e->serial) >= doc.processed.size()) doc.processed.resize(size_t(doc.nextSerial));
  doc.processed[size_t(e->serial)] = true;
}

void RegisterID(const char* id, ElemNode* elem) {
  doc.idIndex.push_back(IdEntry{id, elem});
  doc.idLookup.emplace(std::string_view(id), elem);  // keeps the first
}

void FinishTree(ElemNode* root) {
  // The reader has given every element its children and data arrays, the
  // order of each child and the ID index while it read; what is left is the
  // root's own order.
  if (root) root->order = -1;
}

}  // namespace qlx
