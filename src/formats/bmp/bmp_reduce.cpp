#include "formats/bmp/bmp_reduce.h"

#include <algorithm>

#include "color/color_quantizer.h"
#include "color/windows16_palette.h"
#include "core/dib_image.h"
#include "core/progress.h"
#include "formats/byte_reader.h"
#include "formats/codec_abort.h"
#include "formats/transfer.h"

namespace quilla::bmp {

namespace {

ColorQuantizer& ReadyQuantizer() {
  if (!ColorQuantizerReady()) AbortCodec(AbortReason::NoMemory);
  return TheColorQuantizer();
}

void StartDither(ColorQuantizer& quantizer, bool dither, int width) {
  if (dither && !quantizer.ResetDither(width)) AbortCodec(AbortReason::NoMemory);
}

void SetColorTable(DIBImage& document, const RgbQuad* colors, int count) {
  std::copy(colors, colors + count, document.GetColors());
  document.GetHeader()->biClrUsed = document.GetHeader()->biClrImportant = uint32_t(count);
}

}  // namespace

void ReadReducedRows(Transfer& transfer, const PixelRows& rows, bool windows16, int colors, bool dither) {
  DIBImage& document = transfer.document;
  ByteReader& in = transfer.In();
  ColorQuantizer& quantizer = ReadyQuantizer();
  if (!document.AllocRowBuffer(rows.width, true)) AbortCodec(AbortReason::NoMemory);
  uint8_t* fileRow = document.RowBuffer();
  long long passes = windows16 ? 1 : 2, total = passes * rows.height;
  if (windows16) {
    quantizer.UseWindows16();
  } else {
    quantizer.ClearHistogram();
    for (int row = 0; row < rows.height; ++row) {
      transfer.RowDone(row, total);
      in.Read(fileRow, rows.fileStride);
      quantizer.CountTrueColorRow(fileRow, rows.width);
    }
    in.Seek(rows.offset);
    quantizer.SelectColors(colors);
  }
  SetColorTable(document, quantizer.GetMappingPalette(), quantizer.GetMappingCount());
  StartDither(quantizer, dither, rows.width);
  uint8_t* bits = document.GetBits();
  uint32_t stride = document.RowStride();
  long long done = total - rows.height;
  for (int row = 0; row < rows.height; ++row) {
    transfer.RowDone(done + row, total);
    in.Read(fileRow, rows.fileStride);
    uint8_t* dst = bits + size_t(rows.topDown ? rows.height - 1 - row : row) * stride;
    if (!dither)
      quantizer.MapTrueColorRow(fileRow, dst, rows.width);
    else if (!quantizer.DitherTrueColorRow(fileRow, dst, rows.width))
      AbortCodec(AbortReason::NoMemory);
  }
  document.FreeRowBuffer();
}

void RemapToWindows16(Transfer& transfer, bool dither, long long done, long long total) {
  DIBImage& document = transfer.document;
  int count = int(std::min<uint32_t>(document.ColorCount(), 256));
  if (count < 2) return;
  ColorQuantizer& quantizer = ReadyQuantizer();
  quantizer.UseWindows16();
  quantizer.SetInputPalette(document.GetColors(), count);
  int width = document.Width(), height = document.Height();
  StartDither(quantizer, dither, width);
  uint8_t* bits = document.GetBits();
  uint32_t stride = document.RowStride();
  for (int row = 0; row < height; ++row) {
    transfer.RowDone(done + row, total);
    uint8_t* pixels = bits + size_t(row) * stride;
    if (!dither)
      quantizer.MapPaletteRow(pixels, pixels, width);
    else if (!quantizer.DitherPaletteRow(pixels, pixels, width))
      AbortCodec(AbortReason::NoMemory);
  }
  SetColorTable(document, Windows16Palette.data(), int(Windows16Palette.size()));
}

}  // namespace quilla::bmp
