// The pattern compiler: a recursive-descent parser run twice over the
// pattern text, first only counting the bytes of the program, then writing
// them into a block of exactly that size.

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "regexp/program.h"
#include "regexp/regexp.h"
#include "util/fatal.h"

namespace qlx {

void PatternError(const char* message) {
  std::fprintf(stderr, "qlx_regexp(3): %s", message);
  Fatal(1);
}

namespace {

using rx::kNoNode;

constexpr const char* kMeta = "^$.[()|?+*\\";
constexpr uint32_t kTooBig = 0x7FFF;

// Flags of a parsed construct.
enum : int {
  RXF_HasWidth = 1,   // never matches the empty string
  RXF_Simple = 2,     // one node matching exactly one character
  RXF_Expensive = 4,  // begins with a piece repeated by '*' or '?'
};

bool IsRepeat(char c) { return c == '*' || c == '+' || c == '?'; }

// One compilation.  `prog` is null during the sizing pass, when nodes are
// only counted and linking does nothing.
class Compiler {
 public:
  explicit Compiler(const char* text) : text_(text) {}

  // Runs one pass; returns the flags of the whole pattern.
  int Pass(unsigned char* prog) {
    prog_ = prog;
    parse_ = text_;
    nextGroup_ = 1;
    size_ = 1;  // the magic byte
    if (prog_) prog_[0] = kPatternMagic;
    int flags;
    ParsePattern(false, &flags);
    return flags;
  }

  uint32_t size() const { return size_; }

 private:
  // Appends a node head with no successor; returns its offset.
  uint32_t Node(unsigned char op) {
    uint32_t at = size_;
    if (prog_) {
      prog_[at] = op;
      prog_[at + 1] = 0;
      prog_[at + 2] = 0;
    }
    size_ += 3;
    return at;
  }

  void Byte(char c) {
    if (prog_) prog_[size_] = static_cast<unsigned char>(c);
    ++size_;
  }

  // Inserts a node head in front of the node at `at`, moving what was
  // written from there on three bytes further.
  void Insert(unsigned char op, uint32_t at) {
    if (prog_) {
      std::memmove(prog_ + at + 3, prog_ + at, size_ - at);
      prog_[at] = op;
      prog_[at + 1] = 0;
      prog_[at + 2] = 0;
    }
    size_ += 3;
  }

  // Sets the successor of the last node of the chain that starts at `from`.
  void Link(uint32_t from, uint32_t to) {
    if (!prog_) return;
    uint32_t last = from;
    for (uint32_t n; (n = rx::Next(prog_, last)) != kNoNode;) last = n;
    uint32_t off = prog_[last] == RX_LoopBack ? last - to : to - last;
    prog_[last + 1] = static_cast<unsigned char>(off >> 8);
    prog_[last + 2] = static_cast<unsigned char>(off & 0xFF);
  }

  // Links the operand chain of an alternative node.
  void LinkOperand(uint32_t node, uint32_t to) {
    if (!prog_ || prog_[node] != RX_Alternative) return;
    Link(rx::Operand(node), to);
  }

  // pattern: alternative ('|' alternative)*, the whole text or the inside
  // of a group.  Returns the first node (the group-open node of a group).
  uint32_t ParsePattern(bool group, int* flags) {
    *flags = RXF_HasWidth;
    int n = 0;
    uint32_t first = kNoNode;
    if (group) {
      if (nextGroup_ >= 10) PatternError("too many ()");
      n = nextGroup_++;
      first = Node(static_cast<unsigned char>(RX_GroupOpen + n));
    }
    for (;;) {
      int altFlags;
      uint32_t alt = ParseAlternative(&altFlags);
      if (first == kNoNode && !group)
        first = alt;
      else
        Link(first, alt);
      if (!(altFlags & RXF_HasWidth)) *flags &= ~RXF_HasWidth;
      *flags |= altFlags & RXF_Expensive;
      if (*parse_ != '|') break;
      ++parse_;
    }
    uint32_t close = Node(static_cast<unsigned char>(group ? RX_GroupClose + n : RX_Accept));
    Link(first, close);
    if (prog_)
      for (uint32_t node = first; node != kNoNode; node = rx::Next(prog_, node))
        LinkOperand(node, close);
    if (group) {
      if (*parse_ != ')') PatternError("unmatched ()");
      ++parse_;
    } else if (*parse_ != '\0') {
      PatternError(*parse_ == ')' ? "unmatched ()" : "junk on end");
    }
    return first;
  }

