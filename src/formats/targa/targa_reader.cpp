#include <algorithm>
#include <cstring>

#include "color/color_quantizer.h"
#include "color/windows16_palette.h"
#include "core/dib_image.h"
#include "core/progress.h"
#include "core/size_limits.h"
#include "formats/byte_reader.h"
#include "formats/codec_abort.h"
#include "formats/file_types.h"
#include "formats/packed_rows.h"
#include "formats/targa/targa_codec.h"
#include "formats/targa/targa_header.h"
#include "formats/targa/targa_messages.h"
#include "formats/transfer.h"

namespace quilla {

namespace {

using namespace targa;

[[noreturn]] void Fail(const char* text) { throw CodecAbort{AbortReason::Message, text}; }

// T[i] = floor(i x 255 / 31): a 5-bit channel of a 16-bit pixel as 8 bits.
struct FiveBitTable {
  uint8_t value[32];
  constexpr FiveBitTable() : value() {
    for (int i = 0; i < 32; ++i) value[i] = uint8_t(i * 255 / 31);
  }
};
constexpr FiveBitTable kFiveBit;

// Delivers the stored pixels row after row, raw or run-length encoded; run-length packets
// may run on from one row into the next.
class PixelSource {
 public:
  PixelSource(ByteReader& in, uint32_t bytesPerPixel, bool runLength)
      : in(in), bpp(bytesPerPixel), runLength(runLength), start(in.Tell()) {}
  PixelSource(const PixelSource&) = delete;
  PixelSource& operator=(const PixelSource&) = delete;

  // Back to the first pixel, for a second pass.
  void Restart() {
    in.Seek(start);
    next = end = 0;
    repeats = literals = 0;
  }

  // width pixels as stored (width x bytes per pixel bytes).
  void ReadRow(uint8_t* out, uint32_t width) {
    if (!runLength) {
      in.Read(out, size_t(width) * bpp);
      return;
    }
    uint32_t x = 0;
    while (x < width) {
      if (repeats != 0) {
        uint32_t take = std::min(repeats, width - x);
        Repeat(out + size_t(x) * bpp, take);
        x += take;
        repeats -= take;
      } else if (literals != 0) {
        uint32_t take = std::min(literals, width - x);
        Copy(out + size_t(x) * bpp, size_t(take) * bpp);
        x += take;
        literals -= take;
      } else {
        if (next == end) Refill();
        uint8_t packet = chunk[next++];
        uint32_t count = (packet & 0x7Fu) + 1;
        if (packet & 0x80) {
          Copy(pixel, bpp);
          repeats = count;
        } else {
          literals = count;
        }
      }
    }
  }

 private:
  void Refill() {
    next = 0;
    end = in.ReadSome(chunk, sizeof chunk);
    if (end == 0) Fail(kPrematureEof);
  }
  void Copy(uint8_t* out, size_t n) {
    while (n != 0) {
      if (next == end) Refill();
      size_t take = std::min(n, end - next);
      std::memcpy(out, chunk + next, take);
      next += take, out += take, n -= take;
    }
  }
  void Repeat(uint8_t* out, uint32_t count) {
    switch (bpp) {
      case 1: std::memset(out, pixel[0], count); break;
      case 2:
        for (uint32_t i = 0; i < count; ++i, out += 2) out[0] = pixel[0], out[1] = pixel[1];
        break;
      case 3:
        for (uint32_t i = 0; i < count; ++i, out += 3) out[0] = pixel[0], out[1] = pixel[1], out[2] = pixel[2];
        break;
      default:
        for (uint32_t i = 0; i < count; ++i, out += 4) std::memcpy(out, pixel, 4);
        break;
    }
  }

