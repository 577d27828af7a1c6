// CALS tables: the special variable ${_calstable format instruction ...}
// hands its words here.  Format "tbl" writes input for the tbl
// preprocessor (options, format lines, text blocks, rules, feet); format
// "tex" writes TeX tabular pieces (column format, cells, row ends, rules);
// format "html" places the cells of an HTML table (tables/html.h).
// All markup goes through EmitText (except the tex column format, written
// as it stands), so a null stream writes nothing; messages still appear.
//
// The tbl instructions, called from the StartText/EndText of the element
// named (the model of tables/model.h does the column work):
//   tablestart     TABLE     ".TS"; resets the table; COLSEP/ROWSEP "1" on
//                            the table put that rule on every column
//   tablegroup     TGROUP    reads the group; writes the options line
//                            (tab(BEL), " allbox"/" box" for FRAME "ALL",
//                            " center"; a table without FRAME has the
//                            value of the variable _tableframe, when the
//                            spec sets it) and the format lines of the first
//                            THEAD's and the first TBODY's rows
//   rowstart       ROW       nothing
//   entrystart     ENTRY     an empty field for each column covered from
//                            above just before the entry; "T{" when the
//                            entry holds a processing instruction or more
//                            data characters than the -f threshold
//   entryend       ENTRY     "T}" after a text block; a BEL when an ENTRY
//                            or ENTRYTBL follows before the next ROW
//   rowend         ROW       ends the data line; the rule line ("_" and
//                            BEL per column) when a column has a row rule
//   tablefoot      TFOOT     ".T&" and the foot's format lines, unless its
//                            single format equals the last one written
//   tablegroupend  TGROUP    forgets the group
//   tableend       TABLE     the text-block warnings (32 or more); ".TE"
//
// Defined results where a spec or a document strays:
//  - A table group after the first in one table ends the tbl table and
//    starts another (".TE", ".TS", the options line, its own formats), so
//    groups of different column counts all stay valid tbl input.
//  - Instructions out of order do what they can with the state there is:
//    outside a table group the column count is 0, so rows get no format
//    and no rule line; without a current element an instruction skips what
//    needs one (tablestart still writes ".TS", rowend still ends the line).
//  - Rows covered by an entry's MOREROWS (in the same THEAD, TBODY or
//    TFOOT) get "^" in the covered columns and an empty data field there,
//    so the entries after a covered column stay in their own columns.
//
// The tex instructions: no instruction (TexTableStart: the column format),
// cellstart, cellend, rowstart, rowend, top, bottom, and two more:
//   check   on TABLE, INFORMALTABLE, TGROUP, COLSPEC or ROW: reads its
//           attributes and reports word lists that do not fit COLS;
//   clear   forgets every stored attribute text and word list.
// Both are instruction words like the others: ${_calstable tex check}.
//
// What the instructions remember lives in a Tables object that the caller
// owns, one per translation run: nothing of one run reaches the next.
#pragma once

#include "tables/html.h"
#include "tables/model.h"
#include "tables/tex.h"
#include "util/outbuf.h"

#include <cstdio>
#include <string_view>
#include <vector>

namespace qlx {

struct ElemNode;
struct VarTable;

// The tables of one translation run, a state per format.
struct Tables {
  TableState tbl;
  TexTableState tex;
  HtmlTableState html;
};

// words[0] is the special variable's own name ("calstable"), words[1] the
// format ("tbl" or "tex"), words[2] the instruction (absent: the table
// start of tex; for tbl, a message); further words are ignored.  `elem` is
// the element whose text made the call (may be null).  Messages go to
// `messages`, the run's message sink; `variables` are the run's
// (_tableframe).
void TableInstruction(Tables& tables, const std::vector<std::string_view>& words,
                      ElemNode* elem, OutBuffer* stream, OutBuffer* messages,
                      const VarTable* variables);

}  // namespace qlx
