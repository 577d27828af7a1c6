// The tex format of CALS tables: TeX tabular pieces described by per-column
// word lists in the ALIGN, COLWIDTH and COLSEP attributes of the table (or
// of its first child) and by COLS and FRAME.  The attribute texts persist
// from table to table until another element supplies them or `clear` runs.
// The instruction `fill` (on the TGROUP) writes instead paragraph columns
// that fill \linewidth, shared by the COLWIDTH of the COLSPEC children
// ("2*" shares, fixed lengths such as "1in"; 1* for a column without one).
// After it, cellstart and cellend follow the CALS spans: an entry goes to
// the column its COLNAME or NAMEST names (empty cells before it), spans to
// its NAMEEND as a \multicolumn (a SPANNAME gives both ends), and the columns its MOREROWS covers stay
// empty in the rows below; rowstart begins a row.
#pragma once

#include "util/fatal.h"
#include "util/outbuf.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qlx {

struct ElemNode;

// The tex format's state: a run's own, kept in its context
// (tables/tables.h).  What it holds lasts from table to table of the run.
struct TexTableState {
  OutBuffer* messages = Diagnostics();  // where the table's messages go
  // The attribute texts as last seen (absent until an element gives one);
  // the COLWIDTH text is kept in lower case.
  std::optional<std::string> colsText, alignText, colwidthText, colsepText, frameText;
  // The words of the three lists (their sizes are the counts).
  std::vector<std::string> alignWords, colwidthWords, colsepWords;
  int texColumnCount = 0;
  bool topRule = false;
  bool bottomRule = false;
  bool outerBars = false;
  // Set by `fill` and cleared by the plain table start: the cells then
  // follow the CALS spans.  colNames and colWidths (the width of each
  // column as a TeX expression, before padding) come from the COLSPECs;
  // row counts the rows of the group, coveredUntil[j] is the last row that
  // an entry's MOREROWS covers in column j, column is the next column of
  // the current row, and multi whether the open cell is a \multicolumn.
  bool fill = false;
  std::vector<std::string> colNames, colWidths;
  // The group's SPANSPECs: SPANNAME, NAMEST and NAMEEND.
  struct Span {
    std::string name, first, last;
  };
  std::vector<Span> spans;
  std::vector<int> coveredUntil;
  int row = 0;
  int column = 0;
  bool multi = false;
};

// Takes the element's ALIGN, COLWIDTH, COLSEP, FRAME and COLS into the
// state and recomputes the rule flags, the word lists and the column count.
void ReadTexAttributes(TexTableState& ts, const ElemNode* elem);

// One tex instruction: `instruction` empty is the table start.
void TexInstruction(TexTableState& ts, std::string_view instruction, ElemNode* elem,
                    OutBuffer* stream);

}  // namespace qlx
