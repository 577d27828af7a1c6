#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

#include "doc/tree.h"
#include "testutil.h"
#include "translate/expand.h"
#include "util/fatal.h"
#include "util/settings.h"
#include "util/vartable.h"

namespace qlx {
namespace {

class ExpandTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = settings;
    root_ = test::ReadDocument(
        "Atitle CDATA Attr Title\nANAME CDATA MiXed\n(DOC\n-one \n(P\n)P\n?pi\n-two\n)DOC\n");
  }
  void TearDown() override { settings = saved_; }
  std::string Expand(const char* text, bool withElem = true) {
    return ExpandVariables(t_, text, withElem ? root_ : nullptr);
  }
  RunSettings saved_;
  Translation t_{nullptr, Diagnostics()};
  ElemNode* root_;
};

TEST_F(ExpandTest, AttributeHidesVariableAndNamesAreExact) {
  SetMapping(&t_.vars, "title", "Var Title");
  SetMapping(&t_.vars, "TITLE", "upper");
  EXPECT_EQ(Expand("<${title}>"), "<Attr Title>");
  EXPECT_EQ(Expand("<${title}>", false), "<Var Title>");
  EXPECT_EQ(Expand("${TITLE}"), "upper");
}

TEST_F(ExpandTest, DefaultsAndEmptyValues) {
  EXPECT_EQ(Expand("${lang en}"), "en");
  EXPECT_EQ(Expand("[${lang }]"), "[]");
  EXPECT_EQ(Expand("[${lang}]"), "[]");
  SetMapping(&t_.vars, "lang", "");
  EXPECT_EQ(Expand("[${lang en}]"), "[]") << "an empty value counts as found";
  EXPECT_EQ(Expand("${x a b c}"), "a b c");
}

TEST_F(ExpandTest, LowerCaseModifier) {
  EXPECT_EQ(Expand("${NAME:l}"), "mixed");
  EXPECT_EQ(Expand("${NAME:lower}"), "mixed");
  EXPECT_EQ(Expand("${NAME:L}"), "MiXed");
  EXPECT_EQ(Expand("${nope:l DeFault}"), "DeFault") << "defaults are not lowered";
}

TEST_F(ExpandTest, UpperCaseModifierAndTheDataOfASubtree) {
  EXPECT_EQ(Expand("${NAME:u}"), "MIXED");
  EXPECT_EQ(Expand("${NAME:upper}"), "MIXED");
  EXPECT_EQ(Expand("${NAME:U}"), "MiXed") << "only a lower-case u";
  testing::internal::CaptureStderr();
  EXPECT_EQ(Expand("${+content:l}"), "one two");
  testing::internal::GetCapturedStderr();
  ElemNode* doc = test::ReadDocument(
      "(TITLE\n-the \\n\\|[lt    ]\\|\\#233;x\n(B\n-bold\n(I\n-deep\n)I\n)B\n-\\012end\n)TITLE\n");
  // Blanks and record ends gathered into single spaces, none at the ends.
  EXPECT_EQ(ExpandVariables(t_, "${+text}", doc), "the \\|[lt    ]\\|\\#233;xbolddeep end");
  EXPECT_EQ(ExpandVariables(t_, "${+text:u}", doc), "THE \\|[lt    ]\\|\\#233;XBOLDDEEP END")
      << "escapes and SDATA names keep their case";
  testing::internal::CaptureStderr();
  EXPECT_EQ(ExpandVariables(t_, "${+content:u}", doc), "THE \\n\\|[lt    ]\\|\\#233;X\\012END");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "warning: ${+current} skipped element content\n");
}

TEST_F(ExpandTest, NestedBracesBotchedAndUnclosedReferences) {
  SetMapping(&t_.vars, "a{b}c", "nested");
  EXPECT_EQ(Expand("${a{b}c}!"), "nested!");
  testing::internal::CaptureStderr();
  EXPECT_EQ(Expand("pre ${a{b"), "pre ");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Botched variable use: pre ${a{b\n");
  SetMapping(&t_.vars, "abc", "v");
  EXPECT_EQ(Expand("x${abc"), "xv");
}

TEST_F(ExpandTest, ContentAndImmediateVariables) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(Expand("[${+content}]"), "[one two]");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "warning: ${+current} skipped element content\n"
            "warning: ${+current} skipped element content\n");
  testing::internal::CaptureStderr();
  EXPECT_EQ(Expand("[${+other}]"), "[]");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "unknown immediate variable: +other\n");
  EXPECT_EQ(Expand("[${+content}]", false), "[]");
}

