#include "translate/links.h"

#include <cstdlib>
#include <cstring>
#include <unordered_set>

#include "doc/query.h"
#include "doc/tree.h"
#include "translate/translate.h"
#include "util/fatal.h"
#include "util/settings.h"
#include "util/split.h"
#include "util/text.h"
#include "util/vartable.h"

namespace qlx {

namespace {

std::vector<std::string_view> AllWords(std::string_view text) {
  std::vector<std::string_view> words;
  ForEachWord(text, [&](std::string_view w) { words.push_back(w); });
  return words;
}

// The first word of an attribute value; empty when it has none.
std::string FirstWord(const char* value) {
  std::string_view v(value);
  size_t start = 0;
  while (start < v.size() && IsBlank(v[start])) ++start;
  size_t end = start;
  while (end < v.size() && !IsBlank(v[end])) ++end;
  return std::string(v.substr(start, end - start));
}

// The first link attribute of `elem` whose value has a word: that word.
bool FirstLinkId(Translation& t, const ElemNode* elem, std::string* id) {
  for (const std::string& name : LinkAttributeNames(t)) {
    const char* value = FindAttValue(elem, name.c_str());
    if (!value) continue;
    *id = FirstWord(value);
    if (!id->empty()) return true;
  }
  return false;
}

bool SameName(const char* gi, std::string_view name) { return gi && std::string_view(gi) == name; }

const std::string* LoopValue(Translation& t, char which) {
  std::optional<std::string>& value = which == 'A' ? t.run.loop.eachA : t.run.loop.eachC;
  if (value) return &*value;
  t.messages->Printf("Requested value for unset _%c variable\n", which);
  static const std::string kEmpty;  // never written
  return &kEmpty;
}

// One step of a loop: the word becomes the loop value.
void SetLoopWord(std::optional<std::string>& slot, std::string_view word) { slot.emplace(word); }

}  // namespace

const std::string* LookupVariable(Translation& t, std::string_view name) {
  if (name == "each_A") return LoopValue(t, 'A');
  if (name == "each_C") return LoopValue(t, 'C');
  return LookupVar(&t.vars, name);
}

void NotEnoughArgs(Translation& t, std::string_view name) {
  t.messages->Printf("Error: Not enough args for _%.*s.\n", int(name.size()), name.data());
}

const std::vector<std::string>& LinkAttributeNames(Translation& t) {
  if (!t.run.loop.linkNamesBuilt) {
    t.run.loop.linkNamesBuilt = true;
    if (const std::string* names = LookupVariable(t, "link_atts")) {
      ForEachWord(*names, [&t](std::string_view w) { t.run.loop.linkNames.emplace_back(w); });
    } else {
      t.run.loop.linkNames = {"LINKEND", "LINKENDS", "IDREF"};
    }
  }
  return t.run.loop.linkNames;
}

void FollowLink(Translation& t, ElemNode* elem, const CallWords& words, OutBuffer* stream) {
  if (words.size() < 2) {
    NotEnoughArgs(t, words[0]);
    return;
  }
  if (words.size() >= 3) {
    std::string attr(words[1]);
    const char* value = FindAttValue(elem, attr.c_str());
    if (!value) {
      t.messages->Printf("Error: Did not find attr: %s.\n", attr.c_str());
      return;
    }
    if (ElemNode* target = FindElementByID(value)) RunNamedAction(t, target, words[2], stream);
    return;
  }
  std::string_view action = words[1];
  for (const std::string& name : LinkAttributeNames(t)) {
    const char* value = FindAttValue(elem, name.c_str());
    if (!value) continue;
    std::string id = FirstWord(value);
    if (id.empty()) continue;
    if (ElemNode* target = FindElementByID(id.c_str())) {
      RunNamedAction(t, target, action, stream);
      return;
    }
    t.messages->Printf("Error: Can not find elem for ID: %s.\n", id.c_str());
  }
  t.messages->Puts("Error: Element does not have IDREF attribute set:\n");
  PrintLocation(elem, t.messages);
}

void ChaseLink(Translation& t, ElemNode* elem, std::string_view name, std::string_view action,
               OutBuffer* stream) {
  if (SameName(elem->gi, name)) {
    RunNamedAction(t, elem, action, stream);
    return;
  }
  std::unordered_set<const ElemNode*> met{elem};
  std::string id;
  for (ElemNode* at = elem;;) {
    if (!FirstLinkId(t, at, &id)) return;
    ElemNode* target = FindElementByID(id.c_str());
    if (!target) {
      t.messages->Printf("Error: Could not find ID %s\n", id.c_str());
      return;
    }
    if (SameName(target->gi, name)) {
      RunNamedAction(t, target, action, stream);
      return;
    }
    for (ElemNode* child = FirstChild(target); child; child = NextSibling(child)) {
      if (SameName(child->gi, name)) {
        RunNamedAction(t, child, action, stream);
        return;
      }
    }
    // Reaching an element a second time would go round for ever.
    if (!met.insert(target).second) {
      t.messages->Printf(
                   "Error: _chasetogi met the element with ID %s twice (a link cycle) "
                   "without reaching %.*s.\n",
                   id.c_str(), int(name.size()), name.data());
      PrintLocation(target, t.messages);
      return;
    }
    at = target;
  }
}

void ChaseToGi(Translation& t, ElemNode* elem, const CallWords& words, OutBuffer* stream) {
  if (words.size() < 3) {
    t.messages->Puts("Error: Not enough args for _chasetogi.\n");
    return;
  }
  if (std::atoi(std::string(words[2]).c_str()) == 0) return;
  ChaseLink(t, elem, words[1], words[2], stream);
}

namespace {

// What one _find walk looks for.  Owned by the call, so actions that run
// further searches leave it alone.
struct FindRequest {
  FindTest kind;              // FIND_Gi, FIND_Attr or FIND_Parent
  bool parentToo;             // FIND_Gi: and the parent is named `second`
  std::string first, second;  // name / attribute, parent name / value
  std::string action;
  OutBuffer* stream;
  Translation* translation;
};

bool ParentNamed(const ElemNode* e, const std::string& name) {
  return e->parent() && e->parent()->gi == name;
}

void VisitForFind(ElemNode* e, void* data) {
  const FindRequest& req = *static_cast<const FindRequest*>(data);
  bool hit = false;
  switch (req.kind) {
    case FIND_Gi: hit = e->gi == req.first && (!req.parentToo || ParentNamed(e, req.second)); break;
    case FIND_Attr: {
      const char* v = FindAttValue(e, req.first.c_str());
      hit = v && v == req.second;
      break;
    }
    case FIND_Parent: hit = ParentNamed(e, req.first); break;
    default: break;  // the browser's tests of relatives
  }
  if (hit) RunNamedAction(*req.translation, e, req.action, req.stream);
}

}  // namespace

void FindAndRun(Translation& t, ElemNode* elem, const CallWords& words, OutBuffer* stream, bool fromParent) {
  size_t base = 1, count = words.size();
  ElemNode* start;
  if (count > 1 && words[1] == "top") {
    start = doc.root;
    base = 2;
    --count;
  } else {
    if (!elem) {
      t.messages->Printf(
                   "Error: _%.*s needs a current element; this text has none "
                   "(use '_%.*s top ...').\n",
                   int(words[0].size()), words[0].data(), int(words[0].size()), words[0].data());
      return;
    }
    start = fromParent && elem->parent() ? elem->parent() : elem;
  }
  if (count <= 3) {
    t.messages->Puts("Bad '_find' specification - missing args.\n");
    return;
  }
  std::string_view kind = words[base];
  FindRequest req{FIND_Gi, false, std::string(words[base + 1]), std::string(), std::string(), stream, &t};
  size_t actionAt = base + 2;
  if (kind == "gi") {
    req.kind = FIND_Gi;
  } else if (kind == "parent") {
    req.kind = FIND_Parent;
  } else if (kind == "gi-parent" || kind == "attr") {
    req.kind = kind == "attr" ? FIND_Attr : FIND_Gi;
    req.parentToo = kind == "gi-parent";
    if (count < 5) {
      t.messages->Printf("Bad '_%.*s' specification - missing args (the action after '%.*s').\n",
                   int(words[0].size()), words[0].data(), int(kind.size()), kind.data());
      return;
    }
    req.second = words[base + 2];
    actionAt = base + 3;
  } else {
    return;
  }
  req.action = words[actionAt];
  if (req.action.empty() || !start) return;
  WalkTree(start, VisitForFind, nullptr, nullptr, &req);
}

int TestRelation(Translation& t, ElemNode* elem, std::string_view relation, std::string_view name,
                 std::string_view action, OutBuffer* stream, int mode) {
  Relation rel = RelationFromName(std::string(relation).c_str());
  if (rel == REL_Unknown) return 0;
  ElemNode* found = FindRelated(elem, std::string(name).c_str(), rel);
  if (!found) return 0;
  if (!action.empty()) RunNamedAction(t, mode == 0 ? elem : found, action, stream);
  return 1;
}

void FollowRelation(Translation& t, ElemNode* elem, const CallWords& words, OutBuffer* stream) {
  if (words.size() < 4) return;
  TestRelation(t, elem, words[1], words[2], words[3], stream, 1);
}

void RelationTest(Translation& t, ElemNode* elem, const CallWords& words, OutBuffer* stream) {
  if (words.size() < 4) return;
  if (!TestRelation(t, elem, words[1], words[2], words[3], stream, 0) && words.size() >= 5)
    RunNamedAction(t, elem, words[4], stream);
}

void EachAttribute(Translation& t, ElemNode* elem, const CallWords& words, OutBuffer* stream) {
  if (words.size() < 3) {
    NotEnoughArgs(t, words[0]);
    return;
  }
  const char* value = FindAttValue(elem, std::string(words[1]).c_str());
  if (!value) return;
  // The value is the document's own text and never changes, so the words
  // may point into it.
  std::vector<std::string_view> items = AllWords(value);
  std::string_view action = words[2];
  std::string_view other = words.size() >= 4 ? words[3] : words[2];
  for (size_t i = 0; i < items.size(); ++i) {
    SetLoopWord(t.run.loop.eachA, items[i]);
    RunNamedAction(t, elem, i == 0 ? action : other, stream);
  }
}

void EachContent(Translation& t, ElemNode* elem, const CallWords& words, OutBuffer* stream) {
  if (words.size() < 2) {
    NotEnoughArgs(t, words[0]);
    return;
  }
  std::string_view action = words.size() <= 3 ? words[1] : words[2];
  for (const char* data : DataTexts(elem)) {
    for (std::string_view word : AllWords(data)) {
      SetLoopWord(t.run.loop.eachC, word);
      RunNamedAction(t, elem, action, stream);
    }
  }
}

void NameList(Translation& t, ElemNode* elem, const CallWords& words, OutBuffer* stream) {
  if (words.size() < 2) {
    NotEnoughArgs(t, words[0]);
    return;
  }
  std::string_view action = words[1];
  std::string_view other = words.size() >= 3 ? words[2] : words[1];
  std::string id;
  for (const char* data : DataTexts(elem)) {
    std::vector<std::string_view> items = AllWords(data);
    for (size_t i = 0; i < items.size(); ++i) {
      id.assign(items[i]);
      if (settings.foldcase) UpperCaseAscii(id);
      if (ElemNode* target = FindElementByID(id.c_str())) {
        RunNamedAction(t, target, i == 0 ? action : other, stream);
      } else {
        t.messages->Printf("Error: Can not find ID: %s.\n", id.c_str());
      }
    }
  }
}

}  // namespace qlx
