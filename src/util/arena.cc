#include "util/arena.h"

#include <cstdint>

namespace qlx {

void* Arena::Allocate(size_t size, size_t align) {
  size_t pad = (align - reinterpret_cast<uintptr_t>(cur_) % align) % align;
  if (cur_ && pad + size <= left_) {
    char* p = cur_ + pad;
    cur_ = p + size;
    left_ -= pad + size;
    return p;
  }
  if (size > kChunk / 4) {  // big blocks get a chunk of their own
    char* p = new char[size ? size : 1];
    chunks_.push_back(p);
    return p;
  }
  cur_ = new char[kChunk];
  chunks_.push_back(cur_);
  left_ = kChunk;
  char* p = cur_;
  cur_ += size;
  left_ -= size;
  return p;
}

}  // namespace qlx
