// Inside the pattern module: reading the byte program, and the tables that
// the compiler works out once per pattern for the matcher.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "regexp/regexp.h"

namespace qlx::rx {

inline constexpr uint32_t kNoNode = 0;  // offset 0 is the magic byte

inline unsigned Opcode(const unsigned char* prog, uint32_t node) { return prog[node]; }

inline unsigned NextOffset(const unsigned char* prog, uint32_t node) {
  return (unsigned(prog[node + 1]) << 8) | prog[node + 2];
}

// The successor of a node, or kNoNode at the end of a chain.
inline uint32_t Next(const unsigned char* prog, uint32_t node) {
  unsigned off = NextOffset(prog, node);
  if (off == 0) return kNoNode;
  return prog[node] == RX_LoopBack ? node - off : node + off;
}

// The operand of a node: the string of a literal or a class, or the node
// that follows the head of an alternative or a repeat.
inline uint32_t Operand(uint32_t node) { return node + 3; }

inline const char* OperandText(const unsigned char* prog, uint32_t node) {
  return reinterpret_cast<const char*>(prog + node + 3);
}

inline bool HasStringOperand(unsigned op) {
  return op == RX_Literal || op == RX_InSet || op == RX_NotInSet;
}

// A set of byte values; value 0 stands for the end of the subject.
struct CharSet {
  uint64_t bits[4] = {0, 0, 0, 0};

  bool Has(unsigned char c) const { return (bits[c >> 6] >> (c & 63)) & 1; }
  void Add(unsigned char c) { bits[c >> 6] |= uint64_t(1) << (c & 63); }
  void AddAll() { bits[0] = bits[1] = bits[2] = bits[3] = ~uint64_t(0); }
  // Adds the members of `other`; true if that changed this set.
  bool Merge(const CharSet& other) {
    bool changed = false;
    for (int i = 0; i < 4; ++i) {
      uint64_t b = bits[i] | other.bits[i];
      changed |= b != bits[i];
      bits[i] = b;
    }
    return changed;
  }
};

inline constexpr uint16_t kNoSlot = 0xFFFF;

// What the matcher knows about each node of one program, worked out when
// the pattern is compiled.
//
// `starts[n]` is the set of characters that can stand at the input position
// when a successful path leaves node n (a path that accepts without taking
// a character counts every character, the end included).  The matcher
// skips alternatives, repeat counts and start positions whose character is
// not in the set: a pure saving, since those paths cannot succeed.
//
// `seenSlot[n]` numbers the nodes where paths meet again (real choices,
// repeats, the targets of loop-back nodes): once a match runs long, the
// matcher remembers which of these it has left in vain at which position.
struct PatternPlan {
  std::vector<uint16_t> nodeAt;   // by byte offset: node number, or kNoSlot
  std::vector<CharSet> starts;    // by node number
  std::vector<uint16_t> seenSlot; // by node number: kNoSlot if none
  std::vector<uint16_t> repeatSlot;  // by node number: kNoSlot if no repeat
  uint32_t seenSlots = 0;
  uint32_t repeatSlots = 0;
  bool groups = false;  // the program has group nodes

  uint16_t NodeNumber(uint32_t node) const {
    return node < nodeAt.size() ? nodeAt[node] : kNoSlot;
  }
};

// Builds the plan of a freshly compiled program.
PatternPlan* BuildPlan(const unsigned char* prog, uint32_t size);

}  // namespace qlx::rx
