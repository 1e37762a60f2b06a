#include <cstring>

#include "formats/formats_test_support.h"

namespace quilla {

namespace {

// A bitmap file with the given header fields; the colour table has tableEntries entries
// (entry i = blue i, green 255 - i, red 3 i) and pixels follow as given.
struct BmpSpec {
  bool os2 = false;
  int32_t width = 4, height = 2;
  uint16_t bits = 8;
  uint32_t headerSize = 0;  // 0: 40 or 12 by kind
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;
  uint32_t tableEntries = 0;
  int64_t pixelOffset = -1;  // -1: right after the table
};

RgbQuad SpecColor(uint32_t i) { return {uint8_t(i), uint8_t(255 - i), uint8_t(3 * i), 0}; }

Bytes MakeBmp(const BmpSpec& spec, const Bytes& pixels) {
  uint32_t headerSize = spec.headerSize ? spec.headerSize : spec.os2 ? 12 : 40;
  uint32_t entryBytes = spec.os2 ? 3 : 4;
  uint32_t offset = spec.pixelOffset >= 0 ? uint32_t(spec.pixelOffset) : 14 + headerSize + spec.tableEntries * entryBytes;
  Bytes b(14 + headerSize, 0);
  b[0] = 'B', b[1] = 'M';
  Put32(b, 10, offset);
  Put32(b, 14, headerSize);
  if (spec.os2) {
    Put16(b, 18, uint32_t(spec.width)), Put16(b, 20, uint32_t(spec.height)), Put16(b, 22, 1), Put16(b, 24, spec.bits);
  } else if (headerSize >= 40) {
    Put32(b, 18, uint32_t(spec.width)), Put32(b, 22, uint32_t(spec.height)), Put16(b, 26, 1), Put16(b, 28, spec.bits);
    Put32(b, 30, spec.compression), Put32(b, 46, spec.colorsUsed);
  }
  for (uint32_t i = 0; i < spec.tableEntries; ++i) {
    RgbQuad c = SpecColor(i);
    b.insert(b.end(), {c.blue, c.green, c.red});
    if (!spec.os2) b.push_back(0);
  }
  if (b.size() < offset && offset < (1u << 20)) b.resize(offset, 0);
  b.insert(b.end(), pixels.begin(), pixels.end());
  Put32(b, 2, uint32_t(b.size()));
  return b;
}

// The colour of table entry i of a made file, as 0xRRGGBB.
uint32_t EntryRgb(uint32_t i) {
  RgbQuad c = SpecColor(i);
  return uint32_t(c.red) << 16 | uint32_t(c.green) << 8 | c.blue;
}

}  // namespace

class BmpTest : public MadeFileTest {
 protected:
  int ReadBmp(const BmpSpec& spec, const Bytes& pixels, DIBImage& document) {
    return ReadMade(document, MakeBmp(spec, pixels));
  }
  std::string ShownName() const { return Shown(MadePath()); }
};

// ---- Round trips: every save depth, both headers, widths around the row padding ----

struct RoundTrip {
  int colors;
  uint32_t type;
  uint32_t depth;
};

class BmpRoundTrip : public BmpTest, public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(BmpRoundTrip, WritesTheDepthAndReadsBackEveryPixel) {
  const RoundTrip& p = GetParam();
  for (int width : {1, 3, 7, 9, 33}) {
    SCOPED_TRACE("width " + std::to_string(width));
    DIBImage original, back;
    ASSERT_TRUE(WriteTestImage(original, "round.bmp", p.type, width, 5, p.colors, width)) << host.LastMessage();
    const std::string path = Path("round.bmp");

    Bytes file = ReadBytes(path);
    bool os2 = p.type == kOs2Bmp;
    uint32_t headerBytes = os2 ? 12 : 40, entryBytes = os2 ? 3 : 4;
    uint32_t rowBytes = (uint32_t(width) * p.depth + 31) / 32 * 4;
    uint32_t offset = 14 + headerBytes + entryBytes * uint32_t(p.colors);
    EXPECT_EQ(file.size(), offset + rowBytes * 5);
    ExpectFields(file, {{2, 4, uint32_t(file.size())}, {10, 4, offset}, {14, 4, headerBytes},
                        {os2 ? 24u : 28u, 2, p.depth}});

    ASSERT_TRUE(ReadImageFile(back, path)) << host.LastMessage();
    EXPECT_EQ(back.fileType, p.type);
    EXPECT_EQ(back.ColorCount(), uint32_t(p.colors));
    EXPECT_EQ(back.BitsPerPixel(), p.colors ? 8u : 24u);
    EXPECT_TRUE(SamePixels(original, back));
  }
  EXPECT_TRUE(host.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpRoundTrip,
                         ::testing::Values(RoundTrip{2, kWindowsBmp, 1}, RoundTrip{16, kWindowsBmp, 4},
                                           RoundTrip{17, kWindowsBmp, 8}, RoundTrip{256, kWindowsBmp, 8},
                                           RoundTrip{0, kWindowsBmp, 24}, RoundTrip{2, kOs2Bmp, 1},
                                           RoundTrip{5, kOs2Bmp, 4}, RoundTrip{200, kOs2Bmp, 8},
                                           RoundTrip{0, kOs2Bmp, 24}));

TEST_F(BmpTest, StrayIndexDoesNotSpillIntoNeighboursWhenPacked) {
  DIBImage original, back;
  MakeTestImage(original, 8, 1, 2);
  original.Lock();
  original.RowPointer(0)[3] = 0xFF;  // not a valid index of a two-colour image
  original.Unlock();
  ASSERT_TRUE(Save(original, "a.bmp", kWindowsBmp));
  ASSERT_TRUE(Load(back, "a.bmp"));
  std::vector<uint8_t> want = Indices(original);
  want[3] = 1;
  EXPECT_EQ(Indices(back), want);
}

// ---- Reading by hand-made headers ----

TEST_F(BmpTest, HeadersGiveTheColourCountTypeAndPixels) {
  auto entries = [](std::initializer_list<uint32_t> indices) {
    std::vector<uint32_t> row;
    for (uint32_t i : indices) row.push_back(EntryRgb(i));
    return row;
  };
  const std::vector<uint32_t> zeros = entries({0, 0, 0, 0});
  struct Case {
    BmpSpec spec;
    Bytes pixels;
    uint32_t colors, type;
    PixelRows rows;
  };
  const Case cases[] = {
      // The colour count comes from the colours used, or the bit count when none are given.
      {{.bits = 8, .colorsUsed = 0, .tableEntries = 256}, Bytes(8, 7), 256, kWindowsBmp,
       PixelRows(2, entries({7, 7, 7, 7}))},
      {{.bits = 8, .colorsUsed = 5, .tableEntries = 5}, Bytes(8, 4), 5, kWindowsBmp,
       PixelRows(2, entries({4, 4, 4, 4}))},
      // Indices past the colours used get black entries, so what is read can be written
      // anywhere; the first row in the file is the bottom one.
      {{.bits = 8, .colorsUsed = 5, .tableEntries = 5}, {4, 9, 0, 0, 0, 0, 0, 0}, 10, kWindowsBmp,
       {zeros, {EntryRgb(4), 0, EntryRgb(0), EntryRgb(0)}}},
      // Colours used beyond the bit count are held to it: 1e9 at 8 bits (the 1024 bytes are
      // there), 300 at 4 bits.
      {{.bits = 8, .colorsUsed = 1000000000, .tableEntries = 256}, Bytes(8, 1), 256, kWindowsBmp,
       PixelRows(2, entries({1, 1, 1, 1}))},
      {{.width = 8, .height = 1, .bits = 4, .colorsUsed = 300, .tableEntries = 300}, Bytes(4, 0x12), 16, kWindowsBmp,
       {entries({1, 2, 1, 2, 1, 2, 1, 2})}},
      // Packed pixels expand high bits first.
      {{.width = 10, .height = 1, .bits = 1, .tableEntries = 2}, {0xA5, 0x80, 0, 0}, 2, kWindowsBmp,
       {entries({1, 0, 1, 0, 0, 1, 0, 1, 1, 0})}},
      {{.width = 3, .height = 1, .bits = 4, .tableEntries = 16}, {0x3C, 0x70, 0, 0}, 16, kWindowsBmp,
       {entries({3, 12, 7})}},
      // OS/2 files have three-byte entries, and may be shorter than a Windows header.
      {{.os2 = true, .width = 2, .height = 1, .bits = 8, .tableEntries = 256}, {9, 200, 0, 0}, 256, kOs2Bmp,
       {entries({9, 200})}},
      {{.os2 = true, .width = 1, .height = 1, .bits = 24}, {1, 2, 3, 0}, 0, kOs2Bmp, {{0x030201u}}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    DIBImage document;
    ASSERT_TRUE(ReadBmp(cases[i].spec, cases[i].pixels, document)) << host.LastMessage();
    EXPECT_EQ(document.ColorCount(), cases[i].colors);
    EXPECT_EQ(document.fileType, cases[i].type);
    EXPECT_EQ(Rows(document), cases[i].rows);
  }
}

TEST_F(BmpTest, TopDownFilesAreReadTheRightWayUp) {
  // Rows given top first; the same picture stored bottom-up must read identically.
  for (uint16_t bits : {1, 4, 8, 24}) {
    SCOPED_TRACE(bits);
    uint32_t entries = bits == 24 ? 0 : 1u << bits;
    uint32_t rowBytes = (3u * bits + 31) / 32 * 4;
    Bytes top(rowBytes * 3, 0), bottomUp;
    for (uint32_t y = 0; y < 3; ++y)
      for (uint32_t i = 0; i < rowBytes; ++i) top[y * rowBytes + i] = uint8_t(0x11 * (y + 1) + i);
    for (int y = 2; y >= 0; --y)
      bottomUp.insert(bottomUp.end(), top.begin() + y * rowBytes, top.begin() + (y + 1) * rowBytes);
    DIBImage down, up;
    ASSERT_TRUE(ReadBmp({.width = 3, .height = -3, .bits = bits, .tableEntries = entries}, top, down));
    ASSERT_TRUE(ReadBmp({.width = 3, .height = 3, .bits = bits, .tableEntries = entries}, bottomUp, up));
    EXPECT_EQ(down.Height(), 3);
    EXPECT_TRUE(SamePixels(down, up));
  }
}

TEST_F(BmpTest, ProbeFindsTheSizeInEitherHeader) {
  const BmpSpec windows = {.width = 640, .height = -480, .bits = 24},
                os2 = {.os2 = true, .width = 300, .height = 200, .bits = 24};
  ExpectProbes(kWindowsBmp, {{MakeBmp(windows, {}), kWindowsBmp, 640, 480},
                             {MakeBmp(os2, {}), kWindowsBmp, 300, 200},
                             {{'B', 'X'}, kUnknownFile}});
}

// ---- Hostile and broken files: the right message, no image, nothing left open ----

TEST_F(BmpTest, RefusedFilesNameTheirReason) {
  const std::string notBitmap = "Not a MS Windows or OS/2 Bitmap file:\n\n" + ShownName(),
                    depths = "Only 24, 8, 4, or 1 bit bitmaps are supported:\n\n" + ShownName(),
                    shortFile = "Short file: " + ShownName(), memory = "Not enough memory !";
  auto file = [](const BmpSpec& spec, size_t pixelBytes) { return MakeBmp(spec, Bytes(pixelBytes, 0x55)); };
  std::vector<Refusal> refusals = {
      {file({.headerSize = 64}, 64), notBitmap},
      {file({.compression = 1}, 64), "Compressed Bitmap files are not supported:\n\n" + ShownName()},
      {file({.bits = 16}, 64), depths},
      {file({.bits = 32}, 64), depths},
      {file({.width = 0}, 64), notBitmap},
      {file({.width = -5}, 64), notBitmap},
      {file({.width = 4, .height = 10, .bits = 8, .tableEntries = 256}, 39), shortFile},  // rows cut
      {file({.width = 9, .height = 10, .bits = 1, .tableEntries = 2}, 36), shortFile},    // last packed row cut
      {file({.width = 9, .height = 10, .bits = 4, .tableEntries = 16}, 1), shortFile},
      {file({.width = 4, .height = 10, .bits = 24, .tableEntries = 0}, 100), shortFile},
      // The table cut.
      {file({.width = 4, .height = 10, .bits = 8, .colorsUsed = 1000000000, .tableEntries = 20}, 0), shortFile},
      // The offset past the end.
      {file({.width = 4, .height = 1, .bits = 8, .tableEntries = 256, .pixelOffset = 1 << 30}, 4), shortFile},
      // Huge but within the limits: short, found before allocating; beyond any image's limits.
      {file({.width = 10000, .height = 10000, .bits = 8, .tableEntries = 256}, 16), shortFile},
      {file({.width = 1000000000, .height = 1, .bits = 8, .tableEntries = 256}, 16), memory},
      {file({.width = 1, .height = -2147483647 - 1, .bits = 8, .tableEntries = 256}, 16), memory},
      {file({.width = 2147483647, .height = 2147483647, .bits = 24}, 16), memory},
  };
  // Headers themselves cut short.
  for (size_t size : {4, 16, 30, 53}) {
    Bytes cut = MakeBmp({.width = 1, .height = 1, .bits = 24}, {1, 2, 3, 0});
    cut.resize(size);
    refusals.push_back({cut, shortFile});
  }
  ExpectRefused(refusals);
  // Read directly, past the probe.
  ExpectRefused({{Bytes(60, 'x'), "Not a BITMAP file:\n\n" + ShownName()}}, kWindowsBmp);
}

// ---- Reduction while reading, as the quantizing options ask ----

TEST_F(BmpTest, TrueColourFilesAreReducedWhenAsked) {
  // Six colours in a 24-bit file, rows given top-down.
  const uint8_t colours[6][3] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {10, 20, 30}, {200, 200, 200}, {0, 0, 0}};
  Bytes pixels;
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) pixels.insert(pixels.end(), colours[(x + y) % 6], colours[(x + y) % 6] + 3);
    pixels.insert(pixels.end(), 2, 0);  // 18 bytes padded to 20
  }
  DIBImage plain, reduced;
  ASSERT_TRUE(ReadBmp({.width = 6, .height = -4, .bits = 24}, pixels, plain));
  EXPECT_TRUE(plain.IsTrueColor());
  SetReadQuantizing(1, 0, 8, 1);
  ASSERT_TRUE(ReadBmp({.width = 6, .height = -4, .bits = 24}, pixels, reduced));
  EXPECT_EQ(reduced.BitsPerPixel(), 8u);
  EXPECT_LE(reduced.ColorCount(), 8u);
  EXPECT_GE(reduced.ColorCount(), 6u);
  // Six colours fit in eight: every pixel keeps its colour (to the histogram's 5-bit
  // precision), the right way up.
  EXPECT_LE(MaxDifference(plain, reduced), 8);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(BmpTest, SystemPaletteMapsFilesOntoTheWindowsColours) {
  SetReadQuantizing(0, 1, 256, 0);
  DIBImage document;
  // Pure blue, green and red pixels (blue, green, red byte order), 24 bits.
  ASSERT_TRUE(ReadBmp({.width = 3, .height = 1, .bits = 24}, {255, 0, 0, 0, 255, 0, 0, 0, 250, 0, 0, 0}, document));
  EXPECT_EQ(document.ColorCount(), 16u);
  EXPECT_EQ(PixelRgb(document, 0, 0), 0x0000FFu);
  EXPECT_EQ(PixelRgb(document, 1, 0), 0x00FF00u);
  EXPECT_EQ(PixelRgb(document, 2, 0), 0xFF0000u);
  // A palette file: its table is replaced, pixels follow their colours.
  ASSERT_TRUE(ReadBmp({.width = 2, .height = 1, .bits = 4, .tableEntries = 16}, {0x0F, 0, 0, 0}, document));
  EXPECT_EQ(document.ColorCount(), 16u);
  EXPECT_EQ(PixelRgb(document, 0, 0), 0x00FF00u);  // entry 0 (blue 0, green 255, red 0) -> green
  document.Lock();
  EXPECT_EQ(document.GetColors()[15].red, 255);  // the table is the Windows one
  document.Unlock();
}

// ---- Cancel, progress and preview ----

TEST_F(BmpTest, CancelMidReadFreesTheImageWithoutAMessage) {
  WriteBytes(Path("big.bmp"), MakeBmp({.width = 64, .height = 100, .bits = 4, .tableEntries = 16}, Bytes(3200, 0x21)));
  DIBImage document;
  ExpectCancelledRead(document, Path("big.bmp"), 10);
  EXPECT_FALSE(document.HasImage());
  EXPECT_EQ(document.RowBuffer(), nullptr);
}

TEST_F(BmpTest, ReadingReportsProgressPerRowOfPackedFiles) {
  SetProgressName(Path("Photo.BMP"));
  DIBImage document;
  ASSERT_TRUE(ReadBmp({.width = 8, .height = 4, .bits = 1, .tableEntries = 2}, Bytes(16, 0), document));
  ASSERT_FALSE(host.titles.empty());
  EXPECT_EQ(host.titles.front(), "photo.bmp-00%");
  EXPECT_EQ(host.titles.back(), "photo.bmp-75%");
}

TEST_F(BmpTest, PreviewIsQuietAndShrunkToTheMaximum) {
  DIBImage big, preview;
  ASSERT_TRUE(WriteTestImage(big, "big.bmp", kWindowsBmp, 200, 100, 0));
  EXPECT_EQ(ReadImagePreview(preview, Path("big.bmp"), 50, 50), 0);
  EXPECT_EQ(preview.Width(), 50);
  EXPECT_EQ(preview.Height(), 25);
  EXPECT_FALSE(preview.HasUndo());

  WriteBytes(Path("bad.bmp"), MakeBmp({.width = 4, .height = 10, .bits = 8, .tableEntries = 256}, Bytes(3, 0)));
  EXPECT_EQ(ReadImagePreview(preview, Path("bad.bmp"), 50, 50), 2);
  EXPECT_FALSE(preview.HasImage());
  EXPECT_EQ(ReadImagePreview(preview, Path("missing.bmp"), 50, 50), 2);
  EXPECT_TRUE(host.messages.empty());
}

// ---- Files made by other programs, and ours read by them ----

class BmpInteropTest : public BmpTest {
 protected:
  void SetUp() override {
    BmpTest::SetUp();
    REQUIRE_TOOLS("ppmtobmp", "convert");
    // A 13 x 7 picture of 12 colours: the reference for every decode.
    PixelRows twelve(7);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 13; ++x) {
        const uint32_t c = uint32_t(x + 2 * y) % 12;
        twelve[size_t(y)].push_back(c * 20 << 16 | (255 - c * 15) << 8 | c * c);
      }
    WriteBytes(Path("ref.ppm"), MakePixmap(twelve));
    ASSERT_TRUE(ReadImageFile(reference, Path("ref.ppm")));
  }
  // The file, made by the command, reads as the reference in the type.
  void ExpectReadsAsReference(const std::string& command, const std::string& file, uint32_t type) {
    SCOPED_TRACE(command);
    ASSERT_TRUE(RunTool(command));
    DIBImage document;
    ASSERT_TRUE(ReadImageFile(document, Path(file))) << host.LastMessage();
    EXPECT_EQ(document.fileType, type);
    EXPECT_TRUE(SamePixels(document, reference));
  }
  DIBImage reference;
};

