#include <gtest/gtest.h>

#include "doc/tree.h"
#include "regexp/regexp.h"
#include "testutil.h"
#include "transpec/transpec.h"
#include "util/settings.h"
#include "util/vartable.h"
#include "translate/translate.h"

namespace qlx {
namespace {

class SpecReaderTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = settings;
    ResetDocument();
  }
  void TearDown() override { settings = saved_; }
  // Reads `text` as a spec file; returns what went to standard error.
  std::string Read(const std::string& text) {
    std::string path = dir_.Write("t.ts", text);
    testing::internal::CaptureStderr();
    ReadSpecs(t_, path);
    return testing::internal::GetCapturedStderr();
  }
  TranSpec& Spec(size_t i) { return *t_.run.specs.specs.at(i); }
  RunSettings saved_;
  Translation t_{nullptr, Diagnostics()};
  test::TempDir dir_;
};

TEST_F(SpecReaderTest, SpecsCloseAtDashLinesAndAnUnclosedOneIsDropped) {
  EXPECT_EQ(Read("GI: A\nStartText: a\n-\n-\nGI: B\n-- anything\nGI: C\n"), "");
  ASSERT_EQ(t_.run.specs.specs.size(), 3u);
  EXPECT_STREQ(Spec(0).gi, "A");
  EXPECT_EQ(Spec(0).lineNumber, 3);
  EXPECT_EQ(Spec(1).gi, nullptr) << "an empty spec between two separators";
  EXPECT_STREQ(Spec(2).gi, "B");
  EXPECT_EQ(Spec(0).next, &Spec(1));
}

TEST_F(SpecReaderTest, ContinuationLinesCommentsAndEmptyLines) {
  EXPECT_EQ(Read("# comment\n\nGI: p\nStartText: a\n b\n\t  # c\n   \nEndText: e\n-\n"), "");
  ASSERT_EQ(t_.run.specs.specs.size(), 1u);
  EXPECT_EQ(*Spec(0).startText, "a b # c ");
  EXPECT_EQ(*Spec(0).endText, "e");
  EXPECT_EQ(Read("-\n   \n-\n"), "Trans spec error, missing colon (skipping line):\n     \n");
}

TEST_F(SpecReaderTest, CaseFoldingOfNames) {
  Read("GI: para\n-\nGI: _Start\n-\nGI: #x\n-\nVar: foldcase 0\nGI: para\n-\n");
  EXPECT_STREQ(Spec(0).gi, "PARA");
  EXPECT_STREQ(Spec(1).gi, "_Start");
  EXPECT_STREQ(Spec(2).gi, "#x");
  EXPECT_STREQ(Spec(3).gi, "para");
  EXPECT_EQ(settings.foldcase, 0);
}

TEST_F(SpecReaderTest, KeywordsAndTheirMessages) {
  std::string err = Read(
      "GI : x\nNoColon here\nBogus: 1\nIgnore: ALL\nIgnore: data\nVerbatim: no\n"
      "SpecID: 12t\nAction: x\nNthChild: -2\nContext: a:b\nStartText:\n"
      "StartText: second\nAttValue: A 1\nAttValue: B\n-\n");
  EXPECT_EQ(err,
            "Unknown translation spec (skipping it): GI : x\n"
            "Trans spec error, missing colon (skipping line):\n  NoColon here\n"
            "Unknown translation spec (skipping it): Bogus: 1\n"
            "Bad 'Ignore:' arg in transpec (line 4): ALL\n");
  TranSpec& s = Spec(0);
  EXPECT_EQ(s.ignore, IGNORE_Data);
  EXPECT_EQ(s.verbatim, 1);
  EXPECT_EQ(s.specId, 12);
  EXPECT_EQ(s.action, 0);
  EXPECT_EQ(s.nthChild, -2);
  EXPECT_EQ(*s.context, "a:b") << "only the first colon ends the keyword";
  EXPECT_NE(s.contextPattern, nullptr) << "a colon makes the context a pattern";
  EXPECT_EQ(*s.startText, "second");
  ASSERT_EQ(s.attValues.size(), 2u);
  EXPECT_EQ(s.attValues[0].name, "A");
  EXPECT_EQ(s.attValues[0].patternText, "1");
  EXPECT_EQ(s.attValues[1].patternText, ".");
}

