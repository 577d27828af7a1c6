// The CALS table model behind the tbl format: the column and span
// specifications of the table group being converted, resolved with their
// inheritance (table group, then column or span specification, then the
// entry itself), and one row format per row: per column the tbl key letter,
// the width, the vertical rule after the column, the horizontal rule below
// it and the number of further rows the entry spans.
//
// Element and attribute names are compared exactly, in upper case, as the
// parser reports them.  Every record holds whole texts and whole column
// arrays: names, widths and column counts have no fixed limit.
//
// Placement of entries in a row (BuildRowFormat):
//  - The row's child elements are taken in order, the first in column 1.
//  - An entry whose span has both ends (its NAMEST/NAMEEND, or those of the
//    span specification its SPANNAME names) stays the current entry for
//    every column up to the span's last column; the columns after the
//    span's first one get the key letter "s", and the row's next child
//    takes the column after the span.  Every other entry takes one column.
//  - A column covered from above (an entry of an earlier row of the same
//    section with MOREROWS reaching this row) holds no entry of this row:
//    it gets the key "^" (or "s" where the spanning entry itself spanned
//    columns after its first), the vertical rule of the spanning entry, and
//    the row's entries move on to the next free column.  The tbl writer
//    writes an empty data field for each "^" column, so every entry lands
//    in its own column.
//  - An entry that spans rows (MOREROWS) is set at the top of its rows
//    (tbl's "t") when its VALIGN, else its row's, else that of the THEAD,
//    TBODY or TFOOT, is TOP; otherwise tbl centres it.
//  - Entries beyond the last column get no column.  Columns after the last
//    entry get the key "l" and no rules (other than the table's own).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "util/fatal.h"

namespace qlx {

struct VarTable;

struct ElemNode;

// Sections of the table group, in the order of the values.
enum Section {
  SEC_Group = 0,  // declared directly in the TGROUP
  SEC_Head = 1,
  SEC_Foot = 2,
  SEC_Body = 3,
};
inline constexpr int kSectionCount = 4;

// Alignment kinds.  ALIGN_Spanned is never read from an attribute: it marks
// a column inside a horizontal span after the span's first column.
enum AlignKind {
  ALIGN_Left = 0,
  ALIGN_Right = 1,
  ALIGN_Center = 2,
  ALIGN_Justify = 3,
  ALIGN_Char = 4,
  ALIGN_Spanned = 5,
};

// The largest column count a table group (or a tex table) may have; a
// larger COLS value is clamped to it.
inline constexpr int kMaxColumns = 10000;

struct ColSpec {
  std::string name;  // COLNAME, empty when absent
  int number = 0;    // by position; 0 for the table group's own record
  int section = SEC_Group;
  int align = ALIGN_Left;
  std::string colwidth;  // COLWIDTH, empty when absent
  bool colsep = false;
  bool rowsep = false;
};

struct SpanSpec {
  std::string name;                 // SPANNAME, empty when absent
  int section = SEC_Group;
  const ColSpec* first = nullptr;   // NAMEST resolved; may be absent
  const ColSpec* last = nullptr;    // NAMEEND resolved; may be absent
  int align = ALIGN_Left;
  bool colsep = false;
  bool rowsep = false;
};

struct ColumnFormat {
  char key = 'l';
  std::string width;      // for the format line; empty for none
  std::string propWidth;  // a proportional width ("*"), while building
  bool colsep = false;
  bool rowsep = false;
  int moreRows = 0;
  bool top = false;  // an entry spanning rows that sits at their top (VALIGN)
};

// One row's format; ncols() is the table group's column count.
struct RowFormat {
  std::vector<ColumnFormat> cols;  // cols[0] is column 1
  int ncols() const { return static_cast<int>(cols.size()); }
};

// A column that an entry of an earlier row covers (MOREROWS).
struct CoveredColumn {
  int rowsLeft = 0;  // rows of this section still covered, this one included
  char key = '^';    // '^' for the spanning entry's first column, 's' after
  bool colsep = false;
  bool rowsep = false;  // the spanning entry's rule, drawn under its last row
};

// Where BuildRowFormat put things, for the writer of the data lines.
struct RowPlacement {
  // Per child of the row: how many "^" columns lie between the previous
  // child's columns (or the row's start) and this child's first column.
  std::vector<int> coveredBefore;
  // The columns covered for the rows that follow, after this row.
  std::vector<CoveredColumn> coverBelow;
};

// The tbl table being converted (one table at a time): a run's own, kept
// in its context (tables/tables.h) and handed to every function below
// that reads or changes it.
struct TableState {
  OutBuffer* messages = Diagnostics();  // where the table's messages go
  const VarTable* variables = nullptr;  // the run's (_tableframe); none: unset
  std::vector<ColSpec> colSpecs;    // [0] is the table group's own
  std::vector<SpanSpec> spanSpecs;  // [0] is the table group's own
  int columnCount = 0;
  bool tableColsep = false;
  bool tableRowsep = false;

