// Split: the one tokenizer of the system.  Words are separated by runs of
// blanks (space and tab only; a newline is an ordinary character).  The
// last allowed word takes the rest of the text, blanks and all, and a text
// that ends in blanks yields a last, empty word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace qlx {

enum SplitFlags {
  SPLIT_COPY = 1,   // accepted for compatibility: the text is never changed
  SPLIT_ALLOC = 2,  // raise the word limit to 10000, whatever count says
};

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Splits `text` into at most `count` words (a count outside 1..100 means
// 100).  The words are views into `text`, which must outlive them; every
// call owns its result, so nested callers never share word lists.  An empty
// text, or one of blanks only, gives no words.
std::vector<std::string_view> Split(std::string_view text, int count = 0, int flags = 0);

// The same rule, word by word: calls add(word) for each word, the last of
// `limit` words (no limit by default) taking the rest of the text.
template <typename Add>
void ForEachWord(std::string_view text, Add add, std::size_t limit = SIZE_MAX) {
  std::size_t count = 0;
  std::size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  if (pos == text.size()) return;
  for (;;) {
    std::size_t start = pos;
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

// The same rule into a caller's array of `limit` words, with no allocation
// (for the hot paths).  Returns the number of words found.
int SplitInto(std::string_view text, std::string_view* words, int limit);

}  // namespace qlx
