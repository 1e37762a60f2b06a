#include <algorithm>
#include <cstring>
#include <vector>

#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "core/size_limits.h"
#include "formats/byte_reader.h"
#include "formats/codec_abort.h"
#include "formats/file_types.h"
#include "formats/packed_rows.h"
#include "formats/read_settings.h"
#include "formats/tiff/tiff_codec.h"
#include "formats/tiff/tiff_lzw.h"
#include "formats/tiff/tiff_session.h"
#include "formats/transfer.h"

namespace quilla {

namespace {

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

// count pixels of `samples` (3 or more) bytes to the image's blue, green, red; samples after
// the third are dropped.
void TakeBlueGreenRed(const uint8_t* src, uint8_t* dst, uint32_t count, uint32_t samples) {
  if (samples == 3) return SwapRedBlue(src, count, dst);
  for (uint32_t x = 0; x < count; ++x, src += samples, dst += 3) {
    dst[0] = src[2];
    dst[1] = src[1];
    dst[2] = src[0];
  }
}

void ConvertRow(const uint8_t* src, uint8_t* dst, uint32_t count, RowKind kind, uint32_t samples) {
  switch (kind) {
    case RowKind::TrueColor: TakeBlueGreenRed(src, dst, count, samples); break;
    case RowKind::Bits8: UnpackRow(src, int(count), 8, dst); break;
    case RowKind::Bits4: UnpackRow(src, int(count), 4, dst); break;
    case RowKind::Bits1: UnpackRow(src, int(count), 1, dst); break;
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
void CheckDataCoversImage(const tiff::Session& session, const TiffLayout& t, uint64_t fileBytes) {
  TIFF* tif = session.Handle();
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
  session.CheckLibrary();
  if (needed == 0 || SaturatingMul(stored, MaxExpansion(compression, rowBytes, t.samples)) < needed)
    Fail("TIFF: Read error");
}

TiffLayout Examine(const tiff::Session& session, Transfer& transfer) {
  TIFF* tif = session.Handle();
  DIBImage& document = transfer.document;
  TiffLayout t;
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &t.height);
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &t.width);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &t.samples);
  TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &t.bits);
  session.CheckLibrary();
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
  session.CheckLibrary();
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
    session.CheckLibrary();
  }
  CheckDataCoversImage(session, t, transfer.In().Size());
  if (!document.CreateImage(int(t.width), int(t.height), t.trueColor, t.table, t.colors, 0))
    AbortCodec(AbortReason::NoMemory);
  transfer.LockImage();
  return t;
}

// Sizes the library states for its buffers must hold what the conversion reads and stay
// within what may be allocated.
std::vector<uint8_t> TakeBuffer(tmsize_t size, uint64_t needed) {
  if (size <= 0 || uint64_t(size) < needed) Fail("TIFF: Unsupported sample layout");
  if (uint64_t(size) > kMaxBlockBytes) AbortCodec(AbortReason::NoMemory);
  return std::vector<uint8_t>(size_t(size));
}

// Strips that the library would read without a word are read here instead: uncompressed
// ones straight from the file into a few hundred kilobytes of rows at a time (a strip's
// rows are its bytes from its offset on, one scanline after another), LZW ones a whole
// strip at a time through the adapter's decoder. The file qualifies only when every strip
// would: no bit reversal or predictor, rows exactly their samples, each strip's byte count
// within the file, not so large that the library would complain, and for uncompressed
// strips enough for their rows. An LZW strip the decoder does not take, and every strip
// after it, go to the library, which starts on it as it would have.
class DirectStrips {
 public:
  DirectStrips(const tiff::Session& session, const TiffLayout& t, uint64_t lineBytes, uint64_t fileBytes)
      : tif(session.Handle()), lineBytes(lineBytes) {
    uint16_t fillOrder = FILLORDER_MSB2LSB, predictor = PREDICTOR_NONE;
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_FILLORDER, &fillOrder);
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    if (compression == COMPRESSION_LZW) TIFFGetFieldDefaulted(tif, TIFFTAG_PREDICTOR, &predictor);
    const uint64_t stripBytes = uint64_t(TIFFStripSize64(tif));
    session.CheckLibrary();
    const bool lzw = compression == COMPRESSION_LZW;
    if ((compression != COMPRESSION_NONE && !lzw) || fillOrder != FILLORDER_MSB2LSB || predictor != PREDICTOR_NONE ||
        rowsPerStrip == 0 || lineBytes != (t.rowBits + 7) / 8 || lineBytes == 0)
      return;
    const uint32_t strips = uint32_t((t.height - 1) / rowsPerStrip + 1);
    if (strips > TIFFNumberOfStrips(tif)) return;
    // A decoded LZW strip is held whole.
    if (lzw && std::min<uint64_t>(rowsPerStrip, t.height) * lineBytes > kMostLzwStripBytes) return;
    for (uint32_t i = 0; i < strips; ++i) {
      uint64_t count = TIFFGetStrileByteCount(tif, i), offset = TIFFGetStrileOffset(tif, i);
      uint64_t bytes = std::min<uint64_t>(rowsPerStrip, t.height - uint64_t(i) * rowsPerStrip) * lineBytes;
      if (count == 0 || count > fileBytes || offset > fileBytes - count ||
          (count > (1 << 20) && stripBytes != 0 && (count - 4096) / 10 > stripBytes))
        return;
      // Uncompressed rows are all there; LZW takes at most 12 bits a byte.
      if (lzw ? count > 2 * bytes + 4096 : count < bytes) return;
    }
    session.CheckLibrary();
    usable = true;
  }

  bool Usable() const { return usable; }
  bool Lzw() const { return compression == COMPRESSION_LZW; }
  uint32_t RowsPerStrip() const { return rowsPerStrip; }
  // Where row y's bytes start in the file (uncompressed).
  uint64_t Offset(uint32_t y) const {
    return TIFFGetStrileOffset(tif, y / rowsPerStrip) + uint64_t(y % rowsPerStrip) * lineBytes;
  }
  uint64_t StripOffset(uint32_t strip) const { return TIFFGetStrileOffset(tif, strip); }
  uint64_t StripBytes(uint32_t strip) const { return TIFFGetStrileByteCount(tif, strip); }

 private:
  static constexpr uint64_t kMostLzwStripBytes = uint64_t(16) << 20;

  TIFF* tif;
  uint64_t lineBytes;
  uint16_t compression = COMPRESSION_NONE;
  uint32_t rowsPerStrip = 0;
  bool usable = false;
};

