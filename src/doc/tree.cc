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
  if (!root) return;
  root->order = -1;
  for (ElemNode* e = root; e; e = e->next) {
    int nchild = 0, ndata = 0;
    for (int i = 0; i < e->contentCount; ++i) {
      if (e->content[i].kind == '(') ++nchild;
      else if (e->content[i].kind == '-') ++ndata;
    }
    if (nchild) e->children = doc.arena.Array<ElemNode*>(size_t(nchild));
    if (ndata) e->data = doc.arena.Array<const char*>(size_t(ndata));
    for (int i = 0; i < e->contentCount; ++i) {
      const ContentItem& item = e->content[i];
      if (item.kind == '(') {
        item.elem->order = e->childCount;
        e->children[e->childCount++] = item.elem;
      } else if (item.kind == '-') {
        e->data[e->dataCount++] = item.text;
      }
    }
    for (int i = 0; i < e->attCount; ++i) {
      if (std::strcmp(e->atts[i].name, "ID") == 0) {
        RegisterID(e->atts[i].value, e);
        e->id = e->atts[i].value;
        break;
      }
    }
  }
}

}  // namespace qlx
