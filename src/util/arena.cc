#include "util/arena.h"

#include <cstdint>

namespace qlx {

// A fresh chunk starts at new[]'s alignment, enough for every type the
// tree stores.
void* Arena::AllocateSlow(size_t size) {
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
