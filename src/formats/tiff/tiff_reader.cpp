#include <algorithm>
#include <cstring>
#include <new>

#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "core/size_limits.h"
#include "formats/byte_reader.h"
#include "formats/codec_abort.h"
#include "formats/file_system.h"
#include "formats/file_types.h"
#include "formats/ppm/read_reduction.h"
#include "formats/image_files.h"
#include "formats/tiff/tiff_codec.h"
#include "formats/tiff/tiff_session.h"
#include "formats/transfer_files.h"

namespace quilla {

namespace {

using tiff::CheckLibrary;
using tiff::CurrentSession;

[[noreturn]] void Fail(const char* text) { throw CodecAbort{AbortReason::Message, text}; }

// How one row of file samples becomes a row of the document.
enum class RowKind { TrueColor, Bits8, Bits4, Bits1 };

struct TiffLayout {
  uint32_t width = 0, height = 0;
  uint16_t samples = 1, bits = 1;
  bool trueColor = false;
  int colors = 0;
  RowKind kind = RowKind::Bits8;
  uint64_t rowBits = 0;  // of one image row's samples as stored, contiguous
  RgbQuad table[256] = {};
};

void ConvertRow(const uint8_t* src, uint8_t* dst, uint32_t count, RowKind kind, uint32_t samples) {
  switch (kind) {
    case RowKind::TrueColor:
      for (uint32_t i = 0; i < count; ++i, src += samples, dst += 3) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
      }
      break;
    case RowKind::Bits8: std::memcpy(dst, src, count); break;
    case RowKind::Bits4:
      for (uint32_t i = 0; i < count; ++i) dst[i] = uint8_t(i & 1 ? src[i >> 1] & 15 : src[i >> 1] >> 4);
      break;
    case RowKind::Bits1:
      for (uint32_t i = 0; i < count; ++i) dst[i] = uint8_t((src[i >> 3] >> (7 - (i & 7))) & 1);
      break;
  }
}

// The grey ramp a one-sample file without a colour map shows, darkest first.
void GreyRamp(RgbQuad* table, int colors, uint16_t bits, bool minIsWhite) {
  for (int i = 0; i < colors; ++i) {
    int level = bits == 1 ? i * 255 : bits == 4 ? i * 16 : i;
    uint8_t v = uint8_t(minIsWhite ? 255 - level : level);
    table[i] = {v, v, v, 0};
  }
}

uint64_t SaturatingMul(uint64_t a, uint64_t b) { return b && a > UINT64_MAX / b ? UINT64_MAX : a * b; }

// The most bytes one byte of strip or tile data can decode to, for rows of `rowBytes`.
uint64_t MaxExpansion(uint16_t compression, uint64_t rowBytes, uint16_t samples) {
  switch (compression) {
    case COMPRESSION_NONE: return 1;
    case COMPRESSION_PACKBITS: return 64;     // two bytes repeat one byte 128 times
    case COMPRESSION_THUNDERSCAN: return 32;  // one byte repeats a 4-bit pixel 63 times
    case COMPRESSION_LZW: return 2731;        // 12 bits stand for at most 4096 bytes
    case COMPRESSION_DEFLATE:
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_PIXARLOG: return 1032;  // two bits stand for at most 258 bytes
    case COMPRESSION_CCITTRLE:
    case COMPRESSION_CCITTRLEW:
    case COMPRESSION_CCITTFAX3:
    case COMPRESSION_CCITTFAX4: return 8 * std::max<uint64_t>(rowBytes, 1);  // a row takes a bit or more
    case COMPRESSION_OJPEG:
    case COMPRESSION_JPEG: return 8192 * uint64_t(samples);  // a bit or more per 8x8 block, 4x4 upsampled
    // Arithmetic coding, LZMA, Zstandard, WebP and the rest have no small bound; a file
    // packed tighter than Zstandard's run blocks is taken as out of proportion.
    default: return 32768;
  }
}

// A file whose strips or tiles cannot hold the image it declares is refused before the
// image is made, so a few hundred bytes never allocate gigabytes: their byte counts must
// fit in the file, and at the compression's greatest expansion they must decode to every
// row (every tile).
void CheckDataCoversImage(TIFF* tif, const TiffLayout& t, uint64_t fileBytes) {
  uint16_t compression = COMPRESSION_NONE;
  TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
  bool tiled = TIFFIsTiled(tif);
  uint32_t pieces = tiled ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
  uint64_t rowBytes = TIFFScanlineSize64(tif);
  uint64_t needed = tiled ? SaturatingMul(TIFFTileSize64(tif), pieces) : SaturatingMul(rowBytes, t.height);
  uint64_t stored = 0;
  for (uint32_t i = 0; i < pieces; ++i) {
    uint64_t count = TIFFGetStrileByteCount(tif, i);
    if (count > fileBytes - stored) Fail("TIFF: Read error");
    stored += count;
  }
  CheckLibrary();
  if (needed == 0 || SaturatingMul(stored, MaxExpansion(compression, rowBytes, t.samples)) < needed)
    Fail("TIFF: Read error");
}

TiffLayout Examine(TIFF* tif, DIBImage& document, uint64_t fileBytes) {
  TiffLayout t;
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &t.height);
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &t.width);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &t.samples);
  TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &t.bits);
  CheckLibrary();
  switch (t.bits) {
    case 1: t.colors = 2; t.kind = RowKind::Bits1; break;
    case 4: t.colors = 16; t.kind = RowKind::Bits4; break;
    case 8: t.colors = 256; t.kind = RowKind::Bits8; break;
    default: Fail("TIFF: Only 1/4/8/24 bits/pixel of color information are supported");
  }
  if (t.samples >= 3) {
    if (t.bits != 8) Fail("TIFF: Samples per pixel must be 8 when multiple samples are present");
    t.trueColor = true;
    t.colors = 0;
    t.kind = RowKind::TrueColor;
  } else if (t.samples != 1) {
    Fail("TIFF: Samples per pixel = 2 is not supported");
  }
  if (t.width == 0 || t.height == 0) Fail("TIFF: Invalid image size");
  if (t.width > kMaxImageSide || t.height > kMaxImageSide) AbortCodec(AbortReason::NoMemory);
  uint16_t planar = PLANARCONFIG_CONTIG;
  TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
  CheckLibrary();
  // Samples kept in separate planes would need one read per sample: not supported.
  if (t.samples > 1 && planar != PLANARCONFIG_CONTIG) Fail("TIFF: Unsupported sample layout");
  t.rowBits = uint64_t(t.width) * t.samples * t.bits;
  document.decodedWidth = int32_t(t.width);
  document.decodedHeight = int32_t(t.height);

  if (!t.trueColor) {
    uint16_t photometric = PHOTOMETRIC_MINISBLACK;
    bool known = TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric) != 0;
    uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
    if (known && photometric == PHOTOMETRIC_PALETTE && TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue) &&
        red && green && blue) {
      for (int i = 0; i < t.colors; ++i)
        t.table[i] = {uint8_t(blue[i] >> 8), uint8_t(green[i] >> 8), uint8_t(red[i] >> 8), 0};
    } else {
      // Without a usable tag a one-sample image is shown as grey, black first.
      GreyRamp(t.table, t.colors, t.bits, known && photometric == PHOTOMETRIC_MINISWHITE);
    }
    CheckLibrary();
  }
  CheckDataCoversImage(tif, t, fileBytes);
  if (!document.CreateImage(int(t.width), int(t.height), t.trueColor, t.table, t.colors, 0))
    AbortCodec(AbortReason::NoMemory);
  CurrentSession().madeImage = true;
  document.Lock();
  CurrentSession().locked = true;
  return t;
}

