#include <gtest/gtest.h>

#include "doc/query.h"
#include "doc/tree.h"
#include "testutil.h"
#include "translate/match.h"
#include "transpec/transpec.h"
#include "util/fatal.h"
#include "util/settings.h"
#include "util/vartable.h"
#include "translate/translate.h"

namespace qlx {
namespace {

// A document with lists, items and paragraphs to match against.
const char* kDoc =
    "AROLE CDATA top\n(DOC\n"
    "ATYPE CDATA bullet\n(LIST\n(ITEM\n(P\n-first para\n)P\n(P\n-second\n)P\n)ITEM\n"
    "ATYPE CDATA \n(ITEM\n(TITLE\n)TITLE\n(P\n)P\n)ITEM\n)LIST\n"
    "(P\n-loose\n)P\n)DOC\n";

class MatchTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = settings;
    root_ = test::ReadDocument(kDoc);
    list_ = NthChild(root_, 0);
    item1_ = NthChild(list_, 0);
    item2_ = NthChild(list_, 1);
    p1_ = NthChild(item1_, 0);
    p2_ = NthChild(item1_, 1);
    p3_ = NthChild(item2_, 1);
    loose_ = NthChild(root_, 1);
  }
  void TearDown() override { settings = saved_; }
  void Load(const std::string& text) { ReadSpecs(t_, dir_.Write("m.ts", text)); }
  // The StartText of the spec chosen for e ("<empty>" for the empty spec).
  std::string Chosen(ElemNode* e, int wanted = 0) {
    TranSpec* s = MatchSpec(t_, e, wanted);
    if (s == &t_.run.specs.empty) return "<empty>";
    return s->startText ? *s->startText : "<no text>";
  }
  RunSettings saved_;
  Translation t_{nullptr, Diagnostics()};
  test::TempDir dir_;
  ElemNode *root_, *list_, *item1_, *item2_, *p1_, *p2_, *p3_, *loose_;
};

TEST_F(MatchTest, FirstSpecInFileOrderWinsAcrossNamedAndUnnamedSpecs) {
  Load("GI: P\nContext: NONE\nStartText: ctx\n-\nContent: ^second\nStartText: unnamed\n-\n"
       "GI: P\nStartText: plain\n-\nGI: P ITEM\nStartText: list\n-\n");
  EXPECT_EQ(Chosen(p1_), "plain");
  EXPECT_EQ(Chosen(p2_), "unnamed") << "an earlier spec without a name comes first";
  EXPECT_EQ(Chosen(item1_), "list");
}

TEST_F(MatchTest, ParentAndPlainAndPatternContexts) {
  Load("GI: P\nContext: ITEM LIST\nStartText: deep\n-\nGI: P\nContext: DOC\nStartText: top\n-\n"
       "GI: ITEM\nContext: ^LI\nStartText: pat\n-\nGI: LIST\nContext: DOC X\nStartText: no\n-\n");
  EXPECT_EQ(Chosen(p1_), "deep");
  EXPECT_EQ(Chosen(loose_), "top");
  EXPECT_EQ(Chosen(item1_), "pat");
  testing::internal::CaptureStderr();
  EXPECT_EQ(Chosen(list_), "<empty>");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Warning: transpec not found for LIST\n");
}

TEST_F(MatchTest, AttributesAndParentAttributes) {
  Load("Var: want bullet\nGI: ITEM\nPAttSet: TYPE ${want}\nAttValue: TYPE\nStartText: both\n-\n"
       "GI: ITEM\nPAttSet: TYPE\nStartText: parent\n-\nGI: DOC\nPAttSet: ROLE\nStartText: root\n-\n"
       "GI: LIST\nAttValue: TYPE ^bul\nStartText: att\n-\n");
  EXPECT_EQ(Chosen(item1_), "parent") << "item 1 lacks TYPE";
  EXPECT_EQ(Chosen(item2_), "parent") << "an empty TYPE fails the presence test";
  EXPECT_EQ(Chosen(root_), "root") << "the root passes a parent-attribute test";
  EXPECT_EQ(Chosen(list_), "att");
}

