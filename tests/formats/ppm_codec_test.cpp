#include "formats/ppm/ppm_codec.h"

#include "core/progress.h"
#include "formats/file_types.h"
#include "ppm_tiff_test_support.h"

namespace quilla {

class PpmTest : public FormatsTest {
 protected:
  // Writes the bytes to a file and reads it through the open flow.
  int ReadMade(const Bytes& bytes, DIBImage& document, const std::string& name = "made.ppm") {
    WriteBytes(Path(name), bytes);
    return ReadImageFile(document, Path(name));
  }
  void ExpectOnlyMessage(const std::string& text) {
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, text);
  }
  uint32_t Grey(uint8_t v) { return uint32_t(v) * 0x010101; }
};

// ---- Probe ----

TEST_F(PpmTest, ProbeTakesTheSixMagicsWithTheirSize) {
  uint32_t width = 0, height = 0;
  for (char digit = '1'; digit <= '6'; ++digit) {
    WriteBytes(Path("p"), Text(std::string("P") + digit + "\n# comment\n 12\t34\n"));
    EXPECT_EQ(ProbeFileAs(Path("p"), kPnmFile, width, height), kPnmFile) << digit;
    EXPECT_EQ(width, 12u);
    EXPECT_EQ(height, 34u);
  }
  for (const char* text : {"P7 1 1", "P0 1 1", "Q6 1 1", "P6 12", "P6 x 3", "", "P"}) {
    WriteBytes(Path("p"), Text(text));
    EXPECT_EQ(ProbeFileAs(Path("p"), kPnmFile, width, height), 0) << text;
  }
  EXPECT_EQ(ProbeFileAs(Path("missing"), kPnmFile, width, height), kCannotOpen);
}

// ---- The six forms, sample scaling and comments ----

TEST_F(PpmTest, AsciiGreyScalesByTheMaximumAndClipsAboveIt) {
  DIBImage document;
  ASSERT_TRUE(ReadMade(Text("P2 4 1 15\n15 20 7 0\n"), document)) << host.LastMessage();
  EXPECT_EQ(document.fileType, kPnmFile);
  EXPECT_TRUE(document.IsTrueColor());
  EXPECT_EQ(PixelRgb(document, 0, 0), Grey(255));
  EXPECT_EQ(PixelRgb(document, 1, 0), Grey(255));
  EXPECT_EQ(PixelRgb(document, 2, 0), Grey(119));
  EXPECT_EQ(PixelRgb(document, 3, 0), Grey(0));
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(PpmTest, AsciiColourTakesRedGreenBlueScaled) {
  DIBImage document;
  ASSERT_TRUE(ReadMade(Text("P3\n2 1\n100\n100 50 0  # first\n0 0 100\n"), document));
  EXPECT_EQ(PixelRgb(document, 0, 0), 0xFF7F00u);
  EXPECT_EQ(PixelRgb(document, 1, 0), 0x0000FFu);
}

TEST_F(PpmTest, AsciiBitmapTakesCommentsBetweenNumbersAndJoinsAdjacentDigits) {
  DIBImage document;
  ASSERT_TRUE(ReadMade(Text("P1 2 2\n1#one\n 0\n# whole line 1 1\n0101 0"), document)) << host.LastMessage();
  EXPECT_EQ(PixelRgb(document, 0, 0), 0u);
  EXPECT_EQ(PixelRgb(document, 1, 0), 0xFFFFFFu);
  EXPECT_EQ(PixelRgb(document, 0, 1), 0u);  // "0101" is one number, clipped to 1
  EXPECT_EQ(PixelRgb(document, 1, 1), 0xFFFFFFu);
}

TEST_F(PpmTest, RawBitmapIgnoresThePaddingBitsOfEachRow) {
  DIBImage document;
  // 10 pixels a row: 2 bytes, the last 6 bits padding (set, to show they are ignored).
  ASSERT_TRUE(ReadMade(MakeAnymap("P4\n10 2\n", {0b10100000, 0b01111111, 0b00000000, 0b11111111}), document));
  const bool black0[10] = {1, 0, 1, 0, 0, 0, 0, 0, 0, 1};
  const bool black1[10] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1};
  for (int x = 0; x < 10; ++x) {
    EXPECT_EQ(PixelRgb(document, x, 0), black0[x] ? 0u : 0xFFFFFFu) << x;
    EXPECT_EQ(PixelRgb(document, x, 1), black1[x] ? 0u : 0xFFFFFFu) << x;
  }
}

