#include "util/arena.h"

#include <cstdint>

#include <sys/mman.h>
#include <unistd.h>

namespace qlx {

// A fresh chunk starts at new[]'s alignment (or a huge page's), enough for
// every type the tree stores.
void* Arena::AllocateSlow(size_t size) {
  if (size > nextChunk_ / 4) {  // big blocks get a chunk of their own
    char* p = new char[size ? size : 1];
    chunks_.push_back(p);
    return p;
  }
  const size_t chunk = nextChunk_;
  if (nextChunk_ < kChunk) nextChunk_ *= 2;
  if (chunk >= kHugePage) {
    // The chunk starts at a huge-page boundary inside a larger block; the
    // bytes before it are never touched, so they cost no memory.
    char* raw = new char[chunk + kHugePage];
    chunks_.push_back(raw);
    cur_ = reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(raw) + kHugePage - 1) &
                                   ~uintptr_t(kHugePage - 1));
#ifdef MADV_HUGEPAGE
    madvise(cur_, chunk, MADV_HUGEPAGE);  // a hint: failure changes nothing
#endif
  } else {
    cur_ = new char[chunk];
    chunks_.push_back(cur_);
  }
  left_ = chunk;
  char* p = cur_;
  cur_ += size;
  left_ -= size;
  return p;
}

void Arena::Trim() {
  if (left_ == 0 || nextChunk_ < kHugePage) return;  // small chunks are not huge pages
  const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
  const uintptr_t from = (reinterpret_cast<uintptr_t>(cur_) + page - 1) & ~(page - 1);
  // Whole pages only: the chunk's last page may hold the next block's
  // bookkeeping.
  const uintptr_t to = (reinterpret_cast<uintptr_t>(cur_) + left_) & ~(page - 1);
  if (to > from) madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
}

}  // namespace qlx
