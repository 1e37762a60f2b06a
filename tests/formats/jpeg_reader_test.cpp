// The JPEG reader: files of libjpeg and ImageMagick, the decompression sets, quantizing while
// reading, damaged and hostile files, progress, cancel and previews.
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "color/windows16_palette.h"
#include "formats/byte_reader.h"
#include "formats/jpeg/jpeg_options.h"
#include "jpeg_test_support.h"

namespace quilla {
namespace {

// ---- Probes ----

TEST_F(JpegTest, ProbesAcceptTheStartOfImageMarkerAndReadTheFrameQuietly) {
  ExpectProbes(kJpegFile, {{{0xFF, 0xD8}, kJpegFile}, {{0xFF, 0xD8, 0xFF, 0xE0}, kJpegFile}, {{0xFF}, 0},
                           {{0xD8, 0xFF}, 0}, {{}, 0}, {{'B', 'M'}, 0}});

  // The library's header probe.
  uint32_t w = 0, h = 0;
  auto probeSize = [&](const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(std::fopen(path.c_str(), "rb"), std::fclose);
    EXPECT_TRUE(stream) << path;
    if (!stream) return int(kCannotOpen);
    ByteReader in(stream.get());
    return ProbeJpegSize(in, w, h);
  };
  WriteBytes(Path("s.jpg"), MakeJpeg({.width = 321, .height = 123}));
  EXPECT_EQ(probeSize(Path("s.jpg")), kJpegFile);
  EXPECT_EQ(std::pair(w, h), std::pair(321u, 123u));
  w = h = 0;
  EXPECT_EQ(ProbeFileTypeAndSize(Path("s.jpg"), w, h), kJpegFile);
  EXPECT_EQ(std::pair(w, h), std::pair(321u, 123u)) << "the size probe reads the frame header";
  WriteBytes(Path("bad.jpg"), {0xFF, 0xD8, 0x00, 0x01, 0x02});
  EXPECT_EQ(probeSize(Path("bad.jpg")), 0);
  EXPECT_EQ(ProbeFileTypeAndSize(Path("bad.jpg"), w, h), kUnknownFile) << "no header, no JPEG";
  EXPECT_TRUE(host.messages.empty());
}

// ---- Files made by other programs ----

struct Made {
  MadeJpeg spec;
  int tolerance;
};
class JpegMadeFiles : public FormatsTest, public ::testing::WithParamInterface<Made> {};

TEST_P(JpegMadeFiles, ReadAsTrueColourCloseToTheOriginal) {
  const Made& m = GetParam();
  WriteBytes(Path("m.jpg"), MakeJpeg(m.spec));
  DIBImage document;
  ASSERT_TRUE(ReadImageFile(document, Path("m.jpg"))) << host.LastMessage();
  EXPECT_EQ(document.fileType, kJpegFile);
  EXPECT_EQ(std::pair(document.Width(), document.Height()), std::pair(m.spec.width, m.spec.height));
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

TEST_F(JpegTest, FilesFromImageMagickMatchItsOwnDecoding) {
  REQUIRE_TOOLS("convert");
  const std::string jpg = Path("im.jpg"), ppm = Path("im.ppm");
  for (const char* options : {"-quality 85", "-quality 70 -interlace JPEG", "-colorspace Gray -quality 90",
                              "-sampling-factor 2x2 -quality 60"}) {
    SCOPED_TRACE(options);
    ASSERT_TRUE(RunTool("convert -size 97x61 plasma:fractal -seed 3 " + std::string(options) + " " + jpg));
    // Its decoding, as a P6 file read by this program's own codec.
    ASSERT_TRUE(RunTool("convert " + jpg + " -depth 8 " + ppm));
    DIBImage reference, document;
    ASSERT_TRUE(ReadImageFile(reference, ppm)) << host.LastMessage();
    ASSERT_TRUE(ReadImageFile(document, jpg)) << host.LastMessage();
    EXPECT_LE(MaxDifference(document, reference), 1);
  }
  EXPECT_TRUE(host.messages.empty());
}

// ---- The decompression set ----

TEST_F(JpegTest, TheActiveSetsDenominatorDividesTheSizeRoundingUp) {
  WriteBytes(Path("even.jpg"), MakeJpeg({.width = 640, .height = 480}));
  WriteBytes(Path("odd.jpg"), MakeJpeg({.width = 641, .height = 481}));
  // The Preview set, not in use until it is chosen.
  Options().SetJpegDenom(kJpegPreview, 8);
  Options().SetLoadJpegGS(kJpegPreview, 1);
  struct Case {
    int denominator, width, height;  // of the even file; the odd one is a pixel more
  } cases[] = {{1, 640, 480}, {2, 320, 240}, {4, 160, 120}, {8, 80, 60}, {3, 640, 480}};  // 3: full size
  DIBImage document;
  for (const Case& c : cases)
    for (int odd : {0, 1}) {
      SCOPED_TRACE(::testing::Message() << c.denominator << (odd ? " odd" : " even"));
      Options().SetJpegDenom(kJpegNormal, c.denominator);
      ASSERT_TRUE(ReadImageFile(document, Path(odd ? "odd.jpg" : "even.jpg")));
      EXPECT_EQ(std::pair(document.Width(), document.Height()), std::pair(c.width + odd, c.height + odd));
      EXPECT_FALSE(AllGray(document));
    }
  Options().SetJpegDecompressionSetup(kJpegPreview);
  ASSERT_TRUE(ReadImageFile(document, Path("even.jpg")));
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
          SCOPED_TRACE(::testing::Message() << colors << " colours, one pass " << onePass << ", dither " << dither
                                            << ", fast " << fast);
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
          ImageLock lock(document);
          for (int y = 0; y < document.Height(); ++y)
            for (int x = 0; x < document.Width(); ++x) ASSERT_LT(document.RowPointer(y)[x], document.ColorCount());
          if (colors == 256 && !onePass && !dither) { EXPECT_LE(MaxPhotoError(document), 40); }
        }
  EXPECT_TRUE(host.messages.empty());
}

// Unquantized, grey files stay three equal bytes (JpegMadeFiles).
TEST_F(JpegTest, TheSystemPaletteIsTheWindowsColoursAndGreyFilesQuantizeToAGreyRamp) {
  WriteBytes(Path("m.jpg"), MakeJpeg({.width = 50, .height = 40}));
  WriteBytes(Path("g.jpg"), MakeJpeg({.width = 40, .height = 30, .gray = true}));
  Options().SetNeedQuantizeRead(1);
  Options().SetNColorsCreatePal(16);
  for (int sys : {0, 1}) {
    SCOPED_TRACE(sys);
    Options().SetUseSysPalette(sys);
    DIBImage colour, grey;
    if (sys) {
      ASSERT_TRUE(ReadImageFile(colour, Path("m.jpg")));
      ASSERT_EQ(colour.ColorCount(), 16u);
      EXPECT_EQ(std::memcmp(colour.ColorTable().data(), Windows16Palette.data(), 16 * 4), 0);
    }
    ASSERT_TRUE(ReadImageFile(grey, Path("g.jpg"))) << host.LastMessage();
    ASSERT_EQ(grey.BitsPerPixel(), 8u);
    ASSERT_GE(grey.ColorCount(), 2u);
    const std::array<RgbQuad, 256> table = grey.ColorTable();
    for (uint32_t i = 0; i < grey.ColorCount(); ++i) {
      EXPECT_EQ(table[i].red, table[i].green);
      EXPECT_EQ(table[i].red, table[i].blue);
      if (i) { EXPECT_GT(table[i].red, table[i - 1].red); }
    }
  }
}

// ---- Damaged files ----

TEST_F(JpegTest, TruncatedFileAsksKeepingThePartOnNoAndAbortingQuietlyOnYes) {
  Bytes whole = MakeJpeg({.width = 200, .height = 160});
  WriteBytes(Path("t.jpg"), Bytes(whole.begin(), whole.begin() + long(whole.size() / 2)));
  for (MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
    const bool keep = answer == MsgResult::No;
    SCOPED_TRACE(keep ? "No" : "Yes");
    host.messages.clear();
    host.answers = {answer};
    DIBImage document;
    EXPECT_EQ(ReadImageFile(document, Path("t.jpg")) != 0, keep);
    ASSERT_EQ(host.messages.size(), 1u);  // the question, nothing after it
    EXPECT_EQ(host.messages[0].text, "Premature end of JPEG file.\nAbort decompression?");
    EXPECT_EQ(host.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_FALSE(document.IsLocked());
    EXPECT_EQ(Transfer::OpenFiles(), 0);
    if (!keep) continue;
    EXPECT_EQ(std::pair(document.Width(), document.Height()), std::pair(200, 160));
    // The top rows were decoded from the data that is there.
    uint8_t rgb[3];
    PhotoPixel(5, 2, 200, 160, false, rgb);
    EXPECT_NEAR(int(PixelRgb(document, 5, 2) >> 16), rgb[0], 24);
  }
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
    SCOPED_TRACE(c.bytes.size());
    host.messages.clear();
    DIBImage document;
    EXPECT_FALSE(ReadMade(document, c.bytes));
    ASSERT_GE(host.messages.size(), 1u);
    if (c.message) { EXPECT_EQ(host.messages[0].text, c.message); }
    EXPECT_LE(host.messages.size(), 2u);
    EXPECT_FALSE(document.IsLocked());
  }
}

TEST_F(JpegTest, FramesLargerThanTheFileCanHoldAreRefusedBeforeAnyPixelMemory) {
  // The file with its frame header saying width x height.
  auto withFrameSize = [](Bytes file, uint16_t width, uint16_t height) {
    if (size_t at = FrameAt(file)) {
      file[at + 5] = uint8_t(height >> 8), file[at + 6] = uint8_t(height);
      file[at + 7] = uint8_t(width >> 8), file[at + 8] = uint8_t(width);
    }
    return file;
  };
  Bytes small = MakeJpeg({.width = 16, .height = 16, .gray = true});
  Bytes progressive = MakeJpeg({.width = 16, .height = 16, .progressive = true});
  // 8192 pixels a byte at most: one bit per block of 32 x 32 pixels.
  const uint16_t rows = uint16_t(small.size());
  struct Case {
    Bytes file;
    std::string message;  // empty: read, the missing data filled in after the question
  } cases[] = {
      {withFrameSize(small, 65500, 65500), "Not enough memory !"},
      {withFrameSize(small, 20000, 20000), "Premature end of JPEG file"},
      {withFrameSize(progressive, 20000, 20000), "Premature end of JPEG file"},
      {withFrameSize(small, 8192, uint16_t(rows + 1)), "Premature end of JPEG file"},
      {withFrameSize(small, 8192, rows), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    host.messages.clear();
    host.answers = {MsgResult::No};
    DIBImage document;
    EXPECT_EQ(ReadMade(document, c.file), c.message.empty());
    ASSERT_EQ(host.messages.size(), 1u);
    if (!c.message.empty()) { EXPECT_EQ(host.messages[0].text, c.message); }
    EXPECT_EQ(document.HasImage(), c.message.empty());
  }
}

TEST_F(JpegTest, ProgressiveFilesOfMoreThanAHundredScansAreRefused) {
  DIBImage document;
  ASSERT_TRUE(ReadMade(document, MakeJpeg({.width = 16, .height = 16, .gray = true, .scans = 100})))
      << host.LastMessage();
  EXPECT_EQ(document.Width(), 16);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(ReadMade(document, MakeJpeg({.width = 16, .height = 16, .gray = true, .scans = 101})));
  EXPECT_EQ(host.LastMessage(), "Corrupt JPEG data: more than 100 scans");
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(ReadImagePreview(document, MadePath(), 8, 8), 2);
}

// ---- Progress and cancel ----

TEST_F(JpegTest, ProgressIsShownAndACancelOrTheCleanUpStopsTheReadSilently) {
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

  // A cancel, or the clean-up that closing the window runs, stops the read at that poll.
  for (auto [n, act] : {std::pair{3, &RequestCancel}, {2, &RunTransferCleanup}}) {
    SCOPED_TRACE(n);
    DIBImage stopped;
    ExpectCancelledRead(stopped, Path("big.jpg"), n, act);
    EXPECT_TRUE(ReadImageFile(stopped, Path("big.jpg")));  // the adapter is free again
  }
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

TEST_F(JpegTest, PreviewsFitTheBoxQuantizeWhenReadingDoesAndNeverSpeak) {
  WriteBytes(Path("big.jpg"), MakeJpeg({.width = 1600, .height = 1200}));
  Options().SetImagePreviewGray(1);
  DIBImage document;
  EXPECT_EQ(ReadImagePreview(document, Path("big.jpg"), 100, 100), 0);
  EXPECT_EQ(std::pair(document.decodedWidth, document.decodedHeight), std::pair(1600, 1200));
  EXPECT_LE(document.Width(), 100);
  EXPECT_LE(document.Height(), 100);
  EXPECT_TRUE(AllGray(document));

  WriteBytes(Path("sliver.jpg"), MakeJpeg({.width = 4000, .height = 8}));
  EXPECT_EQ(ReadImagePreview(document, Path("sliver.jpg"), 64, 48), 0);
  EXPECT_EQ(std::pair(document.Width(), document.Height()), std::pair(64, 1));

  Bytes whole = MakeJpeg({.width = 300, .height = 200});
  WriteBytes(Path("t.jpg"), Bytes(whole.begin(), whole.begin() + long(whole.size() / 2)));
  EXPECT_EQ(ReadImagePreview(document, Path("t.jpg"), 100, 100), 1);
  EXPECT_TRUE(document.HasImage());

  WriteBytes(Path("x.jpg"), {0xFF, 0xD8, 0xFF, 0x00, 0x00, 0x00});
  EXPECT_EQ(ReadImagePreviewAs(document, Path("x.jpg"), kJpegFile, 100, 100), 2);
  EXPECT_FALSE(document.HasImage());

  // Colour previews quantize when reading does.
  Options().SetImagePreviewGray(0);
  Options().SetNeedQuantizeRead(1);
  WriteBytes(Path("m.jpg"), MakeJpeg({.width = 64, .height = 64}));
  EXPECT_EQ(ReadImagePreviewAs(document, Path("m.jpg"), kJpegFile, 100, 100), 0);
  EXPECT_EQ(document.BitsPerPixel(), 8u);
  EXPECT_LE(document.ColorCount(), 256u);
  EXPECT_EQ(document.Width(), 64);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(host.titles.empty());
}

}  // namespace
}  // namespace quilla