TEST_F(PpmTest, RawPixmapAtMaximum255KeepsItsBytes) {
  DIBImage document;
  Bytes data = PixmapData(5, 3);
  ASSERT_TRUE(ReadMade(MakeAnymap("P6 5 3 255\n", data), document));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(PixelRgb(document, x, y), DataRgb(data, 5, x, y));
  EXPECT_EQ(document.decodedWidth, 5);
  EXPECT_EQ(document.decodedHeight, 3);
}

TEST_F(PpmTest, RawGreyBelow255IsScaledLikeTheAsciiForm) {
  DIBImage document;
  ASSERT_TRUE(ReadMade(MakeAnymap("P5 3 1 15\n", {15, 7, 200}), document));
  EXPECT_EQ(PixelRgb(document, 0, 0), Grey(255));
  EXPECT_EQ(PixelRgb(document, 1, 0), Grey(119));
  EXPECT_EQ(PixelRgb(document, 2, 0), Grey(255));
}

TEST_F(PpmTest, RawSamplesOfTwoBytesAreScaledFromTheirMaximum) {
  DIBImage grey, colour;
  ASSERT_TRUE(ReadMade(MakeAnymap("P5 2 1 65535\n", {0xFF, 0xFF, 0x80, 0x00}), grey));
  EXPECT_EQ(PixelRgb(grey, 0, 0), Grey(255));
  EXPECT_EQ(PixelRgb(grey, 1, 0), Grey(127));
  ASSERT_TRUE(ReadMade(MakeAnymap("P6 1 1 1000\n", {0x03, 0xE8, 0x01, 0xF4, 0x00, 0x00}), colour));
  EXPECT_EQ(PixelRgb(colour, 0, 0), 0xFF7F00u);
}

TEST_F(PpmTest, HeaderCommentsAndTheSingleWhitespaceBeforeRawData) {
  DIBImage document;
  // The byte after the maximum is one whitespace; the next one (a space, 32) is data.
  ASSERT_TRUE(ReadMade(MakeAnymap("P5 # grey\n2 # wide\n1\n# max next\n255\n", {32, 9}), document));
  EXPECT_EQ(PixelRgb(document, 0, 0), Grey(32));
  EXPECT_EQ(PixelRgb(document, 1, 0), Grey(9));
}

// ---- Files made by another program ----

TEST_F(PpmTest, ReadsEveryFormAnotherProgramWrites) {
  REQUIRE_TOOLS("convert");
  const int w = 19, h = 7;
  Bytes data = PixmapData(w, h, 3);
  WriteBytes(Path("src.ppm"), MakeAnymap("P6 19 7 255\n", data));
  ASSERT_TRUE(RunTool("convert " + Quote(Path("src.ppm")) + " -compress none " + Quote(Path("ascii.ppm"))));
  ASSERT_TRUE(RunTool("convert " + Quote(Path("src.ppm")) + " -colorspace gray " + Quote(Path("grey.pgm"))));
  ASSERT_TRUE(RunTool("convert " + Quote(Path("grey.pgm")) + " -compress none " + Quote(Path("agrey.pgm"))));
  ASSERT_TRUE(RunTool("convert " + Quote(Path("src.ppm")) + " -threshold 50% -monochrome " + Quote(Path("bits.pbm"))));
  ASSERT_TRUE(RunTool("convert " + Quote(Path("bits.pbm")) + " -compress none " + Quote(Path("abits.pbm"))));
  ASSERT_TRUE(RunTool("convert " + Quote(Path("src.ppm")) + " -depth 16 " + Quote(Path("deep.ppm"))));

  DIBImage source, ascii, grey, agrey, bits, abits, deep;
  ASSERT_TRUE(ReadImageFile(source, Path("src.ppm")));
  ASSERT_TRUE(ReadImageFile(ascii, Path("ascii.ppm"))) << host.LastMessage();
  ASSERT_TRUE(ReadImageFile(grey, Path("grey.pgm"))) << host.LastMessage();
  ASSERT_TRUE(ReadImageFile(agrey, Path("agrey.pgm"))) << host.LastMessage();
  ASSERT_TRUE(ReadImageFile(bits, Path("bits.pbm"))) << host.LastMessage();
  ASSERT_TRUE(ReadImageFile(abits, Path("abits.pbm"))) << host.LastMessage();
  ASSERT_TRUE(ReadImageFile(deep, Path("deep.ppm"))) << host.LastMessage();
  EXPECT_EQ(ReadBytes(Path("bits.pbm"))[1], '4');
  EXPECT_EQ(ReadBytes(Path("abits.pbm"))[1], '1');
  EXPECT_EQ(ReadBytes(Path("agrey.pgm"))[1], '2');
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) EXPECT_EQ(PixelRgb(source, x, y), DataRgb(data, w, x, y));
  EXPECT_TRUE(SamePixels(source, ascii));
  EXPECT_TRUE(SamePixels(source, deep));
  EXPECT_TRUE(SamePixels(grey, agrey));
  EXPECT_TRUE(SamePixels(bits, abits));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t g = PixelRgb(grey, x, y), b = PixelRgb(bits, x, y);
      EXPECT_EQ(g, (g & 0xFF) * 0x010101u);
      EXPECT_TRUE(b == 0 || b == 0xFFFFFFu);
    }
  EXPECT_TRUE(host.messages.empty());
}

