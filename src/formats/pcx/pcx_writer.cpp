#include <cstring>
#include <vector>

#include "core/dib_image.h"
#include "core/progress.h"
#include "formats/codec_abort.h"
#include "formats/pcx/pcx_codec.h"
#include "formats/pcx/pcx_rle.h"
#include "formats/pcx/pcx_state.h"
#include "formats/transfer_files.h"

namespace quilla {

namespace {

using namespace pcx;

[[noreturn]] void Fail(const char* text) { throw CodecAbort{AbortReason::Message, text}; }

void Put(std::FILE* file, const void* data, size_t n) {
  if (n != 0 && std::fwrite(data, 1, n, file) != n) Fail(kWriteError);
}

void Put16(uint8_t* at, uint32_t value) { at[0] = uint8_t(value), at[1] = uint8_t(value >> 8); }

// Image row -> scan line, one loop per depth.
void BuildLine(const uint8_t* src, uint32_t width, uint32_t bits, uint32_t planes, uint32_t bytesPerLine,
               uint8_t* line) {
  if (planes == 3) {
    uint8_t *red = line, *green = line + bytesPerLine, *blue = green + bytesPerLine;
    for (uint32_t x = 0; x < width; ++x, src += 3) blue[x] = src[0], green[x] = src[1], red[x] = src[2];
  } else if (bits == 8) {
    std::memcpy(line, src, width);
  } else if (bits == 4) {
    uint32_t x = 0;
    for (; x + 2 <= width; x += 2) line[x >> 1] = uint8_t((src[x] & 15) << 4 | (src[x + 1] & 15));
    if (x < width) line[x >> 1] = uint8_t((src[x] & 15) << 4);
  } else {
    uint32_t x = 0;
    for (; x + 8 <= width; x += 8)
      line[x >> 3] = uint8_t((src[x] & 1) << 7 | (src[x + 1] & 1) << 6 | (src[x + 2] & 1) << 5 |
                             (src[x + 3] & 1) << 4 | (src[x + 4] & 1) << 3 | (src[x + 5] & 1) << 2 |
                             (src[x + 6] & 1) << 1 | (src[x + 7] & 1));
    if (x < width) {
      uint8_t last = 0;
      for (uint32_t k = 0; x + k < width; ++k) last |= uint8_t((src[x + k] & 1) << (7 - k));
      line[x >> 3] = last;
    }
  }
}

void WritePcxFile(DIBImage& document) {
  std::FILE* file = TransferStream(document.file);
  if (!file) Fail(kWriteError);
  if (!document.Lock()) AbortCodec(AbortReason::NoMemory);
  holdsLock = true;
  ResetProgress();

  const uint32_t width = uint32_t(document.Width()), height = uint32_t(document.Height());
  const uint32_t colors = document.ColorCount();
  // 3 planes of 8 bits for true colour; one plane of 8 bits past 16 colours; else one of 4
  // bits, a single colour included: a 1-bit file reads back black and white, whatever
  // colour it was written with.
  const uint32_t planes = colors == 0 ? 3 : 1;
  const uint32_t bits = colors == 0 || colors > 16 ? 8 : 4;
  const uint32_t bytesPerLine = (bits * width + 15) / 16 * 2;
  // The header holds the frame and the line length in 16 bits.
  if (width - 1 > 0xFFFF || height - 1 > 0xFFFF || bytesPerLine > 0xFFFF) Fail(kWriteError);

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
  std::vector<uint8_t> encoded;
  try {
    scanLine.assign(lineBytes, 0);
    encoded.resize(2 * lineBytes);
  } catch (const std::bad_alloc&) {
    AbortCodec(AbortReason::NoMemory);
  }
  Put(file, header, sizeof header);

  for (uint32_t y = 0; y < height; ++y) {
    BuildLine(document.RowPointer(int(y)), width, bits, planes, bytesPerLine, scanLine.data());
    if (!quiet) {
      int goOn = y % 64 == 0 ? ReportProgress(y, height) : PollCancel();
      if (!goOn) AbortCodec(AbortReason::Cancelled);
    }
    Put(file, encoded.data(), EncodeLine(scanLine.data(), lineBytes, encoded.data()));
  }

  if (colors > 16) {
    uint8_t palette[kTrailingPaletteBytes] = {};
    palette[0] = kPaletteMarker;
    for (uint32_t i = 0; i < colors; ++i)
      palette[1 + 3 * i] = table[i].red, palette[2 + 3 * i] = table[i].green, palette[3 + 3 * i] = table[i].blue;
    Put(file, palette, sizeof palette);
  }
  std::vector<uint8_t>().swap(scanLine);
  document.Unlock();
  holdsLock = false;
  if (!CloseTransferFile(document.file)) Fail(kWriteError);
}

}  // namespace

int WritePcx(DIBImage& document) {
  quiet = false;
  try {
    WritePcxFile(document);
    return 1;
  } catch (const CodecAbort& abort) {
    AbortPcxWrite(document);
    if (!quiet) ReportCodecAbort(abort, document.fileName);
    return 0;
  }
}

// The file being written is a temporary one, which the save flow removes after a failure,
// so the file under the document's name is never touched here.
void AbortPcxWrite(DIBImage& document) {
  document.ioState = 0;
  std::vector<uint8_t>().swap(scanLine);
  if (holdsLock) {
    document.Unlock();
    holdsLock = false;
  }
  CloseTransferFile(document.file);
}

}  // namespace quilla
