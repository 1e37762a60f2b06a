#include "formats/tiff/tiff_codec.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "formats/formats_test_support.h"

namespace quilla {

namespace {

// One directory entry of a hand-built TIFF: the value field holds a SHORT in its first two
// bytes, anything else as a 32-bit value.
struct TiffEntry {
  uint16_t tag, type;
  uint32_t count, value;
};
constexpr uint32_t kDataOffset = 0xFFFFFFFF;  // replaced by where the data starts

// A little- or big-endian TIFF holding one directory with the entries (sorted by the
// caller) and then data; a value kDataOffset becomes the offset of data.
Bytes MakeTiff(const std::vector<TiffEntry>& entries, const Bytes& data, bool bigEndian = false) {
  Bytes b;
  auto put16 = [&](uint32_t v) {
    if (bigEndian) b.insert(b.end(), {uint8_t(v >> 8), uint8_t(v)});
    else b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8)});
  };
  auto put32 = [&](uint32_t v) {
    if (bigEndian) b.insert(b.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
    else b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
  };
  if (bigEndian) b.insert(b.end(), {'M', 'M', 0, 42});
  else b.insert(b.end(), {'I', 'I', 42, 0});
  put32(8);
  put16(uint32_t(entries.size()));
  uint32_t dataAt = uint32_t(8 + 2 + 12 * entries.size() + 4);
  for (const TiffEntry& e : entries) {
    put16(e.tag), put16(e.type), put32(e.count);
    uint32_t value = e.value == kDataOffset ? dataAt : e.value;
    if (e.type == 3 && e.count == 1) put16(value), put16(0);
    else put32(value);
  }
  put32(0);
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

struct TagValues {
  uint16_t photometric = 0, bits = 0, samples = 0, compression = 0;
  uint32_t rowsPerStrip = 0;
  uint16_t red1 = 0;  // entry 1 of the colour map's red
  bool hasMap = false;
};

TagValues TagsOf(const std::string& path) {
  TagValues t;
  TIFFErrorHandler oldError = TIFFSetErrorHandler(nullptr), oldWarning = TIFFSetWarningHandler(nullptr);
  if (TIFF* tif = TIFFOpen(path.c_str(), "r")) {
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &t.photometric);
    TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &t.bits);
    TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &t.samples);
    TIFFGetField(tif, TIFFTAG_COMPRESSION, &t.compression);
    TIFFGetField(tif, TIFFTAG_ROWSPERSTRIP, &t.rowsPerStrip);
    uint16_t *r, *g, *b;
    if (TIFFGetField(tif, TIFFTAG_COLORMAP, &r, &g, &b)) t.hasMap = true, t.red1 = r[1];
    TIFFClose(tif);
  }
  TIFFSetErrorHandler(oldError);
  TIFFSetWarningHandler(oldWarning);
  return t;
}

// The directory of a one-strip file of width x height: grey for one sample, RGB for more.
std::vector<TiffEntry> StripEntries(uint32_t width, uint32_t height, uint16_t bits, uint16_t samples,
                                    uint32_t stripBytes, uint16_t compression = COMPRESSION_NONE) {
  return {{256, 4, 1, width},       {257, 4, 1, height},     {258, 3, 1, bits},
          {259, 3, 1, compression}, {262, 3, 1, samples == 1 ? 1u : 2u},
          {273, 4, 1, kDataOffset}, {277, 3, 1, samples},    {278, 4, 1, height},
          {279, 4, 1, stripBytes}};
}

