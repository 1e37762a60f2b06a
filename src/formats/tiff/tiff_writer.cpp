#include <vector>

#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "formats/codec_abort.h"
#include "formats/file_types.h"
#include "formats/tiff/tiff_codec.h"
#include "formats/tiff/tiff_lzw.h"
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

// Row y is strip y, handed to the library as the bytes the file holds: the row itself,
// or its LZW form, which is the library's own encoder's to the byte.
class RowWriter {
 public:
  RowWriter(const tiff::Session& session, bool compressed) : session(session), compressed(compressed) {}
  void Write(const uint8_t* row, size_t bytes, uint32_t y) {
    if (compressed) {
      const std::vector<uint8_t>& strip = encoder.Encode(row, bytes);
      row = strip.data();
      bytes = strip.size();
    }
    tmsize_t written = TIFFWriteRawStrip(session.Handle(), y, const_cast<uint8_t*>(row), tmsize_t(bytes));
    session.CheckLibrary();
    if (written < 0) AbortCodec(AbortReason::WriteError);
  }

 private:
  const tiff::Session& session;
  const bool compressed;
  tiff::LzwEncoder encoder;
};

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
  const bool compressed = document.fileType != kTiffFile;
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, compressed ? COMPRESSION_LZW : COMPRESSION_NONE);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(1));
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  session.CheckLibrary();
  RowWriter rows(session, compressed);

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
    std::vector<uint8_t> row(bits == 8 ? 0 : rowBytes);
    for (uint32_t y = 0; y < height; ++y) {
      transfer.RowDone(y, height, 32);
      uint8_t* indices = document.RowPointer(int(y));
      // 8-bit indices are written as they are held.
      if (bits != 8) PackRow(indices, int(width), bits, row.data(), rowBytes);
      rows.Write(bits == 8 ? indices : row.data(), rowBytes, y);
    }
  } else {
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(3));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t(8));
    session.CheckLibrary();
    const size_t rowBytes = size_t(width) * 3;
    std::vector<uint8_t> row(rowBytes);
    for (uint32_t y = 0; y < height; ++y) {
      transfer.RowDone(y, height, 32);
      SwapRedBlue(document.RowPointer(int(y)), width, row.data());
      rows.Write(row.data(), rowBytes, y);
    }
  }
  // Closing completes the file: the directory is written last.
  session.Close();
  session.CheckLibrary();
  transfer.UnlockImage();
}

}  // namespace quilla
