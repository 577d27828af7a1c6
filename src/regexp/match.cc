// The pattern matcher: a backtracking interpreter of the byte program that
// keeps its open choices on a heap stack of its own.
//
// The search is depth first in the order of the program: alternatives as
// written, repeats longest first.  Whether the rest of the program can
// match from a node at a position depends on nothing else, so the matcher
// may drop any path that is sure to fail without changing which match is
// found first; the start sets, the failed runs and the seen marks below do
// only that.  Group positions are not tracked while searching: once a
// match is found, the path that found it is walked again with the choices
// left on the stack, and each group gets the positions of its last pass.

#include <cstdint>
#include <cstring>
#include <vector>

#include "regexp/program.h"
#include "regexp/regexp.h"

namespace qlx {
namespace {

using namespace rx;

// The seen marks are switched on after this many steps of one call...
constexpr uint64_t kSeenAfterSteps = 4096;
// ...and only while they fit in this many bytes.
constexpr uint64_t kSeenMaxBytes = uint64_t(256) << 20;

enum FrameKind : uint32_t { kChoice, kRepeat };

// One open choice of the current path.
struct Frame {
  const char* pos;     // choice: where it was made; repeat: the count being tried
  const char* from;    // repeat: where the repeated run begins
  const char* runEnd;  // repeat: where the run ends
  uint32_t node;       // choice: the alternative being tried; repeat: the repeat node
  uint32_t kind;
};

// A repeat that failed from `from`: every count up to `runEnd` was tried.
struct FailedRun {
  const char* from = nullptr;
  const char* runEnd = nullptr;
};

class Matcher {
 public:
  // A null `record` leaves the group positions alone.
  Matcher(const CompiledPattern* pattern, const char* subject, CompiledPattern* record)
      : pattern_(record),
        prog_(pattern->code),
        size_(static_cast<uint32_t>(pattern->codeSize)),
        plan_(*pattern->plan),
        subject_(subject) {}

  // One attempt at `at`; on success fills the pattern's start and end.
  bool Attempt(const char* at) {
    stack_.clear();
    uint32_t node = 1;
    const char* pos = at;
    for (;;) {
      if (Forward(node, pos)) {
        if (pattern_) Record(at, pos);
        return true;
      }
      if (!Backtrack(node, pos)) return false;
    }
  }

  const CharSet& StartsOf(uint32_t node) const { return plan_.starts[Number(node)]; }

 private:
  uint16_t Number(uint32_t node) const {
    uint16_t n = plan_.NodeNumber(node);
    if (n == kNoSlot) PatternError("corrupted pointers");
    return n;
  }

  uint32_t NextAlternative(uint32_t alt) const {
    uint32_t next = Next(prog_, alt);
    return next != kNoNode && prog_[next] == RX_Alternative ? next : kNoNode;
  }

  // The first alternative from `alt` on whose operand can begin with `c`.
  uint32_t Viable(uint32_t alt, unsigned char c) const {
    for (; alt != kNoNode; alt = NextAlternative(alt))
      if (StartsOf(Operand(alt)).Has(c)) return alt;
    return kNoNode;
  }

  // Whether an alternative after `alt` can begin with `c` (the start set
  // of an alternative node covers the ones after it).
  bool MoreViable(uint32_t alt, unsigned char c) const {
    uint32_t next = NextAlternative(alt);
    return next != kNoNode && StartsOf(next).Has(c);
  }

  const char* End() {
    if (!length_) length_ = std::strlen(subject_) + 1;
    return subject_ + length_ - 1;
  }

  [[gnu::always_inline]] void Count(uint64_t steps) {
    steps_ += steps;
    if (steps_ >= nextCheck_) ConsiderSeen();
  }

  // The seen marks are switched on once a call has done twice as many
  // steps as the subject has positions: a sign that it goes over the same
  // ground again.  A long match found in one sweep may get there too and
  // then pays for marks it does not need, about a quarter more time.
  [[gnu::noinline]] void ConsiderSeen() {
    nextCheck_ = UINT64_MAX;
    if (seenOn_ || plan_.seenSlots == 0) return;
    End();
    uint64_t cells = uint64_t(plan_.seenSlots) * length_;
    if (cells / 8 > kSeenMaxBytes) return;
    uint64_t enough = 2 * length_;
    if (steps_ < enough) {
      nextCheck_ = enough;
      return;
    }
    seen_.assign((cells + 63) / 64, 0);
    seenOn_ = true;
  }

  // Marks arriving at a meeting node; true if this happened before, when
  // every path from here failed.
  bool Seen(uint32_t node, const char* pos) {
    uint16_t slot = plan_.seenSlot[Number(node)];
    if (slot == kNoSlot) return false;
    uint64_t cell = uint64_t(slot) * length_ + uint64_t(pos - subject_);
    uint64_t bit = uint64_t(1) << (cell & 63);
    uint64_t& word = seen_[cell >> 6];
    if (word & bit) return true;
    word |= bit;
    return false;
  }

