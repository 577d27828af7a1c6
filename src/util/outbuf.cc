#include "util/outbuf.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

#include <unistd.h>

namespace qlx {
namespace {

// The file buffers that exist, for FlushAll.  They are made and dropped by
// the main thread only.
OutBuffer* fileBuffers = nullptr;

}  // namespace

void OutBuffer::Link() {
  prevFile_ = nullptr;
  nextFile_ = fileBuffers;
  if (fileBuffers) fileBuffers->prevFile_ = this;
  fileBuffers = this;
}

void OutBuffer::Unlink() {
  if (prevFile_) prevFile_->nextFile_ = nextFile_;
  else if (fileBuffers == this) fileBuffers = nextFile_;
  if (nextFile_) nextFile_->prevFile_ = prevFile_;
  prevFile_ = nextFile_ = nullptr;
}

void OutBuffer::FlushAll() {
  for (OutBuffer* b = fileBuffers; b; b = b->nextFile_) b->Flush();
}

OutBuffer::OutBuffer(int fd, std::string name, size_t capacity, bool autoFlush)
    : mode_(Mode::kFile), fd_(fd), name_(std::move(name)), autoFlush_(autoFlush) {
  capacity_ = capacity < 64 ? 64 : capacity;
  data_.reset(new char[capacity_]);
  pos_ = data_.get();
  end_ = pos_ + capacity_;
  Link();
}

OutBuffer::OutBuffer(size_t limit) : mode_(Mode::kMemory), limit_(limit) {}

OutBuffer OutBuffer::Discarding() {
  OutBuffer b(size_t(0));
  b.mode_ = Mode::kDiscard;
  return b;
}

OutBuffer::OutBuffer(OutBuffer&& o) noexcept
    : column(o.column),
      midLineOnly(std::move(o.midLineOnly)),
      mode_(o.mode_),
      fd_(o.fd_),
      name_(std::move(o.name_)),
      autoFlush_(o.autoFlush_),
      error_(o.error_),
      limit_(o.limit_),
      overflowed_(o.overflowed_),
      follows_(o.follows_),
      marks_(std::move(o.marks_)) {
  const size_t used = size_t(o.pos_ - o.data_.get()), room = size_t(o.end_ - o.data_.get());
  data_ = std::move(o.data_);
  capacity_ = o.capacity_;
  pos_ = data_.get() + used;
  end_ = data_.get() + room;
  if (mode_ == Mode::kFile) {
    o.Unlink();
    Link();
  }
  o.mode_ = Mode::kDiscard;
  o.data_.reset();
  o.capacity_ = 0;
  o.pos_ = o.end_ = nullptr;
}

OutBuffer& OutBuffer::operator=(OutBuffer&& other) noexcept {
  if (this != &other) {
    this->~OutBuffer();
    new (this) OutBuffer(std::move(other));
  }
  return *this;
}

OutBuffer::~OutBuffer() {
  if (mode_ == Mode::kFile) {
    Flush();
    Unlink();
  }
}

void OutBuffer::Printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  VPrintf(format, args);
  va_end(args);
}

void OutBuffer::VPrintf(const char* format, va_list args) {
  char small[512];
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(small, sizeof small, format, args);
  if (n >= 0 && size_t(n) < sizeof small) {
    Put(small, size_t(n));
  } else if (n >= 0) {
    std::vector<char> big(size_t(n) + 1);
    std::vsnprintf(big.data(), big.size(), format, copy);
    Put(big.data(), size_t(n));
  }
  va_end(copy);
  Done();
}

bool OutBuffer::WriteAll(const char* p, size_t n) {
  while (n > 0 && error_ == 0) {
    const ssize_t w = ::write(fd_, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      error_ = errno;
      break;
    }
    p += w;
    n -= size_t(w);
  }
  return error_ == 0;
}

bool OutBuffer::Flush() {
  if (mode_ != Mode::kFile) return true;
  const size_t n = size_t(pos_ - data_.get());
  pos_ = data_.get();
  if (n > 0 && error_ == 0) WriteAll(data_.get(), n);
  return error_ == 0;
}

void OutBuffer::PutSlow(const char* p, size_t n) {
  switch (mode_) {
    case Mode::kDiscard:
      return;
    case Mode::kFile:
      Flush();
      if (n >= capacity_) {
        if (error_ == 0) WriteAll(p, n);
        return;
      }
      std::memcpy(pos_, p, n);
      pos_ += n;
      return;
    case Mode::kMemory:
      if (!Grow(n)) return;
      std::memcpy(pos_, p, n);
      pos_ += n;
      return;
  }
}

bool OutBuffer::Grow(size_t n) {
  const size_t used = size();
  if (overflowed_ || used + n > limit_) {
    overflowed_ = true;
    return false;
  }
  if (size_t(end_ - pos_) >= n && n > 0) return true;
  size_t capacity = capacity_ < 4096 ? 4096 : capacity_ * 2;
  while (capacity < used + n) capacity *= 2;
  std::unique_ptr<char[]> bigger(new char[capacity]);
  if (used) std::memcpy(bigger.get(), data_.get(), used);
  data_ = std::move(bigger);
  capacity_ = capacity;
  pos_ = data_.get() + used;
  // The room stops at the limit, so that direct filling cannot pass it.
  end_ = data_.get() + (capacity < limit_ ? capacity : limit_);
  return true;
}

void OutBuffer::MakeRoom() {
  if (pos_ != end_) return;
  if (mode_ == Mode::kFile) Flush();
  else if (mode_ == Mode::kMemory) Grow(1);
}

void OutBuffer::Clear() {
  if (mode_ == Mode::kMemory) pos_ = data_.get();
  marks_.clear();
  overflowed_ = false;
  column = 0;
  midLineOnly.clear();
}

}  // namespace qlx
