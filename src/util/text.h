// Small questions and changes of ASCII text.  Case changes touch the
// letters a-z and A-Z only, whatever the locale: bytes beyond ASCII (UTF-8
// or Latin-1 text of a document) pass through as they are.
#pragma once

#include <climits>
#include <string>
#include <string_view>

namespace qlx {

inline char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
inline char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

inline void UpperCaseAscii(std::string& text) {
  for (char& c : text) c = AsciiUpper(c);
}

inline void LowerCaseAscii(std::string& text) {
  for (char& c : text) c = AsciiLower(c);
}

// The decimal number the text begins with (0 if it begins with no digit).
// A number too large for int gives INT_MAX instead of overflowing.
inline int LeadingNumber(std::string_view text) {
  long long n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    n = n * 10 + (c - '0');
    if (n > INT_MAX) return INT_MAX;
  }
  return int(n);
}

}  // namespace qlx
