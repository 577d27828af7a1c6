#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "doc/query.h"
#include "doc/tree.h"
#include "testutil.h"

namespace qlx {
namespace {

using test::ReadDocument;

// Collects what a function writes to a stdio stream.
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

// Follows a path of child positions from the root.
ElemNode* At(ElemNode* root, std::initializer_list<int> path) {
  ElemNode* e = root;
  for (int i : path) e = NthChild(e, i);
  return e;
}

// An ESIS text of `depth` nested elements E, innermost holding `inner`.
std::string Nested(int depth, const std::string& inner = "") {
  std::string s;
  for (int i = 0; i < depth; ++i) s += "(E\n";
  s += inner;
  for (int i = 0; i < depth; ++i) s += ")E\n";
  return s;
}

TEST(Query, FindAttValue) {
  ElemNode* root =
      ReadDocument("AX CDATA first\nAx CDATA lower\nAX CDATA second\nAE CDATA \n(DOC\n(P\n)P\n)DOC\n");
  EXPECT_STREQ(FindAttValue(root, "X"), "first");  // the first of two wins
  EXPECT_STREQ(FindAttValue(root, "x"), "lower");  // names are case-sensitive
  EXPECT_STREQ(FindAttValue(root, "E"), "");
  EXPECT_EQ(FindAttValue(root, "Y"), nullptr);
  EXPECT_EQ(FindAttValue(root, ""), nullptr);
  EXPECT_EQ(FindAttValue(NthChild(root, 0), "X"), nullptr);  // no attributes
  EXPECT_EQ(FindAttValue(nullptr, "X"), nullptr);
}

TEST(Query, FindElementByIdFirstWins) {
  ElemNode* root = ReadDocument(
      "(DOC\nAID TOKEN A1\n(P\n)P\nAID TOKEN B2\n(Q\n)Q\nAID TOKEN A1\n(R\n)R\n)DOC\n");
  EXPECT_EQ(FindElementByID("A1"), NthChild(root, 0));
  EXPECT_EQ(FindElementByID("B2"), NthChild(root, 1));
  EXPECT_EQ(FindElementByID("a1"), nullptr);
  EXPECT_EQ(FindElementByID("A"), nullptr);
  EXPECT_EQ(FindElementByID(nullptr), nullptr);
}

TEST(Query, RelationFromName) {
  const std::vector<std::pair<const char*, Relation>> names = {
      {"parent", REL_Parent},         {"child", REL_Child},
      {"ancestor", REL_Ancestor},     {"descendant", REL_Descendant},
      {"sibling", REL_Sibling},       {"sibling-", REL_Preceding},
      {"sibling-1", REL_ImmPreceding}, {"sibling+", REL_Following},
      {"sibling+1", REL_ImmFollowing}, {"cousin", REL_Cousin},
  };
  for (const auto& [name, rel] : names) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(RelationFromName(name), rel) << name;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << name;
  }

  testing::internal::CaptureStderr();
  EXPECT_EQ(RelationFromName("?"), REL_None);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Supported query/relationships child, parent, ancestor, descendant,\n"
            "sibling, sibling+, sibling+1, sibling-, sibling-1.\n");

  for (const char* bad : {"Sibling", "", "?x", "sibling+2", "parent "}) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(RelationFromName(bad), REL_Unknown) << bad;
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              std::string("Unknown relationship: ") + bad + "\n");
  }
}

// DOC
//   A  B  A  C  E  A  F  A        (children of DOC, positions 0..7)
//   and inside the first B: X, with T inside X
class QueryRelated : public testing::Test {
 protected:
  void SetUp() override {
    root = ReadDocument(
        "(DOC\n(A\n)A\n(B\n(X\n(T\n)T\n)X\n)B\n(A\n)A\n(C\n)C\n(E\n)E\n(A\n)A\n(F\n)F\n(A\n)A\n"
        ")DOC\n");
    e = NthChild(root, 4);
  }
  ElemNode* root = nullptr;
  ElemNode* e = nullptr;
};