  // Indexes over the lists, filled by BuildTableGroup: the first record of
  // each section with a name, and with a number.
  std::unordered_map<std::string, int> colByName[kSectionCount];
  std::vector<int> colByNumber[kSectionCount];  // number -> index, -1: none
  std::unordered_map<std::string, int> spanByName[kSectionCount];

  // The tbl writer's state.
  std::vector<RowFormat> formats;      // lines written for the current table
  std::vector<RowFormat> footFormats;  // built by the last tablefoot
  bool optionsWritten = false;
  bool inTextBlock = false;
  int textBlocks = 0;
  // Rows under a vertical span: the columns covered when the row starts,
  // and for each entry that follows covered "^" columns, their number.
  // Only rows and entries with something to record are listed.
  std::unordered_map<const ElemNode*, std::vector<CoveredColumn>> coverAbove;
  std::unordered_map<const ElemNode*, int> coveredBeforeEntry;
  // The rules under rows: a row listed here is followed by a full-width
  // rule (RULE_Full, a line "_" that takes no format line) or by a rule row
  // under some columns (RULE_Partial, a row of its own with its own format
  // line).  No rule is drawn under the last row of the table, nor anywhere
  // in an "allbox" table, whose frame draws them all.
  enum RuleKind { RULE_Full = 1, RULE_Partial = 2 };
  std::unordered_map<const ElemNode*, RuleKind> ruleAfter;
  const ElemNode* lastRow = nullptr;
  const ElemNode* lastBodyRow = nullptr;  // the body's last row, once written:
  bool bodyWritten = false;               // a foot after it needs no body formats
  bool allbox = false;
};

// Forgets the table group: lists, indexes, column count, span bookkeeping.
void ClearTableGroup(TableState& ts);

// A new column specification read from the element's ALIGN, COLWIDTH,
// COLSEP and ROWSEP, inheriting what it lacks from `parent`.
ColSpec BuildColSpec(const ElemNode* elem, int number, const ColSpec* parent, int section);

// A new span specification read from the element's SPANNAME, NAMEST,
// NAMEEND, ALIGN, COLSEP and ROWSEP, inheriting from `parent`; the column
// names resolve in `ts`.
SpanSpec BuildSpanSpec(const TableState& ts, const ElemNode* elem, const SpanSpec* parent,
                       int section);

// Reads a TGROUP: fills colSpecs, spanSpecs, their indexes and columnCount.
// A COLS value that is absent or not a positive number gives the highest
// column number among the group's own COLSPECs, or, without those, the
// largest number of entries in a row of the group's THEAD, TFOOT and TBODY
// children.  A value above kMaxColumns is clamped with a message.
void BuildTableGroup(TableState& ts, const ElemNode* tgroup);

// Which attribute a column reference came from (for the message).
enum ColumnRef { REF_Namest, REF_Nameend };

// Resolves a NAMEST or NAMEEND value: by name in the section, by name in
// section 0, then, for a value that begins with a digit, by number (never
// 0: the table group's own record is no column).  Null after the message.
const ColSpec* FindColumn(const TableState& ts, std::string_view value, int section,
                          ColumnRef ref);

// The column specification that applies to `entry` placed in `column`: the
// entry's own attributes over the column's record; without a record for the
// column, over the record its COLNAME names, else over the table group's
// own (so a group's ALIGN, COLSEP and ROWSEP reach columns that no COLSPEC
// describes).  An unknown COLNAME gives a message at every call.
ColSpec EntryColSpec(const TableState& ts, const ElemNode* entry, int column, int section);

// The span specification of `entry` placed in `column`; false when the
// entry has no span (then *span is untouched).  Entries of every section
// find the table group's span specifications by SPANNAME.
bool EntrySpan(const TableState& ts, const ElemNode* entry, int column, int section,
               SpanSpec* span);

// The row's format.  `coverAbove` (null: none) lists the columns covered
// by earlier rows; `placement`, when given, receives where the entries went
// and what this row covers below.  A format built with rules serves the
// rule line only: its proportional widths are left unresolved.
RowFormat BuildRowFormat(const TableState& ts, const ElemNode* row, bool withRowsep, int section,
                         const std::vector<CoveredColumn>* coverAbove = nullptr,
                         RowPlacement* placement = nullptr);

// Whether two rows can share one format line.  A row that spans further
// rows never does, nor does a row under a vertical span: tbl gives every
// format line but the last to one row, so each row of a span needs its own.
bool SameRowFormat(const RowFormat& a, const RowFormat& b);

// The number of data characters (as stored, escapes included) in the
// element and all its descendants.
std::size_t EntryDataLength(const ElemNode* elem);

// Whether the element is there and named `gi`.
bool IsNamed(const ElemNode* elem, const char* gi);

}  // namespace qlx
