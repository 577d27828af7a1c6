// Read-only questions asked of the document tree: attribute values, the
// element bearing an ID, named relations between elements, walks over a
// subtree, and three ways of saying where an element is (its path, its
// ancestors' names, a location report).
#pragma once

#include <cstdio>
#include <string>

#include "doc/tree.h"

namespace qlx {

class OutBuffer;

enum Relation {
  REL_None = 0,
  REL_Parent = 1,
  REL_Child = 2,
  REL_Ancestor = 3,
  REL_Descendant = 4,
  REL_Sibling = 5,
  REL_Preceding = 6,
  REL_ImmPreceding = 7,
  REL_Following = 8,
  REL_ImmFollowing = 9,
  REL_Cousin = 10,
  REL_Unknown = 11,
};

// What a search for elements asks of each element: the browser's "find"
// and the translation's _find name their tests with these.
enum FindTest {
  FIND_Gi,      // its name equals x
  FIND_Attr,    // its attribute x has the value y
  FIND_Parent,  // its parent is named x
  FIND_Child,   // one of its child elements is named x
  FIND_Cont,    // one of its own data items contains x
  FIND_Sib,     // another child of its parent is named x
  FIND_Desc,    // one of its descendants is named x
  FIND_Anc,     // one of its ancestors is named x
};

// The value of the element's first attribute named `name`, or null.
const char* FindAttValue(const ElemNode* elem, const char* name);

// The first element, in document order, whose ID is `id`; null if none.
ElemNode* FindElementByID(const char* id);

// "parent", "child", ... (exact); "?" lists the names and gives REL_None;
// anything else writes "Unknown relationship: %s\n" and gives REL_Unknown.
Relation RelationFromName(const char* name);

// The element named `name` that stands in `rel` to `elem`, or null.
ElemNode* FindRelated(ElemNode* elem, const char* name, Relation rel);

// Walks the subtree in document order: before(elem) in pre-order, item()
// for every data or processing-instruction item, after(elem) in
// post-order.  Any callback may be null.  Uses no machine stack per level.
using ElemCallback = void (*)(ElemNode* elem, void* userData);
using ItemCallback = void (*)(ContentItem* item, void* userData);
void WalkTree(ElemNode* elem, ElemCallback before, ElemCallback after, ItemCallback item,
              void* userData);

// "DOC(2) SECT(0) P": each ancestor's name and the order of the next step.
std::string BuildPath(const ElemNode* elem);

// Up to n ancestor names, nearest first, blank separated (n < 0: all).
std::string AncestorNames(const ElemNode* elem, int n);

// The location report: path, position hint (nearest preceding TITLE),
// file and line, ID.
std::string LocationText(const ElemNode* elem);
void PrintLocation(const ElemNode* elem, std::FILE* stream);
void PrintLocation(const ElemNode* elem, OutBuffer* stream);

}  // namespace qlx
