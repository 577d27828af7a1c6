// The matcher's tables for one program: the node list, the characters that
// can begin a successful path from each node, and the numbering of the
// nodes where paths meet.

#include <cstring>

#include "regexp/program.h"

namespace qlx::rx {
namespace {

// The characters that one step of a single-character node takes.
CharSet OneStep(const unsigned char* prog, uint32_t node) {
  CharSet set;
  const char* text = OperandText(prog, node);
  switch (prog[node]) {
    case RX_AnyChar:
      set.AddAll();
      break;
    case RX_Literal:
      set.Add(static_cast<unsigned char>(text[0]));
      break;
    case RX_InSet:
      for (const char* p = text; *p; ++p) set.Add(static_cast<unsigned char>(*p));
      break;
    case RX_NotInSet: {
      CharSet members;
      for (const char* p = text; *p; ++p) members.Add(static_cast<unsigned char>(*p));
      for (int i = 0; i < 4; ++i) set.bits[i] = ~members.bits[i];
      break;
    }
    default:  // not a one-character node: assume anything
      set.AddAll();
      break;
  }
  set.bits[0] &= ~uint64_t(1);  // never the end of the subject
  return set;
}

// The node list in program order; numbers each node in plan->nodeAt.
std::vector<uint32_t> ListNodes(PatternPlan* plan, const unsigned char* prog, uint32_t size) {
  plan->nodeAt.assign(size, kNoSlot);
  std::vector<uint32_t> nodes;
  for (uint32_t at = 1; at + 3 <= size;) {
    plan->nodeAt[at] = static_cast<uint16_t>(nodes.size());
    nodes.push_back(at);
    unsigned op = prog[at];
    at += 3;
    if (HasStringOperand(op)) at += static_cast<uint32_t>(std::strlen(OperandText(prog, at - 3))) + 1;
  }
  return nodes;
}

// The number of a node, or -1 for the end of the program or an offset that
// is no node.
int NumberOf(const PatternPlan& plan, uint32_t node) {
  uint16_t n = node == kNoNode ? kNoSlot : plan.NodeNumber(node);
  return n == kNoSlot ? -1 : n;
}

// The start sets are the least solution of one equation per node; loops
// make the equations recursive, so iterate until nothing changes.
void ComputeStarts(PatternPlan* plan, const unsigned char* prog, const std::vector<uint32_t>& nodes) {
  size_t count = nodes.size();
  std::vector<CharSet>& starts = plan->starts;
  starts.assign(count, CharSet());
  CharSet none;
  auto startsOf = [&](uint32_t node) -> const CharSet& {
    int n = NumberOf(*plan, node);
    return n < 0 ? none : starts[n];
  };
  for (bool changed = true; changed;) {
    changed = false;
    for (size_t i = count; i-- > 0;) {
      uint32_t node = nodes[i];
      uint32_t next = Next(prog, node);
      CharSet set;
      switch (prog[node]) {
        case RX_Accept:
          set.AddAll();
          break;
        case RX_AtEnd:
          if (startsOf(next).Has(0)) set.Add(0);
          break;
        case RX_AnyChar:
        case RX_Literal:
        case RX_InSet:
        case RX_NotInSet:
          set = OneStep(prog, node);
          break;
        case RX_Alternative:
          set = startsOf(Operand(node));
          if (next != kNoNode && prog[next] == RX_Alternative) set.Merge(startsOf(next));
          break;
        case RX_ZeroOrMore:
          set = OneStep(prog, Operand(node));
          set.Merge(startsOf(next));
          break;
        case RX_OneOrMore:
          set = OneStep(prog, Operand(node));
          break;
        default:  // anchors at the start, empty nodes, loops, groups
          set = startsOf(next);
          break;
      }
      changed |= starts[i].Merge(set);
    }
  }
}

// Meeting nodes: the first alternative of each real choice, repeats, and
// the nodes that loops lead back to.  Numbers their slots, and the slots of
// the repeats.
void NumberMeetings(PatternPlan* plan, const unsigned char* prog, const std::vector<uint32_t>& nodes) {
  size_t count = nodes.size();
  plan->seenSlot.assign(count, kNoSlot);
  plan->repeatSlot.assign(count, kNoSlot);
  std::vector<bool> meets(count, false), laterAlternative(count, false);
  for (size_t i = 0; i < count; ++i) {
    uint32_t node = nodes[i];
    uint32_t next = Next(prog, node);
    switch (prog[node]) {
      case RX_Alternative:
        if (next != kNoNode && prog[next] == RX_Alternative && NumberOf(*plan, next) >= 0) {
          meets[i] = true;
          laterAlternative[NumberOf(*plan, next)] = true;
        }
        break;
      case RX_ZeroOrMore:
      case RX_OneOrMore:
        meets[i] = true;
        plan->repeatSlot[i] = static_cast<uint16_t>(plan->repeatSlots++);
        break;
      case RX_LoopBack:
        if (NumberOf(*plan, next) >= 0) meets[NumberOf(*plan, next)] = true;
        break;
      default:
        if (prog[node] > RX_GroupOpen) plan->groups = true;
        break;
    }
  }
  for (size_t i = 0; i < count; ++i)
    if (meets[i] && !laterAlternative[i]) plan->seenSlot[i] = static_cast<uint16_t>(plan->seenSlots++);
}

}  // namespace

PatternPlan* BuildPlan(const unsigned char* prog, uint32_t size) {
  auto* plan = new PatternPlan;
  std::vector<uint32_t> nodes = ListNodes(plan, prog, size);
  ComputeStarts(plan, prog, nodes);
  NumberMeetings(plan, prog, nodes);
  return plan;
}

}  // namespace qlx::rx
