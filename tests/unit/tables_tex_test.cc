// The tex format: the column format from per-column word lists, cells, row
// ends, rules, the persistent attribute state, check and clear.
#include <gtest/gtest.h>

#include <string>

#include "tables_testutil.h"

namespace qlx {
namespace {

using tabletest::Call;
using tabletest::Capture;
using tabletest::Read;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

class Tex : public testing::Test {
 protected:
  void SetUp() override { tabletest::ResetTables(); }

  // The column format of the document's root (the table).
  static std::string Format(const std::string& tags) {
    ElemNode* table = Read(tags);
    return Capture([&](std::FILE* f) { Call(f, table, "tex"); });
  }
  static std::string Rules(const std::string& tags) {
    ElemNode* table = Read(tags);
    return Capture([&](std::FILE* f) {
      Call(f, table, "tex");
      std::fputc('/', f);
      Call(f, table, "tex", "top");
      std::fputc('/', f);
      Call(f, table, "tex", "bottom");
    });
  }
};

void TexBefore(ElemNode* e, void* data) {
  std::FILE* f = static_cast<tabletest::Driver*>(data)->f;
  if (tabletest::Is(e, "TABLE")) {
    Call(f, e, "tex");
    Call(f, e, "tex", "top");
  }
  if (tabletest::Is(e, "ROW")) Call(f, e, "tex", "rowstart");
  if (tabletest::Is(e, "ENTRY")) Call(f, e, "tex", "cellstart");
}

void TexAfter(ElemNode* e, void* data) {
  std::FILE* f = static_cast<tabletest::Driver*>(data)->f;
  if (tabletest::Is(e, "ENTRY")) Call(f, e, "tex", "cellend");
  if (tabletest::Is(e, "ROW")) Call(f, e, "tex", "rowend");
  if (tabletest::Is(e, "TABLE")) Call(f, e, "tex", "bottom");
}

TEST_F(Tex, WorkedExample) {
  EXPECT_EQ(Format("<TABLE COLS=3 ALIGN=\"l c r\" COLSEP=\"1 1\"><TBODY></TBODY></TABLE>"),
            "|l | c | r|");
  tabletest::ResetTables();
  ElemNode* table = Read(
      "<TABLE COLS=3 ALIGN=\"l c r\" COLSEP=\"1 1\" COLWIDTH=\"1IN 2IN 1IN\"><TBODY>"
      "<ROW><ENTRY>a</ENTRY><ENTRY>b</ENTRY><ENTRY>c</ENTRY></ROW></TBODY></TABLE>");
  std::string out = Capture([&](std::FILE* f) {
    tabletest::Driver d{f};
    WalkTree(table, TexBefore, TexAfter, tabletest::WriteData, &d);
  });
  EXPECT_EQ(out, "|p{1in} | p{2in} | p{1in}|\\hline{a} & {b} & {c} \\\\ \\hline");
  // The lower case is the state's own copy; the document keeps its value.
  EXPECT_STREQ(FindAttValue(table, "COLWIDTH"), "1IN 2IN 1IN");
}

TEST_F(Tex, FrameDecidesOuterBarsAndRules) {
  const std::string rest = " COLS=1><TBODY></TBODY></TABLE>";
  EXPECT_EQ(Rules("<TABLE FRAME=NONE" + rest), "l//");
  EXPECT_EQ(Rules("<TABLE FRAME=TOP" + rest), "l/\\hline/");
  EXPECT_EQ(Rules("<TABLE FRAME=BOTTOM" + rest), "l//\\hline");
  EXPECT_EQ(Rules("<TABLE FRAME=SIDES" + rest), "|l|//");
  EXPECT_EQ(Rules("<TABLE FRAME=ALL" + rest), "|l|/\\hline/\\hline");
  tabletest::ResetTables();
  EXPECT_EQ(Rules("<TABLE" + rest), "|l|/\\hline/\\hline");
}

TEST_F(Tex, UnusableWordsFallBack) {
  // 0in and 5 are no widths: the alignment word, or "l", stands instead.
  EXPECT_EQ(Format("<TABLE COLS=3 FRAME=NONE COLWIDTH=\"2cm 0in 5\" ALIGN=\"c r c\"></TABLE>"),
            "p{2cm} r c");
  tabletest::ResetTables();
  EXPECT_EQ(Format("<TABLE COLS=3 FRAME=NONE COLWIDTH=\"2cm 0in 5\"></TABLE>"), "p{2cm} l l");
  // A list of the wrong length is not used at all.
  tabletest::ResetTables();
  EXPECT_EQ(Format("<TABLE COLS=3 FRAME=NONE ALIGN=\"c r\" COLWIDTH=\"1in 1in\"></TABLE>"),
            "l l l");
  tabletest::ResetTables();
  EXPECT_EQ(Format("<TABLE COLS=3 FRAME=NONE COLSEP=\"2 0 1\"></TABLE>"), "l || l l");
}

TEST_F(Tex, AttributesPersistAndTheFirstChildOverrides) {
  EXPECT_EQ(Format("<TABLE COLS=2 ALIGN=\"c c\" FRAME=NONE><TGROUP ALIGN=\"r r\"></TGROUP></TABLE>"),
            "r r");
  // The next table sets only COLS and FRAME: the ALIGN words carry over.
  EXPECT_EQ(Format("<TABLE COLS=2 FRAME=ALL></TABLE>"), "|r r|");
  EXPECT_EQ(Format("<TABLE></TABLE>"), "|r r|");
  // clear forgets the texts; the column count goes with them.
  ElemNode* t = Read("<TABLE></TABLE>");
  EXPECT_EQ(Capture([&](std::FILE* f) { Call(f, t, "tex", "clear"); }), "");
  EXPECT_EQ(Format("<TABLE COLS=2></TABLE>"), "|l l|");
}

TEST_F(Tex, CellsAndRowEnds) {
  ElemNode* table = Read(
      "<TABLE COLS=2><TBODY><ROW ROWSEP=1><ENTRY>a</ENTRY><ENTRY>b</ENTRY></ROW>"
      "<ROW ROWSEP=0><ENTRY>c</ENTRY><ENTRY>d</ENTRY><ENTRY>e</ENTRY></ROW></TBODY></TABLE>");
  std::string out = Capture([&](std::FILE* f) {
    tabletest::Driver d{f};
    WalkTree(table, TexBefore, TexAfter, tabletest::WriteData, &d);
  });
  EXPECT_EQ(out,
            "|l l|\\hline{a} & {b} \\\\[2mm] \\hline "
            "{c} & {d} {e} \\\\ \\hline");
}

TEST_F(Tex, CheckReportsListsThatDoNotFitCols) {
  ElemNode* root = Read(
      "<DOC><TABLE COLS=3 ALIGN=\"l C x\" COLWIDTH=\"1in\" COLSEP=\"1 1\"></TABLE>"
      "<TABLE COLS=3 ALIGN=\"l c\" COLSEP=\"1 1 1 1\"></TABLE>"
      "<ROW COLS=2 ALIGN=\"l r\" COLWIDTH=\"1in 1in\" COLSEP=\"1\"></ROW><P></P></DOC>");
  CaptureStderr();
  std::string out = Capture([&](std::FILE* f) {
    for (int i = 0; i < 4; ++i) Call(f, root->children[i], "tex", "check");
  });
  std::string err = GetCapturedStderr();
  EXPECT_EQ(out, "");
  std::string location = Capture([&](std::FILE* f) { PrintLocation(root->children[0], f); });
  std::string location2 = Capture([&](std::FILE* f) { PrintLocation(root->children[1], f); });
  EXPECT_EQ(err,
            "Table Check: ALIGN (2) value wrong: x\n"
            "Table Check: COLWIDTH ('1in') has wrong number of tokens.  Expecting 3.\n"
            "Table Check: Above problem in table located at:\n" +
                location +
                "Table Check: ALIGN ('l c') has wrong number of tokens.  Expecting 3.\n"
                "Table Check: COLWIDTH ('1in') has wrong number of tokens.  Expecting 3.\n"
                "Table Check: COLSEP ('1 1 1 1') has wrong number of tokens.  Expecting 3.\n"
                "Table Check: Above problem in table located at:\n" +
                location2 + "Table Check: Not pointing to a table element(P)!\n");
}

TEST_F(Tex, UnknownInstructionAndNullStream) {
  ElemNode* table = Read("<TABLE COLS=2 ALIGN=\"c c\"></TABLE>");
  CaptureStderr();
  Call(nullptr, table, "tex");
  Call(nullptr, table, "tex", "cellend");
  Call(nullptr, table, "tex", "middle");
  EXPECT_EQ(GetCapturedStderr(), "Unknown tex table instruction: middle\n");
  EXPECT_EQ(texTableState.texColumnCount, 2);  // the state is read all the same
  EXPECT_EQ(output.outputColumn, 0);
}

}  // namespace
}  // namespace qlx
