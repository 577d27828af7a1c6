// Arena: bump allocation of texts and small arrays that live until the
// program ends (the document tree keeps everything it reads).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace qlx {

class Arena {
 public:
  Arena() = default;
  Arena(const Arena&) = delete;
  Arena& operator=(const Arena&) = delete;
  ~Arena() {
    for (char* chunk : chunks_) delete[] chunk;
  }

  // A NUL-terminated copy of `text`, at a multiple of `align`.
  const char* Copy(std::string_view text, size_t align = 1) {
    char* p = static_cast<char*>(Allocate(text.size() + 1, align));
    if (!text.empty()) std::memcpy(p, text.data(), text.size());
    p[text.size()] = '\0';
    return p;
  }

  // An uninitialised array of n objects of a trivial type.
  template <typename T>
  T* Array(size_t n) {
    return static_cast<T*>(Allocate(n * sizeof(T), alignof(T)));
  }

  // Gives the pages of the current chunk that nothing uses yet back to the
  // system (a large chunk's huge page is resident as a whole once touched).
  // Later allocations from the chunk get fresh zeroed pages.  For the end
  // of loading, when the arena may grow no more for a long time.
  void Trim();

  void* Allocate(size_t size, size_t align) {
    size_t pad = (align - reinterpret_cast<uintptr_t>(cur_) % align) % align;
    if (pad + size <= left_) {
      char* p = cur_ + pad;
      cur_ = p + size;
      left_ -= pad + size;
      return p;
    }
    return AllocateSlow(size);
  }

 private:
  void* AllocateSlow(size_t size);

  // Chunks grow from kFirstChunk to kChunk, so that a small document costs
  // little and a large one few page faults (the big chunks are offered to
  // the kernel for huge pages).
  static constexpr size_t kFirstChunk = 64 << 10;
  static constexpr size_t kChunk = 4 << 20;
  static constexpr size_t kHugePage = 2 << 20;
  size_t nextChunk_ = kFirstChunk;
  std::vector<char*> chunks_;
  char* cur_ = nullptr;
  size_t left_ = 0;
};

}  // namespace qlx
