// Helpers of the CALS table tests: documents written as tags, and a small
// driver that makes the _calstable calls a translation spec would make.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "doc/query.h"
#include "doc/tree.h"
#include "output/emit.h"
#include "tables/model.h"
#include "tables/tables.h"
#include "tables/tex.h"
#include "testutil.h"
#include "util/settings.h"

namespace qlx::tabletest {

// "<TABLE FRAME=ALL><TGROUP COLS=2>...<ENTRY>a</ENTRY>..." as ESIS: every
// attribute is CDATA (a value with blanks in double quotes), text between
// tags is a data record unless it is all blanks and newlines, and "<?x>"
// is a processing instruction; "<X/>" is an empty element.  "\n" and the like in text stay ESIS escapes.
inline std::string TagsToEsis(std::string_view tags) {
  std::string esis;
  size_t i = 0;
  while (i < tags.size()) {
    if (tags[i] != '<') {
      size_t end = tags.find('<', i);
      if (end == std::string_view::npos) end = tags.size();
      std::string_view text = tags.substr(i, end - i);
      if (text.find_first_not_of(" \n") != std::string_view::npos)
        esis.append("-").append(text).append("\n");
      i = end;
      continue;
    }
    size_t close = tags.find('>', i);
    std::string_view tag = tags.substr(i + 1, close - i - 1);
    i = close + 1;
    if (tag[0] == '/') {
      esis.append(")").append(tag.substr(1)).append("\n");
    } else if (tag[0] == '?') {
      esis.append("?").append(tag.substr(1)).append("\n");
    } else {
      bool empty = tag.back() == '/';  // <COLSPEC .../>: start and end
      if (empty) tag.remove_suffix(1);
      size_t p = tag.find(' ');
      std::string_view gi = tag.substr(0, p);
      while (p != std::string_view::npos && p < tag.size()) {
        while (p < tag.size() && tag[p] == ' ') ++p;
        if (p >= tag.size()) break;
        size_t eq = tag.find('=', p);
        std::string_view name = tag.substr(p, eq - p);
        size_t vstart = eq + 1, vend;
        if (tag[vstart] == '"') {
          ++vstart;
          vend = tag.find('"', vstart);
          p = vend + 1;
        } else {
          vend = tag.find(' ', vstart);
          if (vend == std::string_view::npos) vend = tag.size();
          p = vend;
        }
        esis.append("A").append(name).append(" CDATA ").append(tag.substr(vstart, vend - vstart));
        esis.append("\n");
      }
      esis.append("(").append(gi).append("\n");
      if (empty) esis.append(")").append(gi).append("\n");
    }
  }
  return esis;
}

inline ElemNode* Read(std::string_view tags) { return test::ReadDocument(TagsToEsis(tags)); }

// The tables the calls below work on, as a translation run's own.
inline Tables tables;

// Fresh table states, output at the start of a line, default threshold.
inline void ResetTables() {
  tables = Tables{};
  settings.textBlockThreshold = 35;
}

// Runs `write` with a memory stream and returns what it wrote.
template <typename F>
std::string Capture(F&& write) {
  OutBuffer out;
  write(&out);
  return std::string(out.text());
}

inline void Call(OutBuffer* f, ElemNode* elem, std::string_view format,
                 std::string_view instruction = {}) {
  std::vector<std::string_view> words{"calstable", format};
  if (!instruction.empty()) words.push_back(instruction);
  TableInstruction(tables, words, elem, f, Diagnostics(), nullptr);
}

inline bool Is(const ElemNode* e, const char* gi) { return std::strcmp(e->gi, gi) == 0; }

// What a translation spec for tbl does: the instructions in the StartText
// and EndText of the table elements, the data written in between.
struct Driver {
  OutBuffer* f;
};

inline void TblBefore(ElemNode* e, void* data) {
  OutBuffer* f = static_cast<Driver*>(data)->f;
  if (Is(e, "TABLE")) Call(f, e, "tbl", "tablestart");
  if (Is(e, "TGROUP")) Call(f, e, "tbl", "tablegroup");
  if (Is(e, "TFOOT")) Call(f, e, "tbl", "tablefoot");
  if (Is(e, "ROW")) Call(f, e, "tbl", "rowstart");
  if (Is(e, "ENTRY")) Call(f, e, "tbl", "entrystart");
}

inline void TblAfter(ElemNode* e, void* data) {
  OutBuffer* f = static_cast<Driver*>(data)->f;
  if (Is(e, "ENTRY")) Call(f, e, "tbl", "entryend");
  if (Is(e, "ROW")) Call(f, e, "tbl", "rowend");
  if (Is(e, "TGROUP")) Call(f, e, "tbl", "tablegroupend");
  if (Is(e, "TABLE")) Call(f, e, "tbl", "tableend");
}

inline void WriteData(ContentItem* item, void* data) {
  if (item->kind() == '-') EmitData(item->text(), static_cast<Driver*>(data)->f, true);
}

// The tbl translation of the document's tables.
inline std::string TblOutput(ElemNode* root) {
  return Capture([&](OutBuffer* f) {
    Driver d{f};
    WalkTree(root, TblBefore, TblAfter, WriteData, &d);
  });
}

}  // namespace qlx::tabletest
