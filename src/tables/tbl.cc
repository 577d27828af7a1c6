// The _calstable dispatch and the tbl format.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "doc/query.h"
#include "doc/tree.h"
#include "output/emit.h"
#include "tables/html.h"
#include "tables/model.h"
#include "tables/tables.h"
#include "tables/tex.h"
#include "util/fatal.h"
#include "util/settings.h"
#include "util/sorted.h"
#include "util/vartable.h"

namespace qlx {
namespace {

constexpr char kBel = '\a';  // the column separator the options line declares

void Emit(std::string_view text, OutBuffer* stream) { EmitText(text, stream, 1); }

const ElemNode* FirstChildNamed(const ElemNode* elem, const char* gi) {
  for (const ElemNode* c = FirstChild(elem); c; c = NextSibling(c))
    if (IsNamed(c, gi)) return c;
  return nullptr;
}

// A text of the document put in a line that EmitText interprets: its
// backslashes and carets are written as they stand.
void AppendLiteral(std::string* line, const std::string& text) {
  for (char c : text) {
    if (c == '\\' || c == '^') *line += '\\';
    *line += c;
  }
}

// The last ROW of a THEAD, TBODY or TFOOT; none for a missing part.
const ElemNode* LastRowOf(const ElemNode* part) {
  const ElemNode* last = nullptr;
  if (!part) return nullptr;
  for (const ElemNode* c = FirstChild(part); c; c = NextSibling(c))
    if (IsNamed(c, "ROW")) last = c;
  return last;
}

// Appends the formats of the rows of a THEAD, TBODY or TFOOT to `list`, one
// per row and one per rule row under some columns, and records for the
// data lines which rows and entries sit under vertical spans and which
// rows a rule follows.
void AddRowFormats(TableState& ts, const ElemNode* part, std::vector<RowFormat>* list,
                   int section) {
  if (!part || ts.columnCount == 0) return;  // outside a table group
  const ElemNode* firstRow = FirstChild(part);
  while (firstRow && !IsNamed(firstRow, "ROW")) firstRow = NextSibling(firstRow);
  std::vector<CoveredColumn> cover;  // the columns covered by earlier rows
  RowPlacement placement;
  for (const ElemNode* row = firstRow; row; row = NextSibling(row)) {
    const std::vector<CoveredColumn>* above = cover.empty() ? nullptr : &cover;
    list->push_back(BuildRowFormat(ts, row, false, section, above, &placement));
    if (above) ts.coverAbove[row] = cover;
    const ElemNode* entry = FirstChild(row);
    for (size_t j = 0; j < placement.coveredBefore.size() && entry; ++j, entry = NextSibling(entry))
      if (placement.coveredBefore[j] > 0) ts.coveredBeforeEntry[entry] = placement.coveredBefore[j];
    // The rule under the row: none in a column that a vertical span
    // carries on into the next row, where the rule row continues the span.
    if (!ts.allbox && row != ts.lastRow) {
      RowFormat rules = BuildRowFormat(ts, row, true, section, above);
      bool any = false, all = true;
      for (int c = 0; c < rules.ncols(); ++c) {
        ColumnFormat& col = rules.cols[c];
        bool spanGoesOn = c < static_cast<int>(placement.coverBelow.size()) &&
                          placement.coverBelow[c].rowsLeft > 0;
        col.key = spanGoesOn ? '^' : col.rowsep ? '_' : 'l';
        col.width.clear();
        col.moreRows = 0;
        col.top = false;
        any = any || col.key == '_';
        all = all && col.key == '_';
      }
      if (all && any) {
        ts.ruleAfter[row] = TableState::RULE_Full;
      } else if (any) {
        ts.ruleAfter[row] = TableState::RULE_Partial;
        list->push_back(std::move(rules));
      }
    }
    bool coversBelow = std::any_of(placement.coverBelow.begin(), placement.coverBelow.end(),
                                   [](const CoveredColumn& col) { return col.rowsLeft > 0; });
    if (coversBelow)
      cover.swap(placement.coverBelow);
    else
      cover.clear();
  }
}

// One format line per format; tbl gives each line but the last to one row
// and the last to all rows that remain, so only the trailing run of equal
// formats shares a line.  The last line ends in ".".
size_t FormatLines(const std::vector<RowFormat>& list) {
  size_t count = list.size();
  while (count > 1 && SameRowFormat(list[count - 2], list[count - 1])) --count;
  return count;
}

void WriteFormats(const std::vector<RowFormat>& list, OutBuffer* stream) {
  if (list.empty()) return;
  size_t count = FormatLines(list);
  const int ncols = list.front().ncols();
  std::string line;
  for (size_t i = 0; i < count; ++i) {
    const RowFormat& format = list[i];
    line.clear();
    for (int c = 0; c < ncols; ++c) {
      if (c > 0) line += ' ';
      const ColumnFormat* col = c < format.ncols() ? &format.cols[c] : nullptr;
      char key = col ? col->key : 'l';
      if (key == '^') line += '\\';
      line += key;
      if (col && col->top) line += 't';
      if (col && !col->width.empty()) {
        line += "w(";
        AppendLiteral(&line, col->width);
        line += ')';
      }
      if (col && col->colsep) line += '|';
    }
    if (i + 1 == count) line += '.';
    line += '^';
    Emit(line, stream);
  }
}

void WriteOptions(TableState& ts, const ElemNode* tgroup, OutBuffer* stream) {
  ts.allbox = false;
  std::string line = "tab(";
  line += kBel;
  line += ')';
  const char* frame = tgroup->parent() ? FindAttValue(tgroup->parent(), "FRAME") : nullptr;
  // A table without FRAME takes the spec's _tableframe, when it sets one.
  const VarEntry* fallback = LookupVarEntry(ts.variables, "_tableframe");
  if (!frame && fallback && fallback->hasValue && !fallback->fromDocument)
    frame = fallback->value.c_str();
  if (frame && std::strcmp(frame, "ALL") == 0) {
    const ColSpec& last = ts.colSpecs.back();
    ts.allbox = last.colsep && last.rowsep;
    line += ts.allbox ? " allbox" : " box";
  }
  const char* align = FindAttValue(tgroup, "ALIGN");
  if (align && std::strcmp(align, "CENTER") == 0) line += " center";
  line += ";\n";
  Emit(line, stream);
}

void TableStart(TableState& ts, const ElemNode* table, OutBuffer* stream) {
  Emit("^.TS^", stream);
  ts.optionsWritten = false;
  ts.inTextBlock = false;
  ts.textBlocks = 0;
  ts.formats.clear();
  const char* colsep = FindAttValue(table, "COLSEP");
  const char* rowsep = FindAttValue(table, "ROWSEP");
  ts.tableColsep = colsep && std::strcmp(colsep, "1") == 0;
  ts.tableRowsep = rowsep && std::strcmp(rowsep, "1") == 0;
}

void TableGroup(TableState& ts, const ElemNode* tgroup, OutBuffer* stream) {
  if (!tgroup) return;
  BuildTableGroup(ts, tgroup);
  if (ts.optionsWritten) {
    // A further group of the same table: a tbl table of its own.
    Emit("^.TE^.TS^", stream);
    ts.formats.clear();
    ts.optionsWritten = false;
  }
  WriteOptions(ts, tgroup, stream);
  ts.optionsWritten = true;
  // The table's last row, under which the frame (or nothing) is drawn: the
  // foot's, else the body's.
  const ElemNode* foot = FirstChildNamed(tgroup, "TFOOT");
  ts.lastBodyRow = LastRowOf(FirstChildNamed(tgroup, "TBODY"));
  ts.bodyWritten = false;
  ts.lastRow = foot ? LastRowOf(foot) : nullptr;
  if (!ts.lastRow) ts.lastRow = ts.lastBodyRow;
  AddRowFormats(ts, FirstChildNamed(tgroup, "THEAD"), &ts.formats, SEC_Head);
  AddRowFormats(ts, FirstChildNamed(tgroup, "TBODY"), &ts.formats, SEC_Body);
  WriteFormats(ts.formats, stream);
}

void EntryStart(TableState& ts, const ElemNode* entry, OutBuffer* stream) {
  if (!entry) return;
  auto covered = ts.coveredBeforeEntry.find(entry);
  if (covered != ts.coveredBeforeEntry.end()) Emit(std::string(covered->second, kBel), stream);
  bool block = false;
  for (int i = 0; i < entry->contentCount && !block; ++i)
    block = entry->items()[i].kind() == '?';
  if (!block) {
    // -f wins over the run's _textblock; neither: 35.
    int threshold = settings.textBlockThreshold;
    if (!settings.textBlockThresholdNamed) {
      const VarEntry* v = LookupVarEntry(ts.variables, "_textblock");
      threshold = v && v->hasValue ? std::atoi(v->value.c_str()) : 35;
    }
    block = static_cast<long long>(EntryDataLength(entry)) > threshold;
  }
  if (!block) return;
  ++ts.textBlocks;
  Emit("T{^", stream);
  ts.inTextBlock = true;
}

void EntryEnd(TableState& ts, const ElemNode* entry, OutBuffer* stream) {
  if (ts.inTextBlock) {
    Emit("^T}", stream);
    ts.inTextBlock = false;
  }
  if (!entry) return;
  for (const ElemNode* n = NextElement(entry); n; n = NextElement(n)) {
    if (IsNamed(n, "ENTRY") || IsNamed(n, "ENTRYTBL")) {
      Emit(std::string_view(&kBel, 1), stream);
      return;
    }
    if (IsNamed(n, "ROW")) return;
  }
}

void RowEnd(TableState& ts, const ElemNode* row, OutBuffer* stream) {
  Emit("^", stream);
  if (row && row == ts.lastBodyRow) ts.bodyWritten = true;
  if (!row || ts.formats.empty() || ts.formats.front().ncols() == 0) return;
  auto rule = ts.ruleAfter.find(row);
  if (rule == ts.ruleAfter.end()) return;
  if (rule->second == TableState::RULE_Full)
    Emit("_^", stream);
  else  // a rule row: its format line draws the rules, its cells are empty
    Emit(std::string(size_t(ts.formats.front().ncols() - 1), kBel) + "^", stream);
}

void TableFoot(TableState& ts, const ElemNode* tfoot, OutBuffer* stream) {
  ts.footFormats.clear();
  AddRowFormats(ts, tfoot, &ts.footFormats, SEC_Foot);
  if (ts.footFormats.empty()) return;
  // A foot written before the body (in document order): the body's rows
  // follow it under the same ".T&".
  if (!ts.bodyWritten && tfoot)
    AddRowFormats(ts, FirstChildNamed(tfoot->parent(), "TBODY"), &ts.footFormats, SEC_Body);
  // Rows that all take the format line in force need no new one.
  if (FormatLines(ts.footFormats) == 1 && !ts.formats.empty() &&
      (ts.bodyWritten || FormatLines(ts.formats) == 1) &&
      SameRowFormat(ts.footFormats.front(), ts.formats.back()))
    return;
  ts.formats = std::move(ts.footFormats);
  ts.footFormats.clear();
  Emit("^.T&^", stream);
  WriteFormats(ts.formats, stream);
}

void TableEnd(TableState& ts, const ElemNode* table, OutBuffer* stream) {
  if (ts.textBlocks > 31) {
    ts.messages->Printf("# warning, line %d: created %d blocks of filled text in one table\n",
                 table ? ElementLine(table) : 0, ts.textBlocks);
    ts.messages->Puts("#\t\t(31 is the limit in some systems)\n");
  }
  Emit("^.TE^", stream);
  ts.formats.clear();
}

struct TblStep {
  std::string_view name;
  void (*run)(TableState& ts, const ElemNode* elem, OutBuffer* stream);
};

// Sorted by name for the binary search.
constexpr TblStep kTblSteps[] = {
    {"entryend", EntryEnd},
    {"entrystart", EntryStart},
    {"rowend", RowEnd},
    {"rowstart", [](TableState&, const ElemNode*, OutBuffer*) {}},
    {"tableend", TableEnd},
    {"tablefoot", TableFoot},
    {"tablegroup", TableGroup},
    {"tablegroupend", [](TableState& ts, const ElemNode*, OutBuffer*) { ClearTableGroup(ts); }},
    {"tablestart", TableStart},
};

static_assert(SortedByName(kTblSteps));

void TblInstruction(TableState& ts, std::string_view instruction, ElemNode* elem,
                    OutBuffer* stream) {
  if (const TblStep* step = FindByName(kTblSteps, instruction))
    step->run(ts, elem, stream);
  else
    ts.messages->Printf("Unknown tbl table instruction: %.*s\n",
                 static_cast<int>(instruction.size()), instruction.data());
}

}  // namespace

void TableInstruction(Tables& tables, const std::vector<std::string_view>& words,
                      ElemNode* elem, OutBuffer* stream, OutBuffer* messages,
                      const VarTable* variables) {
  tables.tbl.messages = tables.tex.messages = tables.html.messages = messages;
  tables.tbl.variables = variables;
  if (words.size() < 2) {
    messages->Puts("Incomplete table instruction: no table type (tbl or tex)\n");
    return;
  }
  std::string_view format = words[1];
  if (format == "tbl") {
    if (words.size() < 3) {
      messages->Puts("Incomplete tbl table instruction\n");
      return;
    }
    TblInstruction(tables.tbl, words[2], elem, stream);
  } else if (format == "tex") {
    TexInstruction(tables.tex, words.size() < 3 ? std::string_view() : words[2], elem, stream);
  } else if (format == "html") {
    HtmlInstruction(tables.html, words.size() < 3 ? std::string_view() : words[2],
                    words.size() < 4 ? std::string_view() : words[3], elem, stream);
  } else {
    messages->Printf("Unknown table type: %.*s\n", static_cast<int>(format.size()),
                 format.data());
  }
}

}  // namespace qlx
