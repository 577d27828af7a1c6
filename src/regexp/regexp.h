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
#pragma once

#include <cstdint>

namespace qlx {

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
  unsigned char code[1];  // really codeSize bytes
};

// Compiles `text`.  Never returns null: a bad pattern is fatal.
CompiledPattern* CompilePattern(const char* text);

// 1 if some substring of `subject` matches, else 0; fills start/end.
int MatchPattern(CompiledPattern* pattern, const char* subject);

// Writes "qlx_regexp(3): <message>" to standard error and calls Fatal(1).
[[noreturn]] void PatternError(const char* message);

}  // namespace qlx