  ByteReader& in;
  const uint32_t bpp;
  const bool runLength;
  const uint64_t start;
  uint32_t repeats = 0, literals = 0;
  uint8_t pixel[4] = {};
  size_t next = 0, end = 0;
  uint8_t chunk[16384];
};

// Stored pixels -> indices (colour-mapped files) or blue, green, red (the others).
void ConvertRow(const TargaHeader& header, const uint8_t* src, uint8_t* dst, uint32_t width) {
  if (header.kind == kColorMapped) {
    uint8_t highest = 0;
    for (uint32_t x = 0; x < width; ++x) highest = std::max(highest, src[x]);
    // An index past the colour map has no colour.
    if (highest >= header.mapLength) Fail(kInvalidFile);
    if (dst != src) std::memcpy(dst, src, width);
    return;
  }
  if (header.kind == kGray) {
    for (uint32_t x = 0; x < width; ++x, dst += 3) dst[0] = dst[1] = dst[2] = src[x];
    return;
  }
  switch (header.bytesPerPixel) {
    case 2:
      for (uint32_t x = 0; x < width; ++x, src += 2, dst += 3) {
        uint32_t v = uint32_t(src[0]) | uint32_t(src[1]) << 8;
        dst[0] = kFiveBit.value[v & 31], dst[1] = kFiveBit.value[v >> 5 & 31], dst[2] = kFiveBit.value[v >> 10 & 31];
      }
      break;
    case 3:
      if (dst != src) std::memcpy(dst, src, size_t(width) * 3);
      break;
    default:
      for (uint32_t x = 0; x < width; ++x, src += 4, dst += 3) dst[0] = src[0], dst[1] = src[1], dst[2] = src[2];
      break;
  }
}

struct Reduction {
  bool reduce = false;
  bool windows16 = false;
  bool dither = false;
  int passes = 1;
  int colors = 0;  // of the image; 0 true colour
};

Reduction DecideReduction(const TargaHeader& header, const QuantizeOptions& options) {
  const bool need = options.needQuantizeRead, system = options.useSysPalette;
  Reduction r;
  if (header.kind == kColorMapped) {
    r.reduce = need && system;
    r.colors = header.mapLength;
  } else {
    r.reduce = need;
  }
  if (!r.reduce) return r;
  r.dither = options.useDithering;
  if (system) {
    r.windows16 = true;
    r.colors = 16;
  } else {
    r.passes = 2;
    r.colors = std::clamp(options.nColorsCreatePal, 2, 256);
  }
  return r;
}

}  // namespace

void ReadTarga(Transfer& transfer) {
  DIBImage& document = transfer.document;
  ByteReader& in = transfer.In();
  uint8_t raw[kTargaHeaderBytes];
  if (in.ReadSome(raw, sizeof raw) != sizeof raw) Fail(kShortHeader);
  std::optional<TargaHeader> parsed = ParseHeader(raw);
  if (!parsed) Fail(kInvalidFile);
  const TargaHeader header = *parsed;
  in.Skip(header.idLength);

  RgbQuad map[256] = {};
  if (header.colorMapType == 1) {
    if (header.mapLength > 256 || header.firstMapIndex != 0) Fail(kMapTooLarge);
    if (header.mapEntryBits != 24) Fail(kMapFormat);
    uint8_t entries[256 * 3];
    in.Read(entries, size_t(header.mapLength) * 3);
    LoadColorTable(entries, header.mapLength, 3, EntryOrder::BlueGreenRed, map);
  }

  const uint32_t width = header.width, height = header.height;
  if (width == 0 || height == 0) Fail(kInvalidFile);
  const Reduction reduction = DecideReduction(header, transfer.reduction);
  const bool trueColorImage = !reduction.reduce && header.kind != kColorMapped;
  auto stride = CheckedRowStride(width, trueColorImage ? 24 : 8);
  if (!stride || !CheckedMul(*stride, height)) AbortCodec(AbortReason::NoMemory);
  // A file too short for its pixels fails before any memory is taken for them: raw pixels
  // take their full size, run-length ones at least a packet of one pixel per 128.
  const uint64_t pixels = uint64_t(width) * height;
  in.Require(header.runLength ? (pixels + 127) / 128 * (1u + header.bytesPerPixel) : pixels * header.bytesPerPixel);
  if (reduction.reduce && !ColorQuantizerReady()) AbortCodec(AbortReason::NoMemory);
  ColorQuantizer* quantizer = reduction.reduce ? &TheColorQuantizer() : nullptr;
  if (reduction.windows16 && reduction.dither && !quantizer->ResetDither(int(width))) AbortCodec(AbortReason::NoMemory);

  const bool mapped = header.kind == kColorMapped;
  // The rows as stored in the file, and as handed to the quantizer.
  std::vector<uint8_t> fileRow(size_t(width) * header.bytesPerPixel);
  std::vector<uint8_t> rowBuffer(reduction.reduce ? size_t(width) * (mapped ? 1 : 3) : 0);
  document.decodedWidth = int32_t(width);
  document.decodedHeight = int32_t(height);
  if (!document.CreateImage(int(width), int(height), trueColorImage, map, reduction.colors, 0))
    AbortCodec(AbortReason::NoMemory);
  // A failed read leaves no image.
  transfer.OnCleanUp([&document] { document.FreeImage(); });
  transfer.LockImage();

  if (reduction.windows16) {
    quantizer->UseWindows16();
    std::copy(Windows16Palette.begin(), Windows16Palette.end(), document.GetColors());
    if (mapped) quantizer->SetInputPalette(map, header.mapLength);
  } else if (reduction.passes == 2) {
    quantizer->ClearHistogram();
  }

  PixelSource source(in, header.bytesPerPixel, header.runLength);
  const long long total = (long long)height * reduction.passes;
  // The file's first row goes to the bottom of the image unless the descriptor says the
  // rows are stored top first.
  auto imageRow = [&](uint32_t row) { return document.RowPointer(int(header.topFirst ? row : height - 1 - row)); };
  auto readRow = [&](uint8_t* dst) {
    // 8-bit indices and 24-bit pixels are stored as they are held.
    bool direct = mapped || (header.kind == kTrueColor && header.bytesPerPixel == 3);
    uint8_t* stored = direct ? dst : fileRow.data();
    source.ReadRow(stored, width);
    ConvertRow(header, stored, dst, width);
  };
  auto mapRow = [&](uint8_t* dst) {
    int ok = 1;
    if (reduction.dither)
      ok = mapped ? quantizer->DitherPaletteRow(rowBuffer.data(), dst, int(width))
                  : quantizer->DitherTrueColorRow(rowBuffer.data(), dst, int(width));
    else if (mapped)
      quantizer->MapPaletteRow(rowBuffer.data(), dst, int(width));
    else
      quantizer->MapTrueColorRow(rowBuffer.data(), dst, int(width));
    if (!ok) AbortCodec(AbortReason::NoMemory);
  };
  auto progress = [&](long long done) { transfer.RowDone(done, total); };

  for (uint32_t row = 0; row < height; ++row) {
    progress(row);
    if (!reduction.reduce) {
      readRow(imageRow(row));
    } else {
      readRow(rowBuffer.data());
      if (reduction.windows16)
        mapRow(imageRow(row));
      else
        quantizer->CountTrueColorRow(rowBuffer.data(), int(width));
    }
  }
  if (reduction.passes == 2) {
    quantizer->SelectColors(reduction.colors);
    std::memcpy(document.GetColors(), quantizer->GetMappingPalette(),
                size_t(quantizer->GetMappingCount()) * sizeof(RgbQuad));
    if (reduction.dither && !quantizer->ResetDither(int(width))) AbortCodec(AbortReason::NoMemory);
    source.Restart();
    for (uint32_t row = 0; row < height; ++row) {
      progress(height + row);
      readRow(rowBuffer.data());
      mapRow(imageRow(row));
    }
  }

  transfer.UnlockImage();
}

int ProbeTarga(ByteReader& in, uint32_t& width, uint32_t& height) {
  uint8_t h[kTargaHeaderBytes];
  if (in.ReadSome(h, sizeof h) < sizeof h) return 0;
  std::optional<TargaHeader> header = ParseHeader(h);
  if (!header) return 0;
  width = header->width;
  height = header->height;
  return kTargaFile;
}

}  // namespace quilla
