#include "translate/match.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "doc/query.h"
#include "doc/tree.h"
#include "regexp/regexp.h"
#include "translate/expand.h"
#include "translate/links.h"
#include "transpec/transpec.h"
#include "util/fatal.h"
#include "util/settings.h"
#include "util/split.h"
#include "util/vartable.h"

namespace qlx {
namespace {

// Whether the names of the element's nearest `depth` ancestors, nearest
// first and joined by single blanks, are `context`: compared in place, as
// this runs for every candidate spec of every element.
bool AncestorsAre(const ElemNode* e, int depth, std::string_view context) {
  size_t pos = 0;
  int k = 0;
  for (const ElemNode* a = e->parent(); a && k < depth; a = a->parent(), ++k) {
    if (k > 0) {
      if (pos >= context.size() || context[pos] != ' ') return false;
      ++pos;
    }
    std::string_view gi(a->gi);
    if (context.compare(pos, gi.size(), gi) != 0) return false;
    pos += gi.size();
  }
  return k == depth && pos == context.size();
}

bool ContextHolds(const TranSpec& s, ElemNode* e) {
  if (!s.contextPattern && s.contextDepth >= 0) return AncestorsAre(e, s.contextDepth, *s.context);
  std::string ancestors = AncestorNames(e, s.contextDepth);
  if (s.contextPattern) return PatternMatches(s.contextPattern, ancestors.c_str());
  return ElementDepth(e) >= s.contextDepth && ancestors == *s.context;
}

bool RelationsHold(const TranSpec& s, ElemNode* e) {
  for (const VarEntry& entry : s.relations->entries) {
    Relation rel = RelationFromName(entry.name.c_str());
    if (rel == REL_Unknown) return false;
    const char* name = entry.hasValue ? entry.value.c_str() : "";
    if (!FindRelated(e, name, rel)) return false;
  }
  return true;
}

bool ParentAttributeHolds(Translation& t, const TranSpec& s, ElemNode* e) {
  if (!e->parent()) return true;
  std::vector<std::string_view> words = Split(*s.pAttSet, 2);
  if (words.empty()) return true;
  std::string name(words[0]);
  const char* value = FindAttValue(e->parent(), name.c_str());
  if (!value) return false;
  if (words.size() < 2) return true;
  return ExpandVariables(t, words[1], nullptr) == value;
}

bool PositionHolds(const TranSpec& s, ElemNode* e) {
  if (s.nthChild > 0) return e->order == s.nthChild - 1;
  if (!e->parent()) return false;  // the root has no position to count from the end
  return e->order == e->parent()->childCount + s.nthChild;
}

// Tests 2 to 11 (the name test is done by the candidate choice).
bool SpecHolds(Translation& t, const TranSpec& s, ElemNode* e) {
  if (!s.giList.empty()) {
    bool found = false;
    for (const char* name : s.giList)
      if (name == e->gi) found = true;
    if (!found) return false;
  }
  if (s.parentName && !(e->parent() && *s.parentName == e->parent()->gi)) return false;
  if (s.context && !ContextHolds(s, e)) return false;
  for (const AttValueTest& test : s.attValues) {
    const char* value = FindAttValue(e, test.name.c_str());
    if (!value || !PatternMatches(test.pattern, value)) return false;
  }
  if (s.relations && !RelationsHold(s, e)) return false;
  if (s.pAttSet && !ParentAttributeHolds(t, s, e)) return false;
  if (s.nthChild && !PositionHolds(s, e)) return false;
  if (s.varValueName) {
    const std::string* v = LookupVariable(t, *s.varValueName);
    if (!v || (s.varValue && *v != *s.varValue)) return false;
  }
  if (s.varREValueName) {
    const std::string* v = LookupVariable(t, *s.varREValueName);
    if (!v || !PatternMatches(s.varREValuePattern, v->c_str())) return false;
  }
  if (s.content) {
    bool any = false;
    for (const char* data : DataTexts(e))
      if ((any = PatternMatches(s.contentPattern, data))) break;
    if (!any) return false;
  }
  return true;
}

TranSpec* FollowAction(Translation& t, TranSpec* s, ElemNode* e) {
  if (s->action == 0) return s;
  if (s->action < 0) return &t.run.specs.empty;
  if (s->actionSpec) return s->actionSpec;
  if (TranSpec* target = FindSpecById(t.run.specs, s->action)) {
    s->actionSpec = target;
    return target;
  }
  t.messages->Printf("Warning: transpec ID (%d) not found for %s.\n", s->action, e->gi);
  s->action = -1;
  return &t.run.specs.empty;
}

const std::vector<TranSpec*> kNone;

}  // namespace

TranSpec* MatchSpec(Translation& t, ElemNode* e, int wanted) {
  SpecList& list = t.run.specs;
  if (wanted != 0) {
    auto it = list.byId.find(wanted);
    if (it != list.byId.end()) {
      for (TranSpec* s : it->second)
        if (SpecHolds(t, *s, e)) return FollowAction(t, s, e);
    }
  } else {
    // The specs that name this element and those that name none, merged
    // in file order: the first whose tests hold wins.
    auto it = list.byName.find(e->gi);
    const std::vector<TranSpec*>& named = it == list.byName.end() ? kNone : it->second;
    const std::vector<TranSpec*>& unnamed = list.unnamed;
    size_t a = 0, b = 0;
    while (a < named.size() || b < unnamed.size()) {
      TranSpec* s;
      if (b == unnamed.size() || (a < named.size() && named[a]->fileIndex < unnamed[b]->fileIndex))
        s = named[a++];
      else
        s = unnamed[b++];
      if (SpecHolds(t, *s, e)) return FollowAction(t, s, e);
    }
  }
  if (TranSpec* any = FirstSpecWithGi(list, "*")) return any;
  if (wanted == 0 && settings.warnings)
    t.messages->Printf("Warning: transpec not found for %s\n", e->gi);
  return &list.empty;
}

void AssignSpecs(Translation& t, ElemNode* top) {
  t.run.specOf.assign(size_t(doc.nextSerial), 0);
  // The subtree in document order, as the elements lie in memory.
  int next = top->serial;
  AssignSpecsInRange(t, &next, SubtreeEnd(top));
}

void AssignSpecsInRange(Translation& t, int* next, int to, const std::atomic<bool>* stop) {
  for (; *next < to; ++*next) {
    if (stop && stop->load(std::memory_order_relaxed)) return;
    ElemNode* e = ElementBySerial(*next);
    SetElementSpec(t, e, MatchSpec(t, e, 0));
  }
}

void ResolveActions(SpecList& list) {
  for (const auto& s : list.specs)
    if (s->action > 0 && !s->actionSpec) s->actionSpec = FindSpecById(list, s->action);
}

TranSpec* ElementSpec(const Translation& t, const ElemNode* e) {
  const auto& specOf = t.run.specOf;
  const uint32_t n = size_t(e->serial) < specOf.size() ? specOf[size_t(e->serial)] : 0;
  switch (n) {
    case 0: return nullptr;
    case 1: return &t.run.specs.empty;
    default: return t.run.specs.specs[n - 2].get();
  }
}

TranSpec* SpecToUse(const Translation& t, const ElemNode* e) {
  TranSpec* s = ElementSpec(t, e);
  return s ? s : &t.run.specs.empty;
}

void SetElementSpec(Translation& t, ElemNode* e, TranSpec* spec) {
  auto& specOf = t.run.specOf;
  if (specOf.size() <= size_t(e->serial)) specOf.resize(size_t(doc.nextSerial), 0);
  if (!spec) specOf[size_t(e->serial)] = 0;
  else if (spec == &t.run.specs.empty) specOf[size_t(e->serial)] = 1;
  else specOf[size_t(e->serial)] = uint32_t(spec->fileIndex) + 2;
}

}  // namespace qlx
