#include "formats/tiff/tiff_codec.h"

#include <tiffio.h>

#include "core/progress.h"
#include "formats/file_types.h"
#include "ppm_tiff_test_support.h"

namespace quilla {

namespace {

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

// The directory of an uncompressed one-strip file of width x height.
std::vector<TiffEntry> StripEntries(uint32_t width, uint32_t height, uint16_t bits, uint16_t samples,
                                    uint16_t photometric, uint32_t stripBytes) {
  return {{256, 4, 1, width},          {257, 4, 1, height}, {258, 3, 1, bits},       {259, 3, 1, 1},
          {262, 3, 1, photometric},    {273, 4, 1, kDataOffset}, {277, 3, 1, samples}, {278, 4, 1, height},
          {279, 4, 1, stripBytes}};
}

// An uncompressed RGB file of one row per strip, whose strips after the first `present`
// point past the end of the file.
Bytes RowStripsFile(uint32_t width, uint32_t height, uint32_t present, uint8_t value) {
  std::vector<TiffEntry> entries = {{256, 4, 1, width}, {257, 4, 1, height}, {258, 3, 1, 8}, {259, 3, 1, 1},
                                    {262, 3, 1, 2},     {273, 4, height, 0}, {277, 3, 1, 3}, {278, 4, 1, 1},
                                    {279, 4, height, 0}};
  uint32_t dir = uint32_t(8 + 2 + 12 * entries.size() + 4);
  uint32_t rowBytes = width * 3, dataAt = dir + 8 * height;
  entries[5].value = dir;
  entries[8].value = dir + 4 * height;
  Bytes tail;
  auto put = [&](uint32_t v) { tail.insert(tail.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}); };
  for (uint32_t r = 0; r < height; ++r) put(r < present ? dataAt + r * rowBytes : dataAt + 1000000 + r * rowBytes);
  for (uint32_t r = 0; r < height; ++r) put(rowBytes);
  tail.insert(tail.end(), size_t(rowBytes) * present, value);
  return MakeTiff(entries, tail);
}

}  // namespace

class TiffTest : public FormatsTest {
 protected:
  int ReadMade(const Bytes& bytes, DIBImage& document) {
    WriteBytes(Path("made.tif"), bytes);
    return ReadImageFile(document, Path("made.tif"));
  }
  void ExpectOnlyMessage(const std::string& text) {
    ASSERT_EQ(host.messages.size(), 1u) << host.LastMessage();
    EXPECT_EQ(host.messages[0].text, text);
  }
};

// ---- Probe ----

TEST_F(TiffTest, ProbeReadsTheSizeInEitherByteOrder) {
  uint32_t width = 0, height = 0;
  WriteBytes(Path("be.tif"), MakeTiff({{256, 3, 1, 640}, {257, 4, 1, 480}}, {}, true));
  EXPECT_EQ(ProbeFileAs(Path("be.tif"), kTiffFile, width, height), kTiffFile);
  EXPECT_EQ(width, 640u);
  EXPECT_EQ(height, 480u);
  WriteBytes(Path("le.tif"), MakeTiff({{256, 4, 1, 0x80000000u}, {257, 3, 1, 7}}, {}));
  EXPECT_EQ(ProbeFileAs(Path("le.tif"), kTiffFile, width, height), kTiffFile);
  EXPECT_EQ(width, 10u);  // negative as a signed number
  EXPECT_EQ(height, 7u);

  Bytes noHeight = MakeTiff({{256, 3, 1, 5}}, {});
  Bytes badOffset = MakeTiff({{256, 3, 1, 5}, {257, 3, 1, 5}}, {});
  badOffset[4] = 0xF0;
  Bytes cut = MakeTiff({{256, 3, 1, 5}, {257, 3, 1, 5}}, {});
  cut.resize(20);
  for (const Bytes& b : {noHeight, badOffset, cut, Text("II*"), Text("MM\0*"), Text("P6 1 1 255\n")}) {
    WriteBytes(Path("x.tif"), b);
    EXPECT_EQ(ProbeFileAs(Path("x.tif"), kTiffFile, width, height), 0);
  }
  EXPECT_EQ(ProbeFileAs(Path("missing.tif"), kTiffFile, width, height), kCannotOpen);
}

