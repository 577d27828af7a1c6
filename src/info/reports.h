// The five document reports: element usage summary (-u), the hierarchy
// as a tree (-h), statistics by element name (-S), the context of each
// element (-x) and the list of IDs (-I).  The first four cover the subtree
// of the given element (the root from the command line, any element from
// the browser); each writes to `stream` and writes nothing when it is null.
#pragma once

#include <cstdio>

#include "doc/tree.h"

namespace qlx {

// One line per element: name (cut to 18), attributes, data characters,
// children, depth, parent; then one indented line per attribute.
void PrintUsageSummary(ElemNode* elem, std::FILE* stream);

// Each element indented by its depth, with its child and data counts.
void PrintTreeReport(ElemNode* elem, std::FILE* stream);

// Occurrences and character content per element name, in the order the
// names were first seen, then the totals.  One pass over the subtree.
void PrintStatistics(ElemNode* elem, std::FILE* stream);

// Each element with the names of up to ten ancestors, nearest first.
void PrintContextReport(ElemNode* elem, std::FILE* stream);

// Every registered ID in document order: "id:name:file:line".
void PrintIdList(std::FILE* stream);

}  // namespace qlx
