// The tbl format, driven as a translation spec drives it: the instructions
// in the StartText and EndText of the table elements, the entries' data
// written in between.
#include <gtest/gtest.h>

#include <string>

#include "tables_testutil.h"

namespace qlx {
namespace {

using tabletest::Call;
using tabletest::Read;
using tabletest::TblOutput;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

class Tbl : public testing::Test {
 protected:
  void SetUp() override { tabletest::ResetTables(); }
  void TearDown() override { settings.textBlockThreshold = 35; }
};

// A one-group table around `body` (rows of a TBODY).
std::string Table(const std::string& tableAtts, const std::string& groupAtts,
                  const std::string& inGroup) {
  return "<TABLE" + tableAtts + "><TGROUP" + groupAtts + ">" + inGroup + "</TGROUP></TABLE>";
}

std::string Row(std::initializer_list<const char*> entries) {
  std::string row = "<ROW>";
  for (const char* e : entries) row += std::string("<ENTRY>") + e + "</ENTRY>";
  return row + "</ROW>";
}

TEST_F(Tbl, RulesUnderRowsTakeNoDataRow) {
  // A rule under some columns is a rule row with its own format line; none
  // under the last row.
  ElemNode* root = Read(Table("", " COLS=3",
                              "<COLSPEC/><COLSPEC ROWSEP=1/><COLSPEC ROWSEP=1/><TBODY>" +
                                  Row({"a", "b", "c"}) +
                                  "<ROW><ENTRY ROWSEP=1>d</ENTRY><ENTRY ROWSEP=0>e</ENTRY>"
                                  "<ENTRY>f</ENTRY></ROW>" + Row({"g", "h", "i"}) + "</TBODY>"));
  EXPECT_EQ(TblOutput(root),
            ".TS\ntab(\a);\nl l l\nl _ _\nl l l\n_ l _\nl l l.\n"
            "a\ab\ac\n\a\a\n"
            "d\ae\af\n\a\a\n"
            "g\ah\ai\n.TE\n");
  // Table ROWSEP=1 rules every column of every row: a full rule, a line of
  // its own that takes no format line.
  tabletest::ResetTables();
  EXPECT_EQ(TblOutput(Read(Table(" ROWSEP=1 COLSEP=1", " COLS=2",
                                 "<COLSPEC ROWSEP=0/><TBODY>" + Row({"a", "b"}) + Row({"c", "d"}) +
                                     "</TBODY>"))),
            ".TS\ntab(\a);\nl| l|.\na\ab\n_\nc\ad\n.TE\n");
}

TEST_F(Tbl, InstructionsOutOfOrderDoNotFail) {
  ElemNode* root = Read(Table("", " COLS=2",
                              "<TFOOT>" + Row({"f", "g"}) + "</TFOOT><TBODY>" + Row({"a", "b"}) +
                                  "</TBODY>"));
  ElemNode* tgroup = NthChild(root, 0);
  ElemNode* row = NthChild(NthChild(tgroup, 1), 0);
  std::string out = tabletest::Capture([&](OutBuffer* f) {
    Call(f, row, "tbl", "rowend");  // before any table: ends the line only
    Call(f, NthChild(row, 0), "tbl", "entrystart");
    Call(f, NthChild(row, 0), "tbl", "entryend");
    Call(f, NthChild(tgroup, 0), "tbl", "tablefoot");  // no group: no columns
    Call(f, nullptr, "tbl", "tablegroup");
    Call(f, nullptr, "tbl", "entryend");
    Call(f, nullptr, "tbl", "rowend");
    Call(f, nullptr, "tbl", "tableend");
  });
  EXPECT_EQ(out, "\a\n.TE\n");  // entryend's separator: b follows in the row
}

}  // namespace
}  // namespace qlx