// Sizes the library states for its buffers must hold what the conversion reads and stay
// within what may be allocated.
void TakeBuffer(tmsize_t size, uint64_t needed) {
  if (size <= 0 || uint64_t(size) < needed) Fail("TIFF: Unsupported sample layout");
  if (uint64_t(size) > kMaxBlockBytes) AbortCodec(AbortReason::NoMemory);
  try {
    CurrentSession().buffer.assign(size_t(size), 0);
  } catch (const std::bad_alloc&) {
    AbortCodec(AbortReason::NoMemory);
  }
}

void ReadStrips(TIFF* tif, DIBImage& document, const TiffLayout& t) {
  tmsize_t lineBytes = TIFFScanlineSize(tif);
  CheckLibrary();
  TakeBuffer(lineBytes, (t.rowBits + 7) / 8);
  uint8_t* line = CurrentSession().buffer.data();
  for (uint32_t row = 0; row < t.height; ++row) {
    tiff::RowProgress(row, t.height);
    int got = TIFFReadScanline(tif, line, row, 0);
    CheckLibrary();
    if (got < 0) Fail("TIFF: Read error");
    ConvertRow(line, document.RowPointer(int(row)), t.width, t.kind, t.samples);
  }
}

void ReadTiles(TIFF* tif, DIBImage& document, const TiffLayout& t) {
  uint32_t tileWidth = 0, tileLength = 0;
  TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
  TIFFGetField(tif, TIFFTAG_TILELENGTH, &tileLength);
  tmsize_t tileBytes = TIFFTileSize(tif);
  tmsize_t tileRowBytes = TIFFTileRowSize(tif);
  uint32_t tiles = TIFFNumberOfTiles(tif);
  CheckLibrary();
  if (tileWidth == 0 || tileLength == 0 || tileRowBytes <= 0) Fail("TIFF: Unsupported sample layout");
  uint64_t rowNeeded = (uint64_t(tileWidth) * t.samples * t.bits + 7) / 8;
  if (uint64_t(tileRowBytes) < rowNeeded) Fail("TIFF: Unsupported sample layout");
  TakeBuffer(tileBytes, uint64_t(tileRowBytes) * tileLength);
  const uint8_t* tile = CurrentSession().buffer.data();
  const uint32_t pixelBytes = t.trueColor ? 3 : 1;
  uint64_t done = 0;
  for (uint64_t y = 0; y < t.height; y += tileLength) {
    for (uint64_t x = 0; x < t.width; x += tileWidth) {
      if (!CurrentSession().quiet && !ReportProgress(static_cast<long long>(done), tiles ? tiles : 1))
        AbortCodec(AbortReason::Cancelled);
      ++done;
      tmsize_t got = TIFFReadTile(tif, CurrentSession().buffer.data(), uint32_t(x), uint32_t(y), 0, 0);
      CheckLibrary();
      if (got < 0) Fail("TIFF: Read error");
      uint32_t rows = uint32_t(std::min<uint64_t>(tileLength, t.height - y));
      uint32_t columns = uint32_t(std::min<uint64_t>(tileWidth, t.width - x));
      for (uint32_t r = 0; r < rows; ++r)
        ConvertRow(tile + size_t(r) * size_t(tileRowBytes), document.RowPointer(int(y + r)) + x * pixelBytes, columns,
                   t.kind, t.samples);
    }
  }
}

