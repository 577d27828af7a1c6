#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/split.h"

namespace qlx {
namespace {

std::vector<std::string> Words(std::string_view text, int count = 0, int flags = 0) {
  std::vector<std::string> out;
  for (std::string_view w : Split(text, count, flags)) out.emplace_back(w);
  return out;
}

using V = std::vector<std::string>;

TEST(Split, BlankRunsSeparateAndTrailingBlanksGiveEmptyLastWord) {
  EXPECT_EQ(Words("a  b"), (V{"a", "b"}));
  EXPECT_EQ(Words(" a b "), (V{"a", "b", ""}));
  EXPECT_EQ(Words("a\tb"), (V{"a", "b"}));
  EXPECT_EQ(Words("a\nb c"), (V{"a\nb", "c"}));  // newline is no separator
  EXPECT_TRUE(Words("").empty());
  EXPECT_TRUE(Words(" \t ").empty());
}

TEST(Split, LimitKeepsTheRestInTheLastWord) {
  EXPECT_EQ(Words("x y  z", 2), (V{"x", "y  z"}));
  EXPECT_EQ(Words("x", 2), (V{"x"}));
  EXPECT_EQ(Words("n CDATA two words", 3), (V{"n", "CDATA", "two words"}));
  EXPECT_EQ(Words("n CDATA ", 3), (V{"n", "CDATA", ""}));
}

TEST(Split, CountOutsideRangeMeansOneHundred) {
  std::string text;
  for (int i = 0; i < 105; ++i) text += "w" + std::to_string(i) + " ";
  for (int count : {0, -3, 101, 1000}) {
    V words = Words(text, count);
    ASSERT_EQ(words.size(), 100u) << count;
    EXPECT_EQ(words[98], "w98");
    EXPECT_EQ(words[99], "w99 w100 w101 w102 w103 w104 ");
  }
}

TEST(Split, AllocModeAllowsTenThousandWords) {
  std::string text;
  for (int i = 0; i < 250; ++i) text += "w ";
  text += "end";
  EXPECT_EQ(Words(text, 20, SPLIT_ALLOC).size(), 251u);
}

}  // namespace
}  // namespace qlx
