#include "doc/tree.h"

#include <cstring>
#include <new>

namespace qlx {

Document doc;

void ResetDocument() {
  new (&doc) Document();
}

const char* InternTable::Intern(std::string_view text) {
  auto it = index_.find(text);
  if (it != index_.end()) return it->second;
  const char* copy = arena_->Copy(text);
  texts_.push_back(copy);
  index_.emplace(std::string_view(copy, text.size()), copy);
  return copy;
}

const char* InternElementName(std::string_view text) { return doc.giTable.Intern(text); }

const char* InternAttrString(std::string_view text) { return doc.attStringTable.Intern(text); }

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
