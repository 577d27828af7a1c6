// The ESIS and XML readers and the five reports.  Input: an
// ESIS stream, a first line "#d" turning on the record-end fix-up (-d); or
// an XML document (what begins with '<' after white space), read by the
// XML reader.
// Besides the sanitizers, the finished tree is checked against the
// invariants the rest of the program relies on, and the input is read a
// second time in blocks of a few records, the reader's first stage on a
// thread of its own: the two reads must agree.

#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "doc/esis.h"
#include "doc/query.h"
#include "doc/tree.h"
#include "doc/xml.h"
#include "harness.h"
#include "info/reports.h"
#include "util/settings.h"

namespace {

[[noreturn]] void Broken(const char* what, const qlx::ElemNode* e) {
  std::fprintf(stderr, "tree invariant broken: %s (element %d)\n", what, e ? e->serial : -1);
  std::abort();
}

// Parent links, depths, the children (as serial order finds them) and the
// data against the content, subtree ends, the element chain and the ID
// index.
void CheckTree(const qlx::ElemNode* root) {
  if (root->parent() || root->order != -1 || ElementDepth(root) != 0) Broken("root fields", root);
  // Each element with its depth.
  std::vector<std::pair<const qlx::ElemNode*, int>> stack{{root, 0}};
  int seen = 0;
  while (!stack.empty()) {
    auto [e, depth] = stack.back();
    stack.pop_back();
    ++seen;
    if (!e->gi) Broken("element without a name", e);
    if (qlx::SubtreeEnd(e) <= e->serial || qlx::SubtreeEnd(e) > qlx::doc.nextSerial)
      Broken("subtree end", e);
    int children = 0, data = 0;
    const qlx::ElemNode* prev = nullptr;  // the child before, by the content
    for (int i = 0; i < e->contentCount; ++i) {
      const qlx::ContentItem& item = e->items()[i];
      if (item.kind() == '(') {
        const qlx::ElemNode* c = item.elem();
        if (children >= e->childCount || (prev ? NextSibling(prev) : FirstChild(e)) != c ||
            PrevSibling(c) != prev)
          Broken("children in serial order", e);
        if (c->parent() != e || c->order != children) Broken("child fields", c);
        ++children;
        prev = c;
        stack.emplace_back(c, depth + 1);
      } else if (item.kind() == '-') {
        if (data >= DataCount(e) || qlx::NthData(e, data) != item.text()) Broken("data texts", e);
        if (std::strchr(item.text(), '\n')) Broken("line end kept in data", e);
        ++data;
      } else if (item.kind() != '?') {
        Broken("content kind", e);
      }
    }
    if (children != e->childCount || data != DataCount(e) || (prev && NextSibling(prev)))
      Broken("counts", e);
    if (depth < 64 && ElementDepth(e) != depth) Broken("depth", e);
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

// What a read left, as text: every element's fields, attributes and
// content, or "stopped".
std::string Summary(const qlx::ElemNode* root) {
  if (!root) return "stopped";
  std::string out;
  for (int s = 0; s < qlx::doc.nextSerial; ++s) {
    const qlx::ElemNode* e = qlx::ElementBySerial(s);
    out += std::string(e->gi ? e->gi : "?") + " " + std::to_string(e->parentSerial) + " " +
           std::to_string(e->end) + " " + std::to_string(qlx::ElementLine(e)) + "\n";
    for (int i = 0; i < e->attCount(); ++i) out += std::string(e->atts()[i].name) + "=" + e->atts()[i].value + "\n";
    for (int i = 0; i < e->contentCount; ++i) {
      const qlx::ContentItem& item = e->items()[i];
      out += item.kind();
      out += item.kind() == '(' ? std::to_string(item.elem()->serial) : std::string(item.text());
      out += "\n";
    }
  }
  return out;
}

// Reads the ESIS twice, the second time in blocks of a few records with
// the first stage on a thread of its own: the two reads must agree.
qlx::ElemNode* ReadEsisTwice(std::string_view esis, size_t size) {
  if (esis.substr(0, 3) == "#d\n") {
    qlx::settings.esisDataFix = true;
    esis.remove_prefix(3);
  }
  const qlx::EsisReadOptions split{1 + size % 5, qlx::EsisReadOptions::Threads::kAlways};
  const std::string splitRead = Summary(fuzz::ReadDocument(esis, split));
  qlx::ElemNode* root = fuzz::ReadDocument(esis);
  if (Summary(root) != splitRead) {
    std::fprintf(stderr, "a read in blocks of %zu records differs\n", split.blockRecords);
    std::abort();
  }
  return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InitOnce();
  fuzz::ResetProcessState();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  qlx::ElemNode* root =
      qlx::LooksLikeXml(input) ? fuzz::ReadXmlDocument(input) : ReadEsisTwice(input, size);
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
