#include "util/split.h"

namespace qlx {

namespace {

// Calls add(word) for each word; add returns false when the limit is
// reached after that word.
template <typename Add>
void SplitWords(std::string_view text, size_t limit, Add add) {
  size_t count = 0;
  size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  if (pos == text.size()) return;
  for (;;) {
    size_t start = pos;
    if (count + 1 == limit) {
      add(text.substr(start));
      return;
    }
    while (pos < text.size() && !IsBlank(text[pos])) ++pos;
    add(text.substr(start, pos - start));
    ++count;
    if (pos == text.size()) return;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos == text.size()) {  // trailing blanks: a last, empty word
      add(text.substr(pos));
      return;
    }
  }
}

}  // namespace

std::vector<std::string_view> Split(std::string_view text, int count, int flags) {
  size_t limit = (count >= 1 && count <= 100) ? size_t(count) : 100;
  if (flags & SPLIT_ALLOC) limit = 10000;
  std::vector<std::string_view> words;
  SplitWords(text, limit, [&](std::string_view w) { words.push_back(w); });
  return words;
}

int SplitInto(std::string_view text, std::string_view* words, int limit) {
  int n = 0;
  SplitWords(text, size_t(limit < 1 ? 1 : limit), [&](std::string_view w) { words[n++] = w; });
  return n;
}

}  // namespace qlx
