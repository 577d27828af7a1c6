#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "browse/find.h"
#include "doc/query.h"
#include "doc/tree.h"
#include "testutil.h"

namespace qlx {
namespace {

using test::ReadDocument;

// A random document over the names A, B and C: attributes K (values u, v)
// and ID, and data items drawn from a few words.
std::string RandomDocument(std::mt19937* rng, int elements) {
  const char* names[] = {"A", "B", "C"};
  const char* words[] = {"red", "green", "blue", "redder"};
  auto pick = [&](int n) { return int((*rng)() % unsigned(n)); };
  std::string esis;
  int open = 0, made = 0, ids = 0;
  auto startElement = [&] {
    if (pick(2)) esis += std::string("AK CDATA ") + (pick(2) ? "u" : "v") + "\n";
    if (pick(3) == 0) esis += "AID TOKEN I" + std::to_string(ids++) + "\n";
    esis += std::string("(") + names[pick(3)] + "\n";
    ++open;
    ++made;
  };
  startElement();  // the one root, closed last
  while (open > 0) {
    int action = made < elements ? pick(4) : 3;
    if (action <= 1) {
      startElement();
    } else if (action == 2 || (open == 1 && made < elements)) {
      esis += std::string("-") + words[pick(4)] + "\n";
    } else {
      esis += ")X\n";
      --open;
    }
  }
  return esis;
}

std::vector<ElemNode*> Subtree(ElemNode* top) {
  std::vector<ElemNode*> all;
  WalkTree(
      top, [](ElemNode* e, void* user) { static_cast<std::vector<ElemNode*>*>(user)->push_back(e); },
      nullptr, nullptr, &all);
  return all;
}

// The tests as the relation queries state them, one element at a time.
bool Expected(ElemNode* e, FindTest test, const char* x, const char* y) {
  switch (test) {
    case FIND_Gi: return std::strcmp(e->gi, x) == 0;
    case FIND_Attr: {
      const char* v = FindAttValue(e, x);
      return v && std::strcmp(v, y) == 0;
    }
    case FIND_Parent: return FindRelated(e, x, REL_Parent) != nullptr;
    case FIND_Child: return FindRelated(e, x, REL_Child) != nullptr;
    case FIND_Cont:
      for (const char* data : DataTexts(e)) {
        if (std::strstr(data, x)) return true;
      }
      return false;
    case FIND_Sib: return FindRelated(e, x, REL_Sibling) != nullptr;
    case FIND_Desc: return FindRelated(e, x, REL_Descendant) != nullptr;
    case FIND_Anc: return FindRelated(e, x, REL_Ancestor) != nullptr;
  }
  return false;
}

TEST(BrowseFind, AgreesWithTheRelationQueriesOnRandomDocuments) {
  std::mt19937 rng(20240611);
  const struct {
    FindTest test;
    std::vector<const char*> xs;
  } cases[] = {
      {FIND_Gi, {"A", "B", "C", "a", "Z"}},  {FIND_Parent, {"A", "B", "C", "Z"}},
      {FIND_Child, {"A", "B", "C", "Z"}},    {FIND_Sib, {"A", "B", "C", "Z"}},
      {FIND_Desc, {"A", "B", "C", "Z"}},     {FIND_Anc, {"A", "B", "C", "Z"}},
      {FIND_Cont, {"red", "e", "dd", "x"}},
  };
  for (int round = 0; round < 40; ++round) {
    ElemNode* root = ReadDocument(RandomDocument(&rng, 1 + round * 3));
    std::vector<ElemNode*> all = Subtree(root);
    // The whole document and a few subtrees, whose relations reach out.
    std::vector<ElemNode*> tops = {root, all[all.size() / 2], all.back(), all[all.size() / 3]};
    for (ElemNode* top : tops) {
      std::vector<ElemNode*> range = Subtree(top);
      auto check = [&](FindTest test, const char* x, const char* y) {
        std::vector<ElemNode*> want;
        for (ElemNode* e : range) {
          if (Expected(e, test, x, y)) want.push_back(e);
        }
        EXPECT_EQ(FindElements(top, test, x, y), want)
            << "round " << round << " test " << test << " x " << x;
      };
      for (const auto& c : cases) {
        for (const char* x : c.xs) check(c.test, x, nullptr);
      }
      check(FIND_Attr, "K", "u");
      check(FIND_Attr, "K", "v");
      check(FIND_Attr, "K", "");
      check(FIND_Attr, "ID", "I0");
      check(FIND_Attr, "k", "u");
    }
  }
}

TEST(BrowseFind, NamesTheEightTests) {
  FindTest t;
  ASSERT_TRUE(FindTestFromName("anc", &t));
  EXPECT_EQ(t, FIND_Anc);
  ASSERT_TRUE(FindTestFromName("attr", &t));
  EXPECT_EQ(t, FIND_Attr);
  EXPECT_FALSE(FindTestFromName("ancestor", &t));
  EXPECT_FALSE(FindTestFromName("GI", &t));
  EXPECT_FALSE(FindTestFromName("", &t));
}

// 100,000 levels: searches neither recurse per level nor climb to the top
// from every element.
TEST(BrowseFind, DeepNestingIsSearchedInLinearTime) {
  const int depth = 100000;
  std::string esis;
  for (int i = 0; i < depth; ++i) esis += i % 2 ? "(B\n" : "(A\n";
  esis += "-bottom\n";
  for (int i = 0; i < depth; ++i) esis += ")X\n";
  ElemNode* root = ReadDocument(esis);
  EXPECT_EQ(FindElements(root, FIND_Anc, "A", nullptr).size(), size_t(depth - 1));
  EXPECT_EQ(FindElements(root, FIND_Desc, "B", nullptr).size(), size_t(depth - 1));
  std::vector<ElemNode*> deep = FindElements(root, FIND_Cont, "bottom", nullptr);
  ASSERT_EQ(deep.size(), 1u);
  EXPECT_EQ(ElementDepth(deep[0]), depth - 1);
  // From the deepest element up: its ancestors outside the range count.
  EXPECT_EQ(FindElements(deep[0], FIND_Anc, "A", nullptr).size(), 1u);
  EXPECT_TRUE(FindElements(deep[0], FIND_Desc, "A", nullptr).empty());
}

// 100,000 siblings: each one's siblings are counted once per parent.
TEST(BrowseFind, WideElementIsSearchedInLinearTime) {
  const int width = 100000;
  std::string esis = "(DOC\n";
  for (int i = 0; i < width; ++i) esis += i == width - 1 ? "(LAST\n)LAST\n" : "(P\n)P\n";
  esis += ")DOC\n";
  ElemNode* root = ReadDocument(esis);
  // Every P has the LAST sibling; LAST has only P siblings.
  EXPECT_EQ(FindElements(root, FIND_Sib, "LAST", nullptr).size(), size_t(width - 1));
  EXPECT_EQ(FindElements(root, FIND_Sib, "P", nullptr).size(), size_t(width));
  EXPECT_EQ(FindElements(root, FIND_Parent, "DOC", nullptr).size(), size_t(width));
}

}  // namespace
}  // namespace qlx
