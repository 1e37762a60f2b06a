#include <vector>

#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "formats/codec_abort.h"
#include "formats/file_types.h"
#include "formats/tiff/tiff_codec.h"
#include "formats/tiff/tiff_session.h"
#include "formats/packed_rows.h"
#include "formats/transfer.h"

namespace quilla {

namespace {

// A colour table is written as grey only when it is exactly the ramp a reader shows for
// the depth (black first); any other table, grey or not, goes into a colour map, so the
// file looks as the image does.
bool IsGreyRamp(const RgbQuad* table, uint32_t colors, uint16_t bits) {
  for (uint32_t i = 0; i < colors; ++i) {
    uint32_t level = bits == 1 ? i * 255 : bits == 4 ? i * 16 : i;
    if (table[i].red != level || table[i].green != level || table[i].blue != level) return false;
  }
  return true;
}

void WriteRow(const tiff::Session& session, uint8_t* row, uint32_t y) {
  int written = TIFFWriteScanline(session.Handle(), row, y, 0);
  session.CheckLibrary();
  if (written < 0) AbortCodec(AbortReason::WriteError);
}

}  // namespace

void WriteTiff(Transfer& transfer) {
  DIBImage& document = transfer.document;
  if (!document.HasImage()) AbortCodec(AbortReason::Silent);
  transfer.LockImage();
  tiff::Session session(transfer, "w");
  session.CheckLibrary();
  if (!session.Handle()) AbortCodec(AbortReason::WriteError);
  TIFF* tif = session.Handle();
  ResetProgress();

  const uint32_t width = uint32_t(document.Width()), height = uint32_t(document.Height());
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, document.fileType == kTiffFile ? COMPRESSION_NONE : COMPRESSION_LZW);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(1));
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  session.CheckLibrary();

  if (!document.IsTrueColor()) {
    const uint32_t colors = document.ColorCount();
    const uint16_t bits = colors > 16 ? 8 : colors < 3 ? 1 : 4;
    const RgbQuad* table = document.GetColors();
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(1));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bits);
    if (IsGreyRamp(table, colors, bits)) {
      TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    } else {
      std::vector<uint16_t> map(3 * 256);
      // 16-bit map values that keep the 8-bit value in their high byte and reach 65535.
      for (int i = 0; i < 256; ++i) {
        map[size_t(i)] = uint16_t(table[i].red * 257);
        map[size_t(256 + i)] = uint16_t(table[i].green * 257);
        map[size_t(512 + i)] = uint16_t(table[i].blue * 257);
      }
      TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
      TIFFSetField(tif, TIFFTAG_COLORMAP, map.data(), map.data() + 256, map.data() + 512);
    }
    session.CheckLibrary();
    const size_t rowBytes = (size_t(width) * bits + 7) / 8;
    std::vector<uint8_t> row(rowBytes);
    for (uint32_t y = 0; y < height; ++y) {
      transfer.RowDone(y, height, 32);
      PackRow(document.RowPointer(int(y)), int(width), bits, row.data(), rowBytes);
      WriteRow(session, row.data(), y);
    }
  } else {
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(3));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t(8));
    session.CheckLibrary();
    std::vector<uint8_t> row(size_t(width) * 3);
    uint8_t* out = row.data();
    for (uint32_t y = 0; y < height; ++y) {
      transfer.RowDone(y, height, 32);
      const uint8_t* src = document.RowPointer(int(y));
      uint8_t* dst = out;
      for (uint32_t x = 0; x < width; ++x, src += 3, dst += 3) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
      }
      WriteRow(session, out, y);
    }
  }
  // Closing completes the file: the directory is written last.
  session.Close();
  session.CheckLibrary();
  transfer.UnlockImage();
}

}  // namespace quilla
