#include "tables/model.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "doc/query.h"
#include "doc/tree.h"
#include "util/fatal.h"
#include "util/text.h"

namespace qlx {

bool IsNamed(const ElemNode* elem, const char* gi) {
  return elem && elem->gi && std::strcmp(elem->gi, gi) == 0;
}

namespace {

int AlignKindOf(const char* value) {
  if (std::strcmp(value, "LEFT") == 0) return ALIGN_Left;
  if (std::strcmp(value, "RIGHT") == 0) return ALIGN_Right;
  if (std::strcmp(value, "CENTER") == 0) return ALIGN_Center;
  if (std::strcmp(value, "JUSTIFY") == 0) return ALIGN_Justify;
  if (std::strcmp(value, "CHAR") == 0) return ALIGN_Char;
  return ALIGN_Left;
}

bool IsExactlyOne(const char* value) { return value && std::strcmp(value, "1") == 0; }

// The record's index in the list, or -1.
int FindName(const std::unordered_map<std::string, int>& index, std::string_view name) {
  if (name.empty()) return -1;
  auto it = index.find(std::string(name));
  return it == index.end() ? -1 : it->second;
}

int FindNumber(const std::vector<int>& index, int number) {
  return number >= 1 && number < static_cast<int>(index.size()) ? index[number] : -1;
}

// The earlier of two list positions (-1 is none).
int Earlier(int a, int b) {
  if (a < 0) return b;
  if (b < 0) return a;
  return a < b ? a : b;
}

// The first column record with `number` whose section is `section` (for
// head rows, section 0 counts as well), falling back to section 0.
int FindColumnNumber(const TableState& ts, int number, int section) {
  int hit = FindNumber(ts.colByNumber[section], number);
  if (section == SEC_Head) hit = Earlier(hit, FindNumber(ts.colByNumber[SEC_Group], number));
  if (hit < 0) hit = FindNumber(ts.colByNumber[SEC_Group], number);
  return hit;
}

void AppendColSpec(TableState& ts, ColSpec spec) {
  int index = static_cast<int>(ts.colSpecs.size());
  int section = spec.section;
  if (!spec.name.empty()) ts.colByName[section].emplace(spec.name, index);
  if (spec.number >= 1) {
    std::vector<int>& byNumber = ts.colByNumber[section];
    if (static_cast<int>(byNumber.size()) <= spec.number) byNumber.resize(spec.number + 1, -1);
    if (byNumber[spec.number] < 0) byNumber[spec.number] = index;
  }
  ts.colSpecs.push_back(std::move(spec));
}

// "digits and a point at the start", as a number; "*" alone is 0.
float ReadProportion(const std::string& text) {
  size_t n = 0;
  while (n < text.size() && ((text[n] >= '0' && text[n] <= '9') || text[n] == '.')) ++n;
  if (n == 0) return 0.0f;
  return std::strtof(text.substr(0, n).c_str(), nullptr);
}

std::string FormatInches(double value) {
  char small[64];
  int len = std::snprintf(small, sizeof small, "%fi", value);
  if (len < static_cast<int>(sizeof small)) return std::string(small, len);
  std::string text(len + 1, '\0');
  std::snprintf(text.data(), text.size(), "%fi", value);
  text.resize(len);
  return text;
}

// Turns the proportional widths of a row into inches when every column has
// one; the row's 5.5 inches are shared out by proportion (equally when the
// proportions add up to 0).
void ResolveProportionalWidths(RowFormat* format) {
  if (format->cols.empty()) return;
  for (const ColumnFormat& col : format->cols)
    if (col.propWidth.empty()) return;
  float total = 0.0f;
  for (const ColumnFormat& col : format->cols) total += ReadProportion(col.propWidth);
  for (ColumnFormat& col : format->cols) {
    double width = total == 0.0f ? 5.5 / format->ncols()
                                 : static_cast<double>(ReadProportion(col.propWidth) / total) * 5.5;
    col.width = FormatInches(width);
  }
}

struct LengthSum {
  std::size_t total = 0;
};

void AddDataLength(ContentItem* item, void* userData) {
  if (item->kind() == '-') static_cast<LengthSum*>(userData)->total += std::strlen(item->text());
}

}  // namespace

void ClearTableGroup(TableState& ts) {
  ts.colSpecs.clear();
  ts.spanSpecs.clear();
  ts.columnCount = 0;
  for (int s = 0; s < kSectionCount; ++s) {
    ts.colByName[s].clear();
    ts.colByNumber[s].clear();
    ts.spanByName[s].clear();
  }
  ts.coverAbove.clear();
  ts.coveredBeforeEntry.clear();
  ts.ruleAfter.clear();
  ts.lastRow = nullptr;
  ts.lastBodyRow = nullptr;
  ts.bodyWritten = false;
}

namespace {

// The element's own value of an attribute, read by `read`; else the
// parent's; else the field keeps its default.
template <typename T, typename Read>
void Inherit(const ElemNode* elem, const char* att, const T* parentValue, Read read, T* out) {
  if (const char* v = FindAttValue(elem, att)) *out = read(v);
  else if (parentValue) *out = *parentValue;
}

std::string TextOf(const char* v) { return v; }

}  // namespace

ColSpec BuildColSpec(const ElemNode* elem, int number, const ColSpec* parent, int section) {
  ColSpec spec;
  if (const char* v = FindAttValue(elem, "COLNAME")) spec.name = v;
  spec.number = number;
  spec.section = section;
  Inherit(elem, "ALIGN", parent ? &parent->align : nullptr, AlignKindOf, &spec.align);
  Inherit(elem, "COLWIDTH", parent ? &parent->colwidth : nullptr, TextOf, &spec.colwidth);
  Inherit(elem, "COLSEP", parent ? &parent->colsep : nullptr, IsExactlyOne, &spec.colsep);
  Inherit(elem, "ROWSEP", parent ? &parent->rowsep : nullptr, IsExactlyOne, &spec.rowsep);
  return spec;
}

SpanSpec BuildSpanSpec(const TableState& ts, const ElemNode* elem, const SpanSpec* parent,
                       int section) {
  SpanSpec spec;
  if (const char* v = FindAttValue(elem, "SPANNAME")) spec.name = v;
  spec.section = section;
  auto namest = [&ts, section](const char* v) { return FindColumn(ts, v, section, REF_Namest); };
  auto nameend = [&ts, section](const char* v) { return FindColumn(ts, v, section, REF_Nameend); };
  Inherit(elem, "NAMEST", parent ? &parent->first : nullptr, namest, &spec.first);
  Inherit(elem, "NAMEEND", parent ? &parent->last : nullptr, nameend, &spec.last);
  Inherit(elem, "ALIGN", parent ? &parent->align : nullptr, AlignKindOf, &spec.align);
  Inherit(elem, "COLSEP", parent ? &parent->colsep : nullptr, IsExactlyOne, &spec.colsep);
  Inherit(elem, "ROWSEP", parent ? &parent->rowsep : nullptr, IsExactlyOne, &spec.rowsep);
  return spec;
}

void BuildTableGroup(TableState& ts, const ElemNode* tgroup) {
  ClearTableGroup(ts);
  if (!tgroup) return;

  const char* cols = FindAttValue(tgroup, "COLS");
  int count = cols ? LeadingNumber(cols) : 0;

  AppendColSpec(ts, BuildColSpec(tgroup, 0, nullptr, SEC_Group));
  int running = 1;
  for (const ElemNode* child = FirstChild(tgroup); child; child = NextSibling(child)) {
    if (IsNamed(child, "COLSPEC")) {
      AppendColSpec(ts, BuildColSpec(child, running, &ts.colSpecs[0], SEC_Group));
      ++running;
      continue;
    }
    int section = IsNamed(child, "THEAD")   ? SEC_Head
                  : IsNamed(child, "TFOOT") ? SEC_Foot
                  : IsNamed(child, "TBODY") ? SEC_Body
                                            : -1;
    if (section < 0) continue;
    running = 1;
    for (const ElemNode* c = FirstChild(child); c; c = NextSibling(c)) {
      if (!IsNamed(c, "COLSPEC")) continue;
      AppendColSpec(ts, BuildColSpec(c, running, &ts.colSpecs[0], section));
      ++running;
    }
  }

  // The column records are complete: span specifications may point at them.
  ts.spanSpecs.push_back(BuildSpanSpec(ts, tgroup, nullptr, SEC_Group));
  for (const ElemNode* child = FirstChild(tgroup); child; child = NextSibling(child)) {
    if (!IsNamed(child, "SPANSPEC")) continue;
    SpanSpec span = BuildSpanSpec(ts, child, &ts.spanSpecs[0], SEC_Group);
    if (!span.name.empty())
      ts.spanByName[SEC_Group].emplace(span.name, static_cast<int>(ts.spanSpecs.size()));
    ts.spanSpecs.push_back(std::move(span));
  }

  if (count <= 0) {
    // No usable COLS: the group's own column specifications tell, else the
    // widest row.
    count = static_cast<int>(ts.colByNumber[SEC_Group].size()) - 1;
    if (count <= 0) {
      count = 0;
      for (const ElemNode* part = FirstChild(tgroup); part; part = NextSibling(part)) {
        if (!IsNamed(part, "THEAD") && !IsNamed(part, "TFOOT") && !IsNamed(part, "TBODY")) continue;
        for (const ElemNode* row = FirstChild(part); row; row = NextSibling(row))
          if (IsNamed(row, "ROW") && row->childCount > count) count = row->childCount;
      }
    }
  }
  if (count > kMaxColumns) {
    ts.messages->Printf("? table group has %d columns; only %d are used\n", count, kMaxColumns);
    count = kMaxColumns;
  }
  ts.columnCount = count;
}

const ColSpec* FindColumn(const TableState& ts, std::string_view value, int section,
                          ColumnRef ref) {
  if (section < 0 || section >= kSectionCount) section = SEC_Group;
  int hit = FindName(ts.colByName[section], value);
  if (hit < 0) hit = FindName(ts.colByName[SEC_Group], value);
  if (hit < 0 && !value.empty() && value[0] >= '0' && value[0] <= '9')
    hit = FindColumnNumber(ts, LeadingNumber(value), section);
  if (hit >= 0) return &ts.colSpecs[hit];
  ts.messages->Printf("? spanspec %s points to unknown column '%.*s'\n",
               ref == REF_Namest ? "namest" : "nameend", static_cast<int>(value.size()),
               value.data());
  return nullptr;
}

ColSpec EntryColSpec(const TableState& ts, const ElemNode* entry, int column, int section) {
  if (section < 0 || section >= kSectionCount) section = SEC_Group;
  const ColSpec* named = nullptr;
  if (const char* colname = FindAttValue(entry, "COLNAME")) {
    int hit = FindName(ts.colByName[section], colname);
    if (hit < 0) hit = FindName(ts.colByName[SEC_Group], colname);
    if (hit >= 0)
      named = &ts.colSpecs[hit];
    else
      ts.messages->Printf("? can't find column name '%s'\n", colname);
  }
  int hit = FindColumnNumber(ts, column, section);
  if (hit >= 0) return BuildColSpec(entry, column, &ts.colSpecs[hit], section);
  // No column record: the named one, else the table group's own.
  if (!named && !ts.colSpecs.empty()) named = &ts.colSpecs[0];
  return BuildColSpec(entry, column, named, section);
}

bool EntrySpan(const TableState& ts, const ElemNode* entry, int column, int section,
               SpanSpec* span) {
  if (section < 0 || section >= kSectionCount) section = SEC_Group;
  const SpanSpec* base = nullptr;
  if (const char* spanname = FindAttValue(entry, "SPANNAME")) {
    int hit = FindName(ts.spanByName[section], spanname);
    if (hit < 0) hit = FindName(ts.spanByName[SEC_Group], spanname);
    if (hit >= 0) base = &ts.spanSpecs[hit];
  }
  if (!base && !FindAttValue(entry, "NAMEST")) return false;
  *span = BuildSpanSpec(ts, entry, base, section);
  if (span->first && span->last && column > span->first->number && column <= span->last->number)
    span->align = ALIGN_Spanned;
  return true;
}

// Whether an entry's VALIGN (or the nearest one of its row and section) is TOP.
static bool AlignedTop(const ElemNode* entry) {
  const ElemNode* e = entry;
  for (int up = 0; up < 3 && e; ++up, e = e->parent()) {
    if (const char* valign = FindAttValue(e, "VALIGN")) return strcasecmp(valign, "TOP") == 0;
  }
  return false;
}

RowFormat BuildRowFormat(const TableState& ts, const ElemNode* row, bool withRowsep, int section,
                         const std::vector<CoveredColumn>* coverAbove, RowPlacement* placement) {
  static const char kKeys[] = "lrclds";
  const int ncols = ts.columnCount;
  const int nchild = row ? row->childCount : 0;
  RowFormat format;
  format.cols.resize(ncols);
  if (placement) {
    placement->coveredBefore.assign(nchild, 0);
    placement->coverBelow.assign(ncols, CoveredColumn{});
  }

  int index = 0;  // the current entry's position among the row's children
  const ElemNode* entry = nchild > 0 ? FirstChild(row) : nullptr;
  bool entryHasColumn = false;  // the current entry already occupies a column
  int coveredRun = 0;           // "^" columns since the last entry's columns

  for (int c = 1; c <= ncols; ++c) {
    ColumnFormat& col = format.cols[c - 1];
    const CoveredColumn* covered = nullptr;
    if (coverAbove && c - 1 < static_cast<int>(coverAbove->size()) &&
        (*coverAbove)[c - 1].rowsLeft > 0)
      covered = &(*coverAbove)[c - 1];
    if (covered) {
      col.key = covered->key;
      col.colsep = ts.tableColsep || covered->colsep;
      col.rowsep = withRowsep && (ts.tableRowsep || (covered->rowsLeft == 1 && covered->rowsep));
      if (covered->key == '^') ++coveredRun;
      if (placement && covered->rowsLeft > 1) {
        placement->coverBelow[c - 1] = *covered;
        --placement->coverBelow[c - 1].rowsLeft;
      }
      continue;
    }
    if (!entry) {
      col.colsep = ts.tableColsep;
      col.rowsep = withRowsep && ts.tableRowsep;
      continue;
    }
    if (!entryHasColumn) {
      if (placement) placement->coveredBefore[index] = coveredRun;
      coveredRun = 0;
      entryHasColumn = true;
    }

    SpanSpec span;
    bool hasSpan = EntrySpan(ts, entry, c, section, &span);
    ColSpec spec = EntryColSpec(ts, entry, c, section);
    int kind = hasSpan ? span.align : spec.align;
    col.key = kind >= 0 && kind <= ALIGN_Spanned ? kKeys[kind] : 'l';
    if (spec.colwidth.find('*') != std::string::npos)
      col.propWidth = std::move(spec.colwidth);
    else
      col.width = std::move(spec.colwidth);
    col.colsep = ts.tableColsep || (hasSpan ? span.colsep : spec.colsep);
    bool rowsep = ts.tableRowsep || (hasSpan ? span.rowsep : spec.rowsep);
    col.rowsep = withRowsep && rowsep;
    if (const char* more = FindAttValue(entry, "MOREROWS")) col.moreRows = LeadingNumber(more);
    if (col.moreRows > 0) col.top = AlignedTop(entry);
    if (placement && col.moreRows > 0)
      placement->coverBelow[c - 1] =
          CoveredColumn{col.moreRows, col.key == 's' ? 's' : '^', col.colsep, rowsep};

    bool staysForSpan = hasSpan && span.first && span.last && c < span.last->number;
    if (!staysForSpan) {
      ++index;
      entry = index < nchild ? NextSibling(entry) : nullptr;
      entryHasColumn = false;
    }
  }

  if (!withRowsep) ResolveProportionalWidths(&format);
  return format;
}

bool SameRowFormat(const RowFormat& a, const RowFormat& b) {
  if (a.ncols() != b.ncols()) return false;
  for (int c = 0; c < a.ncols(); ++c) {
    const ColumnFormat& x = a.cols[c];
    const ColumnFormat& y = b.cols[c];
    if (x.key != y.key || x.width != y.width || x.colsep != y.colsep || x.rowsep != y.rowsep ||
        x.moreRows != 0 || y.moreRows != 0 || x.key == '^')
      return false;
  }
  return true;
}

std::size_t EntryDataLength(const ElemNode* elem) {
  LengthSum sum;
  WalkTree(const_cast<ElemNode*>(elem), nullptr, nullptr, AddDataLength, &sum);
  return sum.total;
}

}  // namespace qlx
