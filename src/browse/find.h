// The searches of the browser's "find" command: which elements of a
// subtree pass one test, in document order.  Every test costs time linear
// in the size of the subtree (plus the length of the data searched), also
// for documents that nest very deep or hold very wide elements.
#pragma once

#include <string_view>
#include <vector>

#include "doc/query.h"

namespace qlx {

// The test named by a find sub-command ("gi", "attr", "parent", "child",
// "cont", "sib", "desc", "anc"); false for any other word.
bool FindTestFromName(std::string_view name, FindTest* test);

// The elements of top's subtree (top included) that pass `test`, in
// document order.  All comparisons are exact and case-sensitive; y is
// used by FIND_Attr only.  Relations reach outside the subtree: top's
// parent, siblings and ancestors count.
std::vector<ElemNode*> FindElements(ElemNode* top, FindTest test, const char* x,
                                    const char* y);

}  // namespace qlx
