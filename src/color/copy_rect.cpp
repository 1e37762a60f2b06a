#include "color/copy_rect.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "color/color_quantizer.h"
#include "color/color_reduction.h"
#include "color/pixel_rows.h"

namespace quilla {

namespace {

bool KnownMode(int mode) { return mode >= kCombineTakeSource && mode <= kCombineNewPalette; }

void CountImage(ColorQuantizer& q, DIBImage& image) {
  ImageLock lock(image);
  const int width = image.Width(), height = image.Height();
  if (image.IsTrueColor()) {
    for (int y = 0; y < height; ++y) q.CountTrueColorRow(image.RowPointer(y), width);
  } else {
    q.SetInputPalette(image.GetColors(), int(image.ColorCount()));
    for (int y = 0; y < height; ++y) q.CountPaletteRow(image.RowPointer(y), width);
  }
}

// Gives dest a new palette selected from the colours of both whole images.
int RemapToCommonPalette(DIBImage& dest, DIBImage& source, const QuantizeOptions& options) {
  ColorQuantizer& q = TheColorQuantizer();
  q.ClearHistogram();
  CountImage(q, dest);
  CountImage(q, source);
  q.SelectColors(options.nColorsCreatePal);
  std::array<RgbQuad, 256> palette{};
  const int count = q.GetMappingCount();
  std::copy(q.GetMappingPalette(), q.GetMappingPalette() + count, palette.begin());
  return MapToPalette(dest, count, options.useDithering, palette.data());
}

// dest takes source's table; its pixels are translated to the nearest source entries.
int TakeSourceTable(DIBImage& dest, DIBImage& source) {
  if (!dest.TakeOwnLayout()) return 0;
  std::array<uint8_t, 256> translation{};
  const std::array<RgbQuad, 256> destTable = dest.ColorTable();
  for (int i = 0; i < 256; ++i) {
    const RgbQuad& c = destTable[size_t(i)];
    translation[size_t(i)] = uint8_t(source.NearestIndex(uint32_t(c.red) << 16 | uint32_t(c.green) << 8 | c.blue));
  }
  ColorQuantizer& q = TheColorQuantizer();
  q.SetTranslationTable(translation.data());
  ImageLock destLock(dest), sourceLock(source);
  const int width = dest.Width(), height = dest.Height(), count = int(source.ColorCount());
  for (int y = 0; y < height; ++y) q.TranslateRow(dest.RowPointer(y), dest.RowPointer(y), width);
  std::memcpy(dest.GetColors(), source.GetColors(), size_t(count) * sizeof(RgbQuad));
  dest.GetHeader()->biClrUsed = dest.GetHeader()->biClrImportant = uint32_t(count);
  dest.RebuildPalette();
  return 1;
}

// How the rows of the rectangle get from source to dest once the tables are settled.
enum class RowCopy { Bytes, Expand, MapTrueColor, MapPalette, Translate };

}  // namespace

int CopyRect(DIBImage& dest, int x, int y, DIBImage& source, int sx0, int sy0, int sx1, int sy1,
             const QuantizeOptions& options) {
  if (&dest == &source || !dest.HasImage() || !source.HasImage() || !ColorQuantizerReady()) return 0;
  // The rectangle stays inside the source, then moves with a destination start off the edge.
  if (sx0 < 0) x -= sx0, sx0 = 0;
  if (sy0 < 0) y -= sy0, sy0 = 0;
  sx1 = std::min(sx1, source.Width() - 1);
  sy1 = std::min(sy1, source.Height() - 1);
  if (x < 0) sx0 -= x, x = 0;
  if (y < 0) sy0 -= y, y = 0;
  const int width = std::min(sx1 - sx0 + 1, dest.Width() - x);
  const int height = std::min(sy1 - sy0 + 1, dest.Height() - y);
  if (width <= 0 || height <= 0) return 1;

  ColorQuantizer& q = TheColorQuantizer();
  const bool sourceTrue = source.IsTrueColor(), destTrue = dest.IsTrueColor();
  const int mode = options.combineMode;
  const bool dither = options.useDithering;
  RowCopy how = RowCopy::Bytes;
  if (destTrue) {
    how = sourceTrue ? RowCopy::Bytes : RowCopy::Expand;
  } else {
    const std::array<RgbQuad, 256> sourceTable = source.ColorTable();
    const int sourceCount = int(source.ColorCount());
    if (!sourceTrue && sourceCount == int(dest.ColorCount()) &&
        SameColors(sourceTable.data(), dest.ColorTable().data(), sourceCount)) {
      how = RowCopy::Bytes;
    } else if (!KnownMode(mode)) {
      return 1;
    } else if (mode == kCombineNewPalette) {
      if (!RemapToCommonPalette(dest, source, options)) return 0;
      how = sourceTrue ? RowCopy::MapTrueColor : RowCopy::MapPalette;
    } else if (sourceTrue) {
      how = RowCopy::MapTrueColor;
    } else if (mode == kCombineKeepDest) {
      how = dither ? RowCopy::MapPalette : RowCopy::Translate;
    } else if (dither) {
      if (!MapToPalette(dest, sourceCount, true, sourceTable.data())) return 0;
      how = RowCopy::MapPalette;
    } else {
      if (!TakeSourceTable(dest, source)) return 0;
      how = RowCopy::Bytes;
    }
  }

  ImageLock destLock(dest), sourceLock(source);
  if (!destLock || !sourceLock) return 0;
  if (how == RowCopy::MapTrueColor || how == RowCopy::MapPalette) {
    q.SetInputPalette(source.GetColors(), int(source.ColorCount()));
    q.SetMappingPalette(dest.GetColors(), int(dest.ColorCount()));
    if (dither && !q.ResetDither(width)) return 0;
  } else if (how == RowCopy::Translate) {
    std::array<uint8_t, 256> translation{};
    const std::array<RgbQuad, 256> sourceTable = source.ColorTable();
    for (int i = 0; i < 256; ++i) {
      const RgbQuad& c = sourceTable[size_t(i)];
      translation[size_t(i)] = uint8_t(dest.NearestIndex(uint32_t(c.red) << 16 | uint32_t(c.green) << 8 | c.blue));
    }
    q.SetTranslationTable(translation.data());
  }
  const std::array<RgbQuad, 256> sourceTable = source.ColorTable();
  const int sourceBytes = sourceTrue ? 3 : 1, destBytes = destTrue ? 3 : 1;
  // Bottom row first, as the blocks store them, so dithering runs in storage order.
  for (int j = height - 1; j >= 0; --j) {
    const uint8_t* src = source.RowPointer(sy0 + j) + size_t(sx0) * sourceBytes;
    uint8_t* dst = dest.RowPointer(y + j) + size_t(x) * destBytes;
    switch (how) {
      case RowCopy::Bytes: std::memcpy(dst, src, size_t(width) * destBytes); break;
      case RowCopy::Expand: ExpandRow(src, sourceTable.data(), dst, width); break;
      case RowCopy::Translate: q.TranslateRow(src, dst, width); break;
      case RowCopy::MapTrueColor:
        if (dither) q.DitherTrueColorRow(src, dst, width); else q.MapTrueColorRow(src, dst, width);
        break;
      case RowCopy::MapPalette:
        if (dither) q.DitherPaletteRow(src, dst, width); else q.MapPaletteRow(src, dst, width);
        break;
    }
  }
  return 1;
}

}  // namespace quilla