TEST_F(SpecReaderTest, IgnoreLineNumberIsTheLastContinuationLine) {
  EXPECT_EQ(Read("GI: x\nIgnore: some\n thing\n-\n"),
            "Bad 'Ignore:' arg in transpec (line 3): some thing\n");
}

TEST_F(SpecReaderTest, TablesAndVarLinesActWhileReading) {
  Read("Var: kind bullet\nGI: x\nSet: a 1\nSet: a 2\nSet: warnings 0\nIncrement: n 2\n"
       "Relation: child TITLE\nAttValue: TYPE ${kind}x\n-\n");
  TranSpec& s = Spec(0);
  ASSERT_NE(s.setVars, nullptr);
  EXPECT_EQ(s.setVars->count(), 1u);
  EXPECT_EQ(s.setVars->entries[0].value, "2");
  EXPECT_EQ(settings.warnings, 0);
  EXPECT_EQ(s.incrementVars->entries[0].value, "2");
  EXPECT_EQ(s.relations->entries[0].name, "child");
  EXPECT_EQ(s.attValues[0].patternText, "bulletx");
}

TEST_F(SpecReaderTest, ContextForms) {
  Read("Context: LIST\n-\nContext: ITEM LIST\n-\nContext: ITEM  LIST\n-\nContext: LIST.ITEM\n-\n"
       "Context: A-B\n-\nContext: ITEM$\n-\nContext: (A|B) C\n-\nContext:\n-\n");
  EXPECT_EQ(*Spec(0).parentName, "LIST");
  EXPECT_FALSE(Spec(0).context);
  EXPECT_EQ(Spec(1).contextDepth, 2);
  EXPECT_EQ(Spec(1).contextPattern, nullptr);
  EXPECT_EQ(Spec(2).contextDepth, 2);
  EXPECT_EQ(*Spec(3).parentName, "LIST.ITEM");
  EXPECT_EQ(*Spec(4).parentName, "A-B");
  EXPECT_EQ(Spec(5).contextDepth, 40);
  EXPECT_NE(Spec(5).contextPattern, nullptr);
  EXPECT_NE(Spec(6).contextPattern, nullptr);
  EXPECT_EQ(*Spec(7).parentName, "") << "an empty context never matches";
}

TEST_F(SpecReaderTest, NameListsAndContentPatterns) {
  Read("GI: P LI\nContent: ^a\n-\nGI: P\n-\n");
  EXPECT_EQ(Spec(0).gi, nullptr);
  ASSERT_EQ(Spec(0).giList.size(), 2u);
  EXPECT_STREQ(Spec(0).giList[1], "LI");
  EXPECT_NE(Spec(0).contentPattern, nullptr);
  EXPECT_STREQ(Spec(1).gi, "P");
  EXPECT_TRUE(Spec(1).giList.empty());
}

TEST_F(SpecReaderTest, VariableTestsWithoutValuesWarn) {
  std::string err = Read("VarValue: debug\n-\nVarValue:\n-\nVarREValue: mode\n-\nPAttSet:\n-\n");
  EXPECT_EQ(err,
            "Warning: 'VarValue:' without a value (line 1): it tests only that 'debug' is set.\n"
            "Warning: 'VarValue:' without a variable name (line 3): test ignored.\n"
            "Warning: 'VarREValue:' without a value (line 5): it tests only that 'mode' is set.\n"
            "Warning: empty 'PAttSet:' (line 7): test ignored.\n");
  EXPECT_EQ(*Spec(0).varValueName, "debug");
  EXPECT_FALSE(Spec(0).varValue);
  EXPECT_FALSE(Spec(1).varValueName);
  EXPECT_NE(Spec(2).varREValuePattern, nullptr);
  EXPECT_FALSE(Spec(3).pAttSet);
}

TEST_F(SpecReaderTest, MissingFileLeavesTheListEmpty) {
  testing::internal::CaptureStderr();
  EXPECT_FALSE(ReadSpecs(t_, "/nonexistent/spec.ts"));
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Can not open translation spec file '/nonexistent/spec.ts'.\n"),
            std::string::npos);
  EXPECT_TRUE(t_.run.specs.specs.empty());
}

TEST_F(SpecReaderTest, LongLinesAreReadWhole) {
  std::string text(100000, 'x');
  Read("StartText: " + text + "\n" + " " + text + "\n-\n");
  EXPECT_EQ(Spec(0).startText->size(), 200001u);
}

}  // namespace
}  // namespace qlx