  FailedRun* FailedRunOf(uint32_t node) {
    if (failed_.empty()) return nullptr;
    return &failed_[plan_.repeatSlot[Number(node)]];
  }

  void RecordFailure(const Frame& frame) {
    if (failed_.empty()) failed_.resize(plan_.repeatSlots);
    FailedRun& run = failed_[plan_.repeatSlot[Number(frame.node)]];
    run.from = frame.from;
    run.runEnd = frame.runEnd;
  }

  // Follows the program from `node` at `pos` until the match is accepted
  // (true, `pos` at its end) or the path fails (false).
  bool Forward(uint32_t& node, const char*& pos) {
    for (;;) {
      if (node == kNoNode || node >= size_) PatternError("corrupted pointers");
      Count(1);
      if (seenOn_ && Seen(node, pos)) return false;
      unsigned op = prog_[node];
      uint32_t next = Next(prog_, node);
      switch (op) {
        case RX_Accept:
          return true;
        case RX_AtStart:
          if (pos != subject_) return false;
          break;
        case RX_AtEnd:
          if (*pos) return false;
          break;
        case RX_AnyChar:
          if (!*pos) return false;
          ++pos;
          break;
        case RX_Literal: {
          const char* text = OperandText(prog_, node);
          if (*text != *pos) return false;
          size_t i = 1;
          for (; text[i]; ++i)
            if (text[i] != pos[i]) return false;
          pos += i;
          break;
        }
        case RX_InSet:
        case RX_NotInSet:
          if (!StartsOf(node).Has(static_cast<unsigned char>(*pos))) return false;
          ++pos;
          break;
        case RX_Empty:
        case RX_LoopBack:
          break;
        case RX_Alternative:
          if (next == kNoNode || prog_[next] != RX_Alternative) {
            node = Operand(node);
            continue;
          }
          if (!Choose(node, pos)) return false;
          continue;
        case RX_ZeroOrMore:
        case RX_OneOrMore:
          if (!Repeat(node, next, pos)) return false;
          node = next;
          continue;
        default:
          if ((op > RX_GroupOpen && op < RX_GroupOpen + 10) ||
              (op > RX_GroupClose && op < RX_GroupClose + 10))
            break;
          PatternError("memory corruption");
      }
      if (next == kNoNode) PatternError("corrupted pointers");
      node = next;
    }
  }

  // A choice between alternatives at `node`: takes the first that can
  // begin here and keeps the choice open if another one can.
  bool Choose(uint32_t& node, const char* pos) {
    unsigned char c = static_cast<unsigned char>(*pos);
    uint32_t alt = Viable(node, c);
    if (alt == kNoNode) return false;
    if (MoreViable(alt, c)) stack_.push_back({pos, nullptr, nullptr, alt, kChoice});
    node = Operand(alt);
    return true;
  }

  // A repeat at `node`: takes the longest run of its operand and leaves
  // `pos` after the longest count from which the successor can go on.
  bool Repeat(uint32_t node, uint32_t next, const char*& pos) {
    uint32_t operand = Operand(node);
    unsigned op = prog_[operand];
    if (op != RX_AnyChar && op != RX_Literal && op != RX_InSet && op != RX_NotInSet)
      PatternError("internal foulup");
    if (next == kNoNode) PatternError("corrupted pointers");
    size_t min = prog_[node] == RX_OneOrMore ? 1 : 0;
    const char* from = pos;
    const FailedRun* failed = FailedRunOf(node);
    if (failed && failed->from && failed->from <= from && from <= failed->runEnd) return false;

    const CharSet& take = StartsOf(operand);
    const char* runEnd;
    size_t count;  // the longest count still worth trying
    if (failed && failed->from && from < failed->from) {
      // If this run reaches the failed one, the counts that end inside the
      // failed run's tries need no second look.
      const char* p = from;
      while (p < failed->from && take.Has(static_cast<unsigned char>(*p))) ++p;
      Count(p - from);
      if (p == failed->from) {
        runEnd = failed->runEnd;
        count = p - from + min - 1;
      } else {
        runEnd = p;
        count = p - from;
      }
    } else {
      if (op == RX_AnyChar) {
        runEnd = End();
      } else {
        runEnd = from;
        while (take.Has(static_cast<unsigned char>(*runEnd))) ++runEnd;
      }
      Count(runEnd - from);
      count = runEnd - from;
    }

    Frame frame{from + count, from, runEnd, node, kRepeat};
    if (count < min || !NextCount(frame, StartsOf(next), false)) {
      RecordFailure(frame);
      return false;
    }
    stack_.push_back(frame);
    pos = frame.pos;
    return true;
  }