// ---- Round trips: every written layout, both compressions, widths around the packing ----

struct Layout {
  int colors;        // 0: true colour
  bool greyRamp;     // the table is the ramp the depth reads as
  uint16_t bits, samples, photometric;
};

class TiffRoundTrip : public TiffTest, public ::testing::WithParamInterface<Layout> {};

void MakeRampImage(DIBImage& document, int width, int height, int colors) {
  std::vector<RgbQuad> table;
  for (int i = 0; i < colors; ++i) {
    uint8_t v = uint8_t(colors == 2 ? i * 255 : colors <= 16 ? i * 16 : i);
    table.push_back({v, v, v, 0});
  }
  ASSERT_TRUE(document.CreateImage(width, height, false, table.data(), colors, 0));
  document.Lock();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) document.RowPointer(y)[x] = uint8_t((x * 7 + y) % colors);
  document.Unlock();
}

TEST_P(TiffRoundTrip, WritesTheLayoutAndReadsBackEveryPixel) {
  const Layout& p = GetParam();
  for (uint32_t type : {kTiffFile, kTiffCompressed}) {
    for (int width : {1, 7, 9, 33}) {
      DIBImage original, back;
      if (p.greyRamp)
        MakeRampImage(original, width, 5, p.colors);
      else
        MakeTestImage(original, width, 5, p.colors, width);
      original.fileType = type;
      std::string path = Path("round.tif");
      ASSERT_TRUE(WriteImageFile(original, path)) << host.LastMessage();
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
      EXPECT_TRUE(SamePixels(original, back)) << "width " << width << " type " << type;
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

TEST_F(TiffTest, GreyTableThatIsNotTheRampKeepsItsLookInAColourMap) {
  DIBImage original, back;
  RgbQuad whiteFirst[2] = {{255, 255, 255, 0}, {0, 0, 0, 0}};
  ASSERT_TRUE(original.CreateImage(3, 1, false, whiteFirst, 2, 0));
  original.Lock();
  original.RowPointer(0)[1] = 1;
  original.Unlock();
  original.fileType = kTiffFile;
  ASSERT_TRUE(WriteImageFile(original, Path("w.tif")));
  TagValues tags = TagsOf(Path("w.tif"));
  EXPECT_EQ(tags.photometric, PHOTOMETRIC_PALETTE);
  EXPECT_EQ(tags.red1, 0u);
  ASSERT_TRUE(ReadImageFile(back, Path("w.tif")));
  EXPECT_TRUE(SamePixels(original, back));
}

TEST_F(TiffTest, ColourMapValuesReachTheFullSixteenBitRange) {
  DIBImage original;
  MakeTestImage(original, 4, 2, 2);
  original.Lock();
  original.GetColors()[1] = {0, 0, 255, 0};
  original.Unlock();
  original.fileType = kTiffFile;
  ASSERT_TRUE(WriteImageFile(original, Path("w.tif")));
  EXPECT_EQ(TagsOf(Path("w.tif")).red1, 65535u);
}

// ---- Files made by other programs ----

TEST_F(TiffTest, ReadsStripsTilesLzwAndExtraSamplesFromAnotherProgram) {
  REQUIRE_TOOLS("convert");
  const int w = 37, h = 21;
  Bytes data = PixmapData(w, h, 5);
  WriteBytes(Path("src.ppm"), MakeAnymap("P6 37 21 255\n", data));
  std::string src = Quote(Path("src.ppm"));
  const char* variants[][2] = {
      {"plain.tif", "-depth 8 -compress none"},
      {"lzw.tif", "-depth 8 -compress lzw"},
      {"zip.tif", "-depth 8 -compress zip"},
      {"tiles.tif", "-depth 8 -define tiff:tile-geometry=16x16"},
      {"rgba.tif", "-depth 8 -alpha set -channel A -evaluate set 50% +channel"},
      {"be.tif", "-depth 8 -define tiff:endian=msb"},
  };
  DIBImage source;
  ASSERT_TRUE(ReadImageFile(source, Path("src.ppm")));
  for (auto& v : variants) {
    ASSERT_TRUE(RunTool("convert " + src + " " + v[1] + " " + Quote(Path(v[0])))) << v[0];
    DIBImage document;
    ASSERT_TRUE(ReadImageFile(document, Path(v[0]))) << v[0] << ": " << host.LastMessage();
    EXPECT_EQ(document.fileType, kTiffFile);
    EXPECT_TRUE(document.IsTrueColor());
    EXPECT_TRUE(SamePixels(source, document)) << v[0];
  }
  EXPECT_EQ(TagsOf(Path("rgba.tif")).samples, 4);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(TiffTest, ReadsGreyBilevelAndPaletteFilesFromAnotherProgram) {
  REQUIRE_TOOLS("convert");
  // Grey levels that are multiples of 17, so the 4-bit file holds them exactly.
  Bytes grey;
  for (int i = 0; i < 32; ++i) grey.push_back(uint8_t((i % 16) * 17));
  WriteBytes(Path("g.pgm"), MakeAnymap("P5 8 4 255\n", grey));
  std::string g = Quote(Path("g.pgm"));
  ASSERT_TRUE(RunTool("convert " + g + " -depth 8 " + Quote(Path("g8.tif"))));
  ASSERT_TRUE(RunTool("convert " + g + " -depth 4 " + Quote(Path("g4.tif"))));
  ASSERT_TRUE(RunTool("convert " + g + " -depth 8 -define quantum:polarity=min-is-white " + Quote(Path("w8.tif"))));
  ASSERT_TRUE(RunTool("convert " + g + " -threshold 50% -depth 1 " + Quote(Path("b1.tif"))));
  ASSERT_TRUE(RunTool("convert " + g + " -threshold 50% -depth 1 -define quantum:polarity=min-is-white " +
                      Quote(Path("w1.tif"))));
  ASSERT_TRUE(RunTool("convert " + Quote(Path("g.pgm")) + " -fill red -draw 'point 0,0' -type palette -depth 8 " +
                      Quote(Path("pal.tif"))));

  DIBImage g8, g4, w8, b1, w1, pal;
  for (auto [doc, name] : {std::pair{&g8, "g8.tif"}, {&g4, "g4.tif"}, {&w8, "w8.tif"}, {&b1, "b1.tif"},
                           {&w1, "w1.tif"}, {&pal, "pal.tif"}})
    ASSERT_TRUE(ReadImageFile(*doc, Path(name))) << name << ": " << host.LastMessage();
  EXPECT_EQ(TagsOf(Path("g4.tif")).bits, 4);
  EXPECT_EQ(TagsOf(Path("w8.tif")).photometric, PHOTOMETRIC_MINISWHITE);
  EXPECT_EQ(TagsOf(Path("b1.tif")).bits, 1);
  EXPECT_EQ(TagsOf(Path("w1.tif")).photometric, PHOTOMETRIC_MINISWHITE);
  EXPECT_EQ(TagsOf(Path("pal.tif")).photometric, PHOTOMETRIC_PALETTE);
  // Both min-is-white files look here as they look to the program that made them.
  for (const char* name : {"w8.tif", "w1.tif"}) {
    std::string back = Path(std::string(name) + ".pgm");
    ASSERT_TRUE(RunTool("convert " + Quote(Path(name)) + " -depth 8 " + Quote(back)));
    DIBImage theirs, ours;
    ASSERT_TRUE(ReadImageFile(theirs, back));
    ASSERT_TRUE(ReadImageFile(ours, Path(name)));
    EXPECT_TRUE(SamePixels(theirs, ours)) << name;
  }
  EXPECT_EQ(g8.ColorCount(), 256u);
  EXPECT_EQ(g4.ColorCount(), 16u);
  EXPECT_EQ(b1.ColorCount(), 2u);
  EXPECT_EQ(w1.ColorCount(), 2u);
  // A 1-bit min-is-white file has the table white, black.
  w1.Lock();
  EXPECT_EQ(w1.GetColors()[0].red, 255);
  EXPECT_EQ(w1.GetColors()[1].red, 0);
  w1.Unlock();
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) {
      uint32_t level = grey[size_t(y * 8 + x)];
      EXPECT_EQ(PixelRgb(g8, x, y), level * 0x010101u);
      // The other program stores these samples unchanged under min-is-white: it shows them
      // inverted, and so do we.
      EXPECT_EQ(PixelRgb(w8, x, y), (255 - level) * 0x010101u);
      EXPECT_EQ(PixelRgb(g4, x, y), level / 17 * 16 * 0x010101u);  // the ramp 0, 16, ... 240
      uint32_t bit = level > 127 ? 0xFFFFFFu : 0;
      EXPECT_EQ(PixelRgb(b1, x, y), bit);
      EXPECT_EQ(PixelRgb(w1, x, y), bit);
      uint32_t p = PixelRgb(pal, x, y);
      if (x == 0 && y == 0) {
        EXPECT_EQ(p, 0xFF0000u);
      } else {
        // The other program's 16-bit map values are rounded its own way: within one step.
        EXPECT_NEAR(double(p & 0xFF), double(level), 1.0);
      }
    }
}

TEST_F(TiffTest, AnotherProgramReadsWhatIsWritten) {
  REQUIRE_TOOLS("convert");
  for (int colors : {0, 2, 16, 200}) {
    DIBImage original, back;
    MakeTestImage(original, 11, 6, colors, 4);
    original.fileType = kTiffCompressed;
    ASSERT_TRUE(WriteImageFile(original, Path("w.tif")));
    ASSERT_TRUE(RunTool("convert " + Quote(Path("w.tif")) + " -depth 8 " + Quote(Path("w.ppm"))));
    ASSERT_TRUE(ReadImageFile(back, Path("w.ppm")));
    EXPECT_TRUE(SamePixels(original, back)) << colors;
  }
}

// ---- Refused, truncated and hostile files ----

TEST_F(TiffTest, UnsupportedLayoutsGiveTheirMessages) {
  struct Case {
    uint16_t bits, samples;
    const char* message;
  };
  const Case cases[] = {
      {16, 1, "TIFF: Only 1/4/8/24 bits/pixel of color information are supported"},
      {16, 3, "TIFF: Only 1/4/8/24 bits/pixel of color information are supported"},
      {2, 1, "TIFF: Only 1/4/8/24 bits/pixel of color information are supported"},
      {1, 3, "TIFF: Samples per pixel must be 8 when multiple samples are present"},
      {4, 3, "TIFF: Samples per pixel must be 8 when multiple samples are present"},
      {8, 2, "TIFF: Samples per pixel = 2 is not supported"},
  };
  for (const Case& c : cases) {
    DIBImage document;
    host.messages.clear();
    uint32_t bytes = (4 * c.samples * c.bits + 7) / 8 * 2;
    EXPECT_FALSE(ReadMade(MakeTiff(StripEntries(4, 2, c.bits, c.samples, c.samples == 1 ? 1 : 2, bytes),
                                   Bytes(bytes, 0x55)),
                          document));
    ExpectOnlyMessage(c.message);
    EXPECT_FALSE(document.HasImage());
  }
}

TEST_F(TiffTest, HandMadeStripReadsWithItsPhotometric) {
  DIBImage black, white, none;
  ASSERT_TRUE(ReadMade(MakeTiff(StripEntries(4, 1, 4, 1, 1, 2), {0x01, 0xF0}), black)) << host.LastMessage();
  EXPECT_EQ(PixelRgb(black, 0, 0), 0u);
  EXPECT_EQ(PixelRgb(black, 1, 0), 0x101010u);
  EXPECT_EQ(PixelRgb(black, 2, 0), 0xF0F0F0u);
  ASSERT_TRUE(ReadMade(MakeTiff(StripEntries(4, 1, 4, 1, 0, 2), {0x01, 0xF0}), white));
  EXPECT_EQ(PixelRgb(white, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(PixelRgb(white, 1, 0), 0xEFEFEFu);
  EXPECT_EQ(PixelRgb(white, 2, 0), 0x0F0F0Fu);
}

TEST_F(TiffTest, UnknownPrivateTagOnlyWarnsAndTheFileReads) {
  std::vector<TiffEntry> entries = StripEntries(4, 1, 4, 1, 1, 2);
  entries.push_back({65000, 4, 1, 7});  // a private tag the library doesn't know
  DIBImage document;
  ASSERT_TRUE(ReadMade(MakeTiff(entries, {0x01, 0xF0}), document)) << host.LastMessage();
  EXPECT_EQ(PixelRgb(document, 2, 0), 0xF0F0F0u);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(TiffTest, AbsurdSizesAreRefusedWithoutCrashing) {
  struct Case {
    uint32_t width, height;
    std::string message;
  };
  const Case cases[] = {
      {300000, 2, "Not enough memory !"},
      {2, 300000, "Not enough memory !"},
  };
  for (const Case& c : cases) {
    DIBImage document;
    host.messages.clear();
    EXPECT_FALSE(ReadMade(RowStripsFile(c.width, c.height, 0, 1), document));
    ExpectOnlyMessage(c.message);
    EXPECT_FALSE(document.HasImage());
  }
}

TEST_F(TiffTest, ImageLargerThanItsStripsCanHoldIsRefusedBeforeItIsMade) {
  struct Case {
    uint32_t width, height;
    uint16_t samples, compression;
    uint32_t stripBytes, dataBytes;
    bool made;  // the check lets it through: the image is made, whatever the decoder says after
  };
  const Case cases[] = {
      {30000, 31000, 3, COMPRESSION_NONE, 200, 200, false},  // 345 bytes that once asked for 2.8 GB
      {64, 64, 3, COMPRESSION_NONE, 0x7FFFFFF0, 24, false},  // counts past the end of the file
      {1024, 1024, 1, COMPRESSION_PACKBITS, 16383, 16383, false},
      {1024, 1024, 1, COMPRESSION_PACKBITS, 16384, 16384, true},
      {4096, 4096, 1, COMPRESSION_LZW, 6100, 6100, false},
      {4096, 4096, 1, COMPRESSION_LZW, 6200, 6200, true},
  };
  for (const Case& c : cases) {
    std::vector<TiffEntry> entries = StripEntries(c.width, c.height, 8, c.samples, c.samples == 1 ? 1 : 2, c.stripBytes);
    entries[3].value = c.compression;
    DIBImage document;
    host.messages.clear();
    EXPECT_FALSE(ReadMade(MakeTiff(entries, Bytes(c.dataBytes, 0x80)), document) && !c.made);
    EXPECT_EQ(document.HasImage(), c.made) << c.width << "x" << c.height << " " << c.stripBytes;
    if (!c.made) ExpectOnlyMessage("TIFF: Read error");
  }
}

TEST_F(TiffTest, LibraryErrorsComeAsMessagesAndKeepTheRowsRead) {
  DIBImage original, document;
  MakeTestImage(original, 50, 40, 0);
  original.fileType = kTiffFile;
  ASSERT_TRUE(WriteImageFile(original, Path("w.tif")));
  Bytes file = ReadBytes(Path("w.tif"));
  // The directory is written last: cutting the file loses it, and the library says so.
  Bytes cut(file.begin(), file.begin() + 3000);
  EXPECT_FALSE(ReadMade(cut, document));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_FALSE(host.messages[0].text.empty());
  EXPECT_FALSE(document.HasImage());

  // Strip data that ends early: the rows before stay.
  host.messages.clear();
  EXPECT_FALSE(ReadMade(RowStripsFile(4, 10, 6, 9), document));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].text.find("scanline 6"), std::string::npos) << host.messages[0].text;
  EXPECT_TRUE(document.HasImage());
  EXPECT_FALSE(document.IsLocked());
  EXPECT_EQ(PixelRgb(document, 0, 0), 0x090909u);
}

TEST_F(TiffTest, FileThatIsNotTiffIsNotTakenByTheProbe) {
  DIBImage document;
  EXPECT_FALSE(ReadMade(Text("II*\0garbage"), document));
  ExpectOnlyMessage("File type is not supported:\n\n" + Shown(Path("made.tif")));
}

// ---- Progress, cancel and previews ----

TEST_F(TiffTest, CancelledWriteLeavesNoFileAndCancelledReadKeepsTheImage) {
  DIBImage document;
  MakeTestImage(document, 5, 100, 16);
  document.fileType = kTiffCompressed;
  SetMainDocument(&document);
  SetProgressName("t.tif");
  int pumps = 0;
  host.onPump = [&] {
    if (++pumps == 33) RequestCancel();  // at row 32, a progress report: the clean-up runs there too
    return true;
  };
  EXPECT_FALSE(WriteImageFile(document, Path("gone.tif")));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(DirEntries().empty());
  EXPECT_FALSE(document.IsLocked());
  EXPECT_EQ(host.titles.size(), 2u);

  host.onPump = nullptr;
  ASSERT_TRUE(WriteImageFile(document, Path("kept.tif")));
  DIBImage reading;
  SetMainDocument(&reading);
  pumps = 0;
  host.onPump = [&] {
    if (++pumps == 50) RequestCancel();
    return true;
  };
  EXPECT_FALSE(ReadImageFile(reading, Path("kept.tif")));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(reading.HasImage());
  EXPECT_FALSE(reading.IsLocked());
}

TEST_F(TiffTest, TiledReadReportsProgressPerTile) {
  DIBImage document;
  // 2 x 2 tiles of 16 x 16, 8-bit grey; the image is 20 x 18, so the edges are clipped.
  Bytes tiles;
  for (int t = 0; t < 4; ++t)
    for (int i = 0; i < 256; ++i) tiles.push_back(uint8_t(t * 60 + i % 16));
  std::vector<TiffEntry> entries = {{256, 4, 1, 20},         {257, 4, 1, 18},  {258, 3, 1, 8},
                                    {259, 3, 1, 1},          {262, 3, 1, 1},   {277, 3, 1, 1},
                                    {322, 3, 1, 16},         {323, 3, 1, 16},  {324, 4, 4, 0},
                                    {325, 4, 4, 0}};
  // Offsets and counts of the four tiles, after the directory.
  uint32_t dir = uint32_t(8 + 2 + 12 * entries.size() + 4);
  uint32_t offsetsAt = dir, countsAt = dir + 16, tilesAt = dir + 32;
  entries[8].value = offsetsAt;
  entries[9].value = countsAt;
  Bytes tail;
  for (int t = 0; t < 4; ++t) {
    uint32_t v = tilesAt + uint32_t(t) * 256;
    tail.insert(tail.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
  }
  for (int t = 0; t < 4; ++t) tail.insert(tail.end(), {0, 1, 0, 0});
  tail.insert(tail.end(), tiles.begin(), tiles.end());
  SetProgressName("tiles.tif");
  ASSERT_TRUE(ReadMade(MakeTiff(entries, tail), document)) << host.LastMessage();
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
  MakeTestImage(original, 60, 30, 0);
  original.fileType = kTiffCompressed;
  ASSERT_TRUE(WriteImageFile(original, Path("p.tif")));
  host.titles.clear();
  EXPECT_EQ(ReadImagePreview(document, Path("p.tif"), 20, 20), 0);
  EXPECT_EQ(document.Width(), 20);
  EXPECT_EQ(document.Height(), 10);

  WriteBytes(Path("short.tif"), RowStripsFile(4, 10, 6, 9));
  EXPECT_EQ(ReadImagePreviewAs(document, Path("short.tif"), kTiffFile, 20, 20), 1);

  WriteBytes(Path("not.tif"), Text("P6 1 1 255\nabc"));
  EXPECT_EQ(ReadImagePreviewAs(document, Path("not.tif"), kTiffFile, 20, 20), 2);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(host.titles.empty());
}

}  // namespace quilla
