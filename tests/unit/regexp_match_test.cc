#include <gtest/gtest.h>

#include <string>

#include "regexp/regexp.h"
#include "testutil.h"

namespace qlx {
namespace {

// "no", or the bounds of the match and of groups 1 to 9 as offsets into
// the subject ("." for an unset group), trailing unset groups left out.
// Also checks that the plain test agrees, and leaves the positions alone.
std::string Spans(CompiledPattern* p, const std::string& subject) {
  const char* before = p->start[0];
  const bool matches = PatternMatches(p, subject.c_str());
  EXPECT_EQ(p->start[0], before);
  if (!MatchPattern(p, subject.c_str())) {
    EXPECT_FALSE(matches) << subject;
    return "no";
  }
  EXPECT_TRUE(matches) << subject;
  std::string out;
  int last = 0;
  for (int n = 0; n < 10; ++n)
    if (p->start[n] || p->end[n]) last = n;
  for (int n = 0; n <= last; ++n) {
    if (n) out += ' ';
    if (!p->start[n] || !p->end[n]) {
      out += '.';
      continue;
    }
    out += std::to_string(p->start[n] - subject.c_str()) + "-" +
           std::to_string(p->end[n] - subject.c_str());
  }
  return out;
}

std::string Spans(const char* pattern, const std::string& subject) {
  return Spans(CompilePattern(pattern), subject);
}

// Runs a match expecting a fatal error; returns what went to standard error.
std::string MatchError(CompiledPattern* p, const char* subject) {
  test::ThrowOnFatal guard;
  testing::internal::CaptureStderr();
  int status = -1;
  try {
    MatchPattern(p, subject);
  } catch (const test::FatalExit& e) {
    status = e.status;
  }
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, 1);
  return err;
}

TEST(MatchPattern, LeftmostMatchAndFirstWayWins) {
  EXPECT_EQ(Spans("a|ab", "ab"), "0-1");
  EXPECT_EQ(Spans("ab|a", "ab"), "0-2");
  EXPECT_EQ(Spans("x*", "abc"), "0-0");
  EXPECT_EQ(Spans("x*", "xxa"), "0-2");
  EXPECT_EQ(Spans("b+", "aabbb"), "2-5");
  EXPECT_EQ(Spans("a*ab", "aaab"), "0-4");
  EXPECT_EQ(Spans("a?a", "a"), "0-1");
  EXPECT_EQ(Spans("abc*", "abccc"), "0-5");
  EXPECT_EQ(Spans("abc*", "xab"), "1-3");
  EXPECT_EQ(Spans("abc+", "ab"), "no");
  EXPECT_EQ(Spans("c.*", "abcd"), "2-4");
  EXPECT_EQ(Spans(".*foo.*bar", "a foo b bar c"), "0-11");
  EXPECT_EQ(Spans(".*foo.*bar", "a foo b baz"), "no");
  EXPECT_EQ(Spans("\\.\\*", "a.*b"), "1-3");
  EXPECT_EQ(Spans("a{2}", "a{2}"), "0-4");
}

TEST(MatchPattern, EmptyMatchesAndAnchors) {
  EXPECT_EQ(Spans("", ""), "0-0");
  EXPECT_EQ(Spans("", "abc"), "0-0");
  EXPECT_EQ(Spans("$", "abc"), "3-3");
  EXPECT_EQ(Spans("^$", ""), "0-0");
  EXPECT_EQ(Spans("^$", "a"), "no");
  EXPECT_EQ(Spans("^b", "ab"), "no");
  EXPECT_EQ(Spans("a^b", "ab"), "no");
  EXPECT_EQ(Spans("a^b", "a^b"), "no");
  EXPECT_EQ(Spans("b$", "ab"), "1-2");
  EXPECT_EQ(Spans("b$", "ba"), "no");
  EXPECT_EQ(Spans("(^a|b)c", "ac"), "0-2 0-1");
  EXPECT_EQ(Spans("(^a|b)c", "xac"), "no");
  EXPECT_EQ(Spans(".", ""), "no");
  EXPECT_EQ(Spans("[^abc]", ""), "no");
  EXPECT_EQ(Spans("[^abc]", "abcd"), "3-4");
  EXPECT_EQ(Spans("[^abc]*$", "abc"), "3-3");
}

TEST(MatchPattern, ClassesCompareBytes) {
  EXPECT_EQ(Spans("[\xe9]", "caf\xe9"), "3-4");
  EXPECT_EQ(Spans("[^a]", "\xff"), "0-1");
  EXPECT_EQ(Spans("[\x80-\xff]+", "ab\x80\x90x"), "2-4");
  EXPECT_EQ(Spans("[]-a]+", "x]^_`ab"), "1-6");
  EXPECT_EQ(Spans("[a\\]", "\\"), "0-1");
}

TEST(MatchPattern, GroupsHoldTheirLastPass) {
  EXPECT_EQ(Spans("(a)*", "aaa"), "0-3 2-3");
  EXPECT_EQ(Spans("(a|b)*c", "abc"), "0-3 1-2");
  EXPECT_EQ(Spans("((a)b)+", "abab"), "0-4 2-4 2-3");
  // Group 2 took part only in the first pass and keeps it.
  EXPECT_EQ(Spans("((a)|b)+", "ab"), "0-2 1-2 0-1");
  EXPECT_EQ(Spans("(a)|b", "b"), "0-1");
  EXPECT_EQ(Spans("(a|b)?c", "c"), "0-1");
  EXPECT_EQ(Spans("(ab)?ab", "ab"), "0-2");
  EXPECT_EQ(Spans("(a*)b", "aab"), "0-3 0-2");
  EXPECT_EQ(Spans("(a+)+b", "aaab"), "0-4 0-3");
  EXPECT_EQ(Spans("x(a)?(b)", "xb"), "0-2 . 1-2");
  // First way, not longest: (c|bcd) needs the second alternative, (d*)
  // then matches empty at the end.
  EXPECT_EQ(Spans("(a|ab)(c|bcd)(d*)", "abcd"), "0-4 0-1 1-4 4-4");
  // Backtracking into an earlier pass of the loop.
  EXPECT_EQ(Spans("(a|ab)*c", "abac"), "0-4 2-3");
  EXPECT_EQ(Spans("(a|b)*(b)", "aab"), "0-3 1-2 2-3");
}

TEST(MatchPattern, PatternsAreReusable) {
  CompiledPattern* p = CompilePattern("(b+)c");
  EXPECT_EQ(Spans(p, "abbc"), "1-4 1-3");
  EXPECT_EQ(Spans(p, "xx"), "no");
  EXPECT_EQ(Spans(p, "bc"), "0-2 0-1");
}

TEST(MatchPattern, MustLiteralRejectsBeforeAnyAttempt) {
  // A program whose first node is spoiled shows whether an attempt ran.
  CompiledPattern* p = CompilePattern(".*foo.*bar");
  ASSERT_EQ(p->code[4], RX_ZeroOrMore);
  p->code[4] = 15;
  EXPECT_EQ(MatchPattern(p, "foo foo baz"), 0);
  EXPECT_EQ(MatchError(p, "foo bar"), "qlx_regexp(3): memory corruption");
}

TEST(MatchPattern, ErrorsAreFatal) {
  CompiledPattern* p = CompilePattern("ab");
  EXPECT_EQ(MatchError(p, nullptr), "qlx_regexp(3): NULL parameter");
  EXPECT_EQ(MatchError(nullptr, "ab"), "qlx_regexp(3): NULL parameter");

  p->code[0] = 0;
  EXPECT_EQ(MatchError(p, "ab"), "qlx_regexp(3): corrupted program");

  for (int opcode : {12, 20, 30, 40, 255}) {
    p = CompilePattern("ab");
    p->code[4] = static_cast<unsigned char>(opcode);
    EXPECT_EQ(MatchError(p, "ab"), "qlx_regexp(3): memory corruption") << opcode;
  }

  p = CompilePattern("ab");
  p->code[5] = p->code[6] = 0;  // the literal ends its chain without accept
  EXPECT_EQ(MatchError(p, "ab"), "qlx_regexp(3): corrupted pointers");

  p = CompilePattern("x*y");
  ASSERT_EQ(p->code[7], RX_Literal);
  p->code[7] = RX_Empty;  // a repeat operand that is no one-character node
  EXPECT_EQ(MatchError(p, "xy"), "qlx_regexp(3): internal foulup");
}

// Long subjects: no recursion on the machine stack, and no quadratic or
// exponential work for these shapes.  Ten megabytes; one under the address
// sanitizer, whose unoptimised build runs them about twenty times slower.
#ifdef __SANITIZE_ADDRESS__
constexpr size_t kLongSubject = 1000 * 1000;
#else
constexpr size_t kLongSubject = 10 * 1000 * 1000;
#endif

std::string Span(size_t from, size_t to) { return std::to_string(from) + "-" + std::to_string(to); }

TEST(MatchPattern, LongSubjects) {
  const size_t n = kLongSubject;
  std::string abs;
  for (size_t i = 0; i < n / 2; ++i) abs += "ab";

  CompiledPattern* alt = CompilePattern("(a|b)*c");
  EXPECT_EQ(Spans(alt, abs + "c"), Span(0, n + 1) + " " + Span(n - 1, n));
  EXPECT_EQ(Spans(alt, abs + "dc"), Span(n + 1, n + 2));

  CompiledPattern* tail = CompilePattern("(ab)+$");
  EXPECT_EQ(Spans(tail, abs), Span(0, n) + " " + Span(n - 2, n));
  EXPECT_EQ(Spans(tail, abs + "a"), "no");

  CompiledPattern* xy = CompilePattern(".*x.*y");
  EXPECT_EQ(Spans(xy, std::string(n / 2, 'y') + std::string(n / 2, 'x')), "no");
  EXPECT_EQ(Spans(xy, "x" + std::string(n, 'a') + "y"), Span(0, n + 2));
  EXPECT_EQ(Spans(xy, std::string(n, 'x') + "y"), Span(0, n + 1));

  // Every pass of this loop leaves a real choice open.
  const size_t m = n / 10;
  std::string shorter = abs.substr(0, m);
  EXPECT_EQ(Spans("(a|ab)*c", shorter + "c"), Span(0, m + 1) + " " + Span(m - 2, m));
  EXPECT_EQ(Spans("(a|ab)*[cd]", shorter + "e"), "no");
}

TEST(MatchPattern, ExponentialShapesFinish) {
  std::string twenty(20, 'a');
  std::string pattern;
  for (int i = 0; i < 20; ++i) pattern += "a?";
  pattern += twenty;
  EXPECT_EQ(Spans(pattern.c_str(), twenty), "0-20");
  EXPECT_EQ(Spans("(a|a)*[bc]", std::string(40, 'a')), "no");
  EXPECT_EQ(Spans("(a|aa)*$", std::string(60, 'a') + "b"), "61-61");
  EXPECT_EQ(Spans("((a|b)*c)*[de]", std::string(3000, 'a') + "c" + std::string(3000, 'b')), "no");
}

}  // namespace
}  // namespace qlx
