// The html format of CALS tables: the cells of an HTML table placed as the
// CALS spans say.  One instruction, called from an ENTRY's (or ENTRYTBL's)
// start text as ${_calstable html cell TAG}:
//   - the entry goes to the column that its COLNAME, its SPANNAME's NAMEST
//     or its NAMEST names (by the COLSPEC and SPANSPEC children of its
//     TGROUP or ENTRYTBL, and of its THEAD or TFOOT), or else to the next
//     column of its row that no entry above covers;
//   - an empty <TAG></TAG> stands in each column that it skips and that no
//     entry above covers;
//   - then "<TAG" and, for a span, colspan="N" (to its NAMEEND or its
//     SPANNAME's NAMEEND) and rowspan="N" (MOREROWS plus one).  The caller
//     closes the start tag, so that it may add attributes of its own.
// The columns that a MOREROWS covers are skipped in the rows below, in the
// same THEAD, TBODY or TFOOT.  Names that match no column are ignored (the
// entry takes the next column); a span that ends before it starts is no
// span.  The state follows the table groups that enclose the entry (nested
// ENTRYTBLs included), so it needs no start or end instruction.
#pragma once

#include "util/outbuf.h"

#include <cstdio>
#include <string_view>

namespace qlx {

struct ElemNode;

// One html instruction ("cell"); `tag` is the cell's element name ("td"
// when empty).
void HtmlInstruction(std::string_view instruction, std::string_view tag, ElemNode* elem,
                     OutBuffer* stream);

}  // namespace qlx
