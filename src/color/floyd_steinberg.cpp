// Serpentine Floyd-Steinberg error diffusion. One row of error entries (one per pixel plus
// a guard at each end) carries the errors to the next row: while a pixel is done, the entry
// behind it receives its final sum for the row below, and the entry ahead is read as the
// error coming from above. 7/16 of an error goes to the next pixel, 3/16, 5/16 and 1/16 to
// the pixels below-behind, below and below-ahead.
#include <algorithm>
#include <array>
#include <cstddef>
#include <new>

#include "color/color_quantizer.h"

namespace quilla {

namespace {
// The limiter's table, where the code reaches it without a pointer of its own.
constexpr std::array<int32_t, 2 * ErrorLimiter::kMaxError + 1> kLimits = [] {
  std::array<int32_t, 2 * ErrorLimiter::kMaxError + 1> table{};
  for (int e = -ErrorLimiter::kMaxError; e <= ErrorLimiter::kMaxError; ++e)
    table[size_t(e + ErrorLimiter::kMaxError)] = LimitError(e);
  return table;
}();

// Branch-free: sums outside 0..255 are common in dark and bright areas.
inline std::ptrdiff_t ClampByte(std::ptrdiff_t v) {
  v = v < 0 ? 0 : v;
  return v > 255 ? 255 : v;
}
}  // namespace

int ColorQuantizer::EnsureDitherWidth(int width) {
  size_t needed = (size_t(width) + 2) * 3;
  if (errors.size() >= needed) return 1;
  try {
    errors.resize(needed, 0);  // the new columns have had no error yet
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return 1;
}

int ColorQuantizer::ResetDither(int width) {
  leftToRight = true;
  std::fill(errors.begin(), errors.end(), 0);
  return EnsureDitherWidth(std::max(width, 0));
}

template <class PixelAt>
int ColorQuantizer::DitherRow(PixelAt pixelAt, uint8_t* dst, int width) {
  if (width <= 0) return 1;
  if (!EnsureDitherWidth(width)) return 0;
  ClearCacheIfCounted();
  const bool forward = leftToRight;
  leftToRight = !leftToRight;
  if (mapping.count > 16) {
    if (forward)
      DitherSpan<true, 1>(pixelAt, dst, width);
    else
      DitherSpan<true, -1>(pixelAt, dst, width);
  } else if (forward) {
    DitherSpan<false, 1>(pixelAt, dst, width);
  } else {
    DitherSpan<false, -1>(pixelAt, dst, width);
  }
  return 1;
}

// One row in one direction. What one pixel's error waits on is kept short: the clamp
// takes no branch, indices need no widening, and the colour chosen comes from the entry
// beside the cache cell, not through the index and the palette.
template <bool kLimited, int kStep, class PixelAt>
void ColorQuantizer::DitherSpan(PixelAt pixelAt, uint8_t* dst, int width) {
  using Sum = std::ptrdiff_t;  // pointer-wide, so table indices need no sign extension
  const int32_t* limit = kLimits.data() + ErrorLimiter::kMaxError;
  const uint8_t* entries = cellEntries.data();

  Sum x = kStep > 0 ? 0 : width - 1;
  int32_t* entry = errors.data() + (kStep > 0 ? 0 : size_t(width + 1) * 3);
  constexpr int stride = 3 * kStep;

  // The carries hold 7 x the error of the pixel before, plus the 8 that rounds the sum.
  Sum carryR = 8, carryG = 8, carryB = 8;
  Sum belowPrevR = 0, belowPrevG = 0, belowPrevB = 0;
  Sum belowR = 0, belowG = 0, belowB = 0;
  for (int n = 0; n < width; ++n, x += kStep, entry += stride) {
    const int32_t* above = entry + stride;
    Sum er = (carryR + above[0]) >> 4;
    Sum eg = (carryG + above[1]) >> 4;
    Sum eb = (carryB + above[2]) >> 4;
    if (kLimited) er = limit[er], eg = limit[eg], eb = limit[eb];
    const uint8_t* bgr = pixelAt(x);
    const Sum r = ClampByte(bgr[2] + er), g = ClampByte(bgr[1] + eg), b = ClampByte(bgr[0] + eb);
    const size_t cell = size_t(((r & 0xF8) << 7) | ((g & 0xF8) << 2) | (b >> 3));
    if (cells[cell] == 0) [[unlikely]]
      FillCacheBlockOf(int(cell));
    const uint8_t* chosen = entries + 4 * cell;  // four bytes: red, green, blue, index
    dst[x] = chosen[3];
    const Sum errR = r - chosen[0], errG = g - chosen[1], errB = b - chosen[2];
    entry[0] = int32_t(belowPrevR + 3 * errR);
    entry[1] = int32_t(belowPrevG + 3 * errG);
    entry[2] = int32_t(belowPrevB + 3 * errB);
    belowPrevR = belowR + 5 * errR, belowPrevG = belowG + 5 * errG, belowPrevB = belowB + 5 * errB;
    belowR = errR, belowG = errG, belowB = errB;
    carryR = 7 * errR + 8, carryG = 7 * errG + 8, carryB = 7 * errB + 8;
  }
  entry[0] = int32_t(belowPrevR), entry[1] = int32_t(belowPrevG), entry[2] = int32_t(belowPrevB);
}

int ColorQuantizer::DitherTrueColorRow(const uint8_t* src, uint8_t* dst, int width) {
  return DitherRow([src](int x) { return src + 3 * x; }, dst, width);
}

int ColorQuantizer::DitherPaletteRow(const uint8_t* src, uint8_t* dst, int width) {
  const RgbQuad* table = inputPalette.data();
  return DitherRow([src, table](int x) { return reinterpret_cast<const uint8_t*>(&table[src[x]]); }, dst, width);
}

}  // namespace quilla
