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

TEST_F(Tbl, WorkedExample) {
  ElemNode* root = Read(Table(" FRAME=ALL", " COLS=2 COLSEP=1 ROWSEP=1",
                              "<COLSPEC COLWIDTH=1in/><COLSPEC ALIGN=CENTER/>"
                              "<TBODY>" + Row({"a", "b"}) + Row({"c", "d"}) + "</TBODY>"));
  CaptureStderr();
  EXPECT_EQ(TblOutput(root),
            ".TS\n"
            "tab(\a) allbox;\n"
            "lw(1in)| c|.\n"
            "a\ab\n"
            "_\a_\a\n"
            "c\ad\n"
            "_\a_\a\n"
            ".TE\n");
  EXPECT_EQ(GetCapturedStderr(), "");
}

TEST_F(Tbl, OptionsLineFollowsFrameRulesAndAlignment) {
  auto options = [](const std::string& tableAtts, const std::string& groupAtts,
                    const std::string& colspecs) {
    tabletest::ResetTables();
    std::string out = TblOutput(
        Read(Table(tableAtts, groupAtts, colspecs + "<TBODY>" + Row({"x", "y"}) + "</TBODY>")));
    size_t start = out.find('\n') + 1;
    return out.substr(start, out.find('\n', start) - start);
  };
  EXPECT_EQ(options("", " COLS=2 ALIGN=CENTER", ""), "tab(\a) center;");
  EXPECT_EQ(options(" FRAME=ALL", " COLS=2 ALIGN=CENTER", "<COLSPEC/><COLSPEC COLSEP=1 ROWSEP=1/>"),
            "tab(\a) allbox center;");
  // Only the last column specification decides.
  EXPECT_EQ(options(" FRAME=ALL", " COLS=2", "<COLSPEC COLSEP=1 ROWSEP=1/><COLSPEC COLSEP=1/>"),
            "tab(\a) box;");
  // Without COLSPEC the group's own specification is the last one.
  EXPECT_EQ(options(" FRAME=ALL", " COLS=2 COLSEP=1 ROWSEP=1", ""), "tab(\a) allbox;");
  EXPECT_EQ(options(" FRAME=TOPBOT", " COLS=2 COLSEP=1 ROWSEP=1", ""), "tab(\a);");
}

TEST_F(Tbl, TextBlocksByThresholdAndProcessingInstruction) {
  const std::string d35(35, 'x'), d36(36, 'y'), d40(40, 'z');
  ElemNode* root = Read(Table("", " COLS=2", "<TBODY>" +
                                                 Row({d35.c_str(), d36.c_str()}) +
                                                 Row({d40.c_str(), "<?hint>p"}) + "</TBODY>"));
  EXPECT_EQ(TblOutput(root),
            ".TS\ntab(\a);\nl l.\n" + d35 + "\aT{\n" + d36 + "\nT}\n" +  //
                "T{\n" + d40 + "\nT}\aT{\np\nT}\n.TE\n");
  EXPECT_EQ(tableState.textBlocks, 3);

  // -f 0: every entry with data is a block, an empty one is not.
  tabletest::ResetTables();
  settings.textBlockThreshold = 0;
  EXPECT_EQ(TblOutput(Read(Table("", " COLS=2", "<TBODY>" + Row({"a", ""}) + "</TBODY>"))),
            ".TS\ntab(\a);\nl l.\nT{\na\nT}\a\n.TE\n");
}

TEST_F(Tbl, ThirtyTwoTextBlocksWarnAtTableEnd) {
  for (int blocks : {31, 32}) {
    tabletest::ResetTables();
    settings.textBlockThreshold = 0;
    std::string rows;
    for (int i = 0; i < blocks; ++i) rows += Row({"t"});
    ElemNode* root = test::ReadDocument("L7\n" + tabletest::TagsToEsis(
                                                     Table("", " COLS=1", "<TBODY>" + rows + "</TBODY>")));
    CaptureStderr();
    std::string out = TblOutput(root);
    std::string err = GetCapturedStderr();
    EXPECT_EQ(out.substr(out.size() - 6), "}\n.TE\n");
    if (blocks == 31)
      EXPECT_EQ(err, "");
    else
      EXPECT_EQ(err,
                "# warning, line 7: created 32 blocks of filled text in one table\n"
                "#\t\t(31 is the limit in some systems)\n");
  }
}

