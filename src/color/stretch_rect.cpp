#include "color/stretch_rect.h"

#include <array>
#include <cstring>
#include <vector>

#include "color/color_quantizer.h"

namespace quilla {

namespace {

bool Inside(const DIBImage& image, int x0, int y0, int x1, int y1) {
  const uint32_t bits = image.BitsPerPixel();
  return (bits == 8 || bits == 24) && x0 >= 0 && y0 >= 0 && x0 <= x1 && y0 <= y1 && x1 < image.Width() && y1 < image.Height();
}

uint32_t Rgb(const RgbQuad& c) { return uint32_t(c.red) << 16 | uint32_t(c.green) << 8 | c.blue; }

}  // namespace

int StretchRect(DIBImage& dest, int dx0, int dy0, int dx1, int dy1, DIBImage& source, int sx0, int sy0, int sx1,
                int sy1) {
  if (&dest == &source || !Inside(dest, dx0, dy0, dx1, dy1) || !Inside(source, sx0, sy0, sx1, sy1)) return 0;
  const int dw = dx1 - dx0 + 1, dh = dy1 - dy0 + 1, sw = sx1 - sx0 + 1, sh = sy1 - sy0 + 1;
  const bool fromTrueColor = source.IsTrueColor(), toTrueColor = dest.IsTrueColor();
  const size_t sourcePixel = fromTrueColor ? 3 : 1, destPixel = toTrueColor ? 3 : 1;
  std::vector<size_t> columns(static_cast<size_t>(dw));
  for (int i = 0; i < dw; ++i) columns[size_t(i)] = size_t(sx0 + int(int64_t(i) * sw / dw)) * sourcePixel;

  ImageLock destLock(dest), sourceLock(source);
  if (!destLock || !sourceLock) return 0;
  const RgbQuad* sourceTable = source.GetColors();
  std::array<uint8_t, 256> translation{};  // palette to palette
  ColorQuantizer& quantizer = TheColorQuantizer();
  std::vector<uint8_t> sampled;  // true colour to palette: the sampled row before mapping
  if (!fromTrueColor && !toTrueColor) {
    for (size_t i = 0; i < 256; ++i) translation[i] = uint8_t(dest.NearestIndex(Rgb(sourceTable[i])));
  } else if (fromTrueColor && !toTrueColor) {
    quantizer.SetMappingPalette(dest.GetColors(), int(dest.ColorCount()));
    sampled.resize(size_t(dw) * 3);
  }
  for (int j = 0; j < dh; ++j) {
    // Rows counted from the rectangles' bottom rows.
    const uint8_t* in = source.RowPointer(sy1 - int(int64_t(j) * sh / dh));
    uint8_t* out = dest.RowPointer(dy1 - j) + size_t(dx0) * destPixel;
    if (fromTrueColor) {
      uint8_t* to = toTrueColor ? out : sampled.data();
      for (int i = 0; i < dw; ++i) std::memcpy(to + size_t(i) * 3, in + columns[size_t(i)], 3);
      if (!toTrueColor) quantizer.MapTrueColorRow(sampled.data(), out, dw);
    } else if (toTrueColor) {
      for (int i = 0; i < dw; ++i, out += 3) {
        const RgbQuad& c = sourceTable[in[columns[size_t(i)]]];
        out[0] = c.blue, out[1] = c.green, out[2] = c.red;
      }
    } else {
      for (int i = 0; i < dw; ++i) out[i] = translation[in[columns[size_t(i)]]];
    }
  }
  return 1;
}

}  // namespace quilla
