// The special variables that reach other elements or loop: following ID
// links held in attributes (_followlink, _chasetogi, _namelist), searching
// a subtree (_find, _pfind), testing relations (_followrel, _relation),
// and looping over the words of an attribute value or of the element's
// data (_eachatt, _eachcon) with the current word offered as the
// variables each_A and each_C.
//
// Every handler gets the call's own word list (word 0 is the name without
// its underscore) and runs actions through RunNamedAction, which may come
// back here with calls of its own; nothing of one call is kept where a
// nested call could change it, except the loop values, which are meant to
// be seen by the actions, which the translation (context.h) keeps.
#pragma once

#include "translate/context.h"
#include "util/outbuf.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qlx {

struct ElemNode;

using CallWords = std::vector<std::string_view>;


// A variable as spec texts and tests read it: the loop words each_A and
// each_C (unset before the first loop step: a message and the empty
// text), else the global variable (null when it has no value).
const std::string* LookupVariable(Translation& t, std::string_view name);

// The link attribute names, built at the first call.
const std::vector<std::string>& LinkAttributeNames(Translation& t);

// Follows links from `elem` until an element named `name` (the element
// itself, a linked element, or a child of a linked element) and runs the
// action on it.  Stops with a message when a link leads back to an element
// already met.
void ChaseLink(Translation& t, ElemNode* elem, std::string_view name, std::string_view action,
               OutBuffer* stream);

// _find (fromParent false) and _pfind (true): runs the action on every
// qualifying element of the subtree, in document order.
void FindAndRun(Translation& t, ElemNode* elem, const CallWords& words, OutBuffer* stream, bool fromParent);

// 1 when an element named `name` stands in the relation to `elem`, else 0.
// With an action (non-empty), mode 0 runs it on `elem`, mode 1 on the
// element found.
int TestRelation(Translation& t, ElemNode* elem, std::string_view relation, std::string_view name,
                 std::string_view action, OutBuffer* stream, int mode);

// The other handlers, as the dispatcher calls them.  `elem` is never null.
void FollowLink(Translation& t, ElemNode* elem, const CallWords& words, OutBuffer* stream);
void ChaseToGi(Translation& t, ElemNode* elem, const CallWords& words, OutBuffer* stream);
void FollowRelation(Translation& t, ElemNode* elem, const CallWords& words, OutBuffer* stream);
void RelationTest(Translation& t, ElemNode* elem, const CallWords& words, OutBuffer* stream);
void EachAttribute(Translation& t, ElemNode* elem, const CallWords& words, OutBuffer* stream);
void EachContent(Translation& t, ElemNode* elem, const CallWords& words, OutBuffer* stream);
void NameList(Translation& t, ElemNode* elem, const CallWords& words, OutBuffer* stream);

// "Error: Not enough args for _%s.\n" with the call's name.
void NotEnoughArgs(Translation& t, std::string_view name);

}  // namespace qlx
