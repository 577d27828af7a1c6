// Split: the one tokenizer of the system.  Words are separated by runs of
// blanks (space and tab only; a newline is an ordinary character).  The
// last allowed word takes the rest of the text, blanks and all, and a text
// that ends in blanks yields a last, empty word.
#pragma once

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

// The same rule into a caller's array of `limit` words, with no allocation
// (for the hot paths).  Returns the number of words found.
int SplitInto(std::string_view text, std::string_view* words, int limit);

}  // namespace qlx