TEST_F(ExpandTest, SpecialCallsStayButTheirReferencesExpand) {
  SetMapping(&t_.vars, "kind", "bullet");
  EXPECT_EQ(Expand("${_attval TYPE ${kind} 3}"), "${_attval TYPE bullet 3}");
  EXPECT_EQ(Expand("a $ b $x"), "a $ b $x");
  EXPECT_EQ(Expand("\\${title}"), "\\Attr Title");
}

TEST_F(ExpandTest, NoLengthLimits) {
  std::string big(100000, 'v');
  SetMapping(&t_.vars, "big", big);
  std::string name(2000, 'n');
  SetMapping(&t_.vars, name, "long-name");
  EXPECT_EQ(Expand("${big}${big}").size(), 200000u);
  EXPECT_EQ(Expand(("${" + name + "}").c_str()), "long-name");
}

}  // namespace
}  // namespace qlx

namespace qlx {
namespace {

// Spec texts are written with a variable table of their own.
class WriteSpecTextTest : public testing::Test {
 protected:
  void SetUp() override { saved_ = settings; }
  void TearDown() override { settings = saved_; }
  // What WriteSpecText writes for `text` on `elem`, and its messages.
  std::pair<std::string, std::string> Written(const char* text, ElemNode* elem) {
    OutBuffer out;
    Translation t(vars_, &out, Diagnostics());
    testing::internal::CaptureStderr();
    WriteSpecText(t, text, elem, &out, 1);
    std::string err = testing::internal::GetCapturedStderr();
    return {std::string(out.text()), err};
  }
  RunSettings saved_;
  Variables vars_;
};

TEST_F(WriteSpecTextTest, DocumentTextNeverBecomesASpecialCall) {
  ElemNode* root = test::ReadDocument("AT CDATA ${_!echo pwned}\n(DOC\n-x ${_gi} y\n)DOC\n");
  auto [out, err] = Written("[${T}][${+content}]", root);
  EXPECT_EQ(out, "[${_!echo pwned}][x ${_gi} y]");
  EXPECT_EQ(err, "") << "no call was made";
  // A variable set from the document stays document text.
  SetMappingText(&vars_, "v", "${_nosuch}", true);
  std::tie(out, err) = Written("${v}", root);
  EXPECT_EQ(out, "${_nosuch}");
  // The author's own variables may still hold calls.
  SetMapping(&vars_, "macro", "${_nosuch}");
  std::tie(out, err) = Written("${macro}", root);
  EXPECT_EQ(err, "Unknown special variable: nosuch\n");
}

// Document text next to, between and inside the author's calls: only the
// author's "${" makes a call, and the stretches between calls (with "\$"
// written as '$') are written in order.
TEST_F(WriteSpecTextTest, DocumentTextBesideCallsAndEscapedDollars) {
  ElemNode* root = test::ReadDocument("AT CDATA ${_gi}\nAU CDATA u\n(DOC\n)DOC\n");
  auto [out, err] = Written("${T}${_gi}${T}|${U}${T}${U}${_gi}", root);
  EXPECT_EQ(out, "${_gi}DOC${_gi}|u${_gi}uDOC");
  EXPECT_EQ(err, "");
  std::tie(out, err) = Written("x\\$y${_gi}\\$z\\n\\$^w", root);
  EXPECT_EQ(out, "x$yDOC$z\n$\nw");

  Translation t(nullptr, Diagnostics());
  Expansion exp = ExpandTracked(t, "[${T}]${U}${U}-", root);
  ASSERT_EQ(exp.text, "[${_gi}]uu-");
  ASSERT_TRUE(exp.anyFromDocument);
  std::string flags;
  for (bool b : exp.fromDocument) flags += b ? '1' : '0';
  EXPECT_EQ(flags, "0111111011" "0");
  EXPECT_FALSE(ExpandTracked(t, "${_gi} plain", root).anyFromDocument);
}

TEST_F(WriteSpecTextTest, EscapedDollarAndMismatchedBraces) {
  ElemNode* root = test::ReadDocument("(DOC\n)DOC\n");
  auto [out, err] = Written("a\\${_gi}b", root);
  EXPECT_EQ(out, "a${_gi}b");
  EXPECT_EQ(err, "");
  std::tie(out, err) = Written("a${_nosuch x y", root);
  EXPECT_EQ(out, "a");
  EXPECT_EQ(err, "Mismatched braces in TranSpec: {_nosuch x y\nUnknown special variable: nosuch\n");
}

}  // namespace
}  // namespace qlx
