// The tex format of CALS tables: TeX tabular pieces described by per-column
// word lists in the ALIGN, COLWIDTH and COLSEP attributes of the table (or
// of its first child) and by COLS and FRAME.  The attribute texts persist
// from table to table until another element supplies them or `clear` runs.
#pragma once

#include "util/outbuf.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qlx {

struct ElemNode;

// The one tex table state of the program.
struct TexTableState {
  // The attribute texts as last seen (absent until an element gives one);
  // the COLWIDTH text is kept in lower case.
  std::optional<std::string> colsText, alignText, colwidthText, colsepText, frameText;
  // The words of the three lists (their sizes are the counts).
  std::vector<std::string> alignWords, colwidthWords, colsepWords;
  int texColumnCount = 0;
  bool topRule = false;
  bool bottomRule = false;
  bool outerBars = false;
};

extern TexTableState texTableState;

// Takes the element's ALIGN, COLWIDTH, COLSEP, FRAME and COLS into the
// state and recomputes the rule flags, the word lists and the column count.
void ReadTexAttributes(const ElemNode* elem);

// One tex instruction: `instruction` empty is the table start.
void TexInstruction(std::string_view instruction, ElemNode* elem, OutBuffer* stream);

}  // namespace qlx
