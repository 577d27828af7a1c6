#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "doc/tree.h"
#include "info/reports.h"
#include "testutil.h"

namespace qlx {
namespace {

using test::ReadDocument;

template <typename F>
std::string Capture(F&& write) {
  char* buf = nullptr;
  size_t len = 0;
  std::FILE* f = open_memstream(&buf, &len);
  write(f);
  std::fclose(f);
  std::string text(buf, len);
  std::free(buf);
  return text;
}

// DOC ( A, S[ID=S1, K="v w"] ( B, A ), B ): names first seen in the order
// DOC A S B, while inside S they come as S B A.
const char* const kDoc =
    "(DOC\n-hello\n(A\n)A\n"
    "AID TOKEN S1\nAK CDATA v w\n(S\n(B\n-abc\n)B\n(A\n-xy\n-z\n)A\n)S\n"
    "(B\n)B\n)DOC\n";

TEST(Reports, UsageSummaryOfSubtreeKeepsRealParentAndDepth) {
  ElemNode* root = ReadDocument(kDoc);
  EXPECT_EQ(Capture([&](std::FILE* f) { PrintUsageSummary(NthChild(root, 1), f); }),
            "Element             Att  Data  Chd  Dep Parent\n"
            "S                     2     0    2    1 DOC\n"
            "                                            0: ID = S1\n"
            "                                            1: K = v w\n"
            "B                     0     3    0    2 S\n"
            "A                     0     3    0    2 S\n");
}

TEST(Reports, TreeOfSubtreeIndentsByDocumentDepth) {
  ElemNode* root = ReadDocument(kDoc);
  EXPECT_EQ(Capture([&](std::FILE* f) { PrintTreeReport(NthChild(root, 1), f); }),
            ".  S  (2,0)\n"
            ".  .  B  (0,1)\n"
            ".  .  A  (0,2)\n"
            "\n");
}

TEST(Reports, StatisticsOfSubtreeListNamesInFirstSeenOrder) {
  ElemNode* root = ReadDocument(kDoc);
  InternElementName("ONLYINSPEC");  // interned, used by no element: not listed
  // The top element S is not counted in the total: 2 elements, three names
  // at 50% each.  DOC lies outside the subtree.
  EXPECT_EQ(Capture([&](std::FILE* f) { PrintStatistics(NthChild(root, 1), f); }),
            "Element name           Occurrances   Character Content\n"
            "---------------        -----------   -----------------\n"
            "A                         1  50.0%        3     3\n"
            "S                         1  50.0%        0     0\n"
            "B                         1  50.0%        3     3\n"
            "\n"
            "Total of 2 elements used, 3 different ones.\n"
            "Total character data: 6.\n"
            "Maximum element depth: 2.\n"
            "\n");
  // The whole document: B twice, characters summed, average truncated.
  std::string whole = Capture([&](std::FILE* f) { PrintStatistics(root, f); });
  EXPECT_NE(whole.find("\nDOC                       1  20.0%        5     5\n"), std::string::npos)
      << whole;
  EXPECT_NE(whole.find("\nA                         2  40.0%        3     1\n"), std::string::npos)
      << whole;
  EXPECT_NE(whole.find("\nTotal of 5 elements used, 4 different ones.\n"
                       "Total character data: 11.\n"),
            std::string::npos)
      << whole;
}

TEST(Reports, StatisticsShareIsRoundedToSinglePrecision) {
  // 2000 counted elements; 3 of them are A: 3 * 100 / 2000 is 0.15, which
  // as a double prints as 0.1 but as the nearest float (0.150000006) as 0.2.
  std::string esis = "(DOC\n";
  for (int i = 0; i < 3; ++i) esis += "(A\n)A\n";
  for (int i = 0; i < 1997; ++i) esis += "(B\n)B\n";
  esis += ")DOC\n";
  ElemNode* root = ReadDocument(esis);
  std::string out = Capture([&](std::FILE* f) { PrintStatistics(root, f); });
  EXPECT_NE(out.find("\nDOC                       1   0.1%        0     0\n"), std::string::npos)
      << out;
  EXPECT_NE(out.find("\nA                         3   0.2%        0     0\n"), std::string::npos)
      << out;
  EXPECT_NE(out.find("\nB                      1997  99.8%        0     0\n"), std::string::npos)
      << out;
}

TEST(Reports, ContextOfSubtree) {
  ElemNode* root = ReadDocument(kDoc);
  EXPECT_EQ(Capture([&](std::FILE* f) { PrintContextReport(NthChild(root, 1), f); }),
            "Element                Context\n"
            "---------------        -----------\n"
            "S                      DOC\n"
            "B                      S DOC\n"
            "A                      S DOC\n"
            "\n");
}

// A stdio stream that only counts what is written to it, so that reports
// of many gigabytes can be checked without storing them.
struct Tally {
  unsigned long long bytes = 0;
  std::string tail;  // the last bytes written
};

std::FILE* CountingStream(Tally* tally) {
  cookie_io_functions_t io{};
  io.write = [](void* cookie, const char* buf, size_t size) -> ssize_t {
    auto* t = static_cast<Tally*>(cookie);
    t->bytes += size;
    if (size >= 64) {
      t->tail.assign(buf + size - 64, 64);
    } else {
      t->tail.append(buf, size);
      if (t->tail.size() > 64) t->tail.erase(0, t->tail.size() - 64);
    }
    return static_cast<ssize_t>(size);
  };
  return fopencookie(tally, "w", io);
}

TEST(Reports, HundredThousandLevels) {
  const int kDepth = 100000;
  std::string esis;
  for (int i = 0; i < kDepth; ++i) esis += "(E\n-d\n";
  for (int i = 0; i < kDepth; ++i) esis += ")E\n";
  ElemNode* root = ReadDocument(esis);

  std::string stats = Capture([&](std::FILE* f) { PrintStatistics(root, f); });
  EXPECT_NE(stats.find("\nE                      100000  100.0%   100000     1\n"
                       "\nTotal of 99999 elements used, 1 different ones.\n"
                       "Total character data: 100000.\n"
                       "Maximum element depth: 99999.\n"),
            std::string::npos)
      << stats;

  std::string context = Capture([&](std::FILE* f) { PrintContextReport(root, f); });
  // Header lines of 31 and 35 characters; 24 per element plus its
  // ancestors: none for the root, 1 to 9 names (2d - 1 characters), then
  // always 10 (19 characters); the closing empty line.
  size_t want = 31 + 35 + 24 + 1;
  for (int d = 1; d < kDepth; ++d) want += 24 + (d < 10 ? 2 * d - 1 : 19);
  EXPECT_EQ(context.size(), want);
  EXPECT_EQ(context.substr(context.size() - 44),
            "E                      E E E E E E E E E E\n\n");

  std::string usage = Capture([&](std::FILE* f) { PrintUsageSummary(root, f); });
  EXPECT_EQ(usage.substr(usage.size() - 43), "E                     0     1    0 99999 E\n");

  // Each line of the tree is indented by three characters per level: about
  // fifteen gigabytes in all.
  Tally tally;
  std::FILE* counter = CountingStream(&tally);
  PrintTreeReport(root, counter);
  std::fclose(counter);
  unsigned long long indent = 3ULL * (kDepth - 1) * kDepth / 2;
  EXPECT_EQ(tally.bytes, indent + kDepth * 9ULL + 1);  // "E  (1,1)\n" and the empty line
  ASSERT_GE(tally.tail.size(), 16u);
  EXPECT_EQ(tally.tail.substr(tally.tail.size() - 16), ".  .  E  (0,1)\n\n");
}

}  // namespace
}  // namespace qlx
