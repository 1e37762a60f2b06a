#include <sstream>

#include "formats/jpeg/jpeg_options.h"
#include "jpeg_test_support.h"

namespace quilla {

// ---- Probes ----

TEST_F(JpegTest, ProbeAcceptsOnlyTheStartOfImageMarker) {
  struct Case {
    Bytes bytes;
    int type;
  } cases[] = {{{0xFF, 0xD8}, kJpegFile}, {{0xFF, 0xD8, 0xFF, 0xE0}, kJpegFile}, {{0xFF}, 0},
               {{0xD8, 0xFF}, 0},         {{}, 0},                              {{'B', 'M'}, 0}};
  uint32_t w = 0, h = 0;
  for (const Case& c : cases) {
    WriteBytes(Path("p.jpg"), c.bytes);
    EXPECT_EQ(ProbeFileAs(Path("p.jpg"), kJpegFile, w, h), c.type) << c.bytes.size();
  }
  EXPECT_EQ(ProbeFileAs(Path("missing.jpg"), kJpegFile, w, h), kCannotOpen);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(JpegTest, SizeProbeReadsTheFrameAndRejectsDamagedHeadersQuietly) {
  WriteBytes(Path("s.jpg"), MakeJpeg({.width = 321, .height = 123}));
  uint32_t w = 0, h = 0;
  EXPECT_EQ(ProbeJpegSizeOf(Path("s.jpg"), w, h), kJpegFile);
  EXPECT_EQ(w, 321u);
  EXPECT_EQ(h, 123u);
  EXPECT_EQ(ProbeFileTypeAndSize(Path("s.jpg"), w, h), kJpegFile);

  WriteBytes(Path("bad.jpg"), {0xFF, 0xD8, 0x00, 0x01, 0x02});
  EXPECT_EQ(ProbeJpegSizeOf(Path("bad.jpg"), w, h), 0);
  EXPECT_TRUE(host.messages.empty());
}

// ---- Files made by another program ----

struct Made {
  MadeJpeg spec;
  int tolerance;
};
class JpegMadeFiles : public JpegTest, public ::testing::WithParamInterface<Made> {};

TEST_P(JpegMadeFiles, ReadAsTrueColourCloseToTheOriginal) {
  const Made& m = GetParam();
  WriteBytes(Path("m.jpg"), MakeJpeg(m.spec));
  DIBImage document;
  ASSERT_TRUE(ReadImageFile(document, Path("m.jpg"))) << host.LastMessage();
  EXPECT_EQ(document.fileType, kJpegFile);
  EXPECT_EQ(document.Width(), m.spec.width);
  EXPECT_EQ(document.Height(), m.spec.height);
  EXPECT_EQ(document.BitsPerPixel(), 24u);
  EXPECT_EQ(document.ColorCount(), 0u);
  EXPECT_LE(MaxPhotoError(document, m.spec.gray), m.tolerance);
  if (m.spec.gray) { EXPECT_TRUE(AllGray(document)); }
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(document.IsLocked());
}

INSTANTIATE_TEST_SUITE_P(Kinds, JpegMadeFiles,
                         ::testing::Values(Made{{.width = 64, .height = 48}, 24},
                                           Made{{.width = 1, .height = 1}, 24},
                                           Made{{.width = 17, .height = 9, .gray = true}, 12},
                                           Made{{.width = 100, .height = 75, .progressive = true}, 24},
                                           Made{{.width = 33, .height = 65, .gray = true, .progressive = true}, 12}));

// A P6 file as ImageMagick writes it: header, then red, green, blue bytes.
static bool ParsePpm(const Bytes& file, int& width, int& height, size_t& offset) {
  std::string head(file.begin(), file.begin() + std::min<size_t>(file.size(), 64));
  std::istringstream in(head);
  std::string magic;
  int maxval = 0;
  if (!(in >> magic >> width >> height >> maxval) || magic != "P6" || maxval != 255) return false;
  offset = size_t(in.tellg()) + 1;
  return file.size() >= offset + size_t(width) * size_t(height) * 3;
}

TEST_F(JpegTest, FilesFromImageMagickMatchItsOwnDecoding) {
  REQUIRE_TOOLS("convert");
  struct Case {
    const char* options;
  } cases[] = {{"-quality 85"}, {"-quality 70 -interlace JPEG"}, {"-colorspace Gray -quality 90"},
               {"-sampling-factor 2x2 -quality 60"}};
  for (const Case& c : cases) {
    std::string jpg = Path("im.jpg"), ppm = Path("im.ppm");
    ASSERT_TRUE(RunTool("convert -size 97x61 plasma:fractal -seed 3 " + std::string(c.options) + " " + jpg));
    ASSERT_TRUE(RunTool("convert " + jpg + " -depth 8 " + ppm));
    Bytes reference = ReadBytes(ppm);
    int width = 0, height = 0;
    size_t offset = 0;
    ASSERT_TRUE(ParsePpm(reference, width, height, offset)) << c.options;
    DIBImage document;
    ASSERT_TRUE(ReadImageFile(document, jpg)) << host.LastMessage();
    ASSERT_EQ(document.Width(), width);
    ASSERT_EQ(document.Height(), height);
    int worst = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const uint8_t* p = &reference[offset + (size_t(y) * size_t(width) + size_t(x)) * 3];
        uint32_t got = PixelRgb(document, x, y);
        worst = std::max({worst, std::abs(int(got >> 16 & 255) - p[0]), std::abs(int(got >> 8 & 255) - p[1]),
                          std::abs(int(got & 255) - p[2])});
      }
    EXPECT_LE(worst, 1) << c.options;
  }
  EXPECT_TRUE(host.messages.empty());
}

// ---- The decompression set ----

TEST_F(JpegTest, ScaleDenominatorDividesTheSizeRoundingUp) {
  WriteBytes(Path("big.jpg"), MakeJpeg({.width = 640, .height = 480}));
  WriteBytes(Path("odd.jpg"), MakeJpeg({.width = 641, .height = 481}));
  struct Case {
    int denominator, width, height, oddWidth, oddHeight;
  } cases[] = {{1, 640, 480, 641, 481}, {2, 320, 240, 321, 241}, {4, 160, 120, 161, 121}, {8, 80, 60, 81, 61},
               {3, 640, 480, 641, 481}};  // not one of the four: full size
  for (const Case& c : cases) {
    Options().SetJpegDenom(kJpegNormal, c.denominator);
    DIBImage a, b;
    ASSERT_TRUE(ReadImageFile(a, Path("big.jpg")));
    ASSERT_TRUE(ReadImageFile(b, Path("odd.jpg")));
    EXPECT_EQ(a.Width(), c.width);
    EXPECT_EQ(a.Height(), c.height);
    EXPECT_EQ(b.Width(), c.oddWidth);
    EXPECT_EQ(b.Height(), c.oddHeight);
  }
}

TEST_F(JpegTest, TheActiveSetDecidesAndThePreviewSetIsUsedWhenChosen) {
  WriteBytes(Path("big.jpg"), MakeJpeg({.width = 640, .height = 480}));
  Options().SetJpegDenom(kJpegPreview, 8);
  Options().SetLoadJpegGS(kJpegPreview, 1);
  DIBImage document;
  ASSERT_TRUE(ReadImageFile(document, Path("big.jpg")));
  EXPECT_EQ(document.Width(), 640);
  EXPECT_FALSE(AllGray(document));
  Options().SetJpegDecompressionSetup(kJpegPreview);
  ASSERT_TRUE(ReadImageFile(document, Path("big.jpg")));
  EXPECT_EQ(document.Width(), 80);
  EXPECT_TRUE(AllGray(document));
  EXPECT_EQ(document.BitsPerPixel(), 24u);
}

TEST_F(JpegTest, EveryDctMethodAndUpsamplingDecodesTheSamePicture) {
  WriteBytes(Path("m.jpg"), MakeJpeg({.width = 90, .height = 70, .quality = 95}));
  for (int dct : {0, 1, 2, 7})
    for (int fast : {0, 1}) {
      Options().SetJpegDCTType(kJpegNormal, dct);
      Options().SetJpegFastUp(kJpegNormal, fast);
      DIBImage document;
      ASSERT_TRUE(ReadImageFile(document, Path("m.jpg")));
      EXPECT_LE(MaxPhotoError(document), 30) << dct << " " << fast;
    }
  EXPECT_TRUE(host.messages.empty());
}

// ---- Quantizing while reading ----

TEST_F(JpegTest, QuantizedReadingGivesAPaletteOfTheWantedSize) {
  WriteBytes(Path("m.jpg"), MakeJpeg({.width = 120, .height = 80}));
  Options().SetNeedQuantizeRead(1);
  for (int colors : {2, 16, 100, 256, 1, 999})  // out of range: kept within 2..256
    for (int onePass : {0, 1})
      for (int dither : {0, 1})
        for (int fast : {0, 1}) {
          Options().SetNColorsCreatePal(colors);
          Options().SetJpegOption1Pass(kJpegNormal, onePass);
          Options().SetUseDithering(dither);
          Options().SetJpegOptionFastQuant(kJpegNormal, fast);
          DIBImage document;
          int wanted = std::clamp(colors, 2, 256);
          if (wanted < 8) {
            // Both quantizers of the library need at least two levels of each component.
            EXPECT_FALSE(ReadImageFile(document, Path("m.jpg")));
            EXPECT_EQ(host.LastMessage(), "Cannot quantize to fewer than 8 colors");
            host.messages.clear();
            continue;
          }
          ASSERT_TRUE(ReadImageFile(document, Path("m.jpg"))) << host.LastMessage();
          EXPECT_EQ(document.BitsPerPixel(), 8u);
          EXPECT_GE(document.ColorCount(), 2u);
          EXPECT_LE(document.ColorCount(), uint32_t(wanted));
          document.Lock();
          bool inTable = true;
          for (int y = 0; y < document.Height(); ++y)
            for (int x = 0; x < document.Width(); ++x) inTable &= document.RowPointer(y)[x] < document.ColorCount();
          document.Unlock();
          EXPECT_TRUE(inTable);
          if (colors == 256 && !onePass && !dither) { EXPECT_LE(MaxPhotoError(document), 40); }
        }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(JpegTest, TheSystemPaletteMapsOntoTheWindowsColours) {
  WriteBytes(Path("m.jpg"), MakeJpeg({.width = 50, .height = 40}));
  Options().SetNeedQuantizeRead(1);
  Options().SetUseSysPalette(1);
  DIBImage document;
  ASSERT_TRUE(ReadImageFile(document, Path("m.jpg")));
  ASSERT_EQ(document.ColorCount(), 16u);
  document.Lock();
  const RgbQuad* table = document.GetColors();
  // Blue, green, red as the colour table holds them: entry 9 is pure red.
  EXPECT_EQ(table[9].red, 255);
  EXPECT_EQ(table[9].blue, 0);
  EXPECT_EQ(table[12].blue, 255);
  EXPECT_EQ(table[12].red, 0);
  document.Unlock();
}

TEST_F(JpegTest, GreyFilesQuantizeToAGreyRampAndStayThreeEqualBytesOtherwise) {
  WriteBytes(Path("g.jpg"), MakeJpeg({.width = 40, .height = 30, .gray = true}));
  Options().SetNeedQuantizeRead(1);
  Options().SetNColorsCreatePal(16);
  for (int sys : {0, 1}) {
    Options().SetUseSysPalette(sys);
    DIBImage document;
    ASSERT_TRUE(ReadImageFile(document, Path("g.jpg"))) << host.LastMessage();
    ASSERT_EQ(document.BitsPerPixel(), 8u);
    ASSERT_GE(document.ColorCount(), 2u);
    document.Lock();
    const RgbQuad* table = document.GetColors();
    for (uint32_t i = 0; i < document.ColorCount(); ++i) {
      EXPECT_EQ(table[i].red, table[i].green);
      EXPECT_EQ(table[i].red, table[i].blue);
      if (i) { EXPECT_GT(table[i].red, table[i - 1].red); }
    }
    document.Unlock();
  }
  Options().SetNeedQuantizeRead(0);
  DIBImage document;
  ASSERT_TRUE(ReadImageFile(document, Path("g.jpg")));
  EXPECT_EQ(document.BitsPerPixel(), 24u);
  EXPECT_TRUE(AllGray(document));
}

// ---- Damaged files ----

TEST_F(JpegTest, TruncatedFileAsksAndKeepsThePartOnNo) {
  Bytes whole = MakeJpeg({.width = 200, .height = 160});
  WriteBytes(Path("t.jpg"), Bytes(whole.begin(), whole.begin() + long(whole.size() / 2)));
  host.answers = {MsgResult::No};
  DIBImage document;
  ASSERT_TRUE(ReadImageFile(document, Path("t.jpg")));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Premature end of JPEG file.\nAbort decompression?");
  EXPECT_EQ(host.messages[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(document.Width(), 200);
  EXPECT_EQ(document.Height(), 160);
  // The top rows were decoded from the data that is there.
  uint8_t rgb[3];
  PhotoPixel(5, 2, 200, 160, rgb);
  EXPECT_NEAR(int(PixelRgb(document, 5, 2) >> 16), rgb[0], 24);
  EXPECT_FALSE(document.IsLocked());
}

TEST_F(JpegTest, TruncatedFileAbortsQuietlyOnYes) {
  Bytes whole = MakeJpeg({.width = 200, .height = 160});
  WriteBytes(Path("t.jpg"), Bytes(whole.begin(), whole.begin() + long(whole.size() / 2)));
  host.answers = {MsgResult::Yes};
  DIBImage document;
  EXPECT_FALSE(ReadImageFile(document, Path("t.jpg")));
  EXPECT_EQ(host.messages.size(), 1u);  // the question, nothing after it
  EXPECT_FALSE(document.IsLocked());
  EXPECT_EQ(Transfer::OpenFiles(), 0);
}

TEST_F(JpegTest, CorruptFilesShowTheLibraryMessageOnce) {
  Bytes whole = MakeJpeg({.width = 30, .height = 20});
  struct Case {
    Bytes bytes;
    const char* message;
  } cases[] = {
      {{0xFF, 0xD8}, "Premature end of JPEG file.\nAbort decompression?"},
      {{0xFF, 0xD8, 0x12, 0x34, 0x56}, nullptr},
      {Bytes(whole.begin(), whole.begin() + 30), nullptr},
  };
  for (const Case& c : cases) {
    host.messages.clear();
    WriteBytes(Path("c.jpg"), c.bytes);
    DIBImage document;
    EXPECT_FALSE(ReadImageFile(document, Path("c.jpg")));
    ASSERT_GE(host.messages.size(), 1u);
    if (c.message) { EXPECT_EQ(host.messages[0].text, c.message); }
    EXPECT_LE(host.messages.size(), 2u);
    EXPECT_FALSE(document.IsLocked());
  }
}

// The file with its frame header saying width x height.
Bytes WithFrameSize(Bytes file, uint16_t width, uint16_t height) {
  for (size_t i = 2; i + 8 < file.size(); ++i)
    if (file[i] == 0xFF && (file[i + 1] == 0xC0 || file[i + 1] == 0xC2)) {
      file[i + 5] = uint8_t(height >> 8), file[i + 6] = uint8_t(height);
      file[i + 7] = uint8_t(width >> 8), file[i + 8] = uint8_t(width);
      break;
    }
  return file;
}

TEST_F(JpegTest, FramesLargerThanTheFileCanHoldAreRefusedBeforeAnyPixelMemory) {
  Bytes small = MakeJpeg({.width = 16, .height = 16, .gray = true});
  Bytes progressive = MakeJpeg({.width = 16, .height = 16, .progressive = true});
  // 8192 pixels a byte at most: one bit per block of 32 x 32 pixels.
  const uint16_t rows = uint16_t(small.size());
  struct Case {
    Bytes file;
    std::string message;  // empty: read, the missing data filled in after the question
  } cases[] = {
      {WithFrameSize(small, 65500, 65500), "Not enough memory !"},
      {WithFrameSize(small, 20000, 20000), "Premature end of JPEG file"},
      {WithFrameSize(progressive, 20000, 20000), "Premature end of JPEG file"},
      {WithFrameSize(small, 8192, uint16_t(rows + 1)), "Premature end of JPEG file"},
      {WithFrameSize(small, 8192, rows), ""},
  };
  for (const Case& c : cases) {
    host.messages.clear();
    host.answers = {MsgResult::No};
    WriteBytes(Path("h.jpg"), c.file);
    DIBImage document;
    EXPECT_EQ(ReadImageFile(document, Path("h.jpg")), c.message.empty());
    ASSERT_EQ(host.messages.size(), 1u);
    if (!c.message.empty()) { EXPECT_EQ(host.messages[0].text, c.message); }
    EXPECT_EQ(document.HasImage(), c.message.empty());
  }
}

TEST_F(JpegTest, ProgressiveFilesOfMoreThanAHundredScansAreRefused) {
  DIBImage document;
  WriteBytes(Path("s.jpg"), MakeJpeg({.width = 16, .height = 16, .gray = true, .scans = 100}));
  ASSERT_TRUE(ReadImageFile(document, Path("s.jpg"))) << host.LastMessage();
  EXPECT_EQ(document.Width(), 16);
  EXPECT_TRUE(host.messages.empty());
  WriteBytes(Path("s.jpg"), MakeJpeg({.width = 16, .height = 16, .gray = true, .scans = 101}));
  EXPECT_FALSE(ReadImageFile(document, Path("s.jpg")));
  EXPECT_EQ(host.LastMessage(), "Corrupt JPEG data: more than 100 scans");
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(ReadImagePreview(document, Path("s.jpg"), 8, 8), 2);
}

// ---- Progress and cancel ----

TEST_F(JpegTest, ProgressIsShownAndACancelStopsTheReadSilently) {
  WriteBytes(Path("big.jpg"), MakeJpeg({.width = 800, .height = 600}));
  SetProgressName(Path("Big.JPG"));
  DIBImage document;
  ASSERT_TRUE(ReadImageFile(document, Path("big.jpg")));
  ASSERT_FALSE(host.titles.empty());
  EXPECT_EQ(host.titles.front(), "starting decompression...");
  EXPECT_NE(std::find(host.titles.begin(), host.titles.end(), "finishing decompression..."), host.titles.end());
  EXPECT_NE(std::find_if(host.titles.begin(), host.titles.end(),
                         [](const std::string& t) { return t.rfind("big.jpg-", 0) == 0; }),
            host.titles.end());

  int pumps = 0;
  host.onPump = [&] {
    if (++pumps == 3) RequestCancel();
    return true;
  };
  DIBImage cancelled;
  SetMainDocument(&cancelled);
  EXPECT_FALSE(ReadImageFile(cancelled, Path("big.jpg")));
  EXPECT_GE(pumps, 3);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(cancelled.IsLocked());
  EXPECT_EQ(Transfer::OpenFiles(), 0);
  // The adapter is free again.
  host.onPump = nullptr;
  EXPECT_TRUE(ReadImageFile(cancelled, Path("big.jpg")));
}

TEST_F(JpegTest, TheTransferCleanUpDuringAReadStopsItAtTheNextPoll) {
  WriteBytes(Path("big.jpg"), MakeJpeg({.width = 800, .height = 600}));
  DIBImage document;
  SetMainDocument(&document);
  int pumps = 0;
  host.onPump = [&] {
    if (++pumps == 2) RunTransferCleanup();  // as closing the window during a read does
    return true;
  };
  EXPECT_FALSE(ReadImageFile(document, Path("big.jpg")));
  EXPECT_EQ(pumps, 2);
  EXPECT_TRUE(host.messages.empty());
}

// ---- Previews ----

TEST(JpegPreviewScale, DenominatorFollowsTheRatioToTheBox) {
  EXPECT_EQ(JpegPreviewDenominator(1600, 1200, 100, 100), 8);  // r = 16
  EXPECT_EQ(JpegPreviewDenominator(150, 150, 100, 100), 2);    // r = 1.5
  EXPECT_EQ(JpegPreviewDenominator(200, 100, 100, 100), 2);    // r exactly 2
  EXPECT_EQ(JpegPreviewDenominator(400, 100, 100, 100), 4);    // r exactly 4
  EXPECT_EQ(JpegPreviewDenominator(401, 100, 100, 100), 8);
  EXPECT_EQ(JpegPreviewDenominator(100, 100, 100, 100), 1);
  EXPECT_EQ(JpegPreviewDenominator(50, 201, 100, 100), 4);
}

TEST_F(JpegTest, PreviewsFitTheBoxAndNeverSpeak) {
  WriteBytes(Path("big.jpg"), MakeJpeg({.width = 1600, .height = 1200}));
  Options().SetImagePreviewGray(1);
  DIBImage document;
  EXPECT_EQ(ReadImagePreview(document, Path("big.jpg"), 100, 100), 0);
  EXPECT_EQ(document.decodedWidth, 1600);
  EXPECT_EQ(document.decodedHeight, 1200);
  EXPECT_LE(document.Width(), 100);
  EXPECT_LE(document.Height(), 100);
  EXPECT_TRUE(AllGray(document));

  Bytes whole = MakeJpeg({.width = 300, .height = 200});
  WriteBytes(Path("t.jpg"), Bytes(whole.begin(), whole.begin() + long(whole.size() / 2)));
  EXPECT_EQ(ReadImagePreview(document, Path("t.jpg"), 100, 100), 1);
  EXPECT_TRUE(document.HasImage());

  WriteBytes(Path("x.jpg"), {0xFF, 0xD8, 0xFF, 0x00, 0x00, 0x00});
  EXPECT_EQ(ReadImagePreviewAs(document, Path("x.jpg"), kJpegFile, 100, 100), 2);
  EXPECT_FALSE(document.HasImage());
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(host.titles.empty());
}

TEST_F(JpegTest, PreviewsOfSliversStillFitTheBox) {
  WriteBytes(Path("s.jpg"), MakeJpeg({.width = 4000, .height = 8}));
  DIBImage document;
  EXPECT_EQ(ReadImagePreview(document, Path("s.jpg"), 64, 48), 0);
  EXPECT_EQ(document.Width(), 64);
  EXPECT_EQ(document.Height(), 1);
}

TEST_F(JpegTest, PreviewsQuantizeWhenReadingDoes) {
  WriteBytes(Path("m.jpg"), MakeJpeg({.width = 64, .height = 64}));
  Options().SetNeedQuantizeRead(1);
  DIBImage document;
  EXPECT_EQ(ReadImagePreviewAs(document, Path("m.jpg"), kJpegFile, 100, 100), 0);
  EXPECT_EQ(document.BitsPerPixel(), 8u);
  EXPECT_LE(document.ColorCount(), 256u);
  EXPECT_EQ(document.Width(), 64);
}

}  // namespace quilla