TEST_F(Tbl, FormatLinesAreSharedByEqualNeighbours) {
  std::string same = Row({"a", "b"}) + Row({"a", "b"});
  EXPECT_EQ(TblOutput(Read(Table("", " COLS=2", "<TBODY>" + same + Row({"a", "b"}) + "</TBODY>"))),
            ".TS\ntab(\a);\nl l.\na\ab\na\ab\na\ab\n.TE\n");
  tabletest::ResetTables();
  EXPECT_EQ(TblOutput(Read(Table("", " COLS=2",
                                 "<TBODY>" + same +
                                     "<ROW><ENTRY>a</ENTRY><ENTRY ALIGN=RIGHT>b</ENTRY></ROW>"
                                     "</TBODY>"))),
            ".TS\ntab(\a);\nl l\nl r.\na\ab\na\ab\na\ab\n.TE\n");
  // The head's rows come first, then the body's.
  tabletest::ResetTables();
  EXPECT_EQ(TblOutput(Read(Table("", " COLS=2",
                                 "<THEAD><ROW><ENTRY ALIGN=CENTER>H</ENTRY><ENTRY>I</ENTRY></ROW>"
                                 "</THEAD><TBODY>" + same + "</TBODY>"))),
            ".TS\ntab(\a);\nc l\nl l.\nH\aI\na\ab\na\ab\n.TE\n");
}

TEST_F(Tbl, RowSpanPutsCaretBelowAndKeepsLaterEntriesInTheirColumns) {
  ElemNode* root =
      Read(Table("", " COLS=3",
                 "<TBODY><ROW><ENTRY>a</ENTRY><ENTRY MOREROWS=1>b</ENTRY><ENTRY>c</ENTRY></ROW>"
                 "<ROW><ENTRY>d</ENTRY><ENTRY ALIGN=RIGHT>e</ENTRY></ROW>"
                 "<ROW><ENTRY MOREROWS=1>f</ENTRY><ENTRY>g</ENTRY><ENTRY>h</ENTRY></ROW>"
                 "<ROW><ENTRY>i</ENTRY><ENTRY>j</ENTRY></ROW></TBODY>"));
  EXPECT_EQ(TblOutput(root),
            ".TS\ntab(\a);\n"
            "l l l\n"
            "l ^ r\n"
            "l l l\n"
            "^ l l.\n"
            "a\ab\ac\n"
            "d\a\ae\n"  // an empty field for the covered column
            "f\ag\ah\n"
            "\ai\aj\n"
            ".TE\n");
}

TEST_F(Tbl, HorizontalSpansWriteOneFieldPerEntry) {
  ElemNode* root = Read(Table(
      "", " COLS=3",
      "<COLSPEC COLNAME=c1/><COLSPEC COLNAME=c2/><COLSPEC COLNAME=c3/>"
      "<SPANSPEC SPANNAME=all NAMEST=c1 NAMEEND=c3 ALIGN=CENTER/>"
      "<TBODY><ROW><ENTRY SPANNAME=all>title</ENTRY></ROW>"
      "<ROW><ENTRY>a</ENTRY><ENTRY NAMEST=c2 NAMEEND=c3>bc</ENTRY></ROW></TBODY>"));
  EXPECT_EQ(TblOutput(root), ".TS\ntab(\a);\nc s s\nl l s.\ntitle\na\abc\n.TE\n");
}

TEST_F(Tbl, RuleLinesStartAtTheFirstRuledColumn) {
  ElemNode* root = Read(Table("", " COLS=3",
                              "<COLSPEC/><COLSPEC ROWSEP=1/><COLSPEC ROWSEP=1/><TBODY>" +
                                  Row({"a", "b", "c"}) +
                                  "<ROW><ENTRY ROWSEP=1>d</ENTRY><ENTRY ROWSEP=0>e</ENTRY>"
                                  "<ENTRY>f</ENTRY></ROW></TBODY>"));
  EXPECT_EQ(TblOutput(root),
            ".TS\ntab(\a);\nl l l.\n"
            "a\ab\ac\n\a_\a_\a\n"
            "d\ae\af\n_\a\a_\a\n.TE\n");
  // Table ROWSEP=1 rules every column of every row.
  tabletest::ResetTables();
  EXPECT_EQ(TblOutput(Read(Table(" ROWSEP=1 COLSEP=1", " COLS=2",
                                 "<COLSPEC ROWSEP=0/><TBODY>" + Row({"a", "b"}) + "</TBODY>"))),
            ".TS\ntab(\a);\nl| l|.\na\ab\n_\a_\a\n.TE\n");
}