TEST_F(BmpInteropTest, DecodesOtherProgramsFilesAtEveryDepthAndHeader) {
  for (const char* options : {"-windows -bpp=4", "-windows -bpp=8", "-windows -bpp=24", "-os2 -bpp=4", "-os2 -bpp=8",
                              "-os2 -bpp=24"})
    ExpectReadsAsReference("ppmtobmp " + std::string(options) + " " + Quote(Path("ref.ppm")) + " > " +
                               Quote(Path("np.bmp")),
                           "np.bmp", std::strstr(options, "os2") ? kOs2Bmp : kWindowsBmp);
  // BMP3 is the 40-byte header, plain BMP the 108- or 124-byte one.
  for (auto [format, longHeader] : {std::pair{"-type Palette BMP3:", false}, {"-type TrueColor BMP3:", false},
                                    {"-type Palette BMP:", true}, {"-type TrueColor BMP:", true}}) {
    ExpectReadsAsReference("convert " + Quote(Path("ref.ppm")) + " " + format + Quote(Path("im.bmp")), "im.bmp",
                           kWindowsBmp);
    EXPECT_EQ(ReadBytes(Path("im.bmp"))[14] > 40, longHeader);
  }
}

TEST_F(BmpInteropTest, DecodesOneBitFilesOfAnotherProgram) {
  // A checkerboard of black and white, 1 bit per pixel.
  ASSERT_TRUE(RunTool("convert -size 11x5 pattern:checkerboard -monochrome BMP3:" + Quote(Path("mono.bmp"))));
  ASSERT_TRUE(Convert("mono.bmp", "", "mono.pbm"));
  DIBImage ours, theirs;
  ASSERT_TRUE(ReadImageFile(ours, Path("mono.bmp"))) << host.LastMessage();
  ASSERT_TRUE(ReadImageFile(theirs, Path("mono.pbm")));
  EXPECT_EQ(ours.ColorCount(), 2u);
  EXPECT_TRUE(SamePixels(ours, theirs));
}

TEST_F(BmpInteropTest, OurFilesDecodeTheSameInAnotherProgram) {
  DIBImage picture;
  ASSERT_TRUE(RunTool("ppmtobmp -bpp=8 " + Quote(Path("ref.ppm")) + " > " + Quote(Path("ref.bmp"))));
  ASSERT_TRUE(ReadImageFile(picture, Path("ref.bmp")));
  for (uint32_t type : {kWindowsBmp, kOs2Bmp}) {
    picture.fileType = type;
    ASSERT_TRUE(WriteImageFile(picture, Path("ours.bmp")));
    ASSERT_TRUE(Convert("ours.bmp", "", "back.ppm"));
    DIBImage back;
    ASSERT_TRUE(ReadImageFile(back, Path("back.ppm")));
    EXPECT_TRUE(SamePixels(back, reference)) << type;
  }
}

}  // namespace quilla
