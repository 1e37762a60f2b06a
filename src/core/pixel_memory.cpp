#include "core/pixel_memory.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#if !defined(_WIN32)
#include <sys/mman.h>
#include <time.h>
#endif

namespace quilla {

#if !defined(_WIN32)
// Blocks from this size on are mapped directly: the allocator's heap would hand back reused
// memory that calloc has to clear again.
constexpr size_t kMappedBytes = size_t(1) << 20;

#if defined(MADV_HUGEPAGE)
#if !defined(MADV_POPULATE_WRITE)
#define MADV_POPULATE_WRITE 23
#endif
constexpr size_t kHugePageBytes = size_t(2) << 20;
// Fresh memory is cleared at well over 1 GB/s; a huge page that takes longer came from the host.
constexpr long kSlowHugePageNanoseconds = 2'000'000;

long NanosecondsSince(const timespec& start) {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return (now.tv_sec - start.tv_sec) * 1'000'000'000L + (now.tv_nsec - start.tv_nsec);
}

// Huge pages halve the cost of a large block's first touch. But a virtual machine that gives
// free memory back to its host gets huge pages idle for a few seconds back unbacked, and then
// each costs the host a fault per small page: ten times slower than small pages, which come
// from memory in constant use. So the block is faulted in a huge page at a time while that
// stays fast; from the first slow one on, the rest is faulted in small pages. What lies past
// the last huge-page boundary is left to be faulted on use: a block's spare bytes at its end
// may never be touched.
void FaultInLargeBlock(void* memory, size_t bytes) {
  auto* next = static_cast<uint8_t*>(memory);
  uint8_t* const end = next + bytes;
  const size_t tail = std::min(bytes, size_t(reinterpret_cast<uintptr_t>(end) % kHugePageBytes));
  uint8_t* const lastBoundary = end - tail;
  if (madvise(memory, bytes, MADV_HUGEPAGE) != 0) return;
  while (next < lastBoundary) {
    const size_t pastBoundary = reinterpret_cast<uintptr_t>(next) % kHugePageBytes;
    const size_t piece = std::min(kHugePageBytes - pastBoundary, size_t(lastBoundary - next));
    timespec start;
    clock_gettime(CLOCK_MONOTONIC, &start);
    if (madvise(next, piece, MADV_POPULATE_WRITE) != 0) return;  // older system: faulted on use
    next += piece;
    if (piece == kHugePageBytes && NanosecondsSince(start) > kSlowHugePageNanoseconds) break;
  }
  if (next == lastBoundary) return;
  madvise(next, size_t(end - next), MADV_NOHUGEPAGE);
  madvise(next, size_t(lastBoundary - next), MADV_POPULATE_WRITE);
}
#endif
#endif

void* AllocatePixelMemory(size_t bytes) {
  if (bytes == 0) bytes = 1;
#if !defined(_WIN32)
  if (bytes >= kMappedBytes) {
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return nullptr;
#if defined(MADV_HUGEPAGE)
    FaultInLargeBlock(memory, bytes);
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
