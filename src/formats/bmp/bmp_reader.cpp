#include <algorithm>
#include <cstring>

#include "core/dib_image.h"
#include "core/progress.h"
#include "core/size_limits.h"
#include "formats/bmp/bmp_codec.h"
#include "formats/bmp/bmp_reduce.h"
#include "formats/byte_reader.h"
#include "formats/codec_abort.h"
#include "formats/file_types.h"
#include "formats/packed_rows.h"
#include "formats/transfer.h"

namespace quilla {

namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kCoreHeaderBytes = 12;

// The Windows header and its later, longer versions (52, 56, 108 and 124 bytes), which
// other programs write for plain uncompressed bitmaps too.
bool IsWindowsHeaderSize(uint32_t size) {
  return size == kHeaderBytes || size == 52 || size == 56 || size == 108 || size == 124;
}

// The header fields the reader uses, from either header kind.
struct BmpLayout {
  uint32_t pixelOffset;
  bool os2;
  int32_t width;
  int64_t height;  // negative: rows stored top-down
  uint16_t bitCount;
  uint32_t colorsUsed;
  int32_t xPelsPerMeter, yPelsPerMeter;
};

BmpLayout ReadHeaders(ByteReader& in, DIBImage& document, const char* name) {
  uint8_t fileHeader[kFileHeaderBytes];
  in.Read(fileHeader, sizeof fileHeader);
  if (fileHeader[0] != 'B' || fileHeader[1] != 'M') AbortCodecWithMessage("Not a BITMAP file:\n\n%s", name);
  document.fileType = kWindowsBmp;
  BmpLayout layout{};
  layout.pixelOffset = LoadU32le(fileHeader + 10);

  // Only as much header as its kind has is read, so a small OS/2 file, shorter than a
  // Windows header, still reads.
  uint8_t info[kHeaderBytes];
  in.Read(info, 4);
  uint32_t headerSize = LoadU32le(info);
  if (headerSize == kCoreHeaderBytes) {
    in.Read(info + 4, kCoreHeaderBytes - 4);
    document.fileType = kOs2Bmp;
    layout.os2 = true;
    layout.width = LoadU16le(info + 4);
    layout.height = LoadU16le(info + 6);
    layout.bitCount = LoadU16le(info + 10);
    return layout;
  }
  if (!IsWindowsHeaderSize(headerSize))
    AbortCodecWithMessage("Not a MS Windows or OS/2 Bitmap file:\n\n%s", name);
  in.Read(info + 4, kHeaderBytes - 4);
  // Later Windows headers only append fields (masks, colour space) to the 40 bytes; the
  // colour table follows the whole header.
  in.Skip(headerSize - kHeaderBytes);
  if (LoadU32le(info + 16) != 0)
    AbortCodecWithMessage("Compressed Bitmap files are not supported:\n\n%s", name);
  layout.width = int32_t(LoadU32le(info + 4));
  layout.height = int32_t(LoadU32le(info + 8));
  layout.bitCount = LoadU16le(info + 14);
  layout.colorsUsed = LoadU32le(info + 32);
  layout.xPelsPerMeter = int32_t(LoadU32le(info + 24));
  layout.yPelsPerMeter = int32_t(LoadU32le(info + 28));
  return layout;
}

// Reads the pixel rows of a 1- or 4-bit file, expanding each to one byte per pixel.
void ReadPackedRows(Transfer& transfer, const BmpLayout& layout, uint32_t fileStride, int height, bool topDown,
                    long long total) {
  DIBImage& document = transfer.document;
  ByteReader& in = transfer.In();
  if (!document.AllocRowBuffer(layout.width, false)) AbortCodec(AbortReason::NoMemory);
  uint8_t* packed = document.RowBuffer();
  uint8_t* bits = document.GetBits();
  uint32_t stride = document.RowStride();
  int width = layout.width;
  for (int row = 0; row < height; ++row) {
    transfer.RowDone(row, total);
    in.Read(packed, fileStride);
    UnpackRow(packed, width, layout.bitCount, bits + size_t(topDown ? height - 1 - row : row) * stride);
  }
  document.FreeRowBuffer();
}

}  // namespace