// A file of uncompressed chunks (two or more strips or tiles) whose offsets and byte counts
// are arrays after the directory; the chunks from `present` on point past the end of the file.
Bytes ChunkedTiff(std::vector<TiffEntry> entries, uint16_t offsetsTag, uint16_t countsTag,
                  const std::vector<Bytes>& chunks, size_t present) {
  const uint32_t n = uint32_t(chunks.size()), dir = uint32_t(8 + 2 + 12 * (entries.size() + 2) + 4);
  entries.push_back({offsetsTag, 4, n, dir});
  entries.push_back({countsTag, 4, n, dir + 4 * n});
  std::sort(entries.begin(), entries.end(), [](const TiffEntry& a, const TiffEntry& b) { return a.tag < b.tag; });
  Bytes tail;
  auto put = [&](uint32_t v) {
    tail.insert(tail.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
  };
  uint32_t at = dir + 8 * n;
  for (size_t i = 0; i < n; at += uint32_t(chunks[i].size()), ++i) put(i < present ? at : at + 1000000);
  for (const Bytes& chunk : chunks) put(uint32_t(chunk.size()));
  for (size_t i = 0; i < present; ++i) tail.insert(tail.end(), chunks[i].begin(), chunks[i].end());
  return MakeTiff(entries, tail);
}

// An RGB file of one row per strip, every sample `value`.
Bytes RowStripsFile(uint32_t width, uint32_t height, uint32_t present, uint8_t value) {
  return ChunkedTiff({{256, 4, 1, width}, {257, 4, 1, height}, {258, 3, 1, 8}, {259, 3, 1, 1}, {262, 3, 1, 2},
                      {277, 3, 1, 3}, {278, 4, 1, 1}},
                     273, 279, std::vector<Bytes>(height, Bytes(size_t(width) * 3, value)), present);
}

}  // namespace

using TiffTest = MadeFileTest;

// ---- Probe ----

TEST_F(TiffTest, ProbeReadsTheSizeInEitherByteOrder) {
  Bytes badOffset = MakeTiff({{256, 3, 1, 5}, {257, 3, 1, 5}}, {}), cut = badOffset;
  badOffset[4] = 0xF0;
  cut.resize(20);
  ExpectProbes(kTiffFile, {{MakeTiff({{256, 3, 1, 640}, {257, 4, 1, 480}}, {}, true), kTiffFile, 640, 480},
                           // A width negative as a signed number.
                           {MakeTiff({{256, 4, 1, 0x80000000u}, {257, 3, 1, 7}}, {}), kTiffFile, 10, 7},
                           {MakeTiff({{256, 3, 1, 5}}, {}), 0},  // no height
                           {badOffset, 0},
                           {cut, 0},
                           {Text("II*"), 0},
                           {Text("MM\0*"), 0},
                           {Text("P6 1 1 255\n"), 0}});
}

// ---- Round trips: every written layout, both compressions, widths around the packing ----

struct Layout {
  int colors;        // 0: true colour
  bool greyRamp;     // the table is the ramp the depth reads as
  uint16_t bits, samples, photometric;
};

class TiffRoundTrip : public TiffTest, public ::testing::WithParamInterface<Layout> {};

