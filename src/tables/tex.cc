#include "tables/tex.h"

#include <climits>
#include <cstring>

#include "doc/query.h"
#include "doc/tree.h"
#include "output/emit.h"
#include "tables/model.h"
#include "util/fatal.h"
#include "util/sorted.h"
#include "util/split.h"
#include "util/text.h"

namespace qlx {
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

bool IsTexColumnCount(const TexTableState& ts, const std::vector<std::string>& words) {
  return static_cast<int>(words.size()) == ts.texColumnCount;
}

// The column format: "|l | c | r|", "|p{1in} | p{2in}|", ...
void TexTableStart(TexTableState& ts, const ElemNode* table, OutBuffer* stream) {
  if (table) {
    ReadTexAttributes(ts, table);
    if (const ElemNode* first = FirstChild(table)) ReadTexAttributes(ts, first);
  }
  bool widthsUsable = ts.colwidthText && IsTexColumnCount(ts, ts.colwidthWords);
  bool alignsUsable = ts.alignText && IsTexColumnCount(ts, ts.alignWords);
  ts.outerBars = !(ts.frameText && *ts.frameText != "ALL" && *ts.frameText != "SIDES");
  ts.fill = false;

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

// A COLSPEC width: "2*" (a share) or a TeX length ("1in", "30pt").
struct ColumnWidth {
  long share = 100;   // hundredths of a star; 0 for a fixed length
  std::string fixed;  // the length, lower-cased, when share is 0
};

ColumnWidth ReadColumnWidth(const char* text) {
  ColumnWidth w;
  if (!text) return w;
  std::string t;
  for (const char* c = text; *c; ++c)
    if (*c != ' ') t += AsciiLower(*c);
  size_t star = t.find('*');
  if (star != std::string::npos) {
    // "1.5*" is 150 hundredths; "*" alone is one star.
    long whole = 0, frac = 0, scale = 100;
    bool point = false, digits = false;
    for (size_t i = 0; i < star; ++i) {
      char c = t[i];
      if (c == '.' && !point) {
        point = true;
      } else if (c >= '0' && c <= '9') {
        digits = true;
        if (!point && whole < 100000) whole = whole * 10 + (c - '0');
        if (point && scale > 1) frac += (c - '0') * (scale /= 10);
      } else {
        return w;  // not a plain share: one star
      }
    }
    long share = digits ? whole * 100 + frac : 100;
    if (share > 0) w.share = share;
    return w;
  }
  // A fixed length: digits and a point, then a unit TeX knows.
  static const char* const kUnits[] = {"pt", "pc", "in", "cm", "mm", "em", "ex", "bp"};
  size_t n = 0;
  while (n < t.size() && ((t[n] >= '0' && t[n] <= '9') || t[n] == '.')) ++n;
  if (n == 0 || n == t.size()) return w;
  for (const char* unit : kUnits)
    if (t.compare(n, std::string::npos, unit) == 0) {
      w.share = 0;
      w.fixed = t;
      return w;
    }
  return w;
}

// The column format of "fill": paragraph columns that together take the
// line's width, shared as the COLSPEC children's COLWIDTH values say (a
// share such as 2*, or a fixed length; a column without one has 1*).
void TexTableFill(TexTableState& ts, const ElemNode* group, OutBuffer* stream) {
  if (group) {
    ReadTexAttributes(ts, group);
    if (const ElemNode* first = FirstChild(group)) ReadTexAttributes(ts, first);
  }
  ts.outerBars = !(ts.frameText && *ts.frameText != "ALL" && *ts.frameText != "SIDES");
  int cols = ts.texColumnCount;
  std::vector<ColumnWidth> widths(cols > 0 ? cols : 0);
  ts.fill = true;
  ts.colNames.assign(widths.size(), std::string());
  ts.colWidths.assign(widths.size(), std::string());
  ts.coveredUntil.assign(widths.size(), 0);
  ts.row = ts.column = 0;
  ts.multi = false;
  int next = 0;
  for (const ElemNode* c = group ? FirstChild(group) : nullptr; c && next < cols;
       c = NextSibling(c)) {
    if (std::strcmp(c->gi, "COLSPEC") != 0) continue;
    int j = next;
    if (const char* num = FindAttValue(c, "COLNUM")) {
      int n = LeadingNumber(num);
      if (n >= 1 && n <= cols) j = n - 1;
    }
    widths[j] = ReadColumnWidth(FindAttValue(c, "COLWIDTH"));
    if (const char* name = FindAttValue(c, "COLNAME")) ts.colNames[j] = name;
    next = j + 1;
  }
  ts.spans.clear();
  for (const ElemNode* c = group ? FirstChild(group) : nullptr; c; c = NextSibling(c)) {
    if (std::strcmp(c->gi, "SPANSPEC") != 0) continue;
    const char* name = FindAttValue(c, "SPANNAME");
    const char* first = FindAttValue(c, "NAMEST");
    const char* last = FindAttValue(c, "NAMEEND");
    if (name && first && last) ts.spans.push_back({name, first, last});
  }
  long shares = 0;
  std::string fixed;  // "-1in-2cm": the fixed widths taken from the line
  for (const ColumnWidth& w : widths) {
    shares += w.share;
    if (w.share == 0) fixed += "-" + w.fixed;
  }
  // Each column gives up its padding and a rule's width, so that the rows
  // are no wider than the line.
  std::string text;
  if (ts.outerBars) text += '|';
  for (int j = 0; j < cols; ++j) {
    if (j > 0) text += ' ';
    const ColumnWidth& w = widths[j];
    if (w.share == 0)
      ts.colWidths[j] = w.fixed;
    else
      ts.colWidths[j] = "(\\linewidth" + fixed + ")*" + std::to_string(w.share) + "/" +
                        std::to_string(shares);
    text += "p{\\dimexpr" + ts.colWidths[j] + "-2\\tabcolsep-\\arrayrulewidth\\relax}";
    if (ts.colsepText && j + 1 < cols && j < static_cast<int>(ts.colsepWords.size())) {
      const std::string& sep = ts.colsepWords[j];
      if (!sep.empty() && sep[0] == '1') text += " |";
    }
  }
  if (ts.outerBars) text += '|';
  if (stream) stream->Put(text);
}

// The column of a name, or -1.
int ColumnOfName(const TexTableState& ts, const char* name) {
  if (!name) return -1;
  const std::vector<std::string>& names = ts.colNames;
  for (size_t j = 0; j < names.size(); ++j)
    if (names[j] == name) return static_cast<int>(j);
  return -1;
}

// The column named by an entry's attribute, or -1; NAMEST and NAMEEND
// come from the span specification that its SPANNAME names, if any.
int NamedColumn(const TexTableState& ts, const ElemNode* entry, const char* attribute) {
  if (const char* spanName = FindAttValue(entry, "SPANNAME")) {
    for (const TexTableState::Span& span : ts.spans)
      if (span.name == spanName) {
        if (std::strcmp(attribute, "NAMEST") == 0) return ColumnOfName(ts, span.first.c_str());
        if (std::strcmp(attribute, "NAMEEND") == 0) return ColumnOfName(ts, span.last.c_str());
      }
  }
  return ColumnOfName(ts, FindAttValue(entry, attribute));
}

// A cell of a fill table: separators and empty cells up to the entry's
// column, and a \multicolumn for a span.  Written as it stands, as the
// column format is.
void FillCellStart(TexTableState& ts, const ElemNode* entry, OutBuffer* stream) {
  int cols = static_cast<int>(ts.colWidths.size());
  auto covered = [&](int j) { return j < cols && ts.coveredUntil[j] >= ts.row; };
  int start = entry ? NamedColumn(ts, entry, "COLNAME") : -1;
  if (start < 0 && entry) start = NamedColumn(ts, entry, "NAMEST");
  if (start < ts.column) {
    start = ts.column;
    while (covered(start)) ++start;
  }
  int end = entry ? NamedColumn(ts, entry, "NAMEEND") : -1;
  if (end < start) end = start;
  if (end >= cols) end = start;  // past the last column: no span
  std::string text;
  for (int j = ts.column; j < start; ++j) text += j > 0 ? "& " : "";
  if (start > 0) text += "& ";
  ts.multi = end > start;
  if (ts.multi) {
    text += "\\multicolumn{" + std::to_string(end - start + 1) + "}{";
    if (start == 0 && ts.outerBars) text += '|';
    text += "p{\\dimexpr";
    for (int j = start; j <= end; ++j) text += (j > start ? "+" : "") + ts.colWidths[j];
    text += "-2\\tabcolsep-\\arrayrulewidth\\relax}";
    if (end == cols - 1 && ts.outerBars) text += '|';
    text += "}{";  // the argument, then the cell's own group
  }
  text += '{';
  if (stream) stream->Put(text);
  int more = entry ? LeadingNumber(FindAttValue(entry, "MOREROWS") ? FindAttValue(entry, "MOREROWS") : "")
                   : 0;
  if (more > INT_MAX - ts.row) more = INT_MAX - ts.row;  // no overflow on a huge MOREROWS
  if (more > 0)
    for (int j = start; j <= end && j < cols; ++j) ts.coveredUntil[j] = ts.row + more;
  ts.column = end + 1;
}

void CellEnd(TexTableState& ts, const ElemNode* entry, OutBuffer* stream) {
  if (ts.fill) {
    Emit(ts.multi ? "}} " : "} ", stream);
    ts.multi = false;
    return;
  }
  Emit("} ", stream);
  if (entry && entry->order < ts.texColumnCount - 1) Emit("& ", stream);
}

void RowEnd(TexTableState&, const ElemNode* row, OutBuffer* stream) {
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

void WrongCount(const TexTableState& ts, const char* name, const std::string& text) {
  ts.messages->Printf("Table Check: %s ('%s') has wrong number of tokens.  Expecting %d.\n",
               name, text.c_str(), ts.texColumnCount);
}

// Reports attribute word lists of a table element that do not fit its
// column count.  COLSEP may also have one word fewer: the last column has
// no rule after it.
void Check(TexTableState& ts, const ElemNode* elem) {
  if (!elem) return;
  if (!IsCheckable(elem)) {
    ts.messages->Printf("%s: Not pointing to a table element(%s)!\n", "Table Check", elem->gi);
    return;
  }
  ReadTexAttributes(ts, elem);
  bool reported = false;
  if (ts.alignText) {
    if (!IsTexColumnCount(ts, ts.alignWords)) {
      WrongCount(ts, "ALIGN", *ts.alignText);
      reported = true;
    } else {
      for (size_t i = 0; i < ts.alignWords.size(); ++i) {
        char first = ts.alignWords[i].empty() ? '\0' : ts.alignWords[i][0];
        if (std::strchr("CLRclr", first) && first != '\0') continue;
        ts.messages->Printf("%s: ALIGN (%d) value wrong: %s\n", "Table Check",
                     static_cast<int>(i), ts.alignWords[i].c_str());
        reported = true;
      }
    }
  }
  if (ts.colwidthText && !IsTexColumnCount(ts, ts.colwidthWords)) {
    WrongCount(ts, "COLWIDTH", *ts.colwidthText);
    reported = true;
  }
  if (ts.colsepText && !IsTexColumnCount(ts, ts.colsepWords) &&
      static_cast<int>(ts.colsepWords.size()) != ts.texColumnCount - 1) {
    WrongCount(ts, "COLSEP", *ts.colsepText);
    reported = true;
  }
  if (reported) {
    ts.messages->Printf("%s: Above problem in table located at:\n", "Table Check");
    PrintLocation(elem, ts.messages);
  }
}

void Clear(TexTableState& ts) {
  ts.colsText.reset();
  ts.alignText.reset();
  ts.colwidthText.reset();
  ts.colsepText.reset();
  ts.frameText.reset();
  ts.fill = false;
  ts.alignWords.clear();
  ts.colwidthWords.clear();
  ts.colsepWords.clear();
  ts.texColumnCount = 0;
}

}  // namespace

void ReadTexAttributes(TexTableState& ts, const ElemNode* elem) {
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
  if (ts.colwidthText) LowerCaseAscii(*ts.colwidthText);
  SplitWords(ts.alignText, &ts.alignWords);
  SplitWords(ts.colwidthText, &ts.colwidthWords);
  SplitWords(ts.colsepText, &ts.colsepWords);
  if (ts.colsText) {
    int count = LeadingNumber(*ts.colsText);
    ts.texColumnCount = count > kMaxColumns ? kMaxColumns : count;
  }
}

namespace {

struct TexStep {
  std::string_view name;
  void (*run)(TexTableState& ts, const ElemNode* elem, OutBuffer* stream);
};

// Sorted by name for the binary search; the empty instruction starts a
// table.
constexpr TexStep kTexSteps[] = {
    {"", TexTableStart},
    {"bottom",
     [](TexTableState& ts, const ElemNode*, OutBuffer* stream) {
       if (ts.bottomRule) Emit("\\\\hline", stream);
     }},
    {"cellend", CellEnd},
    {"cellstart",
     [](TexTableState& ts, const ElemNode* elem, OutBuffer* stream) {
       if (ts.fill)
         FillCellStart(ts, elem, stream);
       else
         Emit("{", stream);
     }},
    {"check", [](TexTableState& ts, const ElemNode* elem, OutBuffer*) { Check(ts, elem); }},
    {"clear", [](TexTableState& ts, const ElemNode*, OutBuffer*) { Clear(ts); }},
    {"fill", TexTableFill},
    {"rowend", RowEnd},
    {"rowstart",
     [](TexTableState& ts, const ElemNode*, OutBuffer*) {
       ++ts.row;
       ts.column = 0;
     }},
    {"top",
     [](TexTableState& ts, const ElemNode*, OutBuffer* stream) {
       if (ts.topRule) Emit("\\\\hline", stream);
     }},
};

static_assert(SortedByName(kTexSteps));

}  // namespace

void TexInstruction(TexTableState& ts, std::string_view instruction, ElemNode* elem,
                    OutBuffer* stream) {
  if (const TexStep* step = FindByName(kTexSteps, instruction))
    step->run(ts, elem, stream);
  else
    ts.messages->Printf("Unknown tex table instruction: %.*s\n",
                 static_cast<int>(instruction.size()), instruction.data());
}

}  // namespace qlx
