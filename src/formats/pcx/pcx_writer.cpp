#include <cstring>
#include <vector>

#include "core/dib_image.h"
#include "core/progress.h"
#include "formats/codec_abort.h"
#include "formats/pcx/pcx_codec.h"
#include "formats/pcx/pcx_rle.h"
#include "formats/packed_rows.h"
#include "formats/pcx/pcx_format.h"
#include "formats/transfer.h"

namespace quilla {

namespace {

using namespace pcx;

void Put16(uint8_t* at, uint32_t value) { at[0] = uint8_t(value), at[1] = uint8_t(value >> 8); }

// Image row -> scan line, one loop per depth.
void BuildLine(const uint8_t* src, uint32_t width, uint32_t bits, uint32_t planes, uint32_t bytesPerLine,
               uint8_t* line) {
  if (planes == 3) {
    uint8_t *red = line, *green = line + bytesPerLine, *blue = green + bytesPerLine;
    for (uint32_t x = 0; x < width; ++x, src += 3) blue[x] = src[0], green[x] = src[1], red[x] = src[2];
  } else {
    PackRow(src, int(width), int(bits), line, bytesPerLine);
  }
}

}  // namespace

void WritePcx(Transfer& transfer) {
  using namespace pcx;
  DIBImage& document = transfer.document;
  ByteWriter& out = transfer.Out();
  transfer.LockImage();
  ResetProgress();

  const uint32_t width = uint32_t(document.Width()), height = uint32_t(document.Height());
  const uint32_t colors = document.ColorCount();
  // 3 planes of 8 bits for true colour; one plane of 8 bits past 16 colours; else one of 4
  // bits, a single colour included: a 1-bit file reads back black and white, whatever
  // colour it was written with.
  const uint32_t planes = colors == 0 ? 3 : 1;
  const uint32_t bits = colors == 0 || colors > 16 ? 8 : 4;
  const uint32_t bytesPerLine = (bits * width + 15) / 16 * 2;

  uint8_t header[kPcxHeaderBytes] = {};
  header[0] = kManufacturer;
  header[1] = 5;
  header[2] = 1;
  header[3] = uint8_t(bits);
  Put16(header + 8, width - 1);
  Put16(header + 10, height - 1);
  Put16(header + 12, 300);
  Put16(header + 14, 300);
  const RgbQuad* table = document.GetColors();
  if (colors != 0 && colors <= 16)
    for (uint32_t i = 0; i < colors; ++i) {
      header[16 + 3 * i] = table[i].red, header[17 + 3 * i] = table[i].green, header[18 + 3 * i] = table[i].blue;
    }
  header[65] = uint8_t(planes);
  Put16(header + 66, bytesPerLine);
  Put16(header + 68, 1);
  Put16(header + 70, 640);
  Put16(header + 72, 480);

  const size_t lineBytes = size_t(planes) * bytesPerLine;
  std::vector<uint8_t> scanLine(lineBytes), encoded(2 * lineBytes);
  out.Write(header, sizeof header);

  for (uint32_t y = 0; y < height; ++y) {
    BuildLine(document.RowPointer(int(y)), width, bits, planes, bytesPerLine, scanLine.data());
    transfer.RowDone(y, height, 64);
    out.Write(encoded.data(), EncodeLine(scanLine.data(), lineBytes, encoded.data()));
  }

  if (colors > 16) {
    uint8_t palette[kTrailingPaletteBytes] = {};
    palette[0] = kPaletteMarker;
    for (uint32_t i = 0; i < colors; ++i)
      palette[1 + 3 * i] = table[i].red, palette[2 + 3 * i] = table[i].green, palette[3 + 3 * i] = table[i].blue;
    out.Write(palette, sizeof palette);
  }
  transfer.UnlockImage();
}

}  // namespace quilla
