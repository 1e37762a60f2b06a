// Memory for image blocks. It comes zeroed from the system, large blocks as fresh pages
// faulted in when the block is made (huge pages while the system hands them out fast), so a
// block is never cleared twice and a reader that fills every row writes each byte once; rows
// a failed read leaves are zero.
#pragma once
#include <cstddef>
#include <new>
#include <utility>

namespace quilla {

// Zeroed memory of `bytes`, or nullptr; give it back with FreePixelMemory and the same size.
void* AllocatePixelMemory(size_t bytes);
void FreePixelMemory(void* memory, size_t bytes);

// A vector allocator over pixel memory. Elements a vector adds without a value are left as
// the memory came, zero: a block is sized once, never grown again after shrinking.
template <class T>
struct PixelAllocator {
  using value_type = T;
  PixelAllocator() = default;
  template <class U>
  PixelAllocator(const PixelAllocator<U>&) {}
  T* allocate(size_t n) {
    if (n > size_t(-1) / sizeof(T)) throw std::bad_alloc();
    void* memory = AllocatePixelMemory(n * sizeof(T));
    if (!memory) throw std::bad_alloc();
    return static_cast<T*>(memory);
  }
  void deallocate(T* memory, size_t n) { FreePixelMemory(memory, n * sizeof(T)); }
  template <class U>
  void construct(U* at) noexcept {
    ::new (static_cast<void*>(at)) U;
  }
  template <class U, class... Args>
  void construct(U* at, Args&&... args) {
    ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
  }
  template <class U>
  bool operator==(const PixelAllocator<U>&) const {
    return true;
  }
};

}  // namespace quilla
