// The CALS table model: specifications with their inheritance, column
// references, row formats and their equality.
#include <gtest/gtest.h>

#include <string>

#include "tables_testutil.h"
#include "util/text.h"

namespace qlx {
namespace {

using tabletest::Read;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

class TableModel : public testing::Test {
 protected:
  void SetUp() override { tabletest::ResetTables(); }

  TableState& ts = tabletest::tables.tbl;

  // Reads the document and builds its first TGROUP (the root's first child
  // unless the root is the TGROUP).
  ElemNode* Group(std::string_view tags) {
    ElemNode* root = Read(tags);
    ElemNode* tgroup = tabletest::Is(root, "TGROUP") ? root : NthChild(root, 0);
    BuildTableGroup(ts, tgroup);
    return tgroup;
  }

  static std::string Keys(const RowFormat& f) {
    std::string keys;
    for (const ColumnFormat& c : f.cols) keys += c.key;
    return keys;
  }
};

TEST_F(TableModel, ColumnSpecsInheritFromTheGroupAndOverrideOneByOne) {
  Group(
      "<TGROUP COLS=4 ALIGN=CENTER COLSEP=1 ROWSEP=1 COLWIDTH=2in>"
      "<COLSPEC/><COLSPEC ALIGN=RIGHT COLSEP=0/><COLSPEC ROWSEP=yes COLWIDTH=3*/>"
      "<COLSPEC ALIGN=bogus/></TGROUP>");
  const auto& specs = ts.colSpecs;
  ASSERT_EQ(specs.size(), 5u);
  EXPECT_EQ(specs[0].number, 0);
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(specs[i].number, i);
  EXPECT_EQ(specs[1].align, ALIGN_Center);
  EXPECT_EQ(specs[2].align, ALIGN_Right);
  EXPECT_EQ(specs[3].align, ALIGN_Center);
  EXPECT_EQ(specs[4].align, ALIGN_Left);  // an unknown value is LEFT, not inherited
  EXPECT_TRUE(specs[1].colsep && specs[1].rowsep);
  EXPECT_FALSE(specs[2].colsep);  // COLSEP 0 under a group with 1
  EXPECT_TRUE(specs[2].rowsep);
  EXPECT_FALSE(specs[3].rowsep);  // only exactly "1" counts
  EXPECT_EQ(specs[1].colwidth, "2in");
  EXPECT_EQ(specs[3].colwidth, "3*");
  EXPECT_EQ(ts.columnCount, 4);
}

TEST_F(TableModel, SectionColumnSpecsRestartNumberingAndApplyToTheirRows) {
  ElemNode* tgroup = Group(
      "<TGROUP COLS=2><COLSPEC ALIGN=LEFT/>"
      "<THEAD><COLSPEC ALIGN=CHAR/><COLSPEC ALIGN=CENTER/><ROW><ENTRY>h</ENTRY><ENTRY>h</ENTRY></ROW></THEAD>"
      "<TBODY><COLSPEC ALIGN=RIGHT/><ROW><ENTRY>b</ENTRY><ENTRY>b</ENTRY></ROW></TBODY></TGROUP>");
  const auto& specs = ts.colSpecs;
  ASSERT_EQ(specs.size(), 5u);
  EXPECT_EQ(specs[2].number, 1);
  EXPECT_EQ(specs[2].section, SEC_Head);
  EXPECT_EQ(specs[3].number, 2);
  EXPECT_EQ(specs[4].number, 1);
  EXPECT_EQ(specs[4].section, SEC_Body);
  // Head rows take the first record of their section or of the group: the
  // group's column 1 comes first in the list, the head's own column 2 has
  // no group rival.  Body rows take their own section's record.
  EXPECT_EQ(Keys(BuildRowFormat(ts, NthChild(NthChild(tgroup, 1), 2), false, SEC_Head)), "lc");
  EXPECT_EQ(Keys(BuildRowFormat(ts, NthChild(NthChild(tgroup, 2), 1), false, SEC_Body)), "rl");
}

TEST_F(TableModel, ColumnsWithoutColspecTakeTheGroupsSpecification) {
  ElemNode* tgroup = Group(
      "<TGROUP COLS=3 ALIGN=RIGHT COLSEP=1 ROWSEP=1><COLSPEC ALIGN=LEFT COLSEP=0/><TBODY>"
      "<ROW><ENTRY>a</ENTRY><ENTRY>b</ENTRY><ENTRY COLNAME=nosuch ROWSEP=0>c</ENTRY></ROW>"
      "</TBODY></TGROUP>");
  CaptureStderr();
  RowFormat f = BuildRowFormat(ts, NthChild(NthChild(tgroup, 1), 0), true, SEC_Body);
  EXPECT_EQ(GetCapturedStderr(), "? can't find column name 'nosuch'\n");
  EXPECT_EQ(Keys(f), "lrr");
  EXPECT_FALSE(f.cols[0].colsep);
  EXPECT_TRUE(f.cols[1].colsep && f.cols[1].rowsep);
  EXPECT_TRUE(f.cols[2].colsep);
  EXPECT_FALSE(f.cols[2].rowsep);
}

TEST_F(TableModel, ColumnReferencesResolveByNameThenByNumber) {
  Group(
      "<TGROUP COLS=3><COLSPEC COLNAME=3/><COLSPEC COLNAME=c2/><COLSPEC COLNAME=c3/>"
      "<SPANSPEC SPANNAME=s NAMEST=c2 NAMEEND=3/></TGROUP>");
  CaptureStderr();
  EXPECT_EQ(FindColumn(ts, "c3", SEC_Body, REF_Namest)->number, 3);
  EXPECT_EQ(FindColumn(ts, "3", SEC_Body, REF_Namest)->number, 1);  // the name wins
  EXPECT_EQ(FindColumn(ts, "2", SEC_Body, REF_Namest)->number, 2);  // no name 2: by number
  EXPECT_EQ(GetCapturedStderr(), "");
  const SpanSpec& span = ts.spanSpecs[1];
  EXPECT_EQ(span.first->number, 2);
  EXPECT_EQ(span.last->number, 1);

  CaptureStderr();
  EXPECT_EQ(FindColumn(ts, "7", SEC_Body, REF_Namest), nullptr);
  EXPECT_EQ(FindColumn(ts, "nosuch", SEC_Body, REF_Nameend), nullptr);
  // Column 0 would be the group's own record, which is no column.
  EXPECT_EQ(FindColumn(ts, "0", SEC_Head, REF_Namest), nullptr);
  EXPECT_EQ(GetCapturedStderr(),
            "? spanspec namest points to unknown column '7'\n"
            "? spanspec nameend points to unknown column 'nosuch'\n"
            "? spanspec namest points to unknown column '0'\n");
}

TEST_F(TableModel, UnknownColumnNameGivesMessageAndThePositionsSpec) {
  ElemNode* tgroup = Group(
      "<TGROUP COLS=2><COLSPEC COLNAME=a ALIGN=RIGHT/><COLSPEC COLNAME=b ALIGN=CENTER/>"
      "<TBODY><ROW><ENTRY COLNAME=zz>x</ENTRY><ENTRY COLNAME=a>y</ENTRY></ROW></TBODY></TGROUP>");
  ElemNode* row = NthChild(NthChild(tgroup, 2), 0);
  CaptureStderr();
  RowFormat f = BuildRowFormat(ts, row, false, SEC_Body);
  EXPECT_EQ(GetCapturedStderr(), "? can't find column name 'zz'\n");
  // Position decides: the entry naming column a in column 2 is centred.
  EXPECT_EQ(Keys(f), "rc");
}

TEST_F(TableModel, ProportionalWidthsBecomeInchesOnlyWhenEveryColumnHasOne) {
  ElemNode* tgroup = Group(
      "<TGROUP COLS=3><COLSPEC COLWIDTH=2*/><COLSPEC COLWIDTH=1*/><COLSPEC COLWIDTH=1*/><TBODY>"
      "<ROW><ENTRY>a</ENTRY><ENTRY>b</ENTRY><ENTRY>c</ENTRY></ROW>"
      "<ROW><ENTRY>a</ENTRY><ENTRY COLWIDTH=1in>b</ENTRY><ENTRY>c</ENTRY></ROW>"
      "<ROW><ENTRY COLWIDTH=*>a</ENTRY><ENTRY COLWIDTH=*>b</ENTRY><ENTRY COLWIDTH=*>c</ENTRY></ROW>"
      "<ROW><ENTRY COLWIDTH=0.5*>a</ENTRY><ENTRY COLWIDTH=1.5*>b</ENTRY><ENTRY COLWIDTH=*>c</ENTRY></ROW>"
      "</TBODY></TGROUP>");
  ElemNode* body = NthChild(tgroup, 3);
  auto widths = [&](int row) {
    RowFormat f = BuildRowFormat(ts, NthChild(body, row), false, SEC_Body);
    std::string text;
    for (const ColumnFormat& c : f.cols) text += c.width + ",";
    return text;
  };
  EXPECT_EQ(widths(0), "2.750000i,1.375000i,1.375000i,");
  EXPECT_EQ(widths(1), ",1in,,");
  // Proportions adding up to 0: equal shares of the 5.5 inches.
  EXPECT_EQ(widths(2), "1.833333i,1.833333i,1.833333i,");
  EXPECT_EQ(widths(3), "1.375000i,4.125000i,0.000000i,");
}

TEST_F(TableModel, RowFormatsDifferInAnyColumnAndNeverShareWhenSpanningRows) {
  ElemNode* tgroup = Group(
      "<TGROUP COLS=2><TBODY>"
      "<ROW><ENTRY>a</ENTRY><ENTRY>b</ENTRY></ROW>"
      "<ROW><ENTRY>a</ENTRY><ENTRY ALIGN=RIGHT>b</ENTRY></ROW>"
      "<ROW><ENTRY>a</ENTRY><ENTRY>b</ENTRY></ROW>"
      "<ROW><ENTRY MOREROWS=1>a</ENTRY><ENTRY>b</ENTRY></ROW>"
      "</TBODY></TGROUP>");
  ElemNode* body = NthChild(tgroup, 0);
  RowFormat r0 = BuildRowFormat(ts, NthChild(body, 0), false, SEC_Body);
  RowFormat r1 = BuildRowFormat(ts, NthChild(body, 1), false, SEC_Body);
  RowFormat r2 = BuildRowFormat(ts, NthChild(body, 2), false, SEC_Body);
  RowFormat r3 = BuildRowFormat(ts, NthChild(body, 3), false, SEC_Body);
  EXPECT_TRUE(SameRowFormat(r0, r2));
  EXPECT_FALSE(SameRowFormat(r0, r1));
  EXPECT_EQ(r3.cols[0].moreRows, 1);
  EXPECT_EQ(Keys(r3), Keys(r0));
  EXPECT_FALSE(SameRowFormat(r3, r3));
  EXPECT_FALSE(SameRowFormat(r0, r3));
}

TEST_F(TableModel, SpanningEntryHoldsItsColumnsAndTheNextEntryFollows) {
  ElemNode* tgroup = Group(
      "<TGROUP COLS=4><COLSPEC COLNAME=c1/><COLSPEC COLNAME=c2/><COLSPEC COLNAME=c3/>"
      "<COLSPEC COLNAME=c4/><SPANSPEC SPANNAME=mid NAMEST=c2 NAMEEND=c3 ALIGN=CENTER/><TBODY>"
      "<ROW><ENTRY>a</ENTRY><ENTRY SPANNAME=mid>b</ENTRY><ENTRY>c</ENTRY></ROW>"
      "<ROW><ENTRY NAMEST=c1 NAMEEND=c3 ALIGN=RIGHT>a</ENTRY><ENTRY>d</ENTRY></ROW>"
      "<ROW><ENTRY NAMEST=c3 NAMEEND=c1>a</ENTRY><ENTRY>b</ENTRY><ENTRY>c</ENTRY><ENTRY>d</ENTRY>"
      "<ENTRY>extra</ENTRY></ROW>"
      "<ROW><ENTRY>a</ENTRY></ROW>"
      "</TBODY></TGROUP>");
  ElemNode* body = NthChild(tgroup, 5);
  // A body entry finds the group's span specification by name.
  EXPECT_EQ(Keys(BuildRowFormat(ts, NthChild(body, 0), false, SEC_Body)), "lcsl");
  EXPECT_EQ(Keys(BuildRowFormat(ts, NthChild(body, 1), false, SEC_Body)), "rssl");
  // A reversed span covers nothing; a fifth entry has no column; missing
  // entries leave plain columns.
  EXPECT_EQ(Keys(BuildRowFormat(ts, NthChild(body, 2), false, SEC_Body)), "llll");
  EXPECT_EQ(Keys(BuildRowFormat(ts, NthChild(body, 3), false, SEC_Body)), "llll");
}

TEST_F(TableModel, RowsUnderAVerticalSpanSkipTheCoveredColumns) {
  ElemNode* tgroup = Group(
      "<TGROUP COLS=3 COLSEP=0><COLSPEC ALIGN=LEFT/><COLSPEC ALIGN=CENTER/><COLSPEC ALIGN=RIGHT/>"
      "<SPANSPEC SPANNAME=s23 NAMEST=2 NAMEEND=3/><TBODY>"
      "<ROW><ENTRY>a</ENTRY><ENTRY MOREROWS=2 COLSEP=1>b</ENTRY><ENTRY>c</ENTRY></ROW>"
      "<ROW><ENTRY>d</ENTRY><ENTRY>e</ENTRY></ROW>"
      "<ROW><ENTRY>f</ENTRY><ENTRY>g</ENTRY></ROW>"
      "<ROW><ENTRY MOREROWS=1 SPANNAME=s23>h</ENTRY></ROW>"
      "</TBODY></TGROUP>");
  ElemNode* body = NthChild(tgroup, 4);
  RowPlacement p0, p1, p2;
  RowFormat r0 = BuildRowFormat(ts, NthChild(body, 0), false, SEC_Body, nullptr, &p0);
  EXPECT_EQ(p0.coverBelow[1].rowsLeft, 2);
  RowFormat r1 = BuildRowFormat(ts, NthChild(body, 1), false, SEC_Body, &p0.coverBelow, &p1);
  RowFormat r2 = BuildRowFormat(ts, NthChild(body, 2), false, SEC_Body, &p1.coverBelow, &p2);
  EXPECT_EQ(Keys(r1), "l^r");  // e stands in column 3 and takes its alignment
  EXPECT_TRUE(r1.cols[1].colsep);  // the spanning entry's rule goes on down
  EXPECT_EQ(p1.coveredBefore, (std::vector<int>{0, 1}));
  EXPECT_EQ(Keys(r2), "l^r");
  EXPECT_FALSE(SameRowFormat(r1, r2));  // each row of a span has its own line
  EXPECT_EQ(p2.coverBelow[1].rowsLeft, 0);  // the span ends with the third row

  // An entry spanning columns and rows covers "^ s" below; placed in column
  // 1 it holds columns 1 to 3.
  RowPlacement p3;
  RowFormat r3 = BuildRowFormat(ts, NthChild(body, 3), false, SEC_Body, nullptr, &p3);
  EXPECT_EQ(Keys(r3), "lls");
  EXPECT_EQ(p3.coverBelow[0].key, '^');
  EXPECT_EQ(p3.coverBelow[2].key, 's');
}

TEST_F(TableModel, ColumnCountWithoutCols) {
  Group("<TGROUP><COLSPEC/><COLSPEC/><TBODY><ROW><ENTRY>a</ENTRY></ROW></TBODY></TGROUP>");
  EXPECT_EQ(ts.columnCount, 2);
  Group("<TGROUP COLS=none><TBODY><ROW><ENTRY>a</ENTRY></ROW>"
        "<ROW><ENTRY>a</ENTRY><ENTRY>b</ENTRY><ENTRY>c</ENTRY></ROW></TBODY></TGROUP>");
  EXPECT_EQ(ts.columnCount, 3);
  Group("<TGROUP></TGROUP>");
  EXPECT_EQ(ts.columnCount, 0);
  CaptureStderr();
  Group("<TGROUP COLS=99999999999></TGROUP>");
  EXPECT_EQ(GetCapturedStderr(), "? table group has 2147483647 columns; only 10000 are used\n");
  EXPECT_EQ(ts.columnCount, kMaxColumns);
}

TEST_F(TableModel, WideTablesAndLongTextsWorkWhole) {
  std::string tags = "<TGROUP COLS=45>";
  std::string row;
  for (int i = 1; i <= 45; ++i) {
    std::string name = "column-" + std::string(50, 'n') + std::to_string(i);
    tags += "<COLSPEC COLNAME=" + name + " COLWIDTH=1.234567890123456789in/>";
    row += "<ENTRY COLNAME=" + name + ">x</ENTRY>";
  }
  tags += "<SPANSPEC SPANNAME=" + std::string(60, 's') + " NAMEST=column-" + std::string(50, 'n') +
          "40 NAMEEND=45/>";
  tags += "<TBODY><ROW>" + row + "</ROW></TBODY></TGROUP>";
  ElemNode* tgroup = Group(tags);
  ASSERT_EQ(ts.columnCount, 45);
  CaptureStderr();
  RowFormat f = BuildRowFormat(ts, NthChild(NthChild(tgroup, 46), 0), false, SEC_Body);
  EXPECT_EQ(GetCapturedStderr(), "");
  ASSERT_EQ(f.ncols(), 45);
  EXPECT_EQ(f.cols[44].width, "1.234567890123456789in");
  EXPECT_EQ(ts.spanSpecs[1].first->number, 40);
  EXPECT_EQ(ts.spanSpecs[1].last->number, 45);
}

TEST_F(TableModel, EntryDataLengthCountsStoredDataOfTheWholeSubtree) {
  ElemNode* entry = Read("<ENTRY>abc<P>d\\nef<?pi text><B>\\|[amp ]\\|</B></P>xy</ENTRY>");
  // "abc" 3, "d\nef" 5 as stored, "\|[amp ]\|" 10, "xy" 2; the PI nothing.
  EXPECT_EQ(EntryDataLength(entry), 20u);
  EXPECT_EQ(EntryDataLength(Read("<ENTRY></ENTRY>")), 0u);
}

TEST_F(TableModel, LeadingNumberTakesLeadingDigitsAndSaturates) {
  EXPECT_EQ(LeadingNumber("12abc"), 12);
  EXPECT_EQ(LeadingNumber("-3"), 0);
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber("123456789012345"), 2147483647);
}

}  // namespace
}  // namespace qlx