void ReadTiffInto(DIBImage& document) {
  tiff::Session& s = CurrentSession();
  document.file = OpenTransferFile(document.fileName, "rb");
  if (document.file == kNoFile) AbortCodec(AbortReason::Silent);
  s.handle = tiff::OpenOverStream(TransferStream(document.file), document.fileName, "rm");
  CheckLibrary();
  if (!s.handle) Fail("TIFF: Cannot read the file");
  int64_t fileBytes = FileLength(TransferStream(document.file));
  TiffLayout layout = Examine(s.handle, document, fileBytes < 0 ? 0 : uint64_t(fileBytes));
  if (!s.quiet) ResetProgress();
  if (TIFFIsTiled(s.handle))
    ReadTiles(s.handle, document, layout);
  else
    ReadStrips(s.handle, document, layout);
  CheckLibrary();
  tiff::EndSession(document);
  CheckLibrary();
  CloseTransferFile(document.file);
  if (ReduceAfterRead(document, !s.quiet) == 0)
    Fail("Not enough memory for quantization step");
}

int ReadTiffGuarded(DIBImage& document) {
  try {
    ReadTiffInto(document);
    return 1;
  } catch (const CodecAbort& abort) {
    AbortTiffRead(document);
    if (!CurrentSession().quiet) ReportCodecAbort(abort, document.fileName);
    return 0;
  }
}

}  // namespace

int ProbeTiffFile(DIBImage& document) {
  int32_t file = OpenTransferFile(document.fileName, "rb");
  if (file == kNoFile) return kCannotOpen;
  int answer = 0;
  try {
    ByteReader in(TransferStream(file));
    uint8_t head[4];
    in.Read(head, 4);
    bool little = head[0] == 'I' && head[1] == 'I' && head[2] == 42 && head[3] == 0;
    bool big = head[0] == 'M' && head[1] == 'M' && head[2] == 0 && head[3] == 42;
    if (little || big) {
      in.Seek(little ? in.U32le() : in.U32be());
      uint32_t entries = little ? in.U16le() : in.U16be();
      bool haveWidth = false, haveHeight = false;
      uint32_t width = 0, height = 0;
      for (uint32_t i = 0; i < entries && !(haveWidth && haveHeight); ++i) {
        uint8_t e[12];
        in.Read(e, sizeof e);
        auto u16 = [little](const uint8_t* p) { return little ? LoadU16le(p) : uint16_t(p[0] << 8 | p[1]); };
        uint16_t tag = u16(e), type = u16(e + 2);
        if (tag != TIFFTAG_IMAGEWIDTH && tag != TIFFTAG_IMAGELENGTH) continue;
        uint32_t value = type == TIFF_SHORT ? u16(e + 8)
                         : little         ? LoadU32le(e + 8)
                                          : uint32_t(e[8]) << 24 | uint32_t(e[9]) << 16 | uint32_t(e[10]) << 8 | e[11];
        if (int32_t(value) < 0) value = 10;
        if (tag == TIFFTAG_IMAGEWIDTH) haveWidth = true, width = value;
        else haveHeight = true, height = value;
      }
      if (haveWidth && haveHeight) {
        document.fileWidth = width;
        document.fileHeight = height;
        answer = kTiffFile;
      }
    }
  } catch (const CodecAbort&) {
    answer = 0;
  }
  CloseTransferFile(file);
  return answer;
}

int ReadTiffFile(DIBImage& document) {
  tiff::BeginSession(true, false);
  return ReadTiffGuarded(document);
}

int ReadTiffPreview(DIBImage& document, int maxWidth, int maxHeight) {
  tiff::BeginSession(true, true);
  if (ProbeTiffFile(document) != kTiffFile) return 2;
  int ok = ReadTiffGuarded(document);
  bool made = CurrentSession().madeImage && document.HasImage();
  CurrentSession().quiet = false;
  if (made) ShrinkPreview(document, maxWidth, maxHeight);
  return ok ? 0 : made ? 1 : 2;
}

void AbortTiffRead(DIBImage& document) {
  tiff::EndSession(document);
  CloseTransferFile(document.file);
}

}  // namespace quilla
