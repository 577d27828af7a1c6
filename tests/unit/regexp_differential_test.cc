// Differential tests of the matcher: against a plain recursive interpreter
// of the byte program (same answers and group positions, on every pattern
// the compiler accepts), and against the system's POSIX extended regular
// expressions on the syntax the two languages share.
//
// For POSIX,
// Left out, as known differences:
//  - '{' and '}' (POSIX intervals; plain characters here);
//  - '\' before an ordinary character (back-references and GNU operators
//    in the system library; the character itself here), and '[' inside a
//    class (POSIX '[:', '[.', '[='); only metacharacters are escaped;
//  - ranges other than ascending ranges of letters (POSIX ranges follow
//    the locale's collation);
//  - what this language rejects but POSIX accepts: '*' or '+' on an
//    operand that can match empty, a repeat after a repeat;
//  - a repeat directly after '^' or '$' (the system library rejects it);
//  - where a match ends and the group positions: POSIX takes the longest
//    match, this matcher the first one found.  Both find the leftmost
//    start, so the yes/no answer and the start are compared.

#include <gtest/gtest.h>
#include <regex.h>

#include <cstring>
#include <random>
#include <string>

#include "regexp/regexp.h"
#include "testutil.h"

namespace qlx {
namespace {

class PatternMaker {
 public:
  explicit PatternMaker(unsigned seed) : rng_(seed) {}

  std::string Pattern(int depth) {
    std::string out = Alternative(depth);
    while (Chance(15)) out += "|" + Alternative(depth);
    return out;
  }

  std::string Subject(int longest = 9) {
    static const char kChars[] = "aabbc.";
    std::string s;
    for (int n = Pick(longest + 1); n > 0; --n) s += kChars[Pick(6)];
    return s;
  }

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  bool Chance(int percent) { return Pick(100) < percent; }

  std::string Alternative(int depth) {
    std::string out;
    for (int n = Pick(4) + (Chance(90) ? 1 : 0); n > 0; --n) {
      std::string atom = Atom(depth);
      out += atom;
      if (atom != "^" && atom != "$" && Chance(30)) out += "*+?"[Pick(3)];
    }
    return out;
  }

  std::string Atom(int depth) {
    switch (Pick(depth > 0 ? 12 : 10)) {
      case 0:
      case 1:
      case 2:
        return std::string(1, "abc"[Pick(3)]);
      case 3:
        return std::string(1 + Pick(3), "abc"[Pick(3)]);
      case 4:
        return ".";
      case 5:
        return Chance(50) ? "^" : "$";
      case 6:
        return Chance(50) ? "\\." : "\\*";
      case 7:
      case 8:
        return Class();
      case 9:
        return "ab";
      default:
        return "(" + Pattern(depth - 1) + ")";
    }
  }

  std::string Class() {
    std::string out = "[";
    if (Chance(30)) out += '^';
    if (Chance(10)) out += ']';
    for (int n = Pick(3) + 1; n > 0; --n) {
      switch (Pick(4)) {
        case 0:
          out += "a-b";
          break;
        case 1:
          out += "b-c";
          break;
        default:
          out += "abc."[Pick(4)];
      }
    }
    if (Chance(10)) out += '-';
    return out + "]";
  }

  std::mt19937 rng_;
};

// Our compile under the throwing fatal handler; null when rejected.
CompiledPattern* TryCompile(const std::string& text) {
  test::ThrowOnFatal guard;
  testing::internal::CaptureStderr();
  CompiledPattern* p = nullptr;
  try {
    p = CompilePattern(text.c_str());
  } catch (const test::FatalExit&) {
  }
  testing::internal::GetCapturedStderr();
  return p;
}

// The matching algorithm in its plainest form: recursion at every choice,
// group, and repeat, and group positions set while the recursion unwinds.
// Gives up (returns -1) after `budget` nodes.
class Reference {
 public:
  int Match(CompiledPattern* p, const char* subject, long budget) {
    prog_ = p->code;
    subject_ = subject;
    budget_ = budget;
    for (const char* at = subject;; ++at) {
      if (p->anchored && at != subject) return 0;
      input_ = at;
      for (int i = 0; i < 10; ++i) start[i] = end[i] = nullptr;
      if (Run(1)) {
        start[0] = at;
        end[0] = input_;
        return budget_ < 0 ? -1 : 1;
      }
      if (budget_ < 0) return -1;
      if (!*at) return 0;
    }
  }

  const char* start[10];
  const char* end[10];

 private:
  uint32_t Next(uint32_t node) const {
    unsigned off = prog_[node + 1] << 8 | prog_[node + 2];
    if (!off) return 0;
    return prog_[node] == RX_LoopBack ? node - off : node + off;
  }

