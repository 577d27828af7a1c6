// The tex format's state: what persists, what the first child overrides,
// what clear forgets, and that the document's own values stay untouched.
// (The instructions' output is checked by the end-to-end cases.)
#include <gtest/gtest.h>

#include <string>

#include "tables_testutil.h"

namespace qlx {
namespace {

using tabletest::Call;
using tabletest::Capture;
using tabletest::Read;
using tabletest::tables;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

class Tex : public testing::Test {
 protected:
  void SetUp() override { tabletest::ResetTables(); }

  // The column format of the document's root (the table).
  static std::string Format(const std::string& tags) {
    ElemNode* table = Read(tags);
    return Capture([&](OutBuffer* f) { Call(f, table, "tex"); });
  }
};

TEST_F(Tex, ColumnWidthsAreLoweredInTheStateOnly) {
  ElemNode* table = Read("<TABLE COLS=2 FRAME=NONE COLWIDTH=\"1IN 2Cm\"></TABLE>");
  EXPECT_EQ(Capture([&](OutBuffer* f) { Call(f, table, "tex"); }), "p{1in} p{2cm}");
  // Attribute values are shared texts of the document: they keep their case.
  EXPECT_STREQ(FindAttValue(table, "COLWIDTH"), "1IN 2Cm");
  EXPECT_EQ(*tables.tex.colwidthText, "1in 2cm");
}

TEST_F(Tex, AttributesPersistAndTheFirstChildOverrides) {
  EXPECT_EQ(Format("<TABLE COLS=2 ALIGN=\"c c\" FRAME=NONE><TGROUP ALIGN=\"r r\"></TGROUP></TABLE>"),
            "r r");
  // The next table sets only COLS and FRAME: the ALIGN words carry over.
  EXPECT_EQ(Format("<TABLE COLS=2 FRAME=ALL></TABLE>"), "|r r|");
  EXPECT_EQ(Format("<TABLE></TABLE>"), "|r r|");
  // clear forgets the texts and the column count; the rule flags stay.
  ElemNode* t = Read("<TABLE></TABLE>");
  EXPECT_EQ(Capture([&](OutBuffer* f) { Call(f, t, "tex", "clear"); }), "");
  EXPECT_FALSE(tables.tex.alignText || tables.tex.frameText || tables.tex.colsText);
  EXPECT_EQ(tables.tex.texColumnCount, 0);
  EXPECT_TRUE(tables.tex.topRule);
  EXPECT_EQ(Format("<TABLE COLS=2></TABLE>"), "|l l|");
}

// fill: shares from the COLSPECs (COLNUM may skip one), fixed lengths
// taken from the line first, unreadable widths counted as one star.
TEST_F(Tex, FillSharesTheLineByColumnWidths) {
  ElemNode* group = Read(
      "<TGROUP COLS=4 FRAME=NONE><COLSPEC COLWIDTH=\"1.5*\"></COLSPEC>"
      "<COLSPEC COLNUM=3 COLWIDTH=\"2IN\"></COLSPEC><COLSPEC COLWIDTH=\"x\"></COLSPEC></TGROUP>");
  std::string col = "-2\\tabcolsep-\\arrayrulewidth\\relax}";
  EXPECT_EQ(Capture([&](OutBuffer* f) { Call(f, group, "tex", "fill"); }),
            "p{\\dimexpr(\\linewidth-2in)*150/350" + col +
            " p{\\dimexpr(\\linewidth-2in)*100/350" + col + " p{\\dimexpr2in" + col +
            " p{\\dimexpr(\\linewidth-2in)*100/350" + col);
  EXPECT_EQ(tables.tex.texColumnCount, 4);
}

TEST_F(Tex, UnknownInstructionAndNullStream) {
  ElemNode* table = Read("<TABLE COLS=2 ALIGN=\"c c\"></TABLE>");
  CaptureStderr();
  Call(nullptr, table, "tex");
  Call(nullptr, table, "tex", "cellend");
  Call(nullptr, table, "tex", "middle");
  EXPECT_EQ(GetCapturedStderr(), "Unknown tex table instruction: middle\n");
  EXPECT_EQ(tables.tex.texColumnCount, 2);  // the state is read all the same
}

}  // namespace
}  // namespace qlx
