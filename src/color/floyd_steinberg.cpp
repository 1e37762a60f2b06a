// Serpentine Floyd-Steinberg error diffusion. One row of error entries (one per pixel plus
// a guard at each end) carries the errors to the next row: while a pixel is done, the entry
// behind it receives its final sum for the row below, and the entry ahead is read as the
// error coming from above. 7/16 of an error goes to the next pixel, 3/16, 5/16 and 1/16 to
// the pixels below-behind, below and below-ahead.
#include <algorithm>
#include <new>

#include "color/color_quantizer.h"
#include "color/range_table.h"

namespace quilla {

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
  const bool limited = mapping.count > 16;
  const int32_t* limit = limiter->Center();
  const uint8_t* clamp = RangeLimit();
  const RgbQuad* palette = mapping.entries.data();

  int x = 0, step = 1;
  int32_t* entry = errors.data();
  if (!leftToRight) {
    x = width - 1, step = -1;
    entry += size_t(width + 1) * 3;
  }
  leftToRight = !leftToRight;
  const int stride = 3 * step;

  int carryR = 0, carryG = 0, carryB = 0;
  int belowPrevR = 0, belowPrevG = 0, belowPrevB = 0;
  int belowR = 0, belowG = 0, belowB = 0;
  for (int n = 0; n < width; ++n, x += step, entry += stride) {
    const int32_t* above = entry + stride;
    int er = (carryR + above[0] + 8) >> 4;
    int eg = (carryG + above[1] + 8) >> 4;
    int eb = (carryB + above[2] + 8) >> 4;
    if (limited) er = limit[er], eg = limit[eg], eb = limit[eb];
    const uint8_t* bgr = pixelAt(x);
    int r = clamp[bgr[2] + er], g = clamp[bgr[1] + eg], b = clamp[bgr[0] + eb];
    int index = CachedIndex(r, g, b);
    dst[x] = uint8_t(index);

    const RgbQuad& chosen = palette[index];
    int errR = r - chosen.red, errG = g - chosen.green, errB = b - chosen.blue;
    entry[0] = belowPrevR + 3 * errR;
    entry[1] = belowPrevG + 3 * errG;
    entry[2] = belowPrevB + 3 * errB;
    belowPrevR = belowR + 5 * errR, belowPrevG = belowG + 5 * errG, belowPrevB = belowB + 5 * errB;
    belowR = errR, belowG = errG, belowB = errB;
    carryR = 7 * errR, carryG = 7 * errG, carryB = 7 * errB;
  }
  entry[0] = belowPrevR, entry[1] = belowPrevG, entry[2] = belowPrevB;
  return 1;
}

int ColorQuantizer::DitherTrueColorRow(const uint8_t* src, uint8_t* dst, int width) {
  return DitherRow([src](int x) { return src + 3 * x; }, dst, width);
}

int ColorQuantizer::DitherPaletteRow(const uint8_t* src, uint8_t* dst, int width) {
  const RgbQuad* table = inputPalette.data();
  return DitherRow([src, table](int x) { return reinterpret_cast<const uint8_t*>(&table[src[x]]); }, dst, width);
}

}  // namespace quilla
