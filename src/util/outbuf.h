// The program's own output buffer: one class for standard output, output
// files, standard error and the memory buffers of translation runs done
// ahead.  It writes through write(2) and touches no C library stream.
//
// A buffer on a file descriptor keeps the bytes until it is full or
// flushed; the first failed write is kept (error()) and later bytes are
// dropped, so the owner reports the failure once, with name(), when it
// finishes.  An auto-flushing buffer (standard error) writes at the end of
// every message (Done()).  A memory buffer keeps everything (text()), up
// to a limit past which it drops the bytes and says overflowed().  A
// discarding buffer (validation, where nothing is written) drops all and
// tells writers so (discards()), so they may skip their work.
//
// Writers may fill the free room directly (room()/Commit()), as the text
// writer of the translation does; whoever else writes to the buffer in
// between must let them take the room anew.
//
// The buffer also keeps the column of the output (characters since the
// last newline), which the translation's text writer maintains.  A memory
// buffer for work done ahead starts with an unknown column (kUnknownColumn),
// which stays unknown only as long as nothing written has set it.  What a
// writer would write only where the line already holds text (a conditional
// newline, a blank before data), met while the column is unknown, is
// written as for such a line and listed as held only for it (midLineOnly):
// where the buffer is copied into the output, whose column is known, that
// text is left out at the start of a line.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qlx {

class OutBuffer {
 public:
  enum class Mode { kFile, kMemory, kDiscard };
  static constexpr int kUnknownColumn = -1;

  // A buffer on file descriptor `fd`, called `name` in messages.
  OutBuffer(int fd, std::string name, size_t capacity = size_t(1) << 18, bool autoFlush = false);
  // A memory buffer that keeps at most `limit` bytes.
  explicit OutBuffer(size_t limit);
  OutBuffer() : OutBuffer(SIZE_MAX) {}
  // A buffer that drops everything.
  static OutBuffer Discarding();
  ~OutBuffer();  // flushes a file buffer (a failure is the owner's to check before)
  OutBuffer(OutBuffer&&) noexcept;
  OutBuffer& operator=(OutBuffer&& other) noexcept;
  OutBuffer(const OutBuffer&) = delete;
  OutBuffer& operator=(const OutBuffer&) = delete;

  Mode mode() const { return mode_; }
  bool discards() const { return mode_ == Mode::kDiscard; }
  const std::string& name() const { return name_; }
  int fd() const { return fd_; }

  void Put(const char* p, size_t n) {
    if (size_t(end_ - pos_) >= n) {
      if (n) __builtin_memcpy(pos_, p, n);
      pos_ += n;
    } else {
      PutSlow(p, n);
    }
  }
  void Put(std::string_view s) { Put(s.data(), s.size()); }
  void Put(char c) {
    if (pos_ != end_) *pos_++ = c;
    else PutSlow(&c, 1);
  }
  // One whole message (or text) at a time: written, then Done().
  void Puts(std::string_view s) {
    Put(s);
    Done();
  }
  void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void VPrintf(const char* format, va_list args);
  // The end of one message or one call of a writer: an auto-flushing
  // buffer writes now.
  void Done() {
    if (follows_) marks_.push_back(Mark{follows_->size(), size()});
    if (autoFlush_) Flush();
  }

  // Direct filling: the free room [room(), roomEnd()), and Commit(p) once
  // it is filled up to p.  Room() may be empty (a discarding buffer, or a
  // full one); MakeRoom() then provides some (empty for discarding).
  char* room() const { return pos_; }
  char* roomEnd() const { return end_; }
  void Commit(char* p) { pos_ = p; }
  void MakeRoom();

  // A file buffer writes what it holds; false when a write failed (now or
  // before).  Other buffers: true.
  bool Flush();
  bool failed() const { return error_ != 0; }
  // Flushes every file buffer that exists (a fatal stop, before exit).
  static void FlushAll();
  int error() const { return error_; }

  // A memory buffer's bytes, and starting it anew (keeping its storage).
  std::string_view text() const { return std::string_view(data_.get(), size_t(pos_ - data_.get())); }
  size_t size() const { return size_t(pos_ - data_.get()); }
  bool overflowed() const { return overflowed_; }
  void Clear();
  void SetLimit(size_t limit) { limit_ = limit; }

  // A memory buffer of messages that belong between the bytes of another
  // buffer: each Done() records where in `output` the message ends.
  struct Mark {
    size_t outputAt, messagesEnd;
  };
  void Follow(const OutBuffer* output) { follows_ = output; }
  const std::vector<Mark>& marks() const { return marks_; }

  int column = 0;
  // For a buffer of messages: the output whose column the escapes "\n" and
  // "\r" reset even in text written without column tracking.
  OutBuffer* columnOwner = nullptr;
  // Text held only for a line that already holds text where the buffer is
  // copied out: bytes [from, to) of this buffer and [messagesFrom,
  // messagesTo) of its messages buffer.  In order, not overlapping.
  struct MidLineText {
    size_t from, to, messagesFrom, messagesTo;
  };
  std::vector<MidLineText> midLineOnly;
  // Lists what was written since `from`, and since `messagesFrom` in the
  // messages buffer, as held only for a line that already holds text.
  void KeepMidLineOnly(size_t from, size_t messagesFrom) {
    const size_t messagesTo = messagesSize();
    if (size() > from || messagesTo > messagesFrom)
      midLineOnly.push_back(MidLineText{from, size(), messagesFrom, messagesTo});
  }
  // Where the writers of this buffer report a problem with its text (an
  // unknown SDATA name, say); null: the program's standard error.
  OutBuffer* messages = nullptr;
  size_t messagesSize() const { return messages ? messages->size() : 0; }
  // Set on a buffer filled apart from the program's own order (work done
  // ahead): its writers only read the tables they share with others (the
  // SDATA substitutions made so far) and never add to them.
  bool readOnlyTables = false;

 private:
  void Link();
  void Unlink();
  void PutSlow(const char* p, size_t n);
  bool Grow(size_t n);  // memory: room for n more bytes, unless past the limit
  bool WriteAll(const char* p, size_t n);

  Mode mode_;
  int fd_ = -1;
  std::string name_;
  bool autoFlush_ = false;
  int error_ = 0;
  size_t limit_ = SIZE_MAX;
  bool overflowed_ = false;
  OutBuffer* prevFile_ = nullptr;  // the list of file buffers
  OutBuffer* nextFile_ = nullptr;
  const OutBuffer* follows_ = nullptr;
  std::vector<Mark> marks_;
  std::unique_ptr<char[]> data_;  // not zero-filled: only the bytes written are touched
  size_t capacity_ = 0;
  char* pos_ = nullptr;
  char* end_ = nullptr;
};

}  // namespace qlx