TEST_F(Tbl, FootFormatsReplaceTheFormatsOnlyWhenTheyDiffer) {
  std::string body = "<TBODY>" + Row({"a", "b"}) + "</TBODY>";
  EXPECT_EQ(TblOutput(Read(Table("", " COLS=2", "<TFOOT>" + Row({"f", "g"}) + "</TFOOT>" + body))),
            ".TS\ntab(\a);\nl l.\nf\ag\na\ab\n.TE\n");
  tabletest::ResetTables();
  EXPECT_EQ(TblOutput(Read(Table(
                "", " COLS=2",
                "<TFOOT><ROW><ENTRY ALIGN=RIGHT>f</ENTRY><ENTRY>g</ENTRY></ROW></TFOOT>" + body))),
            ".TS\ntab(\a);\nl l.\n.T&\nr l.\nf\ag\na\ab\n.TE\n");
  // A foot without rows writes nothing.
  tabletest::ResetTables();
  EXPECT_EQ(TblOutput(Read(Table("", " COLS=2", "<TFOOT></TFOOT>" + body))),
            ".TS\ntab(\a);\nl l.\na\ab\n.TE\n");
}

TEST_F(Tbl, SecondTableGroupStartsANewTblTable) {
  ElemNode* root = Read(
      "<TABLE><TGROUP COLS=1><TBODY>" + Row({"a"}) + "</TBODY></TGROUP>"
      "<TGROUP COLS=3 ALIGN=CENTER><TBODY>" + Row({"b", "c", "d"}) + "</TBODY></TGROUP></TABLE>");
  EXPECT_EQ(TblOutput(root),
            ".TS\ntab(\a);\nl.\na\n"
            ".TE\n.TS\ntab(\a) center;\nc c c.\nb\ac\ad\n.TE\n");
}

TEST_F(Tbl, DispatchMessages) {
  ElemNode* root = Read("<TABLE></TABLE>");
  CaptureStderr();
  std::string out = tabletest::Capture([&](std::FILE* f) {
    Call(f, root, "tbl");
    Call(f, root, "html", "tablestart");
    Call(f, root, "tbl", "tablebegin");
    TableInstruction({"calstable"}, root, f);
  });
  EXPECT_EQ(out, "");
  EXPECT_EQ(GetCapturedStderr(),
            "Incomplete tbl table instruction\n"
            "Unknown table type: html\n"
            "Unknown tbl table instruction: tablebegin\n"
            "Incomplete table instruction: no table type (tbl or tex)\n");
}

TEST_F(Tbl, InstructionsOutOfOrderDoNotFail) {
  ElemNode* root = Read(Table("", " COLS=2",
                              "<TFOOT>" + Row({"f", "g"}) + "</TFOOT><TBODY>" + Row({"a", "b"}) +
                                  "</TBODY>"));
  ElemNode* tgroup = root->children[0];
  ElemNode* row = tgroup->children[1]->children[0];
  std::string out = tabletest::Capture([&](std::FILE* f) {
    Call(f, row, "tbl", "rowend");  // before any table: ends the line only
    Call(f, row->children[0], "tbl", "entrystart");
    Call(f, row->children[0], "tbl", "entryend");
    Call(f, tgroup->children[0], "tbl", "tablefoot");  // no group: no columns
    Call(f, nullptr, "tbl", "tablegroup");
    Call(f, nullptr, "tbl", "entryend");
    Call(f, nullptr, "tbl", "rowend");
    Call(f, nullptr, "tbl", "tableend");
  });
  EXPECT_EQ(out, "\a\n.TE\n");  // entryend's separator: b follows in the row
}

TEST_F(Tbl, NullStreamWritesNothingButKeepsStateAndMessages) {
  ElemNode* root = Read(Table("", " COLS=2",
                              "<TBODY><ROW><ENTRY COLNAME=nosuch>a</ENTRY><ENTRY>" +
                                  std::string(50, 'x') + "</ENTRY></ROW></TBODY>"));
  CaptureStderr();
  WalkTree(
      root,
      [](ElemNode* e, void*) {
        if (tabletest::Is(e, "TABLE")) Call(nullptr, e, "tbl", "tablestart");
        if (tabletest::Is(e, "TGROUP")) Call(nullptr, e, "tbl", "tablegroup");
        if (tabletest::Is(e, "ENTRY")) Call(nullptr, e, "tbl", "entrystart");
      },
      nullptr, nullptr, nullptr);
  EXPECT_EQ(GetCapturedStderr(), "? can't find column name 'nosuch'\n");
  EXPECT_EQ(tableState.textBlocks, 1);
  EXPECT_EQ(tableState.formats.size(), 1u);
  EXPECT_EQ(output.outputColumn, 0);
}

}  // namespace
}  // namespace qlx
