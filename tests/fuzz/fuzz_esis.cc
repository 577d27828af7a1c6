// The ESIS reader, FinishTree and the five reports.  Input: an ESIS
// stream; a first line "#d" turns on the record-end fix-up (-d).
// Besides the sanitizers, the finished tree is checked against the
// invariants the rest of the program relies on.

#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "doc/query.h"
#include "doc/tree.h"
#include "harness.h"
#include "info/reports.h"
#include "util/settings.h"

namespace {

[[noreturn]] void Broken(const char* what, const qlx::ElemNode* e) {
  std::fprintf(stderr, "tree invariant broken: %s (element %d)\n", what, e ? e->serial : -1);
  std::abort();
}

// Parent links, depths, the children and data arrays against the content,
// sibling order, the element chain and the ID index.
void CheckTree(const qlx::ElemNode* root) {
  if (root->parent() || root->order != -1 || ElementDepth(root) != 0) Broken("root fields", root);
  std::vector<const qlx::ElemNode*> stack{root};
  int seen = 0;
  while (!stack.empty()) {
    const qlx::ElemNode* e = stack.back();
    stack.pop_back();
    ++seen;
    if (!e->gi) Broken("element without a name", e);
    int children = 0, data = 0;
    for (int i = 0; i < e->contentCount; ++i) {
      const qlx::ContentItem& item = e->items()[i];
      if (item.kind() == '(') {
        const qlx::ElemNode* c = item.elem();
        if (children >= e->childCount || NthChild(e, children) != c) Broken("children array", e);
        if (c->parent() != e || ElementDepth(c) != ElementDepth(e) + 1 || c->order != children)
          Broken("child fields", c);
        ++children;
        stack.push_back(c);
      } else if (item.kind() == '-') {
        if (data >= DataCount(e) || qlx::NthData(e, data) != item.text()) Broken("data texts", e);
        if (std::strchr(item.text(), '\n')) Broken("line end kept in data", e);
        ++data;
      } else if (item.kind() != '?') {
        Broken("content kind", e);
      }
    }
    if (children != e->childCount || data != DataCount(e)) Broken("counts", e);
    for (int i = 0; i < e->attCount(); ++i) {
      if (!e->atts()[i].name || !e->atts()[i].value) Broken("attribute", e);
    }
  }
  int chained = 0;
  for (const qlx::ElemNode* e = root; e; e = qlx::NextElement(e)) ++chained;
  if (chained != seen || qlx::ElementBySerial(0) != root) Broken("element order", root);
  for (const qlx::IdEntry& entry : qlx::doc.idIndex) {
    if (!entry.elem || !entry.id || std::strcmp(qlx::ElementId(entry.elem), entry.id) != 0)
      Broken("ID index", entry.elem);
    const qlx::ElemNode* found = qlx::FindElementByID(entry.id);
    if (!found || std::strcmp(qlx::ElementId(found), entry.id) != 0) Broken("ID lookup", entry.elem);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InitOnce();
  fuzz::ResetProcessState();
  std::string_view esis(reinterpret_cast<const char*>(data), size);
  if (esis.substr(0, 3) == "#d\n") {
    qlx::settings.esisDataFix = true;
    esis.remove_prefix(3);
  }
  qlx::ElemNode* root = fuzz::ReadDocument(esis);
  if (!root) return 0;
  CheckTree(root);
  std::FILE* out = fuzz::NullStream();
  fuzz::Guarded([&] {
    qlx::PrintUsageSummary(root, out);
    qlx::PrintTreeReport(root, out);
    qlx::PrintStatistics(root, out);
    qlx::PrintContextReport(root, out);
    qlx::PrintIdList(out);
    // The deepest-numbered element's reports and location too: subtrees
    // and paths of elements other than the root.
    qlx::ElemNode* last = qlx::ElementBySerial(qlx::doc.nextSerial - 1);
    qlx::PrintStatistics(last, out);
    qlx::PrintContextReport(last, out);
    qlx::PrintLocation(last, out);
    (void)qlx::BuildPath(last);
  });
  return 0;
}
