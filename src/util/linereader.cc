#include "util/linereader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace qlx {

LineReader::LineReader(int fd) : fd_(fd), buf_(kInitialSize) {}

LineReader::LineReader(int fd, std::string_view head) : fd_(fd), buf_(std::max(kInitialSize, head.size())) {
  std::memcpy(buf_.data(), head.data(), head.size());
  end_ = head.size();
  sawNul_ = std::memchr(head.data(), '\0', head.size()) != nullptr;
}

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

bool LineReader::NextAfterFill(std::string_view* line) {
  size_t scanned = end_;  // no newline before it
  for (;;) {
    size_t offset = scanned - begin_;  // already scanned, relative to begin_
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
    const char* nl = FindNewline(buf_.data() + scanned, buf_.data() + end_);
    if (nl) {
      size_t pos = size_t(nl - buf_.data());
      *line = std::string_view(buf_.data() + begin_, pos - begin_);
      begin_ = pos + 1;
      hadNewline_ = true;
      return true;
    }
    scanned = end_;
  }
}

}  // namespace qlx
