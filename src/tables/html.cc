#include "tables/html.h"

#include <climits>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "doc/query.h"
#include "doc/tree.h"
#include "output/emit.h"
#include "tables/model.h"
#include "util/fatal.h"
#include "util/text.h"

namespace qlx {

void HtmlTableState::Names::Read(const ElemNode* owner, const Names* outer) {
  int next = 0;
  for (const ElemNode* c = FirstChild(owner); c; c = NextSibling(c)) {
    if (!IsNamed(c, "COLSPEC")) continue;
    int j = next;
    if (const char* num = FindAttValue(c, "COLNUM")) {
      int n = LeadingNumber(num);
      if (n >= 1 && n <= kMaxColumns) j = n - 1;
    }
    if (const char* name = FindAttValue(c, "COLNAME")) columns.emplace(name, j);
    next = j + 1;
  }
  for (const ElemNode* c = FirstChild(owner); c; c = NextSibling(c)) {
    if (!IsNamed(c, "SPANSPEC")) continue;
    const char* name = FindAttValue(c, "SPANNAME");
    int first = Column(FindAttValue(c, "NAMEST"), outer);
    int last = Column(FindAttValue(c, "NAMEEND"), outer);
    if (name && first >= 0 && last >= 0) spans.emplace(name, std::make_pair(first, last));
  }
}

int HtmlTableState::Names::Column(const char* name, const Names* outer) const {
  if (!name) return -1;
  auto it = columns.find(name);
  if (it != columns.end()) return it->second;
  return outer ? outer->Column(name, nullptr) : -1;
}

const std::pair<int, int>* HtmlTableState::Names::Span(const char* name, const Names* outer) const {
  if (!name) return nullptr;
  auto it = spans.find(name);
  if (it != spans.end()) return &it->second;
  return outer ? outer->Span(name, nullptr) : nullptr;
}

namespace {

using Names = HtmlTableState::Names;
using Group = HtmlTableState::Group;

bool IsAncestorOrSelf(const ElemNode* a, const ElemNode* e) {
  for (; e; e = e->parent())
    if (e == a) return true;
  return false;
}

Group& GroupOf(std::vector<Group>& groups, const ElemNode* group) {
  while (!groups.empty() && !IsAncestorOrSelf(groups.back().group, group)) groups.pop_back();
  if (groups.empty() || groups.back().group != group) {
    groups.emplace_back();
    groups.back().group = group;
    groups.back().names.Read(group, nullptr);
  }
  return groups.back();
}

void Cell(HtmlTableState& state, std::string_view tag, ElemNode* entry, OutBuffer* stream) {
  std::string name = "td";
  if (!tag.empty()) {
    name.clear();
    for (char c : tag)
      if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) name += c;
  }
  std::string text;
  const ElemNode* row = entry ? entry->parent() : nullptr;
  const ElemNode* part = row ? row->parent() : nullptr;
  const ElemNode* group = part ? part->parent() : nullptr;
  if (!group) {  // not in a table: a plain cell
    text = "<" + name;
    EmitText(text, stream, 1);
    return;
  }
  Group& g = GroupOf(state.groups, group);
  if (g.part != part) {
    g.part = part;
    g.partNames = Names();
    if (!IsNamed(part, "TBODY")) g.partNames.Read(part, &g.names);
    g.rowIndex = 0;
    g.coveredUntil.clear();
    g.row = nullptr;
  }
  if (g.row != row) {
    g.row = row;
    ++g.rowIndex;
    g.column = 0;
  }
  const Names* outer = &g.names;
  int start = -1, end = -1;
  if (const char* colname = FindAttValue(entry, "COLNAME")) start = g.partNames.Column(colname, outer);
  const std::pair<int, int>* span = g.partNames.Span(FindAttValue(entry, "SPANNAME"), outer);
  if (span) {
    start = span->first;
    end = span->second;
  } else {
    int first = g.partNames.Column(FindAttValue(entry, "NAMEST"), outer);
    if (first >= 0) {
      start = first;
      end = g.partNames.Column(FindAttValue(entry, "NAMEEND"), outer);
    }
  }
  int next = g.column;
  while (g.Covered(next)) ++next;
  if (start < next) {
    int width = end - start;
    start = next;
    end = width > 0 ? start + width : start;
  }
  if (end < start) end = start;
  for (int j = g.column; j < start; ++j)
    if (!g.Covered(j)) text += "<" + name + "></" + name + ">";
  text += "<" + name;
  if (end > start) text += " colspan=\"" + std::to_string(end - start + 1) + "\"";
  const char* more = FindAttValue(entry, "MOREROWS");
  int rows = more ? LeadingNumber(more) : 0;
  if (rows > INT_MAX - g.rowIndex) rows = INT_MAX - g.rowIndex;
  if (rows > 0) {
    text += " rowspan=\"" + std::to_string(rows + 1) + "\"";
    if (end >= static_cast<int>(g.coveredUntil.size()) && end < kMaxColumns)
      g.coveredUntil.resize(end + 1, 0);
    for (int j = start; j <= end && j < static_cast<int>(g.coveredUntil.size()); ++j)
      g.coveredUntil[j] = g.rowIndex + rows;
  }
  g.column = end + 1;
  EmitText(text, stream, 1);
}

}  // namespace

void HtmlInstruction(HtmlTableState& state, std::string_view instruction, std::string_view tag,
                     ElemNode* elem, OutBuffer* stream) {
  if (instruction == "cell")
    Cell(state, tag, elem, stream);
  else
    state.messages->Printf("Unknown html table instruction: %.*s\n",
                 static_cast<int>(instruction.size()), instruction.data());
}

}  // namespace qlx
