#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "regexp/regexp.h"
#include "testutil.h"

namespace qlx {
namespace {

std::vector<int> Program(const CompiledPattern* p) {
  return std::vector<int>(p->code, p->code + p->codeSize);
}

// The operand string of the node at `offset`.
std::string OperandAt(const CompiledPattern* p, int offset) {
  return reinterpret_cast<const char*>(p->code + offset + 3);
}

// Compiles `text` expecting a fatal error; returns what went to standard
// error.
std::string CompileError(const char* text) {
  test::ThrowOnFatal guard;
  testing::internal::CaptureStderr();
  int status = -1;
  try {
    CompilePattern(text);
  } catch (const test::FatalExit& e) {
    status = e.status;
  }
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, 1) << (text ? text : "(null)");
  return err;
}

TEST(CompilePattern, TwoAlternativesEachLinkedToTheAccept) {
  CompiledPattern* p = CompilePattern("ab|c");
  EXPECT_EQ(Program(p), (std::vector<int>{156, 6, 0, 9, 8, 0, 14, 'a', 'b', 0, 6, 0, 8, 8, 0, 5,
                                          'c', 0, 0, 0, 0}));
  EXPECT_EQ(p->firstChar, 0);
  EXPECT_EQ(p->anchored, 0);
  EXPECT_EQ(p->mustText, nullptr);
  EXPECT_EQ(p->mustLength, 0);
}

TEST(CompilePattern, StarOnAGroupLoopsBackToItsAlternative) {
  CompiledPattern* p = CompilePattern("a(bc)*d");
  EXPECT_EQ(Program(p), (std::vector<int>{156, 6, 0, 40,          // alternative
                                          8, 0, 5, 'a', 0,        // literal a
                                          6, 0, 21,               // alternative A
                                          21, 0, 3,               // group 1 opens
                                          6, 0, 9,                // alternative
                                          8, 0, 6, 'b', 'c', 0,   // literal bc
                                          31, 0, 3,               // group 1 closes
                                          7, 0, 18,               // back to A
                                          6, 0, 3,                // alternative B
                                          9, 0, 3,                // empty
                                          8, 0, 5, 'd', 0,        // literal d
                                          0, 0, 0}));
  EXPECT_EQ(p->firstChar, 'a');
  EXPECT_EQ(p->mustText, nullptr);  // the first piece is not repeated
}

TEST(CompilePattern, EmptyPatternIsOneEmptyAlternative) {
  CompiledPattern* p = CompilePattern("");
  EXPECT_EQ(Program(p), (std::vector<int>{156, 6, 0, 6, 9, 0, 3, 0, 0, 0}));
  EXPECT_EQ(p->firstChar, 0);
  EXPECT_EQ(p->anchored, 0);
}

TEST(CompilePattern, SimpleRepeatWrapsItsOperandAndGivesAMustLiteral) {
  CompiledPattern* p = CompilePattern("x*ab");
  EXPECT_EQ(Program(p), (std::vector<int>{156, 6, 0, 17, 10, 0, 8, 8, 0, 0, 'x', 0, 8, 0, 6, 'a',
                                          'b', 0, 0, 0, 0}));
  EXPECT_EQ(p->firstChar, 0);
  EXPECT_EQ(p->mustText, reinterpret_cast<const char*>(p->code + 15));
  EXPECT_EQ(p->mustLength, 2);
}

TEST(CompilePattern, RunBeforeARepeatGivesUpItsLastCharacter) {
  CompiledPattern* p = CompilePattern("abc*");
  EXPECT_EQ(Program(p), (std::vector<int>{156, 6, 0, 17, 8, 0, 6, 'a', 'b', 0, 10, 0, 8, 8, 0, 0,
                                          'c', 0, 0, 0, 0}));
  EXPECT_EQ(p->firstChar, 'a');
  EXPECT_EQ(p->mustText, nullptr);
}

TEST(CompilePattern, PlusOnAGroupAndOptionalPiece) {
  // (a)+: the group, then A: (back to the group) or B: empty.
  EXPECT_EQ(Program(CompilePattern("(a)+")),
            (std::vector<int>{156, 6, 0, 29, 21, 0, 3, 6, 0, 8, 8, 0, 5, 'a', 0, 31, 0, 3, 6, 0, 6,
                              7, 0, 17, 6, 0, 3, 9, 0, 3, 0, 0, 0}));
  // a?: A: a or B: empty, both ways meeting at the empty node.
  EXPECT_EQ(Program(CompilePattern("a?")),
            (std::vector<int>{156, 6, 0, 17, 6, 0, 8, 8, 0, 8, 'a', 0, 6, 0, 3, 9, 0, 3, 0, 0, 0}));
  // a+ and [ab]* are simple repeats.
  EXPECT_EQ(Program(CompilePattern("a+")),
            (std::vector<int>{156, 6, 0, 11, 11, 0, 8, 8, 0, 0, 'a', 0, 0, 0, 0}));
  EXPECT_EQ(Program(CompilePattern("[ab]*")),
            (std::vector<int>{156, 6, 0, 12, 10, 0, 9, 4, 0, 0, 'a', 'b', 0, 0, 0, 0}));
}

TEST(CompilePattern, MustLiteralIsTheLongestLaterOneOnTheMainChain) {
  CompiledPattern* p = CompilePattern(".*foo.*bar");
  EXPECT_STREQ(p->mustText, "bar");
  EXPECT_EQ(p->mustLength, 3);
  EXPECT_GT(p->mustText, reinterpret_cast<const char*>(p->code));
  EXPECT_LT(p->mustText, reinterpret_cast<const char*>(p->code + p->codeSize));

  EXPECT_STREQ(CompilePattern("a*xyz.*ab")->mustText, "xyz");
  // A group whose first piece is repeated makes the pattern expensive; the
  // walk stays on the main chain and does not look inside the group.
  EXPECT_STREQ(CompilePattern("(x*yyyy)ab")->mustText, "ab");
  EXPECT_EQ(CompilePattern("x*[ab]")->mustText, nullptr);
  EXPECT_EQ(CompilePattern("x*ab|cd")->mustText, nullptr);  // two alternatives
  EXPECT_EQ(CompilePattern("x+ab")->mustText, nullptr);     // + is not expensive
}

TEST(CompilePattern, AnchorAndFirstCharacterHints) {
  CompiledPattern* p = CompilePattern("^abc");
  EXPECT_EQ(p->anchored, 1);
  EXPECT_EQ(p->firstChar, 0);
  EXPECT_EQ(CompilePattern("\\^a")->firstChar, '^');
  EXPECT_EQ(CompilePattern("^a|b")->anchored, 0);
  EXPECT_EQ(CompilePattern("(^a)")->anchored, 0);
  EXPECT_EQ(CompilePattern("a|b")->firstChar, 0);
}

TEST(CompilePattern, ClassMembersInWrittenOrder) {
  struct Case {
    const char* pattern;
    int opcode;
    const char* members;
  } cases[] = {
      {"[]-a]", RX_InSet, "]^_`a"}, {"[a-]", RX_InSet, "a-"},   {"[a-a]", RX_InSet, "a"},
      {"[^abc]", RX_NotInSet, "abc"}, {"[^]x]", RX_NotInSet, "]x"}, {"[-a]", RX_InSet, "-a"},
      {"[a-c-e]", RX_InSet, "abcde"}, {"[\\n]", RX_InSet, "\\n"},  {"[aab]", RX_InSet, "aab"},
      {"[.*|(]", RX_InSet, ".*|("},
  };
  for (const Case& c : cases) {
    CompiledPattern* p = CompilePattern(c.pattern);
    EXPECT_EQ(p->code[4], c.opcode) << c.pattern;
    EXPECT_EQ(OperandAt(p, 4), c.members) << c.pattern;
  }
  // A range counts bytes as unsigned.
  CompiledPattern* high = CompilePattern("[\xfd-\xff]");
  EXPECT_EQ(OperandAt(high, 4), "\xfd\xfe\xff");
}

TEST(CompilePattern, NineGroupsAndLongPatternsFit) {
  EXPECT_EQ(CompilePattern("(((((((((a)))))))))")->code[4], RX_GroupOpen + 1);
  EXPECT_NE(CompilePattern("(a)(b)(c)(d)(e)(f)(g)(h)(i)"), nullptr);
  // magic, alternative, literal head, text and NUL, accept: 32766 bytes.
  std::string longest(32755, 'a');
  EXPECT_EQ(CompilePattern(longest.c_str())->codeSize, 32766);
  EXPECT_NE(CompilePattern("(a|)?"), nullptr);
  EXPECT_NE(CompilePattern("^?$?"), nullptr);
  EXPECT_NE(CompilePattern("a|"), nullptr);
  EXPECT_NE(CompilePattern("()"), nullptr);
  EXPECT_NE(CompilePattern("a{1}]-"), nullptr);
}

TEST(CompilePattern, ErrorsAreFatalWithTheirMessageAndNoNewline) {
  struct Case {
    const char* pattern;
    const char* message;
  } cases[] = {
      {nullptr, "NULL argument"},
      {"((((((((((a))))))))))", "too many ()"},
      {"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", "too many ()"},
      {"(a", "unmatched ()"},
      {"a)", "unmatched ()"},
      {"((a)", "unmatched ()"},
      {"(a))", "unmatched ()"},
      {"*a", "?+* follows nothing"},
      {"a|*b", "?+* follows nothing"},
      {"(+a)", "?+* follows nothing"},
      {"?", "?+* follows nothing"},
      {"a**", "nested *?+"},
      {"a*?", "nested *?+"},
      {"(ab)+*", "nested *?+"},
      {"a?+", "nested *?+"},
      {"(a|)*", "*+ operand could be empty"},
      {"^*", "*+ operand could be empty"},
      {"$+", "*+ operand could be empty"},
      {"(a*)+", "*+ operand could be empty"},
      {"()*", "*+ operand could be empty"},
      {"^**", "*+ operand could be empty"},
      {"ab\\", "trailing \\"},
      {"[abc", "unmatched []"},
      {"[]", "unmatched []"},
      {"[^]", "unmatched []"},
      {"[a-", "unmatched []"},
      {"[z-a]", "invalid [] range"},
      {"[a-c-b]", "invalid [] range"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CompileError(c.pattern), std::string("qlx_regexp(3): ") + c.message)
        << (c.pattern ? c.pattern : "(null)");

  std::string tooBig(32756, 'a');
  EXPECT_EQ(CompileError(tooBig.c_str()), "qlx_regexp(3): regexp too big");
}

}  // namespace
}  // namespace qlx
