// Bounds every image size read from a file or asked for by a user, and the checked
// arithmetic that turns dimensions into byte counts. Everything that allocates pixel
// memory goes through these, so a hostile header can never overflow a size.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

namespace quilla {

// Largest width or height accepted anywhere.
inline constexpr uint32_t kMaxImageSide = 1u << 18;
// Largest image block (header, colour table, pixels, spare bytes). Kept well under 2 GiB so
// the 32-bit program can always address it.
inline constexpr uint64_t kMaxBlockBytes = sizeof(void*) == 4 ? (uint64_t(1) << 30) : (uint64_t(3) << 30);

// Padded row size in bytes for a width at a bit depth, or nullopt when it does not fit.
std::optional<uint64_t> CheckedRowStride(uint64_t width, unsigned bitsPerPixel);
// a * b, or nullopt past kMaxBlockBytes.
std::optional<uint64_t> CheckedMul(uint64_t a, uint64_t b);
// a + b, or nullopt past kMaxBlockBytes.
std::optional<uint64_t> CheckedAdd(uint64_t a, uint64_t b);

}  // namespace quilla