  // alternative: piece*, an empty one matching the empty string.
  uint32_t ParseAlternative(int* flags) {
    *flags = 0;
    uint32_t alt = Node(RX_Alternative);
    uint32_t chain = kNoNode;
    while (*parse_ != '\0' && *parse_ != '|' && *parse_ != ')') {
      int pieceFlags;
      uint32_t piece = ParsePiece(&pieceFlags);
      *flags |= pieceFlags & RXF_HasWidth;
      if (chain == kNoNode)
        *flags |= pieceFlags & RXF_Expensive;
      else
        Link(chain, piece);
      chain = piece;
    }
    if (chain == kNoNode) Node(RX_Empty);
    return alt;
  }

  // piece: atom, optionally followed by '*', '+' or '?'.
  uint32_t ParsePiece(int* flags) {
    int atomFlags;
    uint32_t atom = ParseAtom(&atomFlags);
    char op = *parse_;
    if (!IsRepeat(op)) {
      *flags = atomFlags;
      return atom;
    }
    if (!(atomFlags & RXF_HasWidth) && op != '?') PatternError("*+ operand could be empty");
    *flags = op == '+' ? RXF_HasWidth : RXF_Expensive;
    bool simple = atomFlags & RXF_Simple;
    if (op == '*' && simple) {
      Insert(RX_ZeroOrMore, atom);
    } else if (op == '*') {
      // A: (atom, loop back to A) or B: empty.
      Insert(RX_Alternative, atom);
      LinkOperand(atom, Node(RX_LoopBack));
      LinkOperand(atom, atom);
      Link(atom, Node(RX_Alternative));
      Link(atom, Node(RX_Empty));
    } else if (op == '+' && simple) {
      Insert(RX_OneOrMore, atom);
    } else if (op == '+') {
      // atom, then A: (loop back to atom) or B: empty.
      uint32_t again = Node(RX_Alternative);
      Link(atom, again);
      Link(Node(RX_LoopBack), atom);
      Link(again, Node(RX_Alternative));
      Link(atom, Node(RX_Empty));
    } else {
      // A: atom or B: empty, both ways meeting at the empty node.
      Insert(RX_Alternative, atom);
      Link(atom, Node(RX_Alternative));
      uint32_t empty = Node(RX_Empty);
      Link(atom, empty);
      LinkOperand(atom, empty);
    }
    ++parse_;
    if (IsRepeat(*parse_)) PatternError("nested *?+");
    return atom;
  }

  uint32_t ParseAtom(int* flags) {
    *flags = 0;
    uint32_t node;
    switch (*parse_++) {
      case '^':
        return Node(RX_AtStart);
      case '$':
        return Node(RX_AtEnd);
      case '.':
        *flags = RXF_HasWidth | RXF_Simple;
        return Node(RX_AnyChar);
      case '[':
        *flags = RXF_HasWidth | RXF_Simple;
        return ParseClass();
      case '(': {
        int groupFlags;
        node = ParsePattern(true, &groupFlags);
        *flags = groupFlags & (RXF_HasWidth | RXF_Expensive);
        return node;
      }
      case '\0':
      case '|':
      case ')':
        PatternError("internal urp");
      case '?':
      case '+':
      case '*':
        PatternError("?+* follows nothing");
      case '\\':
        if (*parse_ == '\0') PatternError("trailing \\");
        *flags = RXF_HasWidth | RXF_Simple;
        node = Node(RX_Literal);
        Byte(*parse_++);
        Byte('\0');
        return node;
      default: {
        --parse_;
        size_t len = std::strcspn(parse_, kMeta);
        if (len == 0) PatternError("internal disaster");
        // Before a repeat, the last character is an atom of its own.
        if (len > 1 && IsRepeat(parse_[len])) --len;
        *flags = RXF_HasWidth | (len == 1 ? RXF_Simple : 0);
        node = Node(RX_Literal);
        for (size_t i = 0; i < len; ++i) Byte(*parse_++);
        Byte('\0');
        return node;
      }
    }
  }