TEST_F(QueryRelated, ParentChildAncestor) {
  ElemNode* t = At(root, {1, 0, 0});
  EXPECT_EQ(FindRelated(t, "X", REL_Parent), At(root, {1, 0}));
  EXPECT_EQ(FindRelated(t, "B", REL_Parent), nullptr);  // the parent has another name
  EXPECT_EQ(FindRelated(root, "DOC", REL_Parent), nullptr);

  EXPECT_EQ(FindRelated(root, "A", REL_Child), NthChild(root, 0));  // the first of four
  EXPECT_EQ(FindRelated(root, "F", REL_Child), NthChild(root, 6));
  EXPECT_EQ(FindRelated(root, "T", REL_Child), nullptr);  // a grandchild is no child

  EXPECT_EQ(FindRelated(t, "B", REL_Ancestor), NthChild(root, 1));
  EXPECT_EQ(FindRelated(t, "DOC", REL_Ancestor), root);
  EXPECT_EQ(FindRelated(t, "T", REL_Ancestor), nullptr);  // itself is no ancestor
  EXPECT_EQ(FindRelated(root, "DOC", REL_Ancestor), nullptr);
}

TEST_F(QueryRelated, SiblingsAndCousin) {
  // Preceding: the earliest A before E, not the nearest.
  EXPECT_EQ(FindRelated(e, "A", REL_Preceding), NthChild(root, 0));
  EXPECT_EQ(FindRelated(e, "F", REL_Preceding), nullptr);  // F only comes after
  // Following: the nearest A after E.
  EXPECT_EQ(FindRelated(e, "A", REL_Following), NthChild(root, 5));
  EXPECT_EQ(FindRelated(e, "C", REL_Following), nullptr);  // C only comes before
  EXPECT_EQ(FindRelated(e, "C", REL_ImmPreceding), NthChild(root, 3));
  EXPECT_EQ(FindRelated(e, "A", REL_ImmPreceding), nullptr);
  EXPECT_EQ(FindRelated(e, "A", REL_ImmFollowing), NthChild(root, 5));
  EXPECT_EQ(FindRelated(e, "F", REL_ImmFollowing), nullptr);
  EXPECT_EQ(FindRelated(NthChild(root, 0), "A", REL_ImmPreceding), nullptr);  // first child
  EXPECT_EQ(FindRelated(NthChild(root, 7), "A", REL_ImmFollowing), nullptr);  // last child
  EXPECT_EQ(FindRelated(NthChild(root, 7), "A", REL_Following), nullptr);
  EXPECT_EQ(FindRelated(NthChild(root, 0), "A", REL_Preceding), nullptr);

  // Sibling: the first one in order, never the element itself.
  EXPECT_EQ(FindRelated(NthChild(root, 5), "A", REL_Sibling), NthChild(root, 0));
  EXPECT_EQ(FindRelated(NthChild(root, 0), "A", REL_Sibling), NthChild(root, 2));
  EXPECT_EQ(FindRelated(e, "E", REL_Sibling), nullptr);  // only itself has the name
  // Cousin: the same, but the element itself counts.
  EXPECT_EQ(FindRelated(e, "E", REL_Cousin), e);
  EXPECT_EQ(FindRelated(NthChild(root, 5), "A", REL_Cousin), NthChild(root, 0));

  // The root has no siblings.
  for (Relation rel : {REL_Sibling, REL_Preceding, REL_ImmPreceding, REL_Following,
                       REL_ImmFollowing, REL_Cousin}) {
    EXPECT_EQ(FindRelated(root, "DOC", rel), nullptr) << rel;
  }
}

