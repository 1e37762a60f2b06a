#include "shell/clipboard_rules.h"

#include <cstdlib>
#include <cstring>

#include "core/dib_image.h"
#include "core/size_limits.h"

namespace quilla {

namespace {
constexpr uint32_t kUncompressed = 0, kBitFields = 3;
constexpr uint32_t kBitFieldMaskBytes = 12;  // after a 40-byte header only; larger headers hold them

bool KnownDepth(unsigned bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32; }
}  // namespace

std::optional<PackedDibLayout> CheckPackedDib(const uint8_t* bytes, size_t size) {
  if (!bytes || size < kHeaderBytes) return std::nullopt;
  BitmapInfoHeader h;
  std::memcpy(&h, bytes, sizeof h);
  if (h.biSize < kHeaderBytes || h.biSize > size || h.biPlanes != 1 || !KnownDepth(h.biBitCount)) return std::nullopt;
  const uint32_t height = uint32_t(std::abs(int64_t(h.biHeight)));
  if (h.biWidth <= 0 || uint32_t(h.biWidth) > kMaxImageSide || height == 0 || height > kMaxImageSide)
    return std::nullopt;
  const bool bitFields = h.biCompression == kBitFields && (h.biBitCount == 16 || h.biBitCount == 32);
  if (h.biCompression != kUncompressed && !bitFields) return std::nullopt;

  PackedDibLayout layout;
  layout.tableOffset = h.biSize + (bitFields && h.biSize == kHeaderBytes ? kBitFieldMaskBytes : 0);
  if (h.biBitCount <= 8) {
    const uint32_t most = 1u << h.biBitCount;
    if (h.biClrUsed > most) return std::nullopt;
    layout.tableEntries = h.biClrUsed ? h.biClrUsed : most;
  } else {
    // A true-colour bitmap may carry a table for palette displays; its rows come after it.
    if (h.biClrUsed > 256) return std::nullopt;
    layout.tableEntries = h.biClrUsed;
  }
  layout.bitsOffset = layout.tableOffset + size_t(layout.tableEntries) * 4;
  const auto stride = CheckedRowStride(uint32_t(h.biWidth), h.biBitCount);
  const auto rows = stride ? CheckedMul(*stride, height) : std::nullopt;
  const auto total = rows ? CheckedAdd(layout.bitsOffset, *rows) : std::nullopt;
  if (!total || *total > size) return std::nullopt;
  layout.totalBytes = size_t(*total);
  layout.ownKind = h.biSize == kHeaderBytes && h.biCompression == kUncompressed && h.biHeight > 0 &&
                   (h.biBitCount == 8 || (h.biBitCount == 24 && h.biClrUsed == 0));
  return layout;
}

}  // namespace quilla
