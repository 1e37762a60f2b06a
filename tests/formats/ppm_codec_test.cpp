#include "formats/ppm/ppm_codec.h"

#include <algorithm>
#include <map>

#include "formats/formats_test_support.h"

namespace quilla {

using PpmTest = MadeFileTest;

// ---- Probe ----

TEST_F(PpmTest, ProbeTakesTheSixMagicsWithTheirSize) {
  std::vector<ProbeCase> cases;
  for (char digit = '1'; digit <= '6'; ++digit)
    cases.push_back({Text(std::string("P") + digit + "\n# comment\n 12\t34\n"), kPnmFile, 12, 34});
  for (const char* text : {"P7 1 1", "P0 1 1", "Q6 1 1", "P6 12", "P6 x 3", "", "P"}) cases.push_back({Text(text), 0});
  ExpectProbes(kPnmFile, cases);
}

// ---- The six forms, sample scaling and comments ----

TEST_F(PpmTest, EveryFormReadsWithItsSamplesScaled) {
  auto grey = [](uint32_t v) { return v * 0x010101u; };
  const uint32_t white = 0xFFFFFFu;
  const std::pair<Bytes, PixelRows> cases[] = {
      // Scaled by the maximum, clipped above it.
      {Text("P2 4 1 15\n15 20 7 0\n"), {{grey(255), grey(255), grey(119), 0}}},
      {Text("P3\n2 1\n100\n100 50 0  # first\n0 0 100\n"), {{0xFF7F00u, 0x0000FFu}}},
      // Comments between numbers; "0101" is one number, clipped to 1.
      {Text("P1 2 2\n1#one\n 0\n# whole line 1 1\n0101 0"), {{0, white}, {0, white}}},
      // 10 pixels a row: 2 bytes, the last 6 bits padding (set, to show they are ignored).
      {Text("P4\n10 2\n", {0b10100000, 0b01111111, 0b00000000, 0b11111111}),
       {{0, white, 0, white, white, white, white, white, white, 0},
        {white, white, white, white, white, white, white, white, 0, 0}}},
      {MakePixmap(TestPixels(5, 3)), TestPixels(5, 3)},  // at maximum 255 the bytes stay
      {Text("P5 3 1 15\n", {15, 7, 200}), {{grey(255), grey(119), grey(255)}}},
      {Text("P5 2 1 65535\n", {0xFF, 0xFF, 0x80, 0x00}), {{grey(255), grey(127)}}},
      {Text("P6 1 1 1000\n", {0x03, 0xE8, 0x01, 0xF4, 0x00, 0x00}), {{0xFF7F00u}}},
      // The byte after the maximum is one whitespace; the next one (a space, 32) is data.
      {Text("P5 # grey\n2 # wide\n1\n# max next\n255\n", {32, 9}), {{grey(32), grey(9)}}},
  };
  for (const auto& [file, rows] : cases) {
    SCOPED_TRACE(std::string(file.begin(), file.begin() + long(std::min<size_t>(file.size(), 12))));
    DIBImage document;
    ASSERT_TRUE(ReadMade(document, file)) << host.LastMessage();
    EXPECT_EQ(document.fileType, kPnmFile);
    EXPECT_TRUE(document.IsTrueColor());
    EXPECT_EQ(document.decodedWidth, document.Width());
    EXPECT_EQ(document.decodedHeight, document.Height());
    EXPECT_EQ(Rows(document), rows);
  }
  EXPECT_TRUE(host.messages.empty());
}

// ---- Files made by another program ----

TEST_F(PpmTest, ReadsEveryFormAnotherProgramWrites) {
  REQUIRE_TOOLS("convert");
  const PixelRows picture = TestPixels(19, 7, 3);
  WriteBytes(Path("src.ppm"), MakePixmap(picture));
  struct Conversion {
    const char *from, *options, *to;
    char magic;
    bool same;  // reads as its source does
  };
  const Conversion conversions[] = {
      {"src.ppm", "-compress none", "ascii.ppm", '3', true},     {"src.ppm", "-depth 16", "deep.ppm", '6', true},
      {"src.ppm", "-colorspace gray", "grey.pgm", '5', false},   {"grey.pgm", "-compress none", "agrey.pgm", '2', true},
      {"src.ppm", "-threshold 50% -monochrome", "bits.pbm", '4', false},
      {"bits.pbm", "-compress none", "abits.pbm", '1', true},
  };
  std::map<std::string, DIBImage> read;
  ASSERT_TRUE(ReadImageFile(read["src.ppm"], Path("src.ppm")));
  EXPECT_EQ(Rows(read["src.ppm"]), picture);
  for (const Conversion& c : conversions) {
    SCOPED_TRACE(c.to);
    ASSERT_TRUE(Convert(c.from, c.options, c.to));
    EXPECT_EQ(ReadBytes(Path(c.to))[1], c.magic);
    ASSERT_TRUE(ReadImageFile(read[c.to], Path(c.to))) << host.LastMessage();
    if (c.same) { EXPECT_TRUE(SamePixels(read[c.from], read[c.to])); }
  }
  EXPECT_TRUE(AllGray(read["grey.pgm"]));
  for (const auto& row : Rows(read["bits.pbm"]))
    for (uint32_t b : row) EXPECT_TRUE(b == 0 || b == 0xFFFFFFu);
  EXPECT_TRUE(host.messages.empty());
}

// ---- Writing ----

// The pixels read back in the round trip of every written type.
TEST_F(PpmTest, WritesRawPixmapsAtEveryDepth) {
  for (int colors : {0, 2, 16, 256}) {
    for (int width : {1, 3, 8, 33}) {
      SCOPED_TRACE(std::to_string(colors) + " colours, width " + std::to_string(width));
      DIBImage original;
      ASSERT_TRUE(WriteTestImage(original, "w.pbm", kPnmFile, width, 4, colors, width)) << host.LastMessage();
      Bytes file = ReadBytes(Path("w.pbm"));
      std::string header = "P6 " + std::to_string(width) + " 4 255\n";
      ASSERT_EQ(file.size(), header.size() + size_t(width) * 4 * 3);
      EXPECT_EQ(std::string(file.begin(), file.begin() + long(header.size())), header);
    }
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(PpmTest, AnotherProgramReadsWhatIsWritten) {
  REQUIRE_TOOLS("convert");
  DIBImage original, back;
  ASSERT_TRUE(WriteTestImage(original, "w.pbm", kPnmFile, 13, 6, 0, 9));
  ASSERT_TRUE(Convert("w.pbm", "-compress none", "again.ppm"));
  ASSERT_EQ(ReadBytes(Path("again.ppm"))[1], '3');
  ASSERT_TRUE(ReadImageFile(back, Path("again.ppm")));
  EXPECT_TRUE(SamePixels(original, back));
}

// ---- Truncated and hostile files ----

TEST_F(PpmTest, FaultyHeadersAndShortDataGiveTheirMessageAndNoImage) {
  const std::string eof = "Unexpected EOF in PBM file", invalid = "Invalid or unsupported PBM file",
                    memory = "Not enough memory !";
  std::vector<Refusal> refusals = {
      {Text("P6 4 4 0\n"), "Invalid MaxGray value: 0"},   {Text("P5 4 4 -3\n"), "Invalid MaxGray value: -3"},
      {Text("P3 4 4 65536\n"), "Invalid MaxGray value: 65536"},
      {Text("P6 4 4\n"), eof},                            {Text("P2 4 4 # no maximum\n"), eof},
      {Text("P6 0 4 255\n"), invalid},                    {Text("P6 4 -4 255\n"), invalid},
      {Text("P6 300000 2 255\n"), memory},                {Text("P4 99999999999999999999 2\n"), memory},
  };
  // Data too short for the size fails before any image is made.
  for (const char* header : {"P6 100000 100000 255\n", "P5 4 4 255\n", "P4 17 3\n", "P6 2 2 65535\n",
                             "P1 62227 55227\n", "P3 3 1 255\n", "P2 200000 200000 255\n"})
    refusals.push_back({Text(header, {1, 2, 3, 4, 5, 6, 7}), eof});
  ExpectRefused(refusals);
}

TEST_F(PpmTest, AsciiDataEndingEarlyKeepsTheRowsReadBefore) {
  DIBImage document;
  ExpectRefused(document, {Text("P3 2 3 255\n1 2 3 4 5 6\n7 8 9 10 11 12\n13 14"), "Unexpected EOF in PBM file", true});
  ASSERT_TRUE(document.HasImage());
  EXPECT_EQ(PixelRgb(document, 0, 0), 0x010203u);
  EXPECT_EQ(PixelRgb(document, 1, 1), 0x0A0B0Cu);
  // The file can be written and read again afterwards: nothing stays open or locked.
  DIBImage again;
  EXPECT_TRUE(ReadMade(again, Text("P1 1 1 1")));
}

// ---- Progress, cancel and previews ----

TEST_F(PpmTest, ReadingReportsProgressEvery64RowsAndCancelKeepsTheRowsRead) {
  DIBImage document;
  SetProgressName("tall.ppm");
  ExpectCancelledRead(document, Made(Text("P5 3 200 255\n", Bytes(600, 77))), 100);
  EXPECT_EQ(host.titles, (std::vector<std::string>{"tall.ppm-00%", "tall.ppm-32%"}));  // rows 0 and 64
  EXPECT_TRUE(document.HasImage());
}

TEST_F(PpmTest, CancelledWriteLeavesNoFile) {
  DIBImage document;
  MakeTestImage(document, 4, 100, 0);
  ExpectCancelledWrite(document, "gone.pbm", kPnmFile, 40);
  EXPECT_EQ(host.titles.size(), 2u);  // rows 0 and 32
}

TEST_F(PpmTest, PreviewIsQuietShrunkAndTellsAPartialRead) {
  DIBImage document;
  WriteBytes(Path("big.ppm"), MakePixmap(TestPixels(40, 20)));
  EXPECT_EQ(ReadImagePreview(document, Path("big.ppm"), 10, 10), 0);
  EXPECT_EQ(document.Width(), 10);
  EXPECT_EQ(document.Height(), 5);

  WriteBytes(Path("short.ppm"), Text("P2 40 20 255\n1 2 3" + std::string(800, ' ')));
  EXPECT_EQ(ReadImagePreview(document, Path("short.ppm"), 10, 10), 1);
  EXPECT_EQ(document.Width(), 10);
  ExpectPreviews(kPnmFile, {{Text("BM not an anymap"), 2}, {Text("P6 4 4 0\n"), 2}});
}

}  // namespace quilla
