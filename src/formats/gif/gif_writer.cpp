#include <cstring>

#include "color/color_quantizer.h"
#include "color/color_reduction.h"
#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "formats/byte_writer.h"
#include "formats/codec_abort.h"
#include "formats/file_types.h"
#include "formats/gif/gif_codec.h"
#include "formats/gif/gif_lzw.h"
#include "formats/gif/gif_options.h"
#include "formats/transfer.h"

namespace quilla {

namespace {

// The bits per pixel of a colour count: the smallest n >= 1 with 2^n >= count.
int BitsForColors(uint32_t colors) {
  int bits = 1;
  while ((1u << bits) < colors) ++bits;
  return bits;
}

void WriteGifFrom(Transfer& transfer, DIBImage& source) {
  DIBImage& document = transfer.document;
  if (!document.HasImage()) AbortCodec(AbortReason::WriteError);
  transfer.LockImage();
  ImageLock sourceLock(source);
  if (!sourceLock) AbortCodec(AbortReason::WriteError);
  ByteWriter& out = transfer.Out();

  ResetProgress();
  bool interlaced = gif::SaveInterlaced();
  int width = source.Width(), height = source.Height();
  uint32_t colors = source.ColorCount();
  int bits = BitsForColors(colors);
  int tableSize = 1 << bits;
  int codeSize = bits < 2 ? 2 : bits;
  auto fill = uint8_t(source.GetFillIndex());
  bool is89a = document.fileType != kGif87a;

  uint8_t head[13 + 256 * 3 + 8 + 10 + 1];
  size_t n = 0;
  std::memcpy(head, is89a ? "GIF89a" : "GIF87a", 6);
  n = 6;
  head[n++] = uint8_t(width), head[n++] = uint8_t(width >> 8);
  head[n++] = uint8_t(height), head[n++] = uint8_t(height >> 8);
  head[n++] = uint8_t(0x80 | (bits - 1) << 4 | (bits - 1));
  head[n++] = fill;
  head[n++] = 0;
  const RgbQuad* table = source.GetColors();
  for (int i = 0; i < tableSize; ++i) {
    RgbQuad c = uint32_t(i) < colors ? table[i] : RgbQuad{0, 0, 0, 0};
    head[n++] = c.red, head[n++] = c.green, head[n++] = c.blue;
  }
  if (is89a) {
    const uint8_t control[8] = {0x21, 0xF9, 4, 1, 0, 0, fill, 0};
    std::memcpy(head + n, control, sizeof control);
    n += sizeof control;
  }
  const uint8_t descriptor[10] = {',', 0, 0, 0, 0, uint8_t(width), uint8_t(width >> 8), uint8_t(height),
                                  uint8_t(height >> 8), uint8_t(interlaced ? 0x40 : 0)};
  std::memcpy(head + n, descriptor, sizeof descriptor);
  n += sizeof descriptor;
  head[n++] = uint8_t(codeSize);
  out.Write(head, n);

  gif::LzwEncoder encoder(*gif::Tables());
  encoder.Start(out, codeSize + 1);
  for (int row = 0; row < height; ++row) {
    transfer.RowDone(row, height, 32);
    int y = interlaced ? gif::InterlacedRow(row, height) : row;
    encoder.CompressRow(source.RowPointer(y), width, unsigned(tableSize));
  }
  encoder.Finish();
  const uint8_t tail[2] = {0, ';'};
  out.Write(tail, sizeof tail);
  transfer.UnlockImage();
}

}  // namespace

void WriteGif(Transfer& transfer) {
  DIBImage& document = transfer.document;
  if (!GifCoderReady()) AbortCodec(AbortReason::NoMemory);
  if (!document.IsTrueColor()) return WriteGifFrom(transfer, document);
  // Palette formats hold at most 256 colours: the image is reduced into a copy.
  if (!ColorQuantizerReady()) AbortCodec(AbortReason::NoMemory);
  DIBImage reduced;
  if (!QuantizeInto(reduced, document, 256, gif::UseDithering(), false)) AbortCodec(AbortReason::NoMemory);
  WriteGifFrom(transfer, reduced);
}

}  // namespace quilla
