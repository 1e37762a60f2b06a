#include "core/size_limits.h"

namespace quilla {

std::optional<uint64_t> CheckedMul(uint64_t a, uint64_t b) {
  if (a != 0 && b > kMaxBlockBytes / a) return std::nullopt;
  return a * b;
}

std::optional<uint64_t> CheckedAdd(uint64_t a, uint64_t b) {
  if (a > kMaxBlockBytes || b > kMaxBlockBytes - a) return std::nullopt;
  return a + b;
}

std::optional<uint64_t> CheckedRowStride(uint64_t width, unsigned bitsPerPixel) {
  if (width == 0 || width > kMaxImageSide) return std::nullopt;
  return (width * bitsPerPixel + 31) / 32 * 4;
}

}  // namespace quilla
