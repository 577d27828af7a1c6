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
// ENTRYTBLs included), so it needs no start or end instruction.  It is a
// run's own, kept in its context (tables/tables.h).
#pragma once

#include "util/fatal.h"
#include "util/outbuf.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qlx {

struct ElemNode;

struct HtmlTableState {
  OutBuffer* messages = Diagnostics();  // where the table's messages go
  // Column names and spans declared by the COLSPEC and SPANSPEC children
  // of one element (a TGROUP, ENTRYTBL, THEAD or TFOOT).
  struct Names {
    std::unordered_map<std::string, int> columns;                // name -> column
    std::unordered_map<std::string, std::pair<int, int>> spans;  // name -> first, last

    void Read(const ElemNode* owner, const Names* outer);
    // The column a name gives, here or in `outer`; -1 for none.
    int Column(const char* name, const Names* outer) const;
    const std::pair<int, int>* Span(const char* name, const Names* outer) const;
  };

  // One table group being written: its names, the section and row
  // reached, and per column the last row that an entry's MOREROWS covers.
  struct Group {
    const ElemNode* group = nullptr;
    Names names;
    const ElemNode* part = nullptr;  // THEAD, TBODY or TFOOT of the rows seen
    Names partNames;
    const ElemNode* row = nullptr;
    int rowIndex = 0;
    int column = 0;
    std::vector<int> coveredUntil;

    bool Covered(int j) const {
      return j < static_cast<int>(coveredUntil.size()) && coveredUntil[j] >= rowIndex;
    }
  };

  // The groups enclosing the last entry, outermost first: a nested
  // ENTRYTBL keeps the group around it.
  std::vector<Group> groups;
};

// One html instruction ("cell"); `tag` is the cell's element name ("td"
// when empty).
void HtmlInstruction(HtmlTableState& state, std::string_view instruction, std::string_view tag,
                     ElemNode* elem, OutBuffer* stream);

}  // namespace qlx