void ReadBmp(Transfer& transfer) {
  DIBImage& document = transfer.document;
  const char* name = transfer.name.c_str();
  ByteReader& in = transfer.In();
  BmpLayout layout = ReadHeaders(in, document, name);

  bool palette = layout.bitCount == 1 || layout.bitCount == 4 || layout.bitCount == 8;
  if (!palette && layout.bitCount != 24)
    AbortCodecWithMessage("Only 24, 8, 4, or 1 bit bitmaps are supported:\n\n%s", name);
  bool topDown = layout.height < 0;
  int64_t height = topDown ? -layout.height : layout.height;
  if (layout.width <= 0 || height == 0)
    AbortCodecWithMessage("Not a MS Windows or OS/2 Bitmap file:\n\n%s", name);
  if (uint64_t(layout.width) > kMaxImageSide || uint64_t(height) > kMaxImageSide) AbortCodec(AbortReason::NoMemory);
  auto fileStride = CheckedRowStride(uint32_t(layout.width), layout.bitCount);
  auto pixelBytes = fileStride ? CheckedMul(*fileStride, uint64_t(height)) : std::nullopt;
  if (!pixelBytes) AbortCodec(AbortReason::NoMemory);

  // Colours used beyond what the bit count can index would overrun the colour table.
  uint32_t maxColors = palette ? 1u << layout.bitCount : 0;
  uint32_t colors = layout.colorsUsed == 0 ? maxColors : std::min(layout.colorsUsed, maxColors);
  uint32_t entryBytes = layout.os2 ? 3 : 4;
  // The core header has no colour count: a table shorter than the bit count allows (as
  // written for images with fewer colours) ends where the pixels begin.
  uint32_t tableStart = kFileHeaderBytes + kCoreHeaderBytes;
  if (layout.os2 && layout.pixelOffset >= tableStart + 3 && (layout.pixelOffset - tableStart) / 3 < colors)
    colors = (layout.pixelOffset - tableStart) / 3;
  uint8_t table[256 * 4];
  in.Read(table, colors * entryBytes);
  // A file too short for its rows fails before any memory is taken for them.
  in.Seek(layout.pixelOffset);
  in.Require(*pixelBytes);

  // Reduction while reading: either quantizing option reduces a true-colour file; the
  // Windows colours also replace the table of a palette file.
  const QuantizeOptions& options = transfer.reduction;
  bool windows16 = options.useSysPalette;
  bool dither = options.useDithering;
  bool reduce = !palette && (windows16 || options.needQuantizeRead);
  int reducedColors = windows16 ? 16 : std::clamp(options.nColorsCreatePal, 2, 256);
  if (!document.CreateImage(layout.width, int(height), !palette && !reduce, nullptr,
                            reduce ? reducedColors : int(colors), 0))
    AbortCodec(AbortReason::NoMemory);
  // A failed read leaves no image.
  transfer.OnCleanUp([&document] {
    document.FreeImage();
    document.FreeRowBuffer();
  });
  document.decodedWidth = layout.width;
  document.decodedHeight = int32_t(height);
  transfer.LockImage();
  BitmapInfoHeader* header = document.GetHeader();
  header->biXPelsPerMeter = layout.xPelsPerMeter;
  header->biYPelsPerMeter = layout.yPelsPerMeter;
  LoadColorTable(table, colors, entryBytes, EntryOrder::BlueGreenRed, document.GetColors());

  int rows = int(height);
  bool packed = layout.bitCount == 1 || layout.bitCount == 4;
  if (reduce) {
    bmp::ReadReducedRows(transfer, {layout.pixelOffset, uint32_t(*fileStride), layout.width, rows, topDown},
                         windows16, reducedColors, dither);
  } else if (packed) {
    ReadPackedRows(transfer, layout, uint32_t(*fileStride), rows, topDown, windows16 ? 2LL * rows : rows);
  } else if (!topDown) {
    // 8 and 24 bits are stored as they are held: one piece.
    in.Read(document.GetBits(), size_t(*pixelBytes));
  } else {
    uint32_t stride = document.RowStride();
    for (int row = 0; row < rows; ++row) in.Read(document.GetBits() + size_t(rows - 1 - row) * stride, stride);
  }
  document.CoverPixelIndices();
  if (palette && windows16) {
    // Packed files continue their progress; 8-bit ones start it here.
    if (!packed) ResetProgress();
    bmp::RemapToWindows16(transfer, dither, packed ? rows : 0, packed ? 2LL * rows : rows);
  }
  transfer.UnlockImage();
}

int ProbeBmp(ByteReader& in, uint32_t& width, uint32_t& height) {
  uint8_t head[kFileHeaderBytes + kHeaderBytes] = {};
  size_t got = in.ReadSome(head, sizeof head);
  if (got < 2 || head[0] != 'B' || head[1] != 'M') return 0;
  const uint8_t* info = head + kFileHeaderBytes;
  uint32_t headerSize = LoadU32le(info);
  if (IsWindowsHeaderSize(headerSize)) {
    int32_t rows = int32_t(LoadU32le(info + 8));
    width = LoadU32le(info + 4);
    height = rows < 0 ? 0u - uint32_t(rows) : uint32_t(rows);
  } else if (headerSize == kCoreHeaderBytes) {
    width = LoadU16le(info + 4);
    height = LoadU16le(info + 6);
  }
  return kWindowsBmp;
}

}  // namespace quilla
