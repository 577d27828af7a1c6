// LineReader: reads a file descriptor in large blocks and hands out its
// lines one at a time, whole, whatever their length.
#pragma once

#include <string_view>
#include <vector>

namespace qlx {

class LineReader {
 public:
  explicit LineReader(int fd);

  // The next line, without its newline.  The view stays valid until the
  // next call.  Returns false at end of input or after a read error.
  bool Next(std::string_view* line);

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