  // Moves a repeat frame to the longest count from its current one down
  // (strictly below it when `lower`) whose position can begin the
  // successor; false when no count down to the minimum can.
  bool NextCount(Frame& frame, const CharSet& follow, bool lower) {
    size_t min = prog_[frame.node] == RX_OneOrMore ? 1 : 0;
    size_t count = frame.pos - frame.from;
    if (lower) {
      if (count <= min) return false;
      --count;
    }
    for (size_t tried = 1;; ++tried) {
      if (follow.Has(static_cast<unsigned char>(frame.from[count]))) {
        Count(tried);
        frame.pos = frame.from + count;
        return true;
      }
      if (count == min) {
        Count(tried);
        return false;
      }
      --count;
    }
  }

  // Resumes the newest open choice; false when none is left.
  bool Backtrack(uint32_t& node, const char*& pos) {
    while (!stack_.empty()) {
      Frame& frame = stack_.back();
      if (frame.kind == kChoice) {
        uint32_t alt = Viable(NextAlternative(frame.node), static_cast<unsigned char>(*frame.pos));
        if (alt != kNoNode) {
          frame.node = alt;
          pos = frame.pos;
          node = Operand(alt);
          return true;
        }
      } else {
        uint32_t next = Next(prog_, frame.node);
        if (NextCount(frame, StartsOf(next), true)) {
          pos = frame.pos;
          node = next;
          return true;
        }
        RecordFailure(frame);
      }
      stack_.pop_back();
    }
    return false;
  }

  // Walks the successful path again, taking at every open choice the way
  // its frame records, and stores the positions.
  void Record(const char* at, const char* matchEnd) {
    pattern_->start[0] = at;
    pattern_->end[0] = matchEnd;
    if (!plan_.groups) {
      std::memset(&pattern_->start[1], 0, 9 * sizeof(const char*));
      std::memset(&pattern_->end[1], 0, 9 * sizeof(const char*));
      return;
    }
    const char* open[10];
    const char* close[10];
    std::memset(open, 0, sizeof open);
    std::memset(close, 0, sizeof close);
    uint32_t node = 1;
    const char* pos = at;
    size_t frame = 0;
    for (;;) {
      unsigned op = prog_[node];
      uint32_t next = Next(prog_, node);
      if (op == RX_Accept) break;
      switch (op) {
        case RX_AnyChar:
        case RX_InSet:
        case RX_NotInSet:
          ++pos;
          break;
        case RX_Literal:
          pos += std::strlen(OperandText(prog_, node));
          break;
        case RX_Alternative: {
          if (next == kNoNode || prog_[next] != RX_Alternative) {
            node = Operand(node);
            continue;
          }
          unsigned char c = static_cast<unsigned char>(*pos);
          uint32_t alt = Viable(node, c);
          if (MoreViable(alt, c)) alt = stack_[frame++].node;
          node = Operand(alt);
          continue;
        }
        case RX_ZeroOrMore:
        case RX_OneOrMore:
          pos = stack_[frame++].pos;
          node = next;
          continue;
        default:
          if (op > RX_GroupOpen && op < RX_GroupOpen + 10) open[op - RX_GroupOpen] = pos;
          if (op > RX_GroupClose && op < RX_GroupClose + 10) close[op - RX_GroupClose] = pos;
          break;
      }
      node = next;
    }
    std::memcpy(&pattern_->start[1], &open[1], 9 * sizeof(const char*));
    std::memcpy(&pattern_->end[1], &close[1], 9 * sizeof(const char*));
  }

  CompiledPattern* pattern_;
  const unsigned char* prog_;
  uint32_t size_;
  const PatternPlan& plan_;
  const char* subject_;
  size_t length_ = 0;  // strlen + 1 once known, else 0
  std::vector<Frame> stack_;
  std::vector<FailedRun> failed_;
  std::vector<uint64_t> seen_;
  bool seenOn_ = false;
  uint64_t steps_ = 0;
  uint64_t nextCheck_ = kSeenAfterSteps;
};

}  // namespace

namespace {

int Match(const CompiledPattern* pattern, const char* subject, CompiledPattern* record) {
  if (!pattern || !subject) PatternError("NULL parameter");
  if (pattern->code[0] != kPatternMagic || !pattern->plan) PatternError("corrupted program");

  // Quick rejection: every match contains the must literal (a string of
  // the program, so it ends where its length says).
  if (pattern->mustText && !std::strstr(subject, pattern->mustText)) return 0;

  Matcher matcher(pattern, subject, record);
  if (pattern->anchored) return matcher.Attempt(subject);
  if (char first = pattern->firstChar) {
    for (const char* p = std::strchr(subject, first); p; p = std::strchr(p + 1, first))
      if (matcher.Attempt(p)) return 1;
    return 0;
  }
  const CharSet& starts = matcher.StartsOf(1);
  for (const char* p = subject;; ++p) {
    if (starts.Has(static_cast<unsigned char>(*p)) && matcher.Attempt(p)) return 1;
    if (!*p) return 0;
  }
}

}  // namespace

int MatchPattern(CompiledPattern* pattern, const char* subject) {
  return Match(pattern, subject, pattern);
}

bool PatternMatches(const CompiledPattern* pattern, const char* subject) {
  return Match(pattern, subject, nullptr) != 0;
}

}  // namespace qlx