  // A class after its '['; no escapes inside, ranges by byte value.
  uint32_t ParseClass() {
    uint32_t node;
    if (*parse_ == '^') {
      node = Node(RX_NotInSet);
      ++parse_;
    } else {
      node = Node(RX_InSet);
    }
    if (*parse_ == ']' || *parse_ == '-') Byte(*parse_++);
    while (*parse_ != '\0' && *parse_ != ']') {
      if (*parse_ != '-') {
        Byte(*parse_++);
        continue;
      }
      ++parse_;
      if (*parse_ == ']' || *parse_ == '\0') {
        Byte('-');
        continue;
      }
      unsigned from = static_cast<unsigned char>(parse_[-2]);
      unsigned to = static_cast<unsigned char>(*parse_);
      if (from > to) PatternError("invalid [] range");
      for (unsigned c = from + 1; c <= to; ++c) Byte(static_cast<char>(c));
      ++parse_;
    }
    Byte('\0');
    if (*parse_ != ']') PatternError("unmatched []");
    ++parse_;
    return node;
  }

  const char* text_;
  const char* parse_ = nullptr;
  int nextGroup_ = 1;
  unsigned char* prog_ = nullptr;
  uint32_t size_ = 1;
};

// The match hints, from the first alternative's chain.
void SetHints(CompiledPattern* pattern, int flags) {
  const unsigned char* prog = pattern->code;
  pattern->firstChar = 0;
  pattern->anchored = 0;
  pattern->mustText = nullptr;
  pattern->mustLength = 0;
  uint32_t first = 1;
  if (rx::Opcode(prog, rx::Next(prog, first)) != RX_Accept) return;  // several alternatives
  uint32_t scan = rx::Operand(first);
  if (prog[scan] == RX_Literal)
    pattern->firstChar = *rx::OperandText(prog, scan);
  else if (prog[scan] == RX_AtStart)
    pattern->anchored = 1;
  if (!(flags & RXF_Expensive)) return;
  const char* longest = nullptr;
  size_t longestLength = 0;
  for (; scan != kNoNode; scan = rx::Next(prog, scan)) {
    if (prog[scan] != RX_Literal) continue;
    const char* text = rx::OperandText(prog, scan);
    size_t length = std::strlen(text);
    if (length >= longestLength) {
      longest = text;
      longestLength = length;
    }
  }
  pattern->mustText = longest;
  pattern->mustLength = static_cast<int32_t>(longestLength);
}

}  // namespace

CompiledPattern* CompilePattern(const char* text) {
  if (!text) PatternError("NULL argument");
  Compiler compiler(text);
  compiler.Pass(nullptr);
  uint32_t size = compiler.size();
  if (size >= kTooBig) PatternError("regexp too big");
  void* block = std::malloc(offsetof(CompiledPattern, code) + size);
  if (!block) PatternError("out of space");
  auto* pattern = static_cast<CompiledPattern*>(block);
  for (int i = 0; i < 10; ++i) pattern->start[i] = pattern->end[i] = nullptr;
  pattern->codeSize = static_cast<int32_t>(size);
  int flags = compiler.Pass(pattern->code);
  SetHints(pattern, flags);
  pattern->plan = rx::BuildPlan(pattern->code, size);
  return pattern;
}

void FreePattern(CompiledPattern* pattern) {
  if (!pattern) return;
  delete pattern->plan;
  std::free(pattern);
}

}  // namespace qlx
