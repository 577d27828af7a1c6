#include "browse/find.h"

#include <cstring>
#include <unordered_map>

#include "doc/query.h"
#include "doc/tree.h"

namespace qlx {
namespace {

// Element names are interned, so a name test is a pointer comparison with
// the interned text; a name that was never interned names no element.
struct Search {
  FindTest test;
  const char* x;
  const char* y;
  const char* name;  // x as interned in giTable (name tests only)
  std::vector<ElemNode*> hits;
  // FIND_Anc: how many elements named x enclose the element being visited.
  long openNamed = 0;
  // FIND_Desc: the elements that have a descendant named x, by serial.
  std::vector<char> hasNamedDesc;
  // FIND_Sib: the number of children named x, per parent.
  std::unordered_map<const ElemNode*, int> namedChildren;
};

int NamedChildren(Search* s, const ElemNode* parent) {
  auto [it, added] = s->namedChildren.try_emplace(parent, 0);
  if (added) {
    for (const ElemNode* c = FirstChild(parent); c; c = NextSibling(c)) it->second += c->gi == s->name;
  }
  return it->second;
}

bool Passes(Search* s, ElemNode* e) {
  switch (s->test) {
    case FIND_Gi:
      return e->gi == s->name;
    case FIND_Attr: {
      const char* value = FindAttValue(e, s->x);
      return value && std::strcmp(value, s->y) == 0;
    }
    case FIND_Parent:
      return e->parent() && e->parent()->gi == s->name;
    case FIND_Child:
      for (const ElemNode* c = FirstChild(e); c; c = NextSibling(c)) {
        if (c->gi == s->name) return true;
      }
      return false;
    case FIND_Cont:
      for (const char* data : DataTexts(e)) {
        if (std::strstr(data, s->x)) return true;
      }
      return false;
    case FIND_Sib:
      return e->parent() && NamedChildren(s, e->parent()) - (e->gi == s->name) > 0;
    case FIND_Desc:
      return s->hasNamedDesc[size_t(e->serial)] != 0;
    case FIND_Anc:
      return s->openNamed > 0;
  }
  return false;
}

void Before(ElemNode* e, void* user) {
  auto* s = static_cast<Search*>(user);
  if (Passes(s, e)) s->hits.push_back(e);
  if (s->test == FIND_Anc && e->gi == s->name) ++s->openNamed;
}

void After(ElemNode* e, void* user) {
  auto* s = static_cast<Search*>(user);
  if (e->gi == s->name) --s->openNamed;
}

// Marks every element of top's subtree that has a descendant named
// s->name.  Each element named so marks its ancestors up to the first one
// already marked (whose own ancestors up to top are marked too), so every
// element is marked at most once.
void MarkNamedDescendants(Search* s, ElemNode* top) {
  s->hasNamedDesc.assign(size_t(doc.nextSerial), 0);
  struct Named {
    const char* name;
    std::vector<ElemNode*> elems;
  } named{s->name, {}};
  WalkTree(
      top,
      [](ElemNode* e, void* user) {
        auto* n = static_cast<Named*>(user);
        if (e->gi == n->name) n->elems.push_back(e);
      },
      nullptr, nullptr, &named);
  for (ElemNode* e : named.elems) {
    for (ElemNode* a = e; a != top && !s->hasNamedDesc[size_t(a->parent()->serial)]; a = a->parent()) {
      s->hasNamedDesc[size_t(a->parent()->serial)] = 1;
    }
  }
}

}  // namespace

bool FindTestFromName(std::string_view name, FindTest* test) {
  static const struct {
    std::string_view name;
    FindTest test;
  } kTests[] = {
      {"gi", FIND_Gi},     {"attr", FIND_Attr}, {"parent", FIND_Parent}, {"child", FIND_Child},
      {"cont", FIND_Cont}, {"sib", FIND_Sib},   {"desc", FIND_Desc},     {"anc", FIND_Anc},
  };
  for (const auto& entry : kTests) {
    if (entry.name == name) {
      *test = entry.test;
      return true;
    }
  }
  return false;
}

std::vector<ElemNode*> FindElements(ElemNode* top, FindTest test, const char* x,
                                    const char* y) {
  if (!top || !x || (test == FIND_Attr && !y)) return {};
  Search s{test, x, y, nullptr, {}, 0, {}, {}};
  if (test != FIND_Attr && test != FIND_Cont) {
    s.name = doc.giTable.Find(x);
    if (!s.name) return {};
  }
  if (test == FIND_Desc) MarkNamedDescendants(&s, top);
  if (test == FIND_Anc) {
    for (const ElemNode* a = top->parent(); a; a = a->parent()) s.openNamed += a->gi == s.name;
  }
  WalkTree(top, Before, test == FIND_Anc ? After : nullptr, nullptr, &s);
  return std::move(s.hits);
}

}  // namespace qlx
