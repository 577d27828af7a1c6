#include "doc/query.h"

#include <cstring>
#include <utility>
#include <vector>

#include "util/fatal.h"

namespace qlx {
namespace {

bool SameName(const char* a, const char* b) { return a[0] == b[0] && std::strcmp(a, b) == 0; }

// The first of the siblings from `from` up to (not including) `to` that is
// named `name`, skipping `skip`; a null `to` runs to the last sibling.
ElemNode* FirstNamedFrom(ElemNode* from, const char* name, const ElemNode* to = nullptr,
                         const ElemNode* skip = nullptr) {
  for (ElemNode* c = from; c && c != to; c = NextSibling(c))
    if (c != skip && SameName(c->gi, name)) return c;
  return nullptr;
}

// Breadth-first within each node, depth-first across nodes: the children
// of a node are all checked before any grandchild under it, then the
// child subtrees are searched one by one in order.  Uses an explicit
// stack of the next child to descend into, per level.
ElemNode* SearchDescendants(ElemNode* top, const char* name) {
  if (ElemNode* hit = FirstNamedFrom(FirstChild(top), name)) return hit;
  std::vector<ElemNode*> stack;
  stack.push_back(FirstChild(top));
  while (!stack.empty()) {
    ElemNode* child = stack.back();
    if (!child) {
      stack.pop_back();
      continue;
    }
    stack.back() = NextSibling(child);
    if (ElemNode* hit = FirstNamedFrom(FirstChild(child), name)) return hit;
    if (child->childCount) stack.push_back(FirstChild(child));
  }
  return nullptr;
}

}  // namespace

const char* FindAttValue(const ElemNode* elem, const char* name) {
  if (!elem || !name) return nullptr;
  const AttrPair* atts = elem->atts();
  for (int i = 0; i < elem->attCount(); ++i) {
    if (SameName(atts[i].name, name)) return atts[i].value;
  }
  return nullptr;
}

ElemNode* FindElementByID(const char* id) {
  if (!id) return nullptr;
  return static_cast<ElemNode*>(doc.attStringTable.FindPayload(id));
}

Relation RelationFromName(const char* name) {
  static const struct {
    const char* name;
    Relation rel;
  } kNames[] = {
      {"parent", REL_Parent},       {"child", REL_Child},
      {"ancestor", REL_Ancestor},   {"descendant", REL_Descendant},
      {"sibling", REL_Sibling},     {"sibling-", REL_Preceding},
      {"sibling-1", REL_ImmPreceding}, {"sibling+", REL_Following},
      {"sibling+1", REL_ImmFollowing}, {"cousin", REL_Cousin},
  };
  if (!name) name = "";
  if (std::strcmp(name, "?") == 0) {
    Diagnostics()->Printf("Supported query/relationships %s\n%s.\n",
                 "child, parent, ancestor, descendant,",
                 "sibling, sibling+, sibling+1, sibling-, sibling-1");
    return REL_None;
  }
  for (const auto& entry : kNames) {
    if (std::strcmp(name, entry.name) == 0) return entry.rel;
  }
  Diagnostics()->Printf("Unknown relationship: %s\n", name);
  return REL_Unknown;
}

ElemNode* FindRelated(ElemNode* elem, const char* name, Relation rel) {
  if (!elem || !name || rel < REL_None || rel > REL_Unknown) return nullptr;
  ElemNode* parent = elem->parent();
  switch (rel) {
    case REL_None:
    case REL_Unknown:
      Diagnostics()->Puts("You can not query 'REL_None' or 'REL_Unknown'.\n");
      return nullptr;
    case REL_Parent:
      return parent && SameName(parent->gi, name) ? parent : nullptr;
    case REL_Child:
      return FirstNamedFrom(FirstChild(elem), name);
    case REL_Ancestor:
      for (ElemNode* a = parent; a; a = a->parent()) {
        if (SameName(a->gi, name)) return a;
      }
      return nullptr;
    case REL_Descendant:
      return SearchDescendants(elem, name);
    default:
      break;
  }
  // The sibling relations and cousin: positions among the parent's children.
  if (!parent) return nullptr;
  switch (rel) {
    case REL_Sibling:
      return FirstNamedFrom(FirstChild(parent), name, nullptr, elem);
    case REL_Preceding:
      return FirstNamedFrom(FirstChild(parent), name, elem);
    case REL_ImmPreceding: {
      ElemNode* prev = PrevSibling(elem);
      return prev && SameName(prev->gi, name) ? prev : nullptr;
    }
    case REL_Following:
      return FirstNamedFrom(NextSibling(elem), name);
    case REL_ImmFollowing: {
      ElemNode* next = NextSibling(elem);
      return next && SameName(next->gi, name) ? next : nullptr;
    }
    case REL_Cousin:
      return FirstNamedFrom(FirstChild(parent), name);
    default:
      return nullptr;
  }
}

void WalkTree(ElemNode* elem, ElemCallback before, ElemCallback after, ItemCallback item,
              void* userData) {
  if (!elem) return;
  // Each open element with the index of its next content item.
  std::vector<std::pair<ElemNode*, int>> stack;
  if (before) before(elem, userData);
  stack.emplace_back(elem, 0);
  while (!stack.empty()) {
    ElemNode* node = stack.back().first;
    int i = stack.back().second;
    if (i >= node->contentCount) {
      stack.pop_back();
      if (after) after(node, userData);
      continue;
    }
    stack.back().second = i + 1;
    ContentItem* ci = &node->items()[i];
    if (ci->kind() == '(') {
      if (before) before(ci->elem(), userData);
      stack.emplace_back(ci->elem(), 0);
    } else if (item) {
      item(ci, userData);
    }
  }
}

std::string BuildPath(const ElemNode* elem) {
  std::string path;
  if (!elem) return path;
  // The ancestors, root first; each step down is written with the order
  // of the element it leads to.
  std::vector<const ElemNode*> chain;
  for (const ElemNode* e = elem; e; e = e->parent()) chain.push_back(e);
  for (size_t i = chain.size() - 1; i > 0; --i) {
    path += chain[i]->gi;
    path += '(';
    path += std::to_string(chain[i - 1]->order);
    path += ") ";
  }
  path += elem->gi;
  return path;
}

std::string AncestorNames(const ElemNode* elem, int n) {
  std::string names;
  if (!elem || !elem->parent() || n == 0) return names;
  names = elem->parent()->gi;
  int written = 1;
  for (const ElemNode* a = elem->parent()->parent(); a && (n < 0 || written < n); a = a->parent()) {
    names += ' ';
    names += a->gi;
    ++written;
  }
  return names;
}

std::string LocationText(const ElemNode* elem) {
  std::string text;
  if (!elem) return text;
  text += "  Path: " + BuildPath(elem) + "\n";
  // The nearest TITLE at or before the element among its siblings, then
  // among its parent's, and so on up.
  for (const ElemNode* x = elem; x->parent(); x = x->parent()) {
    const ElemNode* p = x->parent();
    if (const ElemNode* title = FirstNamedFrom(FirstChild(p), "TITLE", NextSibling(x))) {
      const char* data = NthData(title, 0);
      text += std::string("  Position hint: TITLE='") + (data ? data : "-empty-") + "'\n";
      break;
    }
  }
  if (int line = ElementLine(elem); line != 0) {
    if (const char* fileName = ElementFileName(elem)) {
      text += std::string("  At or near instance file: ") + fileName + ", line: " + std::to_string(line) + "\n";
    } else {
      text += "  At or near instance line: " + std::to_string(line) + "\n";
    }
  }
  if (const char* id = ElementId(elem)) text += std::string("  ID: ") + id + "\n";
  return text;
}

void PrintLocation(const ElemNode* elem, std::FILE* stream) {
  if (!elem || !stream) return;
  const std::string text = LocationText(elem);
  std::fwrite(text.data(), 1, text.size(), stream);
}

void PrintLocation(const ElemNode* elem, OutBuffer* stream) {
  if (!elem || !stream) return;
  stream->Puts(LocationText(elem));
}

}  // namespace qlx