TEST_F(QueryRelated, NoneUnknownAndOutOfRange) {
  for (Relation rel : {REL_None, REL_Unknown}) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(FindRelated(e, "A", rel), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "You can not query 'REL_None' or 'REL_Unknown'.\n");
  }
  testing::internal::CaptureStderr();
  EXPECT_EQ(FindRelated(e, "A", static_cast<Relation>(12)), nullptr);
  EXPECT_EQ(FindRelated(e, "A", static_cast<Relation>(-1)), nullptr);
  EXPECT_EQ(FindRelated(nullptr, "A", REL_Parent), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(Query, DescendantSearchOrder) {
  // DOC: X (B (T1)), Y (T2): the first subtree is searched whole before the
  // next, although T2 lies less deep.
  ElemNode* root =
      ReadDocument("(DOC\n(X\n(B\n(T\n)T\n)B\n)X\n(Y\n(T\n)T\n)Y\n)DOC\n");
  EXPECT_EQ(FindRelated(root, "T", REL_Descendant), At(root, {0, 0, 0}));

  // Within one node all children are checked before any grandchild: in
  // X (Z (T1), T2) the search finds T2, X's own child.
  root = ReadDocument("(DOC\n(X\n(Z\n(T\n)T\n)Z\n(T\n)T\n)X\n)DOC\n");
  EXPECT_EQ(FindRelated(root, "T", REL_Descendant), At(root, {0, 1}));
  EXPECT_EQ(FindRelated(root, "Z", REL_Descendant), At(root, {0, 0}));
  EXPECT_EQ(FindRelated(root, "DOC", REL_Descendant), nullptr);  // not itself
  EXPECT_EQ(FindRelated(At(root, {0, 0}), "T", REL_Descendant), At(root, {0, 0, 0}));
  EXPECT_EQ(FindRelated(At(root, {0, 1}), "T", REL_Descendant), nullptr);

  // Deeper mix: DOC (P (Q (R (S))), P2 (S)): S under the first subtree wins
  // over the shallow one in the second.
  root = ReadDocument(
      "(DOC\n(P\n(Q\n(R\n(S\n)S\n)R\n)Q\n)P\n(P2\n(S\n)S\n)P2\n)DOC\n");
  EXPECT_EQ(FindRelated(root, "S", REL_Descendant), At(root, {0, 0, 0, 0}));
}

TEST(Query, DeepDocument) {
  const int kDepth = 100000;
  ElemNode* root = ReadDocument(Nested(kDepth - 1, "(T\n)T\n"));
  ElemNode* deepest = root;
  while (deepest->childCount) deepest = NthChild(deepest, 0);
  ASSERT_EQ(ElementDepth(deepest), kDepth - 1);
  EXPECT_EQ(FindRelated(root, "T", REL_Descendant), deepest);
  EXPECT_EQ(FindRelated(root, "Q", REL_Descendant), nullptr);
  EXPECT_EQ(FindRelated(deepest, "E", REL_Ancestor), deepest->parent());

  int before = 0, after = 0;
  WalkTree(
      root, [](ElemNode*, void* n) { ++*static_cast<int*>(n); },
      [](ElemNode*, void*) {}, nullptr, &before);
  WalkTree(root, nullptr, [](ElemNode*, void* n) { ++*static_cast<int*>(n); }, nullptr, &after);
  EXPECT_EQ(before, kDepth);
  EXPECT_EQ(after, kDepth);

  // The path is built whole, far beyond 40 levels.
  std::string path = BuildPath(deepest);
  EXPECT_EQ(path.size(), size_t(kDepth - 1) * 5 + 1);
  EXPECT_EQ(path.substr(0, 10), "E(0) E(0) ");
  EXPECT_EQ(path.substr(path.size() - 6), "E(0) T");
  EXPECT_EQ(AncestorNames(deepest, -1).size(), size_t(kDepth - 1) * 2 - 1);
  EXPECT_EQ(AncestorNames(deepest, 10), "E E E E E E E E E E");
}

TEST(Query, WalkTreeOrder) {
  ElemNode* root = ReadDocument("(DOC\n-d1\n(C\n-c1\n)C\n?pi\n-d2\n(D\n)D\n)DOC\n");
  std::vector<std::string> log;
  WalkTree(
      root,
      [](ElemNode* e, void* u) {
        static_cast<std::vector<std::string>*>(u)->push_back(std::string("before ") + e->gi);
      },
      [](ElemNode* e, void* u) {
        static_cast<std::vector<std::string>*>(u)->push_back(std::string("after ") + e->gi);
      },
      [](ContentItem* item, void* u) {
        static_cast<std::vector<std::string>*>(u)->push_back(std::string("item ") + item->kind() +
                                                             item->text());
      },
      &log);
  std::vector<std::string> want = {"before DOC", "item -d1",  "before C",  "item -c1",
                                   "after C",    "item ?pi",  "item -d2",  "before D",
                                   "after D",    "after DOC"};
  EXPECT_EQ(log, want);

  // A subtree walk stays inside the subtree; absent callbacks are skipped.
  log.clear();
  WalkTree(
      NthChild(root, 0), nullptr, nullptr,
      [](ContentItem* item, void* u) {
        static_cast<std::vector<std::string>*>(u)->push_back(item->text());
      },
      &log);
  EXPECT_EQ(log, std::vector<std::string>{"c1"});
  WalkTree(nullptr, nullptr, nullptr, nullptr, nullptr);
}

TEST(Query, BuildPathAndAncestorNames) {
  ElemNode* root = ReadDocument(
      "(DOC\n(SECT\n)SECT\n(SECT\n)SECT\n(SECT\n(P\n)P\n(P\n)P\n)SECT\n)DOC\n");
  EXPECT_EQ(BuildPath(At(root, {2, 0})), "DOC(2) SECT(0) P");
  EXPECT_EQ(BuildPath(At(root, {2, 1})), "DOC(2) SECT(1) P");
  EXPECT_EQ(BuildPath(NthChild(root, 1)), "DOC(1) SECT");
  EXPECT_EQ(BuildPath(root), "DOC");

  ElemNode* p = At(root, {2, 0});
  EXPECT_EQ(AncestorNames(p, 10), "SECT DOC");
  EXPECT_EQ(AncestorNames(p, 1), "SECT");
  EXPECT_EQ(AncestorNames(p, -1), "SECT DOC");
  EXPECT_EQ(AncestorNames(p, 0), "");
  EXPECT_EQ(AncestorNames(root, 10), "");

  // Exactly n names when there are more ancestors.
  root = ReadDocument(Nested(15));
  ElemNode* e = root;
  while (e->childCount) e = NthChild(e, 0);
  EXPECT_EQ(AncestorNames(e, 3), "E E E");
  EXPECT_EQ(AncestorNames(e, -1).size(), size_t(14 * 2 - 1));
}

TEST(Query, PrintLocation) {
  ElemNode* root = ReadDocument(
      "L1 doc.sgm\n(DOC\n"
      "(TITLE\n-Main title\n-more\n)TITLE\n"
      "AID TOKEN S1\nL5\n(SECT\n"
      "AN CDATA 1\nL6\n(P\n)P\n"  // only a TITLE after it in this SECT
      "AN CDATA 2\nL7\n(TITLE\n)TITLE\n"
      "L99\n"  // a line record in content is not read as a line
      "(P\n)P\n"
      ")SECT\n"
      "(SECT\n(TITLE\n)TITLE\n)SECT\n"
      ")DOC\n");
  ElemNode* sect = NthChild(root, 1);

  // The TITLE after the first P does not count: the search goes up to DOC.
  EXPECT_EQ(Capture([&](std::FILE* f) { PrintLocation(NthChild(sect, 0), f); }),
            "  Path: DOC(1) SECT(0) P\n"
            "  Position hint: TITLE='Main title'\n"
            "  At or near instance file: doc.sgm, line: 6\n");
  // The second P finds its SECT's TITLE, which has no data.
  EXPECT_EQ(Capture([&](std::FILE* f) { PrintLocation(NthChild(sect, 2), f); }),
            "  Path: DOC(1) SECT(2) P\n"
            "  Position hint: TITLE='-empty-'\n"
            "  At or near instance file: doc.sgm, line: 7\n");
  // A TITLE counts for itself; the ID line comes last.
  EXPECT_EQ(Capture([&](std::FILE* f) { PrintLocation(NthChild(sect, 1), f); }),
            "  Path: DOC(1) SECT(1) TITLE\n"
            "  Position hint: TITLE='-empty-'\n"
            "  At or near instance file: doc.sgm, line: 7\n");
  EXPECT_EQ(Capture([&](std::FILE* f) { PrintLocation(sect, f); }),
            "  Path: DOC(1) SECT\n"
            "  Position hint: TITLE='Main title'\n"
            "  At or near instance file: doc.sgm, line: 5\n"
            "  ID: S1\n");
  // The root has no siblings to search.
  EXPECT_EQ(Capture([&](std::FILE* f) { PrintLocation(root, f); }),
            "  Path: DOC\n"
            "  At or near instance file: doc.sgm, line: 1\n");

  // From standard input without line records: the path and the hint only.
  root = ReadDocument("(DOC\n(SECT\n(TITLE\n-T\n)TITLE\n)SECT\n(P\n)P\n)DOC\n");
  EXPECT_EQ(Capture([&](std::FILE* f) { PrintLocation(NthChild(root, 1), f); }),
            "  Path: DOC(1) P\n");
  EXPECT_EQ(Capture([&](std::FILE* f) { PrintLocation(At(root, {0, 0}), f); }),
            "  Path: DOC(0) SECT(0) TITLE\n"
            "  Position hint: TITLE='T'\n");
  // A line record without a file name.
  root = ReadDocument("L3\n(DOC\n)DOC\n");
  EXPECT_EQ(Capture([&](std::FILE* f) { PrintLocation(root, f); }),
            "  Path: DOC\n"
            "  At or near instance line: 3\n");
  EXPECT_EQ(Capture([&](std::FILE* f) {
              PrintLocation(nullptr, f);
              PrintLocation(root, static_cast<std::FILE*>(nullptr));
            }),
            "");
}

}  // namespace
}  // namespace qlx
