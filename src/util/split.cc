#include "util/split.h"

namespace qlx {

std::vector<std::string_view> Split(std::string_view text, int count, int flags) {
  size_t limit = (count >= 1 && count <= 100) ? size_t(count) : 100;
  if (flags & SPLIT_ALLOC) limit = 10000;
  std::vector<std::string_view> words;
  size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  if (pos == text.size()) return words;
  for (;;) {
    size_t start = pos;
    if (words.size() + 1 == limit) {
      words.push_back(text.substr(start));
      return words;
    }
    while (pos < text.size() && !IsBlank(text[pos])) ++pos;
    words.push_back(text.substr(start, pos - start));
    if (pos == text.size()) return words;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos == text.size()) {  // trailing blanks: a last, empty word
      words.push_back(text.substr(pos));
      return words;
    }
  }
}

}  // namespace qlx