  bool Run(uint32_t node) {
    while (node) {
      if (--budget_ < 0) return false;
      unsigned op = prog_[node];
      uint32_t next = Next(node);
      const char* text = reinterpret_cast<const char*>(prog_ + node + 3);
      switch (op) {
        case RX_Accept:
          return true;
        case RX_AtStart:
          if (input_ != subject_) return false;
          break;
        case RX_AtEnd:
          if (*input_) return false;
          break;
        case RX_AnyChar:
          if (!*input_) return false;
          ++input_;
          break;
        case RX_Literal:
          if (std::strncmp(text, input_, std::strlen(text))) return false;
          input_ += std::strlen(text);
          break;
        case RX_InSet:
        case RX_NotInSet:
          if (!*input_ || (std::strchr(text, *input_) != nullptr) != (op == RX_InSet)) return false;
          ++input_;
          break;
        case RX_Alternative:
          if (prog_[next] != RX_Alternative) {
            next = node + 3;
            break;
          }
          for (uint32_t alt = node; alt && prog_[alt] == RX_Alternative; alt = Next(alt)) {
            const char* save = input_;
            if (Run(alt + 3)) return true;
            input_ = save;
          }
          return false;
        case RX_ZeroOrMore:
        case RX_OneOrMore: {
          uint32_t one = node + 3;
          const char* oneText = reinterpret_cast<const char*>(prog_ + one + 3);
          char look = prog_[next] == RX_Literal ? static_cast<char>(prog_[next + 3]) : 0;
          const char* save = input_;
          long count = 0;
          while (save[count] && (prog_[one] == RX_AnyChar ||
                                 (prog_[one] == RX_Literal && save[count] == oneText[0]) ||
                                 (prog_[one] == RX_InSet && std::strchr(oneText, save[count])) ||
                                 (prog_[one] == RX_NotInSet && !std::strchr(oneText, save[count]))))
            ++count;
          input_ = save + count;
          for (long min = op == RX_OneOrMore; count >= min;) {
            if (!look || *input_ == look) {
              if (Run(next)) return true;
            }
            --count;
            input_ = save + count;
          }
          return false;
        }
        default:
          if (op > RX_GroupOpen && op < RX_GroupOpen + 10) {
            const char* save = input_;
            if (!Run(next)) return false;
            if (!start[op - RX_GroupOpen]) start[op - RX_GroupOpen] = save;
            return true;
          }
          if (op > RX_GroupClose && op < RX_GroupClose + 10) {
            const char* save = input_;
            if (!Run(next)) return false;
            if (!end[op - RX_GroupClose]) end[op - RX_GroupClose] = save;
            return true;
          }
          break;  // empty, loop-back
      }
      node = next;
    }
    return false;
  }

  const unsigned char* prog_;
  const char* subject_;
  const char* input_;
  long budget_;
};

TEST(MatchPatternReference, SameMatchAndGroupPositions) {
  PatternMaker maker(7321);
  Reference reference;
  int compared = 0, matched = 0, gaveUp = 0;
  for (int i = 0; i < 4000; ++i) {
    std::string text = maker.Pattern(3);
    CompiledPattern* ours = TryCompile(text);
    if (!ours) continue;
    // Short subjects, and a few long ones that make the matcher switch on
    // its seen marks.
    for (int j = 0; j < 12; ++j) {
      std::string subject = maker.Subject(j < 10 ? 9 : 300);
      int want = reference.Match(ours, subject.c_str(), 2000000);
      if (want < 0) {
        ++gaveUp;
        continue;
      }
      int got = MatchPattern(ours, subject.c_str());
      ASSERT_EQ(got, want) << "pattern '" << text << "' subject '" << subject << "'";
      ++compared;
      if (!got) continue;
      ++matched;
      for (int n = 0; n < 10; ++n) {
        ASSERT_EQ(ours->start[n], reference.start[n])
            << "start " << n << " pattern '" << text << "' subject '" << subject << "'";
        ASSERT_EQ(ours->end[n], reference.end[n])
            << "end " << n << " pattern '" << text << "' subject '" << subject << "'";
      }
    }
  }
  EXPECT_GT(matched, compared / 5);
  EXPECT_LT(matched, compared * 4 / 5);
  EXPECT_LT(gaveUp, compared / 100);
  RecordProperty("compared", compared);
  RecordProperty("gaveUp", gaveUp);
}

TEST(MatchPatternPosix, AgreesOnRandomPatterns) {
  PatternMaker maker(20240611);
  int compared = 0, rejected = 0, subjects = 0, matched = 0;
  while (compared < 3000) {
    std::string text = maker.Pattern(2);
    CompiledPattern* ours = TryCompile(text);
    if (!ours) {
      ++rejected;
      continue;
    }
    regex_t posix;
    ASSERT_EQ(regcomp(&posix, text.c_str(), REG_EXTENDED), 0) << text;
    for (int i = 0; i < 25; ++i) {
      std::string subject = maker.Subject();
      regmatch_t m[1];
      bool theirs = regexec(&posix, subject.c_str(), 1, m, 0) == 0;
      bool mine = MatchPattern(ours, subject.c_str()) == 1;
      ASSERT_EQ(mine, theirs) << "pattern '" << text << "' subject '" << subject << "'";
      if (mine) {
        ++matched;
        ASSERT_EQ(ours->start[0] - subject.c_str(), m[0].rm_so)
            << "pattern '" << text << "' subject '" << subject << "'";
      }
      ++subjects;
    }
    regfree(&posix);
    ++compared;
  }
  // Most generated patterns must be valid here, or the test compares little.
  EXPECT_LT(rejected, compared / 2);
  EXPECT_GT(matched, subjects / 5);
  EXPECT_LT(matched, subjects * 4 / 5);
  RecordProperty("rejected", rejected);
  RecordProperty("subjects", subjects);
}

}  // namespace
}  // namespace qlx
