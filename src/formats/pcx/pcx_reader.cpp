#include <algorithm>
#include <cstring>

#include "color/color_reduction.h"
#include "core/dib_image.h"
#include "core/progress.h"
#include "core/size_limits.h"
#include "formats/byte_reader.h"
#include "formats/codec_abort.h"
#include "formats/file_types.h"
#include "formats/pcx/pcx_codec.h"
#include "formats/read_settings.h"
#include "formats/pcx/pcx_rle.h"
#include "formats/pcx/pcx_format.h"
#include "formats/packed_rows.h"
#include "formats/transfer.h"

namespace quilla {

namespace {

using namespace pcx;

enum class Layout { Mono, Packed16, Planar16, Indexed256, Rgb24 };

struct PcxHeader {
  uint8_t version = 0;
  uint8_t bits = 0;
  uint8_t planes = 0;
  uint32_t width = 0, height = 0;
  uint32_t bytesPerLine = 0;
  uint8_t palette16[48] = {};
};

[[noreturn]] void Fail(const char* text) { throw CodecAbort{AbortReason::Message, text}; }

PcxHeader ParseHeader(const uint8_t* h) {
  if (h[0] != kManufacturer || h[1] > 6 || h[65] > 4) Fail(kInvalidFile);
  PcxHeader header;
  header.version = h[1];
  header.bits = h[3];
  header.planes = h[65];
  uint32_t xmin = LoadU16le(h + 4), ymin = LoadU16le(h + 6), xmax = LoadU16le(h + 8), ymax = LoadU16le(h + 10);
  // A frame turned inside out has no pixels to show.
  if (xmax < xmin || ymax < ymin) Fail(kInvalidFile);
  header.width = xmax - xmin + 1;
  header.height = ymax - ymin + 1;
  header.bytesPerLine = LoadU16le(h + 66);
  std::memcpy(header.palette16, h + 16, sizeof header.palette16);
  return header;
}

Layout Classify(const PcxHeader& header) {
  if (header.planes == 1 && header.bits == 1) return Layout::Mono;
  if (header.planes == 1 && header.bits == 4) return Layout::Packed16;
  if (header.planes == 4 && header.bits == 1) return Layout::Planar16;
  if (header.planes == 1 && header.bits == 8) return Layout::Indexed256;
  if (header.planes == 3 && header.bits == 8) return Layout::Rgb24;
  Fail(kInvalidFile);  // planes 0 included: no colour count to give
}

int ColorCountOf(Layout layout) {
  switch (layout) {
    case Layout::Mono: return 2;
    case Layout::Packed16:
    case Layout::Planar16: return 16;
    case Layout::Indexed256: return 256;
    case Layout::Rgb24: return 0;
  }
  return 0;
}

// The colour tables of a file: the one its header or the end of the file gives, and the
// one it falls back to when the end of the file turns out to be pixel data.
struct Palettes {
  RgbQuad chosen[256] = {};
  RgbQuad fallback[256] = {};
  bool trailing = false;  // chosen came from the end of the file
};

Palettes ReadPalettes(ByteReader& in, const PcxHeader& header, Layout layout) {
  Palettes p;
  if (layout == Layout::Mono) {
    p.fallback[1] = {255, 255, 255, 0};
  } else if (layout == Layout::Indexed256) {
    for (int i = 0; i < 256; ++i) p.fallback[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
  } else if (layout != Layout::Rgb24) {
    LoadColorTable(header.palette16, 16, 3, EntryOrder::RedGreenBlue, p.fallback);
  }
  std::memcpy(p.chosen, p.fallback, sizeof p.chosen);
  bool paletted = layout == Layout::Packed16 || layout == Layout::Planar16 || layout == Layout::Indexed256;
  if (paletted && header.version >= 5 && in.Size() >= kPcxHeaderBytes + kTrailingPaletteBytes) {
    in.Seek(in.Size() - kTrailingPaletteBytes);
    if (in.Byte() == kPaletteMarker) {
      uint8_t rgb[768];
      in.Read(rgb, sizeof rgb);
      LoadColorTable(rgb, 256, 3, EntryOrder::RedGreenBlue, p.chosen);
      p.trailing = true;
    }
    in.Seek(kPcxHeaderBytes);
  }
  return p;
}

// Scan line -> image row, one loop per layout.
void ExpandLine(Layout layout, const uint8_t* line, uint32_t bytesPerLine, uint8_t* dst, uint32_t width) {
  switch (layout) {
    case Layout::Mono: UnpackRow(line, int(width), 1, dst); break;
    case Layout::Packed16: UnpackRow(line, int(width), 4, dst); break;
    case Layout::Planar16: {
      const uint8_t *p0 = line, *p1 = line + bytesPerLine, *p2 = p1 + bytesPerLine, *p3 = p2 + bytesPerLine;
      for (uint32_t x = 0; x < width; ++x) {
        uint32_t byte = x >> 3, shift = 7 - (x & 7);
        dst[x] = uint8_t((p0[byte] >> shift & 1) | (p1[byte] >> shift & 1) << 1 | (p2[byte] >> shift & 1) << 2 |
                         (p3[byte] >> shift & 1) << 3);
      }
      break;
    }
    case Layout::Indexed256: std::memcpy(dst, line, width); break;
    case Layout::Rgb24: {
      const uint8_t *red = line, *green = line + bytesPerLine, *blue = green + bytesPerLine;
      for (uint32_t x = 0; x < width; ++x, dst += 3) dst[0] = blue[x], dst[1] = green[x], dst[2] = red[x];
      break;
    }
  }
}

}  // namespace

void ReadPcx(Transfer& transfer) {
  using namespace pcx;
  DIBImage& document = transfer.document;
  ByteReader& in = transfer.In();
  uint8_t raw[kPcxHeaderBytes];
  in.Read(raw, sizeof raw);
  PcxHeader header = ParseHeader(raw);
  Layout layout = Classify(header);

  // The scan line must hold the width at the depth, or the expansion would read past it.
  if (header.bytesPerLine == 0 || uint64_t(header.bytesPerLine) * 8 < uint64_t(header.width) * header.bits)
    Fail(kInvalidFile);
  const bool trueColor = layout == Layout::Rgb24;
  auto stride = CheckedRowStride(header.width, trueColor ? 24 : 8);
  if (!stride || header.height > kMaxImageSide || !CheckedMul(*stride, header.height))
    AbortCodec(AbortReason::NoMemory);
  const uint32_t lineBytes = header.planes * header.bytesPerLine;
  // A file too short for its rows, even at the best compression, fails before any memory
  // is taken for them.
  if (in.Size() - kPcxHeaderBytes < MinimumEncodedBytes(uint64_t(lineBytes) * header.height)) Fail(kUnexpectedEof);

  const int colors = ColorCountOf(layout);
  Palettes palettes = ReadPalettes(in, header, layout);
  document.decodedWidth = int32_t(header.width);
  document.decodedHeight = int32_t(header.height);
  if (!document.CreateImage(int(header.width), int(header.height), trueColor, palettes.chosen, colors, 0))
    AbortCodec(AbortReason::NoMemory);
  transfer.LockImage();
  std::vector<uint8_t> scanLine(lineBytes);

  LineDecoder decoder(in);
  const int height = int(header.height);
  ResetProgress();
  for (int y = 0; y < height; ++y) {
    decoder.Decode(scanLine.data(), lineBytes);
    ExpandLine(layout, scanLine.data(), header.bytesPerLine, document.RowPointer(y), header.width);
    transfer.RowDone(y, height, 64);
  }
  // A marker byte met inside the pixel data was a pixel, not the start of a palette.
  if (palettes.trailing && kPcxHeaderBytes + decoder.Consumed() > in.Size() - kTrailingPaletteBytes)
    std::memcpy(document.GetColors(), palettes.fallback, size_t(colors) * sizeof(RgbQuad));
  transfer.UnlockImage();
  transfer.CloseFile();
  if (ReduceAfterRead(transfer) == kQuantizeFailed) Fail(kQuantizeFailedText);
}

int ProbePcx(ByteReader& in, uint32_t& width, uint32_t& height) {
  using namespace pcx;
  uint8_t h[kPcxHeaderBytes];
  if (in.ReadSome(h, sizeof h) < sizeof h || h[0] != kManufacturer || h[1] > 6 || h[65] > 4) return 0;
  // Unsigned 16-bit frame edges; an inside-out frame has no size.
  uint32_t xmin = LoadU16le(h + 4), ymin = LoadU16le(h + 6), xmax = LoadU16le(h + 8), ymax = LoadU16le(h + 10);
  width = xmax >= xmin ? xmax - xmin + 1 : 0;
  height = ymax >= ymin ? ymax - ymin + 1 : 0;
  return kPcxFile;
}

}  // namespace quilla
