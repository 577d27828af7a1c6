#include "util/split.h"

namespace qlx {

std::vector<std::string_view> Split(std::string_view text, int count, int flags) {
  size_t limit = (count >= 1 && count <= 100) ? size_t(count) : 100;
  if (flags & SPLIT_ALLOC) limit = 10000;
  std::vector<std::string_view> words;
  ForEachWord(text, [&](std::string_view w) { words.push_back(w); }, limit);
  return words;
}

int SplitInto(std::string_view text, std::string_view* words, int limit) {
  int n = 0;
  ForEachWord(text, [&](std::string_view w) { words[n++] = w; }, size_t(limit < 1 ? 1 : limit));
  return n;
}

}  // namespace qlx
