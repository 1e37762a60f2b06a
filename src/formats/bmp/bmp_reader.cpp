#include <algorithm>
#include <cstring>

#include "core/dib_image.h"
#include "core/progress.h"
#include "core/size_limits.h"
#include "formats/bmp/bmp_codec.h"
#include "formats/bmp/bmp_quiet.h"
#include "formats/bmp/bmp_reduce.h"
#include "formats/byte_reader.h"
#include "formats/codec_abort.h"
#include "formats/file_types.h"
#include "formats/image_files.h"
#include "formats/transfer_files.h"
#include "settings/app_options.h"

namespace quilla {

namespace bmp {
bool quiet = false;
}

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

BmpLayout ReadHeaders(ByteReader& in, DIBImage& document) {
  uint8_t fileHeader[kFileHeaderBytes];
  in.Read(fileHeader, sizeof fileHeader);
  if (fileHeader[0] != 'B' || fileHeader[1] != 'M') AbortCodecWithMessage("Not a BITMAP file:\n\n%s", document.fileName);
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
    AbortCodecWithMessage("Not a MS Windows or OS/2 Bitmap file:\n\n%s", document.fileName);
  in.Read(info + 4, kHeaderBytes - 4);
  // Later Windows headers only append fields (masks, colour space) to the 40 bytes; the
  // colour table follows the whole header.
  in.Skip(headerSize - kHeaderBytes);
  if (LoadU32le(info + 16) != 0)
    AbortCodecWithMessage("Compressed Bitmap files are not supported:\n\n%s", document.fileName);
  layout.width = int32_t(LoadU32le(info + 4));
  layout.height = int32_t(LoadU32le(info + 8));
  layout.bitCount = LoadU16le(info + 14);
  layout.colorsUsed = LoadU32le(info + 32);
  layout.xPelsPerMeter = int32_t(LoadU32le(info + 24));
  layout.yPelsPerMeter = int32_t(LoadU32le(info + 28));
  return layout;
}

bool Cancelled(long long done, long long total) { return !bmp::quiet && !ReportProgress(done, total); }

// Reads the pixel rows of a 1- or 4-bit file, expanding each to one byte per pixel.
void ReadPackedRows(ByteReader& in, DIBImage& document, const BmpLayout& layout, uint32_t fileStride, int height,
                    bool topDown, long long total) {
  if (!document.AllocRowBuffer(layout.width, false)) AbortCodec(AbortReason::NoMemory);
  uint8_t* packed = document.RowBuffer();
  uint8_t* bits = document.GetBits();
  uint32_t stride = document.RowStride();
  int width = layout.width;
  for (int row = 0; row < height; ++row) {
    if (Cancelled(row, total)) AbortCodec(AbortReason::Cancelled);
    in.Read(packed, fileStride);
    uint8_t* dst = bits + size_t(topDown ? height - 1 - row : row) * stride;
    if (layout.bitCount == 1) {
      for (int x = 0; x < width; ++x) dst[x] = uint8_t(packed[x >> 3] >> (7 - (x & 7)) & 1);
    } else {
      for (int x = 0; x < width; ++x) dst[x] = uint8_t(x & 1 ? packed[x >> 1] & 15 : packed[x >> 1] >> 4);
    }
  }
  document.FreeRowBuffer();
}

void ReadBmpFile(DIBImage& document) {
  document.file = OpenTransferFile(document.fileName, "rb");
  if (document.file == kNoFile) AbortCodec(AbortReason::Silent);
  ByteReader in(TransferStream(document.file));
  BmpLayout layout = ReadHeaders(in, document);

  bool palette = layout.bitCount == 1 || layout.bitCount == 4 || layout.bitCount == 8;
  if (!palette && layout.bitCount != 24)
    AbortCodecWithMessage("Only 24, 8, 4, or 1 bit bitmaps are supported:\n\n%s", document.fileName);
  bool topDown = layout.height < 0;
  int64_t height = topDown ? -layout.height : layout.height;
  if (layout.width <= 0 || height == 0)
    AbortCodecWithMessage("Not a MS Windows or OS/2 Bitmap file:\n\n%s", document.fileName);
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
  const AppOptions& options = Options();
  bool windows16 = options.UseSysPalette() != 0;
  bool dither = options.UseDithering() != 0;
  bool reduce = !palette && (windows16 || options.NeedQuantizeRead() != 0);
  int reducedColors = windows16 ? 16 : std::clamp(options.NColorsCreatePal(), 2, 256);
  if (!document.CreateImage(layout.width, int(height), !palette && !reduce, nullptr,
                            reduce ? reducedColors : int(colors), 0))
    AbortCodec(AbortReason::NoMemory);
  document.decodedWidth = layout.width;
  document.decodedHeight = int32_t(height);
  document.Lock();
  BitmapInfoHeader* header = document.GetHeader();
  header->biXPelsPerMeter = layout.xPelsPerMeter;
  header->biYPelsPerMeter = layout.yPelsPerMeter;
  RgbQuad* colorTable = document.GetColors();
  for (uint32_t i = 0; i < colors; ++i) {
    const uint8_t* entry = table + i * entryBytes;
    colorTable[i] = {entry[0], entry[1], entry[2], layout.os2 ? uint8_t(0) : entry[3]};
  }

  int rows = int(height);
  bool packed = layout.bitCount == 1 || layout.bitCount == 4;
  if (reduce) {
    bmp::ReadReducedRows(in, document, {layout.pixelOffset, uint32_t(*fileStride), layout.width, rows, topDown},
                         windows16, reducedColors, dither);
  } else if (packed) {
    ReadPackedRows(in, document, layout, uint32_t(*fileStride), rows, topDown, windows16 ? 2LL * rows : rows);
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
    bmp::RemapToWindows16(document, dither, packed ? rows : 0, packed ? 2LL * rows : rows);
  }
  CloseTransferFile(document.file);
  document.Unlock();
}

int ReadBmpGuarded(DIBImage& document) {
  try {
    ReadBmpFile(document);
    return 1;
  } catch (const CodecAbort& abort) {
    AbortBmpRead(document);
    if (!bmp::quiet) ReportCodecAbort(abort, document.fileName);
    return 0;
  }
}

}  // namespace

