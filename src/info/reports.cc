#include "info/reports.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "doc/query.h"

namespace qlx {
namespace {

// The characters of the element's own data items, ESIS escapes counted as
// written.  Wider than int: one element may hold gigabytes of data.
long long DataChars(const ElemNode* e) {
  long long n = 0;
  for (const char* data : DataTexts(e)) n += static_cast<long long>(std::strlen(data));
  return n;
}

// The depth of each element of a walk in document order, from the open
// ancestors of the walk (the first element's depth counted once).
class DepthTracker {
 public:
  int Enter(const ElemNode* e) {
    if (chain_.empty()) base_ = ElementDepth(e);
    while (!chain_.empty() && chain_.back() != e->parent()) chain_.pop_back();
    chain_.push_back(e);
    return base_ + int(chain_.size()) - 1;
  }

 private:
  std::vector<const ElemNode*> chain_;
  int base_ = 0;
};

struct UsageState {
  std::FILE* out;
  DepthTracker depth;
};

void UsageLine(ElemNode* e, void* user) {
  auto* st = static_cast<UsageState*>(user);
  std::FILE* out = st->out;
  std::fprintf(out, "%-18.18s %4d %5lld %4d %4d %s\n", e->gi, e->attCount(), DataChars(e),
               e->childCount, st->depth.Enter(e), e->parent() ? e->parent()->gi : "-");
  for (int i = 0; i < e->attCount(); ++i) {
    const AttrPair& a = e->atts()[i];
    std::fprintf(out, "%45d: %s = %s\n", i, a.name, a.value ? a.value : "empty");
  }
}

struct TreeState {
  std::FILE* out;
  DepthTracker depth;
  std::string indent;  // ".  " repeated, grown to the deepest level seen
};

void TreeLine(ElemNode* e, void* user) {
  auto* st = static_cast<TreeState*>(user);
  size_t width = size_t(st->depth.Enter(e)) * 3;
  while (st->indent.size() < width) st->indent += ".  ";
  std::fwrite(st->indent.data(), 1, width, st->out);
  std::fprintf(st->out, "%s  (%d,%d)\n", e->gi, e->childCount, DataCount(e));
}

struct NameTotals {
  int count = 0;
  long long chars = 0;
};

struct StatsState {
  std::unordered_map<const char*, NameTotals> byName;  // keyed by the interned name
  int elements = 0;
  long long chars = 0;
  int maxDepth = 0;
  DepthTracker depth;
};

void StatsVisit(ElemNode* e, void* user) {
  auto* st = static_cast<StatsState*>(user);
  long long chars = DataChars(e);
  NameTotals& t = st->byName[e->gi];
  ++t.count;
  t.chars += chars;
  st->elements += e->childCount;
  st->chars += chars;
  st->maxDepth = std::max(st->maxDepth, st->depth.Enter(e));
}

void ContextLine(ElemNode* e, void* user) {
  std::FILE* out = static_cast<std::FILE*>(user);
  std::fprintf(out, "%-22s %s\n", e->gi, AncestorNames(e, 10).c_str());
}

}  // namespace

void PrintUsageSummary(ElemNode* elem, std::FILE* stream) {
  if (!elem || !stream) return;
  std::fprintf(stream, "%-18.18s %4s %5s %4s %4s %s\n", "Element", "Att", "Data", "Chd", "Dep",
               "Parent");
  UsageState st{stream, {}};
  WalkTree(elem, UsageLine, nullptr, nullptr, &st);
}

void PrintTreeReport(ElemNode* elem, std::FILE* stream) {
  if (!elem || !stream) return;
  TreeState st{stream, {}, {}};
  WalkTree(elem, TreeLine, nullptr, nullptr, &st);
  std::fputc('\n', stream);
}

void PrintStatistics(ElemNode* elem, std::FILE* stream) {
  if (!elem || !stream) return;
  std::fprintf(stream, "%-22s %s   %s\n", "Element name", "Occurrances", "Character Content");
  std::fprintf(stream, "%-22s %s   %s\n", "---------------", "-----------",
               "-----------------");
  StatsState st;
  WalkTree(elem, StatsVisit, nullptr, nullptr, &st);
  // The top element is not among the counted elements (it is no child of
  // another element of the subtree), so with one element the share is a
  // division by zero and prints as infinity.
  int names = 0;
  for (const char* name : doc.giTable.texts()) {
    auto it = st.byName.find(name);
    if (it == st.byName.end() || it->second.count == 0) continue;
    const NameTotals& t = it->second;
    float share = static_cast<float>(static_cast<double>(static_cast<float>(t.count)) * 100.0 /
                                     static_cast<double>(static_cast<float>(st.elements)));
    std::fprintf(stream, "%-22s %4d  %4.1f%%   %6lld  %4lld\n", name, t.count,
                 static_cast<double>(share), t.chars, t.chars / t.count);
    ++names;
  }
  std::fprintf(stream, "\nTotal of %d elements used, %d different ones.\n", st.elements, names);
  std::fprintf(stream, "Total character data: %lld.\n", st.chars);
  std::fprintf(stream, "Maximum element depth: %d.\n", st.maxDepth);
  std::fputc('\n', stream);
}

void PrintContextReport(ElemNode* elem, std::FILE* stream) {
  if (!elem || !stream) return;
  std::fprintf(stream, "%-22s %s\n", "Element", "Context");
  std::fprintf(stream, "%-22s %s\n", "---------------", "-----------");
  WalkTree(elem, ContextLine, nullptr, nullptr, stream);
  std::fputc('\n', stream);
}

void PrintIdList(std::FILE* stream) {
  if (!stream) return;
  for (const IdEntry& entry : doc.idIndex) {
    const ElemNode* e = entry.elem;
    const char* fileName = ElementFileName(e);
    std::fprintf(stream, "%s:%s:%s:%d\n", entry.id, e->gi, fileName ? fileName : "-", ElementLine(e));
  }
}

}  // namespace qlx
