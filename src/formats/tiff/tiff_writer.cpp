#include <cstring>
#include <new>
#include <vector>

#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "formats/codec_abort.h"
#include "formats/file_types.h"
#include "formats/tiff/tiff_codec.h"
#include "formats/tiff/tiff_session.h"
#include "formats/transfer_files.h"

namespace quilla {

namespace {

using tiff::CheckLibrary;
using tiff::CurrentSession;

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

void Allocate(std::vector<uint8_t>& buffer, size_t bytes) {
  try {
    buffer.assign(bytes, 0);
  } catch (const std::bad_alloc&) {
    AbortCodec(AbortReason::NoMemory);
  }
}

void WriteRow(TIFF* tif, uint8_t* row, uint32_t y) {
  int written = TIFFWriteScanline(tif, row, y, 0);
  CheckLibrary();
  if (written < 0) AbortCodec(AbortReason::WriteError);
}

void WriteTiffInto(DIBImage& document) {
  tiff::Session& s = CurrentSession();
  std::FILE* stream = TransferStream(document.file);
  if (!stream) AbortCodec(AbortReason::WriteError);
  if (!document.HasImage() || !document.Lock()) AbortCodec(AbortReason::Silent);
  s.locked = true;
  s.handle = tiff::OpenOverStream(stream, document.fileName, "w");
  CheckLibrary();
  if (!s.handle) AbortCodec(AbortReason::WriteError);
  TIFF* tif = s.handle;
  ResetProgress();

  const uint32_t width = uint32_t(document.Width()), height = uint32_t(document.Height());
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, document.fileType == kTiffFile ? COMPRESSION_NONE : COMPRESSION_LZW);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(1));
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  CheckLibrary();

  if (!document.IsTrueColor()) {
    const uint32_t colors = document.ColorCount();
    const uint16_t bits = colors > 16 ? 8 : colors < 3 ? 1 : 4;
    const RgbQuad* table = document.GetColors();
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(1));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bits);
    if (IsGreyRamp(table, colors, bits)) {
      TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    } else {
      std::vector<uint16_t> map;
      try {
        map.assign(3 * 256, 0);
      } catch (const std::bad_alloc&) {
        AbortCodec(AbortReason::NoMemory);
      }
      // 16-bit map values that keep the 8-bit value in their high byte and reach 65535.
      for (int i = 0; i < 256; ++i) {
        map[size_t(i)] = uint16_t(table[i].red * 257);
        map[size_t(256 + i)] = uint16_t(table[i].green * 257);
        map[size_t(512 + i)] = uint16_t(table[i].blue * 257);
      }
      TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
      TIFFSetField(tif, TIFFTAG_COLORMAP, map.data(), map.data() + 256, map.data() + 512);
    }
    CheckLibrary();
    const size_t rowBytes = (size_t(width) * bits + 7) / 8;
    Allocate(s.buffer, rowBytes);
    uint8_t* out = s.buffer.data();
    for (uint32_t y = 0; y < height; ++y) {
      tiff::RowProgress(y, height);
      const uint8_t* src = document.RowPointer(int(y));
      if (bits == 8) {
        std::memcpy(out, src, width);
      } else if (bits == 4) {
        std::memset(out, 0, rowBytes);
        for (uint32_t x = 0; x < width; ++x) out[x >> 1] |= uint8_t((src[x] & 15) << (x & 1 ? 0 : 4));
      } else {
        std::memset(out, 0, rowBytes);
        for (uint32_t x = 0; x < width; ++x) out[x >> 3] |= uint8_t((src[x] & 1) << (7 - (x & 7)));
      }
      WriteRow(tif, out, y);
    }
  } else {
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(3));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t(8));
    CheckLibrary();
    Allocate(s.buffer, size_t(width) * 3);
    uint8_t* out = s.buffer.data();
    for (uint32_t y = 0; y < height; ++y) {
      tiff::RowProgress(y, height);
      const uint8_t* src = document.RowPointer(int(y));
      uint8_t* dst = out;
      for (uint32_t x = 0; x < width; ++x, src += 3, dst += 3) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
      }
      WriteRow(tif, out, y);
    }
  }
  // Closing completes the file: the directory is written last.
  s.handle = nullptr;
  TIFFClose(tif);
  CheckLibrary();
  tiff::EndSession(document);
  if (!CloseTransferFile(document.file)) AbortCodec(AbortReason::WriteError);
}

}  // namespace

int WriteTiffFile(DIBImage& document) {
  tiff::BeginSession(false, false);
  try {
    WriteTiffInto(document);
    return 1;
  } catch (const CodecAbort& abort) {
    AbortTiffWrite(document);
    ReportCodecAbort(abort, document.fileName);
    return 0;
  }
}

void AbortTiffWrite(DIBImage& document) {
  // The dispatch removes the unfinished file once it is closed.
  tiff::EndSession(document);
  CloseTransferFile(document.file);
}

}  // namespace quilla
