// The _calstable dispatch and the tbl format.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "doc/query.h"
#include "doc/tree.h"
#include "output/emit.h"
#include "tables/model.h"
#include "tables/tables.h"
#include "tables/tex.h"
#include "util/fatal.h"
#include "util/settings.h"

namespace qlx {
namespace {

constexpr char kBel = '\a';  // the column separator the options line declares

void Emit(std::string_view text, OutBuffer* stream) { EmitText(text, stream, 1); }

bool IsNamed(const ElemNode* elem, const char* gi) {
  return elem && elem->gi && std::strcmp(elem->gi, gi) == 0;
}

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

// Appends the formats of the rows of a THEAD, TBODY or TFOOT to `list`,
// sharing the line of the format before when equal, and records for the
// data lines which rows and entries sit under vertical spans.
void AddRowFormats(const ElemNode* part, std::vector<RowFormat>* list, int section) {
  TableState& ts = tableState;
  if (!part || ts.columnCount == 0) return;  // outside a table group
  const ElemNode* firstRow = FirstChild(part);
  while (firstRow && !IsNamed(firstRow, "ROW")) firstRow = NextSibling(firstRow);
  std::vector<CoveredColumn> cover;  // the columns covered by earlier rows
  RowPlacement placement;
  for (const ElemNode* row = firstRow; row; row = NextSibling(row)) {
    RowFormat format = BuildRowFormat(row, false, section, cover.empty() ? nullptr : &cover,
                                      &placement);
    if (!cover.empty()) ts.coverAbove[row] = cover;
    const ElemNode* entry = FirstChild(row);
    for (size_t j = 0; j < placement.coveredBefore.size() && entry; ++j, entry = NextSibling(entry))
      if (placement.coveredBefore[j] > 0) ts.coveredBeforeEntry[entry] = placement.coveredBefore[j];
    bool coversBelow = std::any_of(placement.coverBelow.begin(), placement.coverBelow.end(),
                                   [](const CoveredColumn& col) { return col.rowsLeft > 0; });
    if (coversBelow)
      cover.swap(placement.coverBelow);
    else
      cover.clear();
    if (!list->empty() && SameRowFormat(list->back(), format)) continue;
    list->push_back(std::move(format));
  }
}

// One format line per format; the last ends in ".".
void WriteFormats(const std::vector<RowFormat>& list, OutBuffer* stream) {
  if (list.empty()) return;
  const int ncols = list.front().ncols();
  std::string line;
  for (size_t i = 0; i < list.size(); ++i) {
    const RowFormat& format = list[i];
    line.clear();
    for (int c = 0; c < ncols; ++c) {
      if (c > 0) line += ' ';
      const ColumnFormat* col = c < format.ncols() ? &format.cols[c] : nullptr;
      char key = col ? col->key : 'l';
      if (key == '^') line += '\\';
      line += key;
      if (col && !col->width.empty()) {
        line += "w(";
        AppendLiteral(&line, col->width);
        line += ')';
      }
      if (col && col->colsep) line += '|';
    }
    if (i + 1 == list.size()) line += '.';
    line += '^';
    Emit(line, stream);
  }
}

void WriteOptions(const ElemNode* tgroup, OutBuffer* stream) {
  const TableState& ts = tableState;
  std::string line = "tab(";
  line += kBel;
  line += ')';
  const char* frame = tgroup->parent() ? FindAttValue(tgroup->parent(), "FRAME") : nullptr;
  if (frame && std::strcmp(frame, "ALL") == 0) {
    const ColSpec& last = ts.colSpecs.back();
    line += last.colsep && last.rowsep ? " allbox" : " box";
  }
  const char* align = FindAttValue(tgroup, "ALIGN");
  if (align && std::strcmp(align, "CENTER") == 0) line += " center";
  line += ";\n";
  Emit(line, stream);
}

void TableStart(const ElemNode* table, OutBuffer* stream) {
  TableState& ts = tableState;
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

void TableGroup(const ElemNode* tgroup, OutBuffer* stream) {
  TableState& ts = tableState;
  if (!tgroup) return;
  BuildTableGroup(tgroup);
  if (ts.optionsWritten) {
    // A further group of the same table: a tbl table of its own.
    Emit("^.TE^.TS^", stream);
    ts.formats.clear();
    ts.optionsWritten = false;
  }
  WriteOptions(tgroup, stream);
  ts.optionsWritten = true;
  AddRowFormats(FirstChildNamed(tgroup, "THEAD"), &ts.formats, SEC_Head);
  AddRowFormats(FirstChildNamed(tgroup, "TBODY"), &ts.formats, SEC_Body);
  WriteFormats(ts.formats, stream);
}

void EntryStart(const ElemNode* entry, OutBuffer* stream) {
  TableState& ts = tableState;
  if (!entry) return;
  auto covered = ts.coveredBeforeEntry.find(entry);
  if (covered != ts.coveredBeforeEntry.end()) Emit(std::string(covered->second, kBel), stream);
  bool block = false;
  for (int i = 0; i < entry->contentCount && !block; ++i)
    block = entry->items()[i].kind() == '?';
  if (!block)
    block = static_cast<long long>(EntryDataLength(entry)) > settings.textBlockThreshold;
  if (!block) return;
  ++ts.textBlocks;
  Emit("T{^", stream);
  ts.inTextBlock = true;
}

void EntryEnd(const ElemNode* entry, OutBuffer* stream) {
  TableState& ts = tableState;
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

void RowEnd(const ElemNode* row, OutBuffer* stream) {
  TableState& ts = tableState;
  Emit("^", stream);
  if (!row) return;
  int section = IsNamed(row->parent(), "TFOOT")   ? SEC_Foot
                : IsNamed(row->parent(), "THEAD") ? SEC_Head
                                                : SEC_Body;
  auto cover = ts.coverAbove.find(row);
  RowFormat format = BuildRowFormat(row, true, section,
                                    cover == ts.coverAbove.end() ? nullptr : &cover->second);
  if (ts.formats.empty() || ts.formats.front().ncols() == 0) return;
  int first = 0;
  while (first < format.ncols() && !format.cols[first].rowsep) ++first;
  if (first == format.ncols()) return;
  std::string line(first, kBel);
  for (int c = first; c < format.ncols(); ++c) {
    if (format.cols[c].rowsep) line += '_';
    line += kBel;
  }
  line += '^';
  Emit(line, stream);
}

void TableFoot(const ElemNode* tfoot, OutBuffer* stream) {
  TableState& ts = tableState;
  ts.footFormats.clear();
  AddRowFormats(tfoot, &ts.footFormats, SEC_Foot);
  if (ts.footFormats.empty()) return;
  if (ts.footFormats.size() == 1 && !ts.formats.empty() &&
      SameRowFormat(ts.footFormats.front(), ts.formats.back()))
    return;
  ts.formats = std::move(ts.footFormats);
  ts.footFormats.clear();
  Emit("^.T&^", stream);
  WriteFormats(ts.formats, stream);
}

void TableEnd(const ElemNode* table, OutBuffer* stream) {
  TableState& ts = tableState;
  if (ts.textBlocks > 31) {
    Diagnostics()->Printf("# warning, line %d: created %d blocks of filled text in one table\n",
                 table ? ElementLine(table) : 0, ts.textBlocks);
    Diagnostics()->Puts("#\t\t(31 is the limit in some systems)\n");
  }
  Emit("^.TE^", stream);
  ts.formats.clear();
}

void TblInstruction(std::string_view instruction, ElemNode* elem, OutBuffer* stream) {
  if (instruction == "tablestart")
    TableStart(elem, stream);
  else if (instruction == "tablegroup")
    TableGroup(elem, stream);
  else if (instruction == "rowstart")
    return;
  else if (instruction == "entrystart")
    EntryStart(elem, stream);
  else if (instruction == "entryend")
    EntryEnd(elem, stream);
  else if (instruction == "rowend")
    RowEnd(elem, stream);
  else if (instruction == "tablefoot")
    TableFoot(elem, stream);
  else if (instruction == "tablegroupend")
    ClearTableGroup();
  else if (instruction == "tableend")
    TableEnd(elem, stream);
  else
    Diagnostics()->Printf("Unknown tbl table instruction: %.*s\n",
                 static_cast<int>(instruction.size()), instruction.data());
}

}  // namespace

void TableInstruction(const std::vector<std::string_view>& words, ElemNode* elem,
                      OutBuffer* stream) {
  if (words.size() < 2) {
    Diagnostics()->Puts("Incomplete table instruction: no table type (tbl or tex)\n");
    return;
  }
  std::string_view format = words[1];
  if (format == "tbl") {
    if (words.size() < 3) {
      Diagnostics()->Puts("Incomplete tbl table instruction\n");
      return;
    }
    TblInstruction(words[2], elem, stream);
  } else if (format == "tex") {
    TexInstruction(words.size() < 3 ? std::string_view() : words[2], elem, stream);
  } else {
    Diagnostics()->Printf("Unknown table type: %.*s\n", static_cast<int>(format.size()),
                 format.data());
  }
}

}  // namespace qlx