constexpr uint64_t kDirectReadBytes = uint64_t(512) << 10;

void ReadUncompressedStrips(const DirectStrips& strips, Transfer& transfer, const TiffLayout& t, size_t lineBytes) {
  DIBImage& document = transfer.document;
  ByteReader& in = transfer.In();
  const uint32_t most = uint32_t(std::clamp<uint64_t>(kDirectReadBytes / lineBytes, 1, t.height));
  std::vector<uint8_t> buffer = TakeBuffer(tmsize_t(lineBytes * most), lineBytes * most);
  for (uint32_t y = 0; y < t.height;) {
    // Rows that follow each other in the file, one read.
    const uint64_t offset = strips.Offset(y);
    uint32_t rows = 1;
    while (rows < most && y + rows < t.height && strips.Offset(y + rows) == offset + rows * lineBytes) ++rows;
    if (!in.TrySeek(offset) || in.ReadSome(buffer.data(), rows * lineBytes) != rows * lineBytes)
      Fail("TIFF: Read error");
    for (uint32_t i = 0; i < rows; ++i, ++y) {
      transfer.RowDone(y, t.height, 32);
      ConvertRow(buffer.data() + i * lineBytes, document.RowPointer(int(y)), t.width, t.kind, t.samples);
    }
  }
}

// The first row left for the library: the height when every strip was decoded here.
uint32_t ReadLzwStrips(const DirectStrips& strips, Transfer& transfer, const TiffLayout& t, size_t lineBytes) {
  DIBImage& document = transfer.document;
  ByteReader& in = transfer.In();
  const uint32_t rowsPerStrip = uint32_t(std::min<uint64_t>(strips.RowsPerStrip(), t.height));
  std::vector<uint8_t> packed, rows(rowsPerStrip * lineBytes + tiff::kLzwOutputSlack);
  for (uint32_t strip = 0, y = 0; y < t.height; ++strip) {
    const uint32_t count = std::min(rowsPerStrip, t.height - y);
    const size_t bytes = size_t(strips.StripBytes(strip));
    packed.resize(bytes + tiff::kLzwInputSlack);
    std::fill(packed.end() - tiff::kLzwInputSlack, packed.end(), 0);
    if (!in.TrySeek(strips.StripOffset(strip)) || in.ReadSome(packed.data(), bytes) != bytes ||
        !tiff::LzwDecode(packed.data(), bytes, rows.data(), count * lineBytes))
      return y;
    for (uint32_t i = 0; i < count; ++i, ++y) {
      transfer.RowDone(y, t.height, 32);
      ConvertRow(rows.data() + i * lineBytes, document.RowPointer(int(y)), t.width, t.kind, t.samples);
    }
  }
  return t.height;
}

