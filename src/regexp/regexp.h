// The pattern language of translation specs: a compiler from pattern text
// to a compact byte program of linked nodes, and a backtracking matcher
// that interprets it.
//
// Syntax: alternatives separated by '|'; pieces are atoms optionally
// followed by one of '*', '+', '?'; atoms are '(' pattern ')' (groups 1-9),
// '.', '^', '$', '\' with any character, a class '[...]' or '[^...]', or a
// run of ordinary characters.  Matching finds the leftmost match; among
// matches at one start the first the interpreter reaches wins (alternatives
// in written order, repeats longest first).
//
// Every error is fatal: PatternError writes "qlx_regexp(3): " and the
// message (no newline) to standard error and ends the run with status 1
// through Fatal(), so tests can catch it in-process.
//
// The matcher backtracks on a stack of its own on the heap, never on the
// machine stack, so subjects of any length are safe.  It finds the same
// match, with the same group positions, as a plain recursive interpreter of
// the program, but skips work that cannot succeed:
//  - alternatives, repeat counts and start positions are passed over when
//    the character there cannot begin a successful path from that point;
//  - a repeat reached again inside a run it has already tried in vain
//    fails at once;
//  - once one call has done more steps than twice the subject length
//    (and at least 4096), it starts to remember, for
//    every node where paths meet (choices, repeats, loop heads), the
//    positions where it has already arrived there, and fails at once when
//    it comes back: whatever it found there before was a failure.  Each
//    such pair is then worked on at most once, which bounds the rest of
//    the call by roughly the program size times the subject length
//    (repeats may add the length of their runs) instead of exponentially.
//    (This relies on every loop taking at least one character, which the
//    compiler ensures.)  The marks take one bit per meeting node and
//    subject position; a call whose marks would take more than 256 MB runs
//    without them and may then take exponential time.
// Open choices cost 32 bytes each on the heap stack; only real choices
// (two or more ways that can begin at the character) and repeats are
// recorded, so a loop over a long subject usually needs none.
#pragma once

#include <cstdint>

namespace qlx {

namespace rx {
struct PatternPlan;
}

// Node opcodes of the byte program.
enum : unsigned char {
  RX_Accept = 0,
  RX_AtStart = 1,
  RX_AtEnd = 2,
  RX_AnyChar = 3,
  RX_InSet = 4,
  RX_NotInSet = 5,
  RX_Alternative = 6,
  RX_LoopBack = 7,
  RX_Literal = 8,
  RX_Empty = 9,
  RX_ZeroOrMore = 10,
  RX_OneOrMore = 11,
  RX_GroupOpen = 20,   // + n, n = 1..9
  RX_GroupClose = 30,  // + n
};

inline constexpr unsigned char kPatternMagic = 156;

// One compiled pattern: the match hints and group positions, followed in
// the same allocation by `code`, the program (byte 0 is kPatternMagic;
// nodes begin at byte 1, each a one-byte opcode and a 16-bit big-endian
// next offset, then the operand).
struct CompiledPattern {
  const char* start[10];  // set by MatchPattern: [0] whole match, [n] group n
  const char* end[10];
  char firstChar;         // if not 0, every match begins with this character
  char anchored;          // 1 if a match can only begin at the subject start
  const char* mustText;   // a literal every match contains, or null
  int32_t mustLength;
  int32_t codeSize;       // bytes in code
  // The matcher's tables for this program, built by CompilePattern in an
  // allocation of their own; like the pattern, never freed.
  const rx::PatternPlan* plan;
  unsigned char code[1];  // really codeSize bytes
};

// Compiles `text`.  Never returns null: a bad pattern is fatal.
CompiledPattern* CompilePattern(const char* text);

// 1 if some substring of `subject` matches, else 0.  After a match,
// start/end [0] bound the match and [n] the last pass through group n
// (null if the group took no part); after a failed call they are not
// meaningful.  Not reentrant: the positions live in the pattern.
int MatchPattern(CompiledPattern* pattern, const char* subject);

// Whether some substring of `subject` matches, without the positions: the
// pattern is only read, so several threads may test with it at once.
bool PatternMatches(const CompiledPattern* pattern, const char* subject);

// Gives back a pattern and its matcher tables (null: nothing).
void FreePattern(CompiledPattern* pattern);

// Writes "qlx_regexp(3): <message>" to standard error and calls Fatal(1).
[[noreturn]] void PatternError(const char* message);

}  // namespace qlx
