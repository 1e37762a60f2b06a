// Integer colour-space conversions of the colour retouches: YCbCr in fixed point through
// precomputed tables (inline, they run per pixel), and an HSV model with hue in degrees
// 0..359 and saturation and value in 0..255.
#pragma once
#include "color/range_table.h"
#include "retouch/colour_tables.h"

namespace quilla {

struct Rgb {
  int r, g, b;
};
struct YCbCr {
  int y, cb, cr;
};
struct Hsv {
  int h, s, v;
};

// Channels 0..255 in and out.
inline YCbCr RgbToYCbCr(int r, int g, int b) {
  const YCbCrTables& t = kYCbCrTables;
  return {(t.yr[size_t(r)] + t.yg[size_t(g)] + t.yb[size_t(b)]) >> 16,
          (t.cbr[size_t(r)] + t.cbg[size_t(g)] + t.cbb[size_t(b)]) >> 16,
          (t.crr[size_t(r)] + t.crg[size_t(g)] + t.crb[size_t(b)]) >> 16};
}

inline Rgb YCbCrToRgb(int y, int cb, int cr) {
  const YCbCrTables& t = kYCbCrTables;
  const uint8_t* clamp = RangeLimit();
  return {clamp[y + t.crR[size_t(cr)]], clamp[y + ((t.cbG[size_t(cb)] + t.crG[size_t(cr)]) >> 16)],
          clamp[y + t.cbB[size_t(cb)]]};
}

// The Y of RgbToYCbCr.
inline int Luminance(int r, int g, int b) { return (19595 * r + 38470 * g + 7471 * b + 32768) >> 16; }

Hsv RgbToHsv(int r, int g, int b);
Rgb HsvToRgb(int h, int s, int v);

}  // namespace quilla
