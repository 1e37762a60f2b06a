#include "retouch/colour_spaces.h"

#include <algorithm>

namespace quilla {

Hsv RgbToHsv(int r, int g, int b) {
  if (r == g && g == b) return {0, 0, r};
  const int max = std::max({r, g, b}), min = std::min({r, g, b});
  const int delta = max - min;
  const int s = std::min((delta * 256 + max / 2) / max, 255);
  // Of two equal largest channels, green wins over red and blue over green.
  int h;
  if (b >= g && b >= r)
    h = 240 + 60 * (r - g) / delta;
  else if (g >= r)
    h = 120 + 60 * (b - r) / delta;
  else
    h = (g >= b ? 0 : 360) + 60 * (g - b) / delta;
  if (h < 0) h += 360;
  if (h >= 360) h -= 360;
  return {h, s, max};
}

Rgb HsvToRgb(int h, int s, int v) {
  if (s == 0) return {v, v, v};
  const int c = (s * v + v / 2) >> 8;
  const int f = ((h % 60) * c + 30) / 60;
  const int m = v - c;
  Rgb out;
  switch (h / 60) {
    case 0: out = {v, m + f, m}; break;
    case 1: out = {v - f, v, m}; break;
    case 2: out = {m, v, m + f}; break;
    case 3: out = {m, v - f, v}; break;
    case 4: out = {m + f, m, v}; break;
    default: out = {v, m, v - f}; break;
  }
  const uint8_t* clamp = RangeLimit();
  return {clamp[out.r], clamp[out.g], clamp[out.b]};
}

}  // namespace quilla
