// Small pieces shared by the image-level colour operations.
#pragma once
#include <cstdint>

#include "core/dib_image.h"

namespace quilla {

// Palette indices to blue, green, red bytes.
inline void ExpandRow(const uint8_t* src, const RgbQuad* table, uint8_t* dst, int width) {
  for (int x = 0; x < width; ++x, dst += 3) {
    const RgbQuad& c = table[src[x]];
    dst[0] = c.blue, dst[1] = c.green, dst[2] = c.red;
  }
}

inline bool SameColors(const RgbQuad* a, const RgbQuad* b, int count) {
  for (int i = 0; i < count; ++i)
    if (a[i].red != b[i].red || a[i].green != b[i].green || a[i].blue != b[i].blue) return false;
  return true;
}

}  // namespace quilla