int ProbeBmp(DIBImage& document) {
  int32_t file = OpenTransferFile(document.fileName, "rb");
  if (file == kNoFile) return kCannotOpen;
  uint8_t head[kFileHeaderBytes + kHeaderBytes] = {};
  size_t got = std::fread(head, 1, sizeof head, TransferStream(file));
  CloseTransferFile(file);
  if (got < 2 || head[0] != 'B' || head[1] != 'M') return 0;
  const uint8_t* info = head + kFileHeaderBytes;
  uint32_t headerSize = LoadU32le(info);
  document.fileWidth = document.fileHeight = 0;
  if (IsWindowsHeaderSize(headerSize)) {
    int32_t height = int32_t(LoadU32le(info + 8));
    document.fileWidth = LoadU32le(info + 4);
    document.fileHeight = height < 0 ? 0u - uint32_t(height) : uint32_t(height);
  } else if (headerSize == kCoreHeaderBytes) {
    document.fileWidth = LoadU16le(info + 4);
    document.fileHeight = LoadU16le(info + 6);
  }
  return kWindowsBmp;
}

int ReadBmp(DIBImage& document) {
  bmp::quiet = false;
  return ReadBmpGuarded(document);
}

int ReadBmpPreview(DIBImage& document, int maxWidth, int maxHeight) {
  bmp::quiet = true;
  if (ReadBmpGuarded(document)) ShrinkPreview(document, maxWidth, maxHeight);
  return document.HasImage() ? 0 : 2;
}

void AbortBmpRead(DIBImage& document) {
  document.ioState = 0;
  document.FreeImage();
  document.FreeRowBuffer();
  CloseTransferFile(document.file);
}

}  // namespace quilla
