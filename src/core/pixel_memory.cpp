#include "core/pixel_memory.h"

#include <cstdlib>

#if !defined(_WIN32)
#include <sys/mman.h>
#endif

namespace quilla {

#if !defined(_WIN32)
// Blocks from this size on are mapped directly: the allocator's heap would hand back reused
// memory that calloc has to clear again.
constexpr size_t kMappedBytes = size_t(1) << 20;
#endif

void* AllocatePixelMemory(size_t bytes) {
  if (bytes == 0) bytes = 1;
#if !defined(_WIN32)
  if (bytes >= kMappedBytes) {
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return nullptr;
#if defined(MADV_HUGEPAGE)
    madvise(memory, bytes, MADV_HUGEPAGE);  // fewer faults and TLB misses; a hint only
#endif
    return memory;
  }
#endif
  return std::calloc(bytes, 1);
}

void FreePixelMemory(void* memory, size_t bytes) {
  if (!memory) return;
  if (bytes == 0) bytes = 1;
#if !defined(_WIN32)
  if (bytes >= kMappedBytes) {
    munmap(memory, bytes);
    return;
  }
#endif
  std::free(memory);
}

}  // namespace quilla
