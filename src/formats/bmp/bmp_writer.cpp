#include "core/dib_image.h"
#include "core/progress.h"
#include "formats/bmp/bmp_codec.h"
#include "formats/byte_writer.h"
#include "formats/codec_abort.h"
#include "formats/file_types.h"
#include "formats/packed_rows.h"
#include "formats/transfer.h"

namespace quilla {

void WriteBmp(Transfer& transfer) {
  DIBImage& document = transfer.document;
  ByteWriter& out = transfer.Out();
  transfer.OnCleanUp([&document] { document.FreeRowBuffer(); });
  if (!document.HasImage()) AbortCodec(AbortReason::WriteError);
  transfer.LockImage();
  bool os2 = document.fileType != kWindowsBmp;
  int width = document.Width(), height = document.Height();
  uint32_t depth = document.SaveBitsPerPixel();
  uint32_t colors = document.ColorCount();
  uint32_t rowBytes = document.SaveRowStride();
  uint32_t imageBytes = uint32_t(document.SaveImageBytes());
  uint32_t headerBytes = os2 ? 12 : kHeaderBytes;
  uint32_t tableBytes = colors * (os2 ? 3 : 4);
  uint32_t offset = 14 + headerBytes + tableBytes;

  out.U16le(0x4D42);
  out.U32le(offset + imageBytes);
  out.U32le(0);  // two reserved words
  out.U32le(offset);
  if (os2) {
    out.U32le(12);
    out.U16le(uint16_t(width));
    out.U16le(uint16_t(height));
    out.U16le(1);
    out.U16le(uint16_t(depth));
  } else {
    BitmapInfoHeader header = *document.GetHeader();
    header.biBitCount = uint16_t(depth);
    header.biSizeImage = imageBytes;  // of the rows as written, not as held
    out.U32le(header.biSize);
    out.U32le(uint32_t(header.biWidth));
    out.U32le(uint32_t(header.biHeight));
    out.U16le(header.biPlanes);
    out.U16le(header.biBitCount);
    out.U32le(header.biCompression);
    out.U32le(header.biSizeImage);
    out.U32le(uint32_t(header.biXPelsPerMeter));
    out.U32le(uint32_t(header.biYPelsPerMeter));
    out.U32le(header.biClrUsed);
    out.U32le(header.biClrImportant);
  }
  const RgbQuad* table = document.GetColors();
  if (os2) {
    for (uint32_t i = 0; i < colors; ++i) {
      uint8_t entry[3] = {table[i].blue, table[i].green, table[i].red};
      out.Write(entry, 3);
    }
  } else {
    out.Write(table, tableBytes);
  }

  const uint8_t* bits = document.GetBits();
  uint32_t stride = document.RowStride();
  if (depth == 1 || depth == 4) {
    if (!document.AllocRowBuffer(width, false)) AbortCodec(AbortReason::NoMemory);
    uint8_t* row = document.RowBuffer();
    for (int y = 0; y < height; ++y) {
      transfer.RowDone(y, height);
      PackRow(bits + size_t(y) * stride, width, int(depth), row, rowBytes);
      out.Write(row, rowBytes);
    }
    document.FreeRowBuffer();
  } else {
    out.Write(bits, size_t(stride) * uint32_t(height));
  }
  transfer.UnlockImage();
}

}  // namespace quilla
