#include "util/linereader.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qlx {

LineReader::LineReader(int fd) : fd_(fd), buf_(1 << 20) {}

bool LineReader::Fill() {
  if (eof_) return false;
  if (begin_ > 0) {  // move the unread tail to the front
    std::memmove(buf_.data(), buf_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (end_ == buf_.size()) {
    // A line longer than the buffer: double it, but past 64 MiB grow by
    // half, so that a gigabyte line does not leave a buffer of two.
    const size_t size = buf_.size();
    buf_.resize(size + (size < (size_t(64) << 20) ? size : size / 2));
  }
  for (;;) {
    ssize_t n = ::read(fd_, buf_.data() + end_, buf_.size() - end_);
    if (n > 0) {
      if (!sawNul_ && std::memchr(buf_.data() + end_, '\0', size_t(n))) sawNul_ = true;
      end_ += size_t(n);
      return true;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error_ = errno;
    eof_ = true;
    return false;
  }
}

namespace {

// The first newline in [p, end), or null.  Most lines are short: sixteen
// bytes at a time inline where the processor allows, memchr for the rest.
inline const char* FindNewline(const char* p, const char* end) {
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

}  // namespace

bool LineReader::Next(std::string_view* line) {
  size_t scanned = begin_;
  for (;;) {
    const char* start = buf_.data() + scanned;
    const char* nl = FindNewline(start, buf_.data() + end_);
    if (nl) {
      size_t pos = size_t(nl - buf_.data());
      *line = std::string_view(buf_.data() + begin_, pos - begin_);
      begin_ = pos + 1;
      hadNewline_ = true;
      return true;
    }
    size_t offset = end_ - begin_;  // already scanned, relative to begin_
    if (!Fill()) {
      if (end_ > begin_ && error_ == 0) {  // last line without a newline
        *line = std::string_view(buf_.data() + begin_, end_ - begin_);
        begin_ = end_;
        hadNewline_ = false;
        return true;
      }
      return false;
    }
    scanned = begin_ + offset;
  }
}

}  // namespace qlx
