#include "tables/tex.h"

#include <cstring>

#include "doc/query.h"
#include "doc/tree.h"
#include "output/emit.h"
#include "tables/model.h"
#include "util/fatal.h"
#include "util/split.h"

namespace qlx {

TexTableState texTableState;

namespace {

void Emit(const char* text, OutBuffer* stream) { EmitText(text, stream, 1); }

void Keep(const ElemNode* elem, const char* name, std::optional<std::string>* text) {
  if (const char* v = FindAttValue(elem, name)) *text = v;
}

void SplitWords(const std::optional<std::string>& text, std::vector<std::string>* words) {
  words->clear();
  if (!text) return;
  for (std::string_view w : Split(*text, 0, SPLIT_COPY | SPLIT_ALLOC)) words->emplace_back(w);
}

bool IsTexColumnCount(const std::vector<std::string>& words) {
  return static_cast<int>(words.size()) == texTableState.texColumnCount;
}

// The column format: "|l | c | r|", "|p{1in} | p{2in}|", ...
void TexTableStart(const ElemNode* table, OutBuffer* stream) {
  TexTableState& ts = texTableState;
  if (table) {
    ReadTexAttributes(table);
    if (const ElemNode* first = FirstChild(table)) ReadTexAttributes(first);
  }
  bool widthsUsable = ts.colwidthText && IsTexColumnCount(ts.colwidthWords);
  bool alignsUsable = ts.alignText && IsTexColumnCount(ts.alignWords);
  ts.outerBars = !(ts.frameText && *ts.frameText != "ALL" && *ts.frameText != "SIDES");

  std::string text;
  if (ts.outerBars) text += '|';
  for (int j = 0; j < ts.texColumnCount; ++j) {
    if (j > 0) text += ' ';
    if (widthsUsable && ts.colwidthWords[j].size() >= 2 && ts.colwidthWords[j][0] != '0') {
      text += "p{";
      text += ts.colwidthWords[j];
      text += '}';
    } else if (alignsUsable) {
      text += ts.alignWords[j];
    } else {
      text += 'l';
    }
    if (ts.colsepText && j + 1 < ts.texColumnCount && j < static_cast<int>(ts.colsepWords.size())) {
      const std::string& sep = ts.colsepWords[j];
      if (!sep.empty() && sep[0] == '1') text += " |";
      if (!sep.empty() && sep[0] == '2') text += " ||";
    }
  }
  if (ts.outerBars) text += '|';
  // Written as it stands: TeX's own backslashes and braces, no escapes.
  if (stream) stream->Put(text);
}

void CellEnd(const ElemNode* entry, OutBuffer* stream) {
  Emit("} ", stream);
  if (entry && entry->order < texTableState.texColumnCount - 1) Emit("& ", stream);
}

void RowEnd(const ElemNode* row, OutBuffer* stream) {
  const char* rowsep = FindAttValue(row, "ROWSEP");
  if (rowsep && rowsep[0] == '1')
    Emit("\\\\\\\\[2mm] \\\\hline ", stream);
  else
    Emit("\\\\\\\\ ", stream);
}

bool IsCheckable(const ElemNode* elem) {
  static const char* const kNames[] = {"TABLE", "INFORMALTABLE", "TGROUP", "COLSPEC", "ROW"};
  for (const char* name : kNames)
    if (std::strcmp(elem->gi, name) == 0) return true;
  return false;
}

void WrongCount(const char* name, const std::string& text) {
  Diagnostics()->Printf("Table Check: %s ('%s') has wrong number of tokens.  Expecting %d.\n",
               name, text.c_str(), texTableState.texColumnCount);
}

// Reports attribute word lists of a table element that do not fit its
// column count.  COLSEP may also have one word fewer: the last column has
// no rule after it.
void Check(const ElemNode* elem) {
  TexTableState& ts = texTableState;
  if (!elem) return;
  if (!IsCheckable(elem)) {
    Diagnostics()->Printf("%s: Not pointing to a table element(%s)!\n", "Table Check", elem->gi);
    return;
  }
  ReadTexAttributes(elem);
  bool reported = false;
  if (ts.alignText) {
    if (!IsTexColumnCount(ts.alignWords)) {
      WrongCount("ALIGN", *ts.alignText);
      reported = true;
    } else {
      for (size_t i = 0; i < ts.alignWords.size(); ++i) {
        char first = ts.alignWords[i].empty() ? '\0' : ts.alignWords[i][0];
        if (std::strchr("CLRclr", first) && first != '\0') continue;
        Diagnostics()->Printf("%s: ALIGN (%d) value wrong: %s\n", "Table Check",
                     static_cast<int>(i), ts.alignWords[i].c_str());
        reported = true;
      }
    }
  }
  if (ts.colwidthText && !IsTexColumnCount(ts.colwidthWords)) {
    WrongCount("COLWIDTH", *ts.colwidthText);
    reported = true;
  }
  if (ts.colsepText && !IsTexColumnCount(ts.colsepWords) &&
      static_cast<int>(ts.colsepWords.size()) != ts.texColumnCount - 1) {
    WrongCount("COLSEP", *ts.colsepText);
    reported = true;
  }
  if (reported) {
    Diagnostics()->Printf("%s: Above problem in table located at:\n", "Table Check");
    PrintLocation(elem, Diagnostics());
  }
}

void Clear() {
  TexTableState& ts = texTableState;
  ts.colsText.reset();
  ts.alignText.reset();
  ts.colwidthText.reset();
  ts.colsepText.reset();
  ts.frameText.reset();
  ts.alignWords.clear();
  ts.colwidthWords.clear();
  ts.colsepWords.clear();
  ts.texColumnCount = 0;
}

}  // namespace

void ReadTexAttributes(const ElemNode* elem) {
  TexTableState& ts = texTableState;
  Keep(elem, "ALIGN", &ts.alignText);
  Keep(elem, "COLWIDTH", &ts.colwidthText);
  Keep(elem, "COLSEP", &ts.colsepText);
  Keep(elem, "FRAME", &ts.frameText);
  Keep(elem, "COLS", &ts.colsText);
  ts.topRule = ts.bottomRule = true;
  if (ts.frameText) {
    const std::string& frame = *ts.frameText;
    if (frame == "NONE" || frame == "SIDES") ts.topRule = ts.bottomRule = false;
    if (frame == "TOP") ts.bottomRule = false;
    if (frame == "BOTTOM") ts.topRule = false;
  }
  // The lower-case copy: the document's attribute value itself is shared
  // and stays as it is.
  if (ts.colwidthText)
    for (char& c : *ts.colwidthText)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  SplitWords(ts.alignText, &ts.alignWords);
  SplitWords(ts.colwidthText, &ts.colwidthWords);
  SplitWords(ts.colsepText, &ts.colsepWords);
  if (ts.colsText) {
    int count = ReadNumber(*ts.colsText);
    ts.texColumnCount = count > kMaxColumns ? kMaxColumns : count;
  }
}

void TexInstruction(std::string_view instruction, ElemNode* elem, OutBuffer* stream) {
  TexTableState& ts = texTableState;
  if (instruction.empty())
    TexTableStart(elem, stream);
  else if (instruction == "cellstart")
    Emit("{", stream);
  else if (instruction == "cellend")
    CellEnd(elem, stream);
  else if (instruction == "rowstart")
    return;
  else if (instruction == "rowend")
    RowEnd(elem, stream);
  else if (instruction == "top") {
    if (ts.topRule) Emit("\\\\hline", stream);
  } else if (instruction == "bottom") {
    if (ts.bottomRule) Emit("\\\\hline", stream);
  } else if (instruction == "check")
    Check(elem);
  else if (instruction == "clear")
    Clear();
  else
    Diagnostics()->Printf("Unknown tex table instruction: %.*s\n",
                 static_cast<int>(instruction.size()), instruction.data());
}

}  // namespace qlx