TEST_P(TiffRoundTrip, WritesTheLayoutAndReadsBackEveryPixel) {
  const Layout& p = GetParam();
  for (uint32_t type : {kTiffFile, kTiffCompressed}) {
    for (int width : {1, 7, 9, 33}) {
      SCOPED_TRACE("width " + std::to_string(width) + " type " + std::to_string(type));
      DIBImage original, back;
      MakeTestImage(original, width, 5, p.colors, width);
      original.Lock();
      for (int i = 0; p.greyRamp && i < p.colors; ++i) {
        uint8_t v = uint8_t(p.colors == 2 ? i * 255 : p.colors <= 16 ? i * 16 : i);
        original.GetColors()[i] = {v, v, v, 0};
      }
      original.Unlock();
      ASSERT_TRUE(Save(original, "round.tif", type)) << host.LastMessage();
      const std::string path = Path("round.tif");
      TagValues tags = TagsOf(path);
      EXPECT_EQ(tags.photometric, p.photometric);
      EXPECT_EQ(tags.bits, p.bits);
      EXPECT_EQ(tags.samples, p.samples);
      EXPECT_EQ(tags.compression, type == kTiffFile ? COMPRESSION_NONE : COMPRESSION_LZW);
      EXPECT_EQ(tags.rowsPerStrip, 1u);
      EXPECT_EQ(tags.hasMap, p.photometric == PHOTOMETRIC_PALETTE);

      ASSERT_TRUE(ReadImageFile(back, path)) << host.LastMessage();
      EXPECT_EQ(back.fileType, kTiffFile);
      EXPECT_EQ(back.ColorCount(), p.colors ? (1u << p.bits) : 0u);
      EXPECT_TRUE(SamePixels(original, back));
    }
  }
  EXPECT_TRUE(host.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, TiffRoundTrip,
    ::testing::Values(Layout{2, true, 1, 1, PHOTOMETRIC_MINISBLACK}, Layout{16, true, 4, 1, PHOTOMETRIC_MINISBLACK},
                      Layout{256, true, 8, 1, PHOTOMETRIC_MINISBLACK}, Layout{2, false, 1, 1, PHOTOMETRIC_PALETTE},
                      Layout{3, false, 4, 1, PHOTOMETRIC_PALETTE}, Layout{16, false, 4, 1, PHOTOMETRIC_PALETTE},
                      Layout{17, false, 8, 1, PHOTOMETRIC_PALETTE}, Layout{256, false, 8, 1, PHOTOMETRIC_PALETTE},
                      Layout{0, false, 8, 3, PHOTOMETRIC_RGB}));

TEST_F(TiffTest, TablesOtherThanTheGreyRampGoInAColourMapOfSixteenBitValues) {
  // White first is grey but not the ramp: it keeps its look. Full red reaches 65535.
  const RgbQuad whiteFirst[2] = {{255, 255, 255, 0}, {0, 0, 0, 0}}, redSecond[2] = {{0, 200, 1, 0}, {0, 0, 255, 0}};
  for (auto [table, red1] : {std::pair{whiteFirst, 0u}, {redSecond, 65535u}}) {
    DIBImage original, back;
    ASSERT_TRUE(original.CreateImage(3, 1, false, table, 2, 0));
    original.Lock();
    original.RowPointer(0)[1] = 1;
    original.Unlock();
    ASSERT_TRUE(Save(original, "w.tif", kTiffFile));
    TagValues tags = TagsOf(Path("w.tif"));
    EXPECT_EQ(tags.photometric, PHOTOMETRIC_PALETTE);
    EXPECT_EQ(tags.red1, red1);
    ASSERT_TRUE(ReadImageFile(back, Path("w.tif")));
    EXPECT_TRUE(SamePixels(original, back));
  }
}

// ---- Files made by other programs ----

TEST_F(TiffTest, ReadsStripsTilesLzwAndExtraSamplesFromAnotherProgram) {
  REQUIRE_TOOLS("convert");
  WriteBytes(Path("src.ppm"), MakePixmap(TestPixels(37, 21, 5)));
  DIBImage source;
  ASSERT_TRUE(ReadImageFile(source, Path("src.ppm")));
  for (const char* options : {"-depth 8 -compress none", "-depth 8 -compress lzw", "-depth 8 -compress zip",
                              "-depth 8 -define tiff:tile-geometry=16x16",
                              "-depth 8 -alpha set -channel A -evaluate set 50% +channel",
                              "-depth 8 -define tiff:endian=msb"}) {
    SCOPED_TRACE(options);
    ASSERT_TRUE(Convert("src.ppm", options, "v.tif"));
    DIBImage document;
    ASSERT_TRUE(ReadImageFile(document, Path("v.tif"))) << host.LastMessage();
    EXPECT_EQ(document.fileType, kTiffFile);
    EXPECT_TRUE(document.IsTrueColor());
    EXPECT_EQ(TagsOf(Path("v.tif")).samples, std::strstr(options, "alpha") ? 4 : 3);
    EXPECT_TRUE(SamePixels(source, document));
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(TiffTest, ReadsGreyBilevelAndPaletteFilesFromAnotherProgram) {
  REQUIRE_TOOLS("convert");
  // Grey levels that are multiples of 17, so the 4-bit file holds them exactly.
  Bytes grey;
  for (int i = 0; i < 32; ++i) grey.push_back(uint8_t((i % 16) * 17));
  WriteBytes(Path("g.pgm"), Text("P5 8 4 255\n", grey));
  const std::string whiteIsZero = " -define quantum:polarity=min-is-white";
  auto level = [](uint32_t v) { return v * 0x010101u; };
  auto bit = [](uint32_t v) { return v > 127 ? 0xFFFFFFu : 0u; };
  struct Variant {
    std::string options;
    uint16_t bits, photometric;
    uint32_t colors;
    std::function<uint32_t(uint32_t)> look;  // of a grey level
    int tolerance;
  };
  const Variant variants[] = {
      {"-depth 8", 8, PHOTOMETRIC_MINISBLACK, 256, level, 0},
      // The ramp 0, 16, ... 240.
      {"-depth 4", 4, PHOTOMETRIC_MINISBLACK, 16, [](uint32_t v) { return v / 17 * 16 * 0x010101u; }, 0},
      // The other program stores these samples unchanged under min-is-white: it shows them
      // inverted, and so do we.
      {"-depth 8" + whiteIsZero, 8, PHOTOMETRIC_MINISWHITE, 256, [](uint32_t v) { return (255 - v) * 0x010101u; }, 0},
      {"-threshold 50% -depth 1", 1, PHOTOMETRIC_MINISBLACK, 2, bit, 0},
      {"-threshold 50% -depth 1" + whiteIsZero, 1, PHOTOMETRIC_MINISWHITE, 2, bit, 0},
      // The other program's 16-bit map values are rounded its own way: within one step.
      {"-fill red -draw 'point 0,0' -type palette -depth 8", 8, PHOTOMETRIC_PALETTE, 256, level, 1},
  };
  for (const Variant& v : variants) {
    SCOPED_TRACE(v.options);
    ASSERT_TRUE(Convert("g.pgm", v.options, "v.tif"));
    TagValues tags = TagsOf(Path("v.tif"));
    EXPECT_EQ(tags.bits, v.bits);
    EXPECT_EQ(tags.photometric, v.photometric);
    DIBImage document;
    ASSERT_TRUE(ReadImageFile(document, Path("v.tif"))) << host.LastMessage();
    EXPECT_EQ(document.ColorCount(), v.colors);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 8; ++x) {
        uint32_t got = PixelRgb(document, x, y), want = v.look(grey[size_t(y * 8 + x)]);
        int tolerance = v.tolerance;
        if (v.photometric == PHOTOMETRIC_PALETTE && x == 0 && y == 0) want = 0xFF0000u, tolerance = 0;
        EXPECT_LE(ChannelDifference(got, want), tolerance) << x << ", " << y;
      }
    if (v.bits == 1) {  // a min-is-white file has the table white, black
      document.Lock();
      EXPECT_EQ(document.GetColors()[0].red, v.photometric == PHOTOMETRIC_MINISWHITE ? 255 : 0);
      EXPECT_EQ(document.GetColors()[1].red, v.photometric == PHOTOMETRIC_MINISWHITE ? 0 : 255);
      document.Unlock();
    }
  }
}

TEST_F(TiffTest, AnotherProgramReadsWhatIsWritten) {
  REQUIRE_TOOLS("convert");
  for (int colors : {0, 2, 16, 200}) {
    DIBImage original, back;
    ASSERT_TRUE(WriteTestImage(original, "w.tif", kTiffCompressed, 11, 6, colors, 4));
    ASSERT_TRUE(Convert("w.tif", "-depth 8", "w.ppm"));
    ASSERT_TRUE(ReadImageFile(back, Path("w.ppm")));
    EXPECT_TRUE(SamePixels(original, back)) << colors;
  }
}

TEST_F(TiffTest, LzwStripsAreTheLibrarysOwnEncoding) {
  // Rows of 36000 bytes: noise fills the table, runs make long strings, and noise after
  // runs makes the ratio slip; the library encodes each row again for the comparison.
  const int width = 12000;
  DIBImage original;
  ASSERT_TRUE(original.CreateImage(width, 4, true, nullptr, 0, 0));
  uint32_t noise = 7;
  original.Lock();
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < width * 3; ++x) {
      noise = noise * 1103515245u + 12345u;
      bool runs = y == 1 || (y == 2 && x < 20000) || (y == 3 && x % 9000 < 4000);
      original.RowPointer(y)[x] = runs ? uint8_t(x / 700) : uint8_t(noise >> 24);
    }
  original.Unlock();
  ASSERT_TRUE(Save(original, "ours.tif", kTiffCompressed));
  TIFFErrorHandler oldError = TIFFSetErrorHandler(nullptr);
  TIFF* ours = TIFFOpen(Path("ours.tif").c_str(), "r");
  TIFF* theirs = TIFFOpen(Path("theirs.tif").c_str(), "w");
  ASSERT_TRUE(ours && theirs);
  TIFFSetField(theirs, TIFFTAG_IMAGEWIDTH, uint32_t(width));
  TIFFSetField(theirs, TIFFTAG_IMAGELENGTH, 4u);
  TIFFSetField(theirs, TIFFTAG_ROWSPERSTRIP, 1u);
  TIFFSetField(theirs, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
  TIFFSetField(theirs, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(theirs, TIFFTAG_SAMPLESPERPIXEL, uint16_t(3));
  TIFFSetField(theirs, TIFFTAG_BITSPERSAMPLE, uint16_t(8));
  Bytes row(size_t(width) * 3), a(row.size() * 2), b(row.size() * 2);
  for (uint32_t y = 0; y < 4; ++y) {
    ASSERT_EQ(TIFFReadScanline(ours, row.data(), y, 0), 1);
    ASSERT_EQ(TIFFWriteEncodedStrip(theirs, y, row.data(), tmsize_t(row.size())), tmsize_t(row.size()));
  }
  TIFFClose(theirs);
  theirs = TIFFOpen(Path("theirs.tif").c_str(), "r");
  for (uint32_t y = 0; y < 4; ++y) {
    tmsize_t n = TIFFReadRawStrip(ours, y, a.data(), tmsize_t(a.size()));
    ASSERT_EQ(TIFFReadRawStrip(theirs, y, b.data(), tmsize_t(b.size())), n) << y;
    EXPECT_TRUE(std::equal(a.begin(), a.begin() + n, b.begin())) << y;
  }
  TIFFClose(ours);
  TIFFClose(theirs);
  TIFFSetErrorHandler(oldError);
}

// ---- Refused, truncated and hostile files ----

TEST_F(TiffTest, RefusedFilesGiveTheirMessageAndNoImage) {
  auto layout = [](uint16_t bits, uint16_t samples) {
    uint32_t bytes = (4 * samples * bits + 7) / 8 * 2;
    return MakeTiff(StripEntries(4, 2, bits, samples, bytes), Bytes(bytes, 0x55));
  };
  // An image larger than its strips can hold is refused before it is made.
  auto oversized = [](uint32_t width, uint32_t height, uint16_t samples, uint16_t compression, uint32_t stripBytes,
                      uint32_t dataBytes) {
    return MakeTiff(StripEntries(width, height, 8, samples, stripBytes, compression), Bytes(dataBytes, 0x80));
  };
  const std::string depths = "TIFF: Only 1/4/8/24 bits/pixel of color information are supported",
                    multiple = "TIFF: Samples per pixel must be 8 when multiple samples are present",
                    memory = "Not enough memory !", readError = "TIFF: Read error";
  ExpectRefused({
      {layout(16, 1), depths},
      {layout(16, 3), depths},
      {layout(2, 1), depths},
      {layout(1, 3), multiple},
      {layout(4, 3), multiple},
      {layout(8, 2), "TIFF: Samples per pixel = 2 is not supported"},
      {RowStripsFile(300000, 2, 0, 1), memory},
      {RowStripsFile(2, 300000, 0, 1), memory},
      {oversized(30000, 31000, 3, COMPRESSION_NONE, 200, 200), readError},  // 345 bytes that once asked for 2.8 GB
      {oversized(64, 64, 3, COMPRESSION_NONE, 0x7FFFFFF0, 24), readError},  // counts past the end of the file
      {oversized(1024, 1024, 1, COMPRESSION_PACKBITS, 16383, 16383), readError},
      {oversized(4096, 4096, 1, COMPRESSION_LZW, 6100, 6100), readError},
  });
  // Just enough data for the check: the image is made, whatever the decoder says after.
  for (const Bytes& enough : {oversized(1024, 1024, 1, COMPRESSION_PACKBITS, 16384, 16384),
                              oversized(4096, 4096, 1, COMPRESSION_LZW, 6200, 6200)}) {
    DIBImage document;
    ReadMade(document, enough);
    EXPECT_TRUE(document.HasImage());
  }
}

TEST_F(TiffTest, HandMadeStripReadsWithItsPhotometricAndAnUnknownTagOnlyWarns) {
  struct Case {
    uint16_t photometric;
    bool privateTag;  // one the library doesn't know
    PixelRows rows;
  };
  const Case cases[] = {{PHOTOMETRIC_MINISBLACK, false, {{0, 0x101010u, 0xF0F0F0u, 0}}},
                        {PHOTOMETRIC_MINISWHITE, false, {{0xFFFFFFu, 0xEFEFEFu, 0x0F0F0Fu, 0xFFFFFFu}}},
                        {PHOTOMETRIC_MINISBLACK, true, {{0, 0x101010u, 0xF0F0F0u, 0}}}};
  for (const Case& c : cases) {
    std::vector<TiffEntry> entries = StripEntries(4, 1, 4, 1, 2);
    entries[4].value = c.photometric;
    if (c.privateTag) entries.push_back({65000, 4, 1, 7});
    DIBImage document;
    ASSERT_TRUE(ReadMade(document, MakeTiff(entries, {0x01, 0xF0}))) << host.LastMessage();
    EXPECT_EQ(Rows(document), c.rows);
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(TiffTest, LibraryErrorsComeAsMessagesAndKeepTheRowsRead) {
  DIBImage original, document;
  ASSERT_TRUE(WriteTestImage(original, "w.tif", kTiffFile, 50, 40, 0));
  Bytes file = ReadBytes(Path("w.tif"));
  // The directory is written last: cutting the file loses it, and the library says so.
  EXPECT_FALSE(ReadMade(document, Bytes(file.begin(), file.begin() + 3000)));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_FALSE(host.messages[0].text.empty());
  EXPECT_FALSE(document.HasImage());

  // Strip data that ends early: the rows before stay.
  host.messages.clear();
  EXPECT_FALSE(ReadMade(document, RowStripsFile(4, 10, 6, 9)));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].text.find("scanline 6"), std::string::npos) << host.messages[0].text;
  EXPECT_TRUE(document.HasImage());
  EXPECT_FALSE(document.IsLocked());
  EXPECT_EQ(PixelRgb(document, 0, 0), 0x090909u);
}

// ---- Progress, cancel and previews ----

TEST_F(TiffTest, CancelledWriteLeavesNoFileAndCancelledReadKeepsTheImage) {
  DIBImage document, reading;
  MakeTestImage(document, 5, 100, 16);
  SetProgressName("t.tif");
  ExpectCancelledWrite(document, "gone.tif", kTiffCompressed, 33);  // row 32 reports progress and cleans up
  EXPECT_EQ(host.titles.size(), 2u);

  ASSERT_TRUE(Save(document, "kept.tif", kTiffCompressed));
  ExpectCancelledRead(reading, Path("kept.tif"), 50);
  EXPECT_TRUE(reading.HasImage());
}

TEST_F(TiffTest, TiledReadReportsProgressPerTile) {
  // 2 x 2 tiles of 16 x 16, 8-bit grey; the image is 20 x 18, so the edges are clipped.
  std::vector<Bytes> tiles(4);
  for (int t = 0; t < 4; ++t)
    for (int i = 0; i < 256; ++i) tiles[size_t(t)].push_back(uint8_t(t * 60 + i % 16));
  SetProgressName("tiles.tif");
  DIBImage document;
  ASSERT_TRUE(ReadMade(document, ChunkedTiff({{256, 4, 1, 20}, {257, 4, 1, 18}, {258, 3, 1, 8}, {259, 3, 1, 1},
                                              {262, 3, 1, 1}, {277, 3, 1, 1}, {322, 3, 1, 16}, {323, 3, 1, 16}},
                                             324, 325, tiles, 4)))
      << host.LastMessage();
  EXPECT_EQ(document.Width(), 20);
  EXPECT_EQ(document.Height(), 18);
  EXPECT_EQ(PixelRgb(document, 3, 2), 3u * 0x010101u);
  EXPECT_EQ(PixelRgb(document, 17, 0), (60u + 1) * 0x010101u);
  EXPECT_EQ(PixelRgb(document, 2, 17), (120u + 2) * 0x010101u);
  EXPECT_EQ(PixelRgb(document, 19, 17), (180u + 3) * 0x010101u);
  const std::vector<std::string> titles = {"tiles.tif-00%", "tiles.tif-25%", "tiles.tif-50%", "tiles.tif-75%"};
  EXPECT_EQ(host.titles, titles);
}

TEST_F(TiffTest, PreviewIsQuietAndShrunk) {
  DIBImage original, document;
  ASSERT_TRUE(WriteTestImage(original, "p.tif", kTiffCompressed, 60, 30, 0));
  host.titles.clear();
  EXPECT_EQ(ReadImagePreview(document, Path("p.tif"), 20, 20), 0);
  EXPECT_EQ(document.Width(), 20);
  EXPECT_EQ(document.Height(), 10);
  ExpectPreviews(kTiffFile, {{RowStripsFile(4, 10, 6, 9), 1}, {Text("P6 1 1 255\nabc"), 2}});
}

}  // namespace quilla
