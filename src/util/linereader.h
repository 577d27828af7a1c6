// LineReader: reads a file descriptor in large blocks and hands out its
// lines one at a time, whole, whatever their length.
#pragma once

#include <cstring>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qlx {

class LineReader {
 public:
  // The buffer's first size; it grows for a longer line.
  static constexpr size_t kInitialSize = 256 << 10;
  explicit LineReader(int fd);
  // The same, `head` being the first bytes, already read from it.
  LineReader(int fd, std::string_view head);

  // The next line, without its newline.  The view stays valid until the
  // next call.  Returns false at end of input or after a read error.
  // Inline for a line already in the buffer, as most are.
  bool Next(std::string_view* line) {
    const char* data = buf_.data();
    if (const char* nl = FindNewline(data + begin_, data + end_)) {
      *line = std::string_view(data + begin_, size_t(nl - (data + begin_)));
      begin_ = size_t(nl - data) + 1;
      hadNewline_ = true;
      return true;
    }
    return NextAfterFill(line);
  }

  // Whether the line last returned ended with a newline (the last line of
  // a file may not).
  bool hadNewline() const { return hadNewline_; }

  // The errno of a failed read (a directory given as a file, an I/O
  // error), or 0.
  int error() const { return error_; }

  // Whether a NUL byte has been read so far (it may lie ahead of the line
  // last returned): until then, no line holds one and callers can skip
  // their own checks.
  bool sawNul() const { return sawNul_; }

 private:
  // The first newline in [p, end), or null.  Most lines are short: sixteen
  // bytes at a time inline where the processor allows, memchr for the rest.
  static const char* FindNewline(const char* p, const char* end) {
#if defined(__SSE2__)
    const __m128i newline = _mm_set1_epi8('\n');
    for (int blocks = 0; blocks < 4 && end - p >= 16; ++blocks, p += 16) {
      __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      if (int mask = _mm_movemask_epi8(_mm_cmpeq_epi8(v, newline)))
        return p + __builtin_ctz(unsigned(mask));
    }
#endif
    return p < end ? static_cast<const char*>(std::memchr(p, '\n', size_t(end - p))) : nullptr;
  }
  // Next, when the buffer holds no whole line: reads more.
  bool NextAfterFill(std::string_view* line);
  bool Fill();

  int fd_;
  std::vector<char> buf_;
  size_t begin_ = 0, end_ = 0;
  bool eof_ = false;
  bool hadNewline_ = false;
  bool sawNul_ = false;
  int error_ = 0;
};

}  // namespace qlx
