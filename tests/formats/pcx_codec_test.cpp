#include "formats/pcx/pcx_rle.h"
#include "formats/formats_test_support.h"

namespace quilla {

namespace {

struct PcxSpec {
  uint8_t manufacturer = 10, version = 5, bits = 8, planes = 1;
  uint16_t xmin = 0, ymin = 0, xmax = 3, ymax = 1;
  uint16_t bytesPerLine = 4;
  uint8_t paletteBase = 0, paletteStep = 0;  // header palette byte i is base + i * step
};

// A PCX file: the header of spec, the encoded data as given, and an optional tail.
Bytes MakePcx(const PcxSpec& spec, const Bytes& data, const Bytes& tail = {}) {
  Bytes b(128, 0);
  b[0] = spec.manufacturer, b[1] = spec.version, b[2] = 1, b[3] = spec.bits;
  Put16(b, 4, spec.xmin), Put16(b, 6, spec.ymin), Put16(b, 8, spec.xmax), Put16(b, 10, spec.ymax);
  for (int i = 0; i < 48; ++i) b[16 + size_t(i)] = uint8_t(spec.paletteBase + i * spec.paletteStep);
  b[65] = spec.planes;
  Put16(b, 66, spec.bytesPerLine);
  b.insert(b.end(), data.begin(), data.end());
  b.insert(b.end(), tail.begin(), tail.end());
  return b;
}

// The 769-byte palette tail: marker 12, entry i = (red i, green 255 - i, blue 2 i).
Bytes TrailingPalette(uint8_t marker = 12) {
  Bytes t{marker};
  for (int i = 0; i < 256; ++i) t.insert(t.end(), {uint8_t(i), uint8_t(255 - i), uint8_t(2 * i)});
  return t;
}
uint32_t TrailingColor(uint32_t i) { return (i & 255) << 16 | (255 - i) << 8 | ((2 * i) & 255); }

}  // namespace

class PcxTest : public MadeFileTest {
 protected:
  PcxTest() : MadeFileTest(kPcxFile, "made.pcx") {}
};

TEST(PcxRle, RunsStopAtSixtyThreeAndTheLineEndAndHighBytesAreEscaped) {
  const struct { Bytes line, encoded; } cases[] = {
      {{0xC5}, {0xC1, 0xC5}},
      {{7, 7, 7, 0xBF, 0xC0, 9}, {0xC3, 7, 0xBF, 0xC1, 0xC0, 9}},
      {Bytes(130, 0x41), {0xFF, 0x41, 0xFF, 0x41, 0xC4, 0x41}},  // 63 + 63 + 4
      {Bytes(64, 0x41), {0xFF, 0x41, 0x41}},                     // a run of 63 and a lone byte
      {{0xC0, 0xC1, 0xC0, 0xC1}, {0xC1, 0xC0, 0xC1, 0xC1, 0xC1, 0xC0, 0xC1, 0xC1}},  // the worst: twice the line
  };
  for (const auto& c : cases) {
    Bytes out(2 * c.line.size());
    out.resize(pcx::EncodeLine(c.line.data(), c.line.size(), out.data()));
    EXPECT_EQ(out, c.encoded);
  }
}

// Reading them back is the round trip of every codec's.
TEST_F(PcxTest, WritesTheLayoutOfEachDepth) {
  const struct { int colors; uint8_t bits, planes; } depths[] = {{0, 8, 3}, {256, 8, 1}, {17, 8, 1},
                                                                 {16, 4, 1}, {2, 4, 1},   {1, 4, 1}};
  for (const auto& depth : depths)
    for (int width : {1, 2, 7, 8, 9, 33, 64}) {
      SCOPED_TRACE(std::to_string(depth.colors) + " colours, width " + std::to_string(width));
      DIBImage original;
      MakeTestImage(original, width, 5, depth.colors, width);
      const Bytes file = Written(original, "round.pcx", type);
      ASSERT_GE(file.size(), 128u);
      ExpectFields(file, {{0, 1, 10}, {1, 1, 5}, {2, 1, 1}, {3, 1, depth.bits}, {65, 1, depth.planes},
                          {66, 2, (depth.bits * uint32_t(width) + 15) / 16 * 2}, {8, 2, uint32_t(width - 1)},
                          {10, 2, 4}, {12, 2, 300}, {68, 2, 1}, {70, 2, 640}, {72, 2, 480}});
      // Up to 16 colours the palette is in the header, unused entries zero; past 16 it ends the file.
      const auto table = original.ColorTable();
      if (depth.colors > 16) {
        ASSERT_GE(file.size(), 128u + 769u);
        ExpectFields(file, {{file.size() - 769, 1, 12}, {file.size() - 768 + 3, 1, table[1].red}});
      } else if (depth.colors > 0) {
        Bytes header(48, 0);
        for (size_t i = 0; i < size_t(depth.colors); ++i)
          header[3 * i] = table[i].red, header[3 * i + 1] = table[i].green, header[3 * i + 2] = table[i].blue;
        EXPECT_EQ(Bytes(file.begin() + 16, file.begin() + 64), header);
        EXPECT_LT(file.size(), 128u + 769u);
      }
    }
  EXPECT_TRUE(host.messages.empty());
}

// Palettes of distinct colours show the indices read: a gray ramp when none is in the file.
TEST_F(PcxTest, ReadsEachLayout) {
  auto gray = [](uint32_t v) { return v * 0x010101u; };
  auto stepped = [](uint32_t i) { return 15 * i << 16 | (15 * i + 5) << 8 | (15 * i + 10); };  // paletteStep 5
  const uint32_t white = 0xFFFFFF;
  // 900 literal bytes; the one 769 from the end of the file is a 12, but a pixel.
  Bytes markerInside(900);
  for (size_t i = 0; i < markerInside.size(); ++i) markerInside[i] = uint8_t(i * 7 % 191);
  markerInside[900 - 769] = 12;
  const Bytes highRuns{1, 2, 0xC1, 200, 0xC1, 255};
  const struct {
    const char* layout;
    PcxSpec spec;
    Bytes data, tail;
    uint32_t colors;  // 0: true colour
    std::vector<Pixel> pixels;
  } cases[] = {
      {"monochrome, black and white whatever the palettes",
       {.bits = 1, .xmax = 9, .ymax = 0, .bytesPerLine = 2, .paletteBase = 0x55}, {0xA5, 0x40}, TrailingPalette(), 2,
       {{0, 0, white}, {1, 0, 0}, {2, 0, white}, {3, 0, 0}, {4, 0, 0}, {5, 0, white}, {6, 0, 0}, {7, 0, white},
        {8, 0, 0}, {9, 0, white}}},
      {"packed 16 colours: the high nibble first, the header palette",
       {.version = 3, .bits = 4, .xmax = 2, .ymax = 0, .bytesPerLine = 2, .paletteStep = 5}, {0x3A, 0xC1, 0xF0}, {}, 16,
       {{0, 0, stepped(3)}, {1, 0, stepped(10)}, {2, 0, stepped(15)}}},
      // Pixel 0: planes 0 and 3; pixel 1: plane 1; pixel 8: plane 2.
      {"four planes: bit k from plane k",
       {.bits = 1, .planes = 4, .xmax = 8, .ymax = 0, .bytesPerLine = 2, .paletteStep = 5},
       {0x80, 0x00, 0x40, 0x00, 0x00, 0x80, 0x80, 0x00}, {}, 16,
       {{0, 0, stepped(9)}, {1, 0, stepped(2)}, {2, 0, stepped(0)}, {8, 0, stepped(4)}}},
      {"16 colours prefer the trailing palette",
       {.bits = 4, .xmax = 1, .ymax = 0, .bytesPerLine = 2, .paletteBase = 0x11}, {0x27, 0x00}, TrailingPalette(), 16,
       {{0, 0, TrailingColor(2)}, {1, 0, TrailingColor(7)}}},
      {"256 colours: the trailing palette", {.xmax = 3, .ymax = 0}, highRuns, TrailingPalette(), 256,
       {{2, 0, TrailingColor(200)}}},
      {"version 5 without the marker byte: gray", {.xmax = 3, .ymax = 0}, highRuns, TrailingPalette(13), 256,
       {{2, 0, gray(200)}, {3, 0, gray(255)}}},
      {"before version 5 the end of the file is not looked at", {.version = 4, .xmax = 3, .ymax = 0}, highRuns,
       TrailingPalette(), 256, {{2, 0, gray(200)}}},
      {"a marker inside the pixel data", {.xmax = 29, .ymax = 29, .bytesPerLine = 30}, markerInside, {}, 256,
       {{0, 0, 0}, {1, 0, gray(7)}}},
      {"a marker in the last byte of the pixel data, 769 from the end", {.xmax = 9, .ymax = 0, .bytesPerLine = 10},
       {5, 5, 5, 5, 5, 5, 5, 5, 5, 12}, Bytes(768, 0x40), 256, {{0, 0, gray(5)}, {9, 0, gray(12)}}},
      {"true colour: red, green, blue from planes 0, 1, 2", {.planes = 3, .xmax = 1, .ymax = 1, .bytesPerLine = 2},
       {10, 11, 20, 21, 30, 31, 40, 41, 50, 51, 60, 61}, {}, 0,
       {{0, 0, 10 << 16 | 20 << 8 | 30}, {1, 0, 11 << 16 | 21 << 8 | 31}, {0, 1, 40 << 16 | 50 << 8 | 60}}},
      // 0xC4 0x80 gives two bytes to each line; 0xC0 'Z' is a run of nothing.
      {"a run over the line end goes on on the next line", {.xmax = 3, .ymax = 1}, {1, 2, 0xC4, 0x80, 0xC0, 'Z', 9, 9},
       {}, 256, {{2, 0, gray(0x80)}, {3, 0, gray(0x80)}, {0, 1, gray(0x80)}, {1, 1, gray(0x80)}, {2, 1, gray(9)}}},
      {"a run past the last line is dropped", {.xmax = 1, .ymax = 0, .bytesPerLine = 2}, {0xFF, 7}, {}, 256,
       {{1, 0, gray(7)}}},
      {"extra bytes per line are skipped", {.xmax = 1, .ymax = 1}, {1, 2, 99, 99, 3, 4, 99, 99}, {}, 256,
       {{0, 1, gray(3)}, {1, 1, gray(4)}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.layout);
    DIBImage document;
    ASSERT_TRUE(ReadDirect(document, MakePcx(c.spec, c.data, c.tail)));
    EXPECT_EQ(document.ColorCount(), c.colors);
    ExpectPixels(document, c.pixels);
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(PcxTest, AnOddFrameOriginGivesTheFrameSize) {
  std::string path = Made(MakePcx({.xmin = 10, .ymin = 3, .xmax = 19, .ymax = 4, .bytesPerLine = 10}, Bytes(20, 1)));
  uint32_t width = 0, height = 0;
  EXPECT_EQ(ProbeFileAs(path, kPcxFile, width, height), int(kPcxFile));
  EXPECT_EQ(width, 10u);
  EXPECT_EQ(height, 2u);
  DIBImage document;
  ASSERT_TRUE(ReadImageFile(document, path));
  EXPECT_EQ(document.Width(), 10);
  EXPECT_EQ(document.Height(), 2);
}

TEST_F(PcxTest, ProbeChecksMarkerVersionAndPlanes) {
  auto file = [](const PcxSpec& spec) { return MakePcx(spec, Bytes(8, 0)); };
  ExpectProbes(kPcxFile, {{file({}), kPcxFile, 4, 2}, {file({.version = 6}), kPcxFile, 4, 2},
                          {file({.version = 7}), 0}, {file({.planes = 4}), kPcxFile, 4, 2},
                          {file({.planes = 5}), 0}, {file({.manufacturer = 11}), 0}, {Bytes(127, 10), 0}});
}

TEST_F(PcxTest, RefusedFilesGiveTheirMessagesAndLeaveNoImage) {
  const std::string unsupported = "Invalid or unsupported PCX file", early = "Unexpected EOF in PCX file";
  auto file = [](const PcxSpec& spec) { return MakePcx(spec, Bytes(64, 0)); };
  Bytes shortHeader = MakePcx({}, {});
  shortHeader.resize(100);
  ExpectRefused({
      {file({.bits = 1, .planes = 2, .bytesPerLine = 1}), unsupported},  // four colours in two planes
      {file({.bits = 2, .planes = 1}), unsupported},                     // packed 2-bit
      {file({.bits = 8, .planes = 4}), unsupported},
      {file({.bits = 8, .planes = 0}), unsupported},
      {file({.xmin = 5, .xmax = 4}), unsupported},  // inside-out frame
      {file({.ymin = 2, .ymax = 1}), unsupported},
      {file({.xmax = 9, .bytesPerLine = 4}), unsupported},  // a line too short for the width
      {file({.bytesPerLine = 0}), unsupported},
      {file({.version = 7}), unsupported},
      {file({.manufacturer = 9}), unsupported},
      {shortHeader, early},
      // Far too short for its size: refused before any memory is taken.
      {MakePcx({.planes = 3, .xmax = 9999, .ymax = 9999, .bytesPerLine = 10000}, Bytes(100, 0xFF)), early},
      // A width one more than the line holds at 8 bits is unsupported, before its size is too much.
      {file({.planes = 3, .xmax = 0xFFFF, .ymax = 0xFFFF, .bytesPerLine = 0xFFFF}), unsupported},
      {file({.planes = 3, .xmax = 0xFFFE, .ymax = 0xFFFF, .bytesPerLine = 0xFFFF}), "Not enough memory !"},
  }, type);
}

TEST_F(PcxTest, ATruncatedFileKeepsTheRowsReadSoFar) {
  DIBImage document;
  ExpectRefused(document, {MakePcx({.xmax = 3, .ymax = 3}, {5, 5, 5, 5, 6, 6, 6}), "Unexpected EOF in PCX file", true});
  ASSERT_TRUE(document.HasImage());
  EXPECT_EQ(PixelRgb(document, 0, 0), 0x050505u);
}

TEST_F(PcxTest, ProgressEverySixtyFourthRowAndCancelKeepsTheRows) {
  std::string path = Made(MakePcx({.xmax = 1, .ymax = 129, .bytesPerLine = 2}, Bytes(260, 3)));
  SetProgressName(Path("Scan.PCX"));
  DIBImage document, cancelled;
  ASSERT_TRUE(ReadImageFile(document, path));
  EXPECT_EQ(host.titles, (std::vector<std::string>{"scan.pcx-00%", "scan.pcx-49%", "scan.pcx-98%"}));
  ExpectCancelledRead(cancelled, path, 65);  // on a row that reports progress
  EXPECT_TRUE(cancelled.HasImage());
}

TEST_F(PcxTest, ACancelledWriteLeavesTheOldFile) {
  DIBImage original;
  MakeTestImage(original, 8, 200, 0);
  WriteBytes(MadePath(), {4, 5, 6});
  ExpectCancelledWrite(original, madeName, type, 100);
}

TEST_F(PcxTest, PreviewIsQuietAndTellsWholePartlyAndNotRead) {
  const PcxSpec spec{.xmax = 99, .ymax = 49, .bytesPerLine = 100};
  DIBImage document;
  EXPECT_EQ(ReadImagePreviewAs(document, Made(MakePcx(spec, Bytes(5000, 7))), kPcxFile, 20, 20), 0);
  EXPECT_EQ(document.Width(), 20);
  EXPECT_EQ(document.Height(), 10);
  EXPECT_EQ(ReadImagePreviewAs(document, Made(MakePcx(spec, Bytes(4000, 7))), kPcxFile, 20, 20), 1);
  EXPECT_EQ(document.Width(), 20);
  ExpectPreviews(kPcxFile, {{Bytes(300, 0x42), 2}});
}

TEST_F(PcxTest, TrueColourIsReducedWhenTheOptionsAskForIt) {
  SetReadQuantizing(1, 0, 16, 0);
  DIBImage original, back;
  ASSERT_TRUE(WriteTestImage(original, "q.pcx", type, 40, 30, 0));
  ASSERT_TRUE(Load(back, "q.pcx"));
  EXPECT_EQ(back.ColorCount(), 16u);
}

// Files other programs make read as their own decoding shows them, and the other way round.
TEST_F(PcxTest, AgreesWithOtherPrograms) {
  REQUIRE_TOOLS("convert", "ppmtopcx", "pcxtoppm");
  const std::string src = Path("src.ppm");
  ExpectOtherProgramsFilesRead(
      {"convert " + src + " " + Path("im24.pcx"), "ppmtopcx -24bit " + src + " > " + Path("nb24.pcx")}, nullptr);
  ExpectOtherProgramsFilesRead({"convert " + src + " -colors 200 " + Path("im8.pcx"),
                                "convert " + src + " -colors 12 ppm:- | ppmtopcx -packed > " + Path("nb4.pcx"),
                                "convert " + src + " -colors 14 ppm:- | ppmtopcx -planes 4 > " + Path("nbp.pcx"),
                                "convert " + src + " -monochrome ppm:- | ppmtopcx -packed > " + Path("nb1.pcx")},
                               "pcxtoppm", true);
  ExpectDecoderReadsWhatIsWritten("pcxtoppm", {0, 200, 16, 2});
}

}  // namespace quilla