TEST_F(MatchTest, RelationsPositionsVariablesAndContent) {
  Load("GI: ITEM\nRelation: child TITLE\nStartText: has-title\n-\n"
       "GI: ITEM\nRelation: nephew X\nStartText: never\n-\n"
       "GI: P\nNthChild: -1\nStartText: last\n-\nGI: P\nNthChild: 1\nStartText: first\n-\n"
       "GI: DOC\nNthChild: 1\nStartText: root-first\n-\n"
       "GI: LIST\nVarValue: mode print\nStartText: var\n-\n"
       "GI: LIST\nVarREValue: mode ^scr\nStartText: re\n-\nGI: *\nStartText: star\n-\n");
  testing::internal::CaptureStderr();
  EXPECT_EQ(Chosen(item2_), "has-title");
  EXPECT_EQ(Chosen(item1_), "star");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Unknown relationship: nephew\n");
  EXPECT_EQ(Chosen(p1_), "first");
  EXPECT_EQ(Chosen(p2_), "last");
  EXPECT_EQ(Chosen(root_), "star") << "the root matches no positive NthChild";
  EXPECT_EQ(Chosen(list_), "star");
  SetMapping(&t_.vars, "mode", "screen");
  EXPECT_EQ(Chosen(list_), "re");
  SetMapping(&t_.vars, "mode", "print");
  EXPECT_EQ(Chosen(list_), "var");
}

TEST_F(MatchTest, ActionsRedirectOnceAndMissingTargetsWarnOnce) {
  Load("GI: P\nAction: 7\nStartText: p\n-\nGI: LIST\nAction: 99\n-\n"
       "GI: NONE\nSpecID: 7\nStartText: seven\n-\n");
  EXPECT_EQ(Chosen(p1_), "seven");
  testing::internal::CaptureStderr();
  EXPECT_EQ(Chosen(list_), "<empty>");
  EXPECT_EQ(Chosen(list_), "<empty>");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Warning: transpec ID (99) not found for LIST.\n");
}

TEST_F(MatchTest, WantedSpecIdIgnoresTheNameButAppliesTheTests) {
  Load("GI: OTHER\nSpecID: 5\nContent: nomatch\nStartText: a\n-\n"
       "GI: OTHER\nSpecID: 5\nContent: para\nStartText: b\n-\n");
  EXPECT_EQ(Chosen(p1_, 5), "b");
  settings.warnings = 1;
  testing::internal::CaptureStderr();
  EXPECT_EQ(Chosen(p2_, 5), "<empty>");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "no warning for a named action";
}

TEST_F(MatchTest, WarningsOffSilenceTheNotFoundWarning) {
  Load("GI: X\n-\n");
  settings.warnings = 0;
  testing::internal::CaptureStderr();
  EXPECT_EQ(Chosen(p1_), "<empty>");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(MatchTest, AssignSpecsCoversTheSubtreeAndFindSpecById) {
  Load("GI: P\nSpecID: 3\nStartText: p\n-\nGI: ITEM\nStartText: i\n-\nGI: *\n-\n");
  AssignSpecs(t_, list_);
  EXPECT_EQ(ElementSpec(t_, root_), nullptr);
  EXPECT_EQ(*ElementSpec(t_, item1_)->startText, "i");
  EXPECT_EQ(*ElementSpec(t_, p3_)->startText, "p");
  EXPECT_EQ(FindSpecById(t_.run.specs, 3), ElementSpec(t_, p3_));
  EXPECT_EQ(*FindSpecById(t_.run.specs, 0)->startText, "i") << "0 finds the first spec without a SpecID";
  EXPECT_EQ(FindSpecById(t_.run.specs, 4), nullptr);
}

// An assignment covers one subtree: a later one, on another subtree,
// leaves no element outside it with the earlier assignment's spec.
TEST_F(MatchTest, ANewAssignmentForgetsTheLastOne) {
  Load("GI: P\nStartText: first\n-\nGI: *\n-\n");
  AssignSpecs(t_, root_);
  EXPECT_EQ(*ElementSpec(t_, loose_)->startText, "first");
  AssignSpecs(t_, item1_);
  EXPECT_EQ(*ElementSpec(t_, p1_)->startText, "first");
  EXPECT_EQ(ElementSpec(t_, loose_), nullptr);
  EXPECT_EQ(ElementSpec(t_, root_), nullptr);
  EXPECT_EQ(ElementSpec(t_, p3_), nullptr);
}

// A plain context is compared name by name with the nearest ancestors.
TEST_F(MatchTest, PlainContextsCompareWholeNames) {
  Load("GI: P\nContext: IT LIST\nStartText: part\n-\nGI: P\nContext: ITEM  LIST\nStartText: two\n-\n"
       "GI: P\nContext: ITEM LIST DOC X\nStartText: long\n-\nGI: P\nContext: ITEM LIST DOC\nStartText: all\n-\n");
  EXPECT_EQ(Chosen(p1_), "all");
}

}  // namespace
}  // namespace qlx