// ---- Writing ----

TEST_F(PpmTest, WritesRawPixmapsThatReadBackAtEveryDepth) {
  for (int colors : {0, 2, 16, 256}) {
    for (int width : {1, 3, 8, 33}) {
      DIBImage original, back;
      MakeTestImage(original, width, 4, colors, width);
      original.fileType = kPnmFile;
      ASSERT_TRUE(WriteImageFile(original, Path("w.pbm"))) << host.LastMessage();
      Bytes file = ReadBytes(Path("w.pbm"));
      std::string header = "P6 " + std::to_string(width) + " 4 255\n";
      ASSERT_EQ(file.size(), header.size() + size_t(width) * 4 * 3);
      EXPECT_EQ(std::string(file.begin(), file.begin() + long(header.size())), header);
      ASSERT_TRUE(ReadImageFile(back, Path("w.pbm")));
      EXPECT_TRUE(back.IsTrueColor());
      EXPECT_TRUE(SamePixels(original, back)) << colors << " colours, width " << width;
    }
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(PpmTest, AnotherProgramReadsWhatIsWritten) {
  REQUIRE_TOOLS("convert");
  DIBImage original, back;
  MakeTestImage(original, 13, 6, 0, 9);
  original.fileType = kPnmFile;
  ASSERT_TRUE(WriteImageFile(original, Path("w.pbm")));
  ASSERT_TRUE(RunTool("convert " + Quote(Path("w.pbm")) + " -compress none " + Quote(Path("again.ppm"))));
  ASSERT_EQ(ReadBytes(Path("again.ppm"))[1], '3');
  ASSERT_TRUE(ReadImageFile(back, Path("again.ppm")));
  EXPECT_TRUE(SamePixels(original, back));
}

// ---- Truncated and hostile files ----

TEST_F(PpmTest, HeaderFaultsGiveTheirMessages) {
  struct Case {
    Bytes bytes;
    const char* message;
  };
  const Case cases[] = {
      {Text("P6 4 4 0\n"), "Invalid MaxGray value: 0"},
      {Text("P5 4 4 -3\n"), "Invalid MaxGray value: -3"},
      {Text("P3 4 4 65536\n"), "Invalid MaxGray value: 65536"},
      {Text("P6 4 4\n"), "Unexpected EOF in PBM file"},
      {Text("P2 4 4 # no maximum\n"), "Unexpected EOF in PBM file"},
      {Text("P6 0 4 255\n"), "Invalid or unsupported PBM file"},
      {Text("P6 4 -4 255\n"), "Invalid or unsupported PBM file"},
      {Text("P6 300000 2 255\n"), "Not enough memory !"},
      {Text("P4 99999999999999999999 2\n"), "Not enough memory !"},
  };
  for (const Case& c : cases) {
    DIBImage document;
    host.messages.clear();
    EXPECT_FALSE(ReadMade(c.bytes, document)) << c.message;
    ExpectOnlyMessage(c.message);
    EXPECT_FALSE(document.HasImage()) << c.message;
    EXPECT_FALSE(document.IsLocked());
  }
}

TEST_F(PpmTest, DataTooShortForTheSizeFailsBeforeAnyImageIsMade) {
  for (const char* header : {"P6 100000 100000 255\n", "P5 4 4 255\n", "P4 17 3\n", "P6 2 2 65535\n",
                             "P1 62227 55227\n", "P3 3 1 255\n", "P2 200000 200000 255\n"}) {
    DIBImage document;
    host.messages.clear();
    EXPECT_FALSE(ReadMade(MakeAnymap(header, {1, 2, 3, 4, 5, 6, 7}), document)) << header;
    ExpectOnlyMessage("Unexpected EOF in PBM file");
    EXPECT_FALSE(document.HasImage());
  }
}

TEST_F(PpmTest, AsciiDataEndingEarlyKeepsTheRowsReadBefore) {
  DIBImage document;
  EXPECT_FALSE(ReadMade(Text("P3 2 3 255\n1 2 3 4 5 6\n7 8 9 10 11 12\n13 14"), document));
  ExpectOnlyMessage("Unexpected EOF in PBM file");
  ASSERT_TRUE(document.HasImage());
  EXPECT_FALSE(document.IsLocked());
  EXPECT_EQ(PixelRgb(document, 0, 0), 0x010203u);
  EXPECT_EQ(PixelRgb(document, 1, 1), 0x0A0B0Cu);
  // The file can be written and read again afterwards: nothing stays open or locked.
  DIBImage again;
  EXPECT_TRUE(ReadMade(Text("P1 1 1 1"), again));
}

TEST_F(PpmTest, TypeThatIsNoAnymapIsNotTakenByTheProbe) {
  DIBImage document;
  EXPECT_FALSE(ReadMade(Text("P9 1 1 255\nxyz"), document));
  ExpectOnlyMessage("File type is not supported:\n\n" + Shown(Path("made.ppm")));
}

// ---- Progress, cancel and previews ----

TEST_F(PpmTest, ReadingReportsProgressEvery64RowsAndCancelKeepsTheRowsRead) {
  DIBImage document;
  SetMainDocument(&document);
  SetProgressName("tall.ppm");
  int pumps = 0;
  host.onPump = [&] {
    if (++pumps == 100) RequestCancel();
    return true;
  };
  EXPECT_FALSE(ReadMade(MakeAnymap("P5 3 200 255\n", Bytes(600, 77)), document));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(pumps, 100);
  ASSERT_EQ(host.titles.size(), 2u);  // rows 0 and 64
  EXPECT_EQ(host.titles[0], "tall.ppm-00%");
  EXPECT_EQ(host.titles[1], "tall.ppm-32%");
  EXPECT_TRUE(document.HasImage());
  EXPECT_FALSE(document.IsLocked());
}

TEST_F(PpmTest, CancelledWriteLeavesNoFile) {
  DIBImage document;
  MakeTestImage(document, 4, 100, 0);
  document.fileType = kPnmFile;
  SetMainDocument(&document);
  int pumps = 0;
  host.onPump = [&] {
    if (++pumps == 40) RequestCancel();
    return true;
  };
  EXPECT_FALSE(WriteImageFile(document, Path("gone.pbm")));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(DirEntries().empty());
  EXPECT_FALSE(document.IsLocked());
  EXPECT_EQ(host.titles.size(), 2u);  // rows 0 and 32
}

TEST_F(PpmTest, PreviewIsQuietShrunkAndTellsAPartialRead) {
  DIBImage document;
  WriteBytes(Path("big.ppm"), MakeAnymap("P6 40 20 255\n", PixmapData(40, 20)));
  EXPECT_EQ(ReadImagePreview(document, Path("big.ppm"), 10, 10), 0);
  EXPECT_EQ(document.Width(), 10);
  EXPECT_EQ(document.Height(), 5);

  WriteBytes(Path("short.ppm"), Text("P2 40 20 255\n1 2 3" + std::string(800, ' ')));
  EXPECT_EQ(ReadImagePreview(document, Path("short.ppm"), 10, 10), 1);
  EXPECT_EQ(document.Width(), 10);

  WriteBytes(Path("none.ppm"), Text("BM not an anymap"));
  EXPECT_EQ(ReadImagePreviewAs(document, Path("none.ppm"), kPnmFile, 10, 10), 2);
  WriteBytes(Path("zero.ppm"), Text("P6 4 4 0\n"));
  EXPECT_EQ(ReadImagePreviewAs(document, Path("zero.ppm"), kPnmFile, 10, 10), 2);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(host.titles.empty());
}

}  // namespace quilla