void ReadStrips(const tiff::Session& session, Transfer& transfer, const TiffLayout& t) {
  TIFF* tif = session.Handle();
  DIBImage& document = transfer.document;
  tmsize_t lineBytes = TIFFScanlineSize(tif);
  session.CheckLibrary();
  std::vector<uint8_t> buffer = TakeBuffer(lineBytes, (t.rowBits + 7) / 8);
  uint32_t first = 0;
  DirectStrips direct(session, t, uint64_t(lineBytes), transfer.In().Size());
  if (direct.Usable() && !direct.Lzw()) return ReadUncompressedStrips(direct, transfer, t, size_t(lineBytes));
  uint8_t* line = buffer.data();
  if (direct.Usable()) first = ReadLzwStrips(direct, transfer, t, size_t(lineBytes));
  if (first > 0 && first < t.height) {
    // The library takes a file's first strip for whether its codes are old-style ones:
    // it decodes the first row again (and throws it away) before the strip it is left.
    int got = TIFFReadScanline(tif, line, 0, 0);
    session.CheckLibrary();
    if (got < 0) Fail("TIFF: Read error");
  }
  for (uint32_t row = first; row < t.height; ++row) {
    transfer.RowDone(row, t.height, 32);
    int got = TIFFReadScanline(tif, line, row, 0);
    session.CheckLibrary();
    if (got < 0) Fail("TIFF: Read error");
    ConvertRow(line, document.RowPointer(int(row)), t.width, t.kind, t.samples);
  }
}

void ReadTiles(const tiff::Session& session, Transfer& transfer, const TiffLayout& t) {
  TIFF* tif = session.Handle();
  DIBImage& document = transfer.document;
  uint32_t tileWidth = 0, tileLength = 0;
  TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
  TIFFGetField(tif, TIFFTAG_TILELENGTH, &tileLength);
  tmsize_t tileBytes = TIFFTileSize(tif);
  tmsize_t tileRowBytes = TIFFTileRowSize(tif);
  uint32_t tiles = TIFFNumberOfTiles(tif);
  session.CheckLibrary();
  if (tileWidth == 0 || tileLength == 0 || tileRowBytes <= 0) Fail("TIFF: Unsupported sample layout");
  uint64_t rowNeeded = (uint64_t(tileWidth) * t.samples * t.bits + 7) / 8;
  if (uint64_t(tileRowBytes) < rowNeeded) Fail("TIFF: Unsupported sample layout");
  std::vector<uint8_t> buffer = TakeBuffer(tileBytes, uint64_t(tileRowBytes) * tileLength);
  uint8_t* tile = buffer.data();
  const uint32_t pixelBytes = t.trueColor ? 3 : 1;
  uint64_t done = 0;
  for (uint64_t y = 0; y < t.height; y += tileLength) {
    for (uint64_t x = 0; x < t.width; x += tileWidth) {
      transfer.RowDone(static_cast<long long>(done), tiles ? tiles : 1);
      ++done;
      tmsize_t got = TIFFReadTile(tif, tile, uint32_t(x), uint32_t(y), 0, 0);
      session.CheckLibrary();
      if (got < 0) Fail("TIFF: Read error");
      uint32_t rows = uint32_t(std::min<uint64_t>(tileLength, t.height - y));
      uint32_t columns = uint32_t(std::min<uint64_t>(tileWidth, t.width - x));
      for (uint32_t r = 0; r < rows; ++r)
        ConvertRow(tile + size_t(r) * size_t(tileRowBytes), document.RowPointer(int(y + r)) + x * pixelBytes, columns,
                   t.kind, t.samples);
    }
  }
}

}  // namespace

void ReadTiff(Transfer& transfer) {
  // A preview reads only what the probe takes for a TIFF file.
  uint32_t width = 0, height = 0;
  if (transfer.quiet && ProbeTiff(transfer.In(), width, height) != kTiffFile) AbortCodec(AbortReason::Silent);
  if (!transfer.In().TrySeek(0)) AbortCodec(AbortReason::ShortRead);
  TiffLayout layout;
  {
    tiff::Session session(transfer, "rm");
    session.CheckLibrary();
    if (!session.Handle()) Fail("TIFF: Cannot read the file");
    layout = Examine(session, transfer);
    if (!transfer.quiet) ResetProgress();
    if (TIFFIsTiled(session.Handle()))
      ReadTiles(session, transfer, layout);
    else
      ReadStrips(session, transfer, layout);
    session.CheckLibrary();
  }
  transfer.UnlockImage();
  transfer.CloseFile();
  if (ReduceAfterRead(transfer) == 0) Fail("Not enough memory for quantization step");
}

int ProbeTiff(ByteReader& in, uint32_t& imageWidth, uint32_t& imageHeight) {
  uint8_t head[4];
  in.Read(head, 4);
  bool little = head[0] == 'I' && head[1] == 'I' && head[2] == 42 && head[3] == 0;
  bool big = head[0] == 'M' && head[1] == 'M' && head[2] == 0 && head[3] == 42;
  if (!little && !big) return 0;
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
  if (!haveWidth || !haveHeight) return 0;
  imageWidth = width;
  imageHeight = height;
  return kTiffFile;
}

}  // namespace quilla
