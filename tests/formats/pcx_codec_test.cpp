#include <algorithm>
#include <cstddef>
#include <cstring>

#include "formats/byte_reader.h"
#include "formats/codec_abort.h"
#include "formats/file_types.h"
#include "formats/image_files.h"
#include "formats/pcx/pcx_rle.h"
#include "formats/pcx_targa_support.h"

namespace quilla {

namespace {

struct PcxSpec {
  uint8_t manufacturer = 10, version = 5, bits = 8, planes = 1;
  uint16_t xmin = 0, ymin = 0, xmax = 3, ymax = 1;
  uint16_t bytesPerLine = 4;
  uint8_t headerPalette[48] = {};
};

// A PCX file: the header of spec, the encoded data as given, and an optional tail.
Bytes MakePcx(const PcxSpec& spec, const Bytes& data, const Bytes& tail = {}) {
  Bytes b(128 + data.size() + tail.size(), 0);
  b[0] = spec.manufacturer, b[1] = spec.version, b[2] = 1, b[3] = spec.bits;
  Put16(b, 4, spec.xmin), Put16(b, 6, spec.ymin), Put16(b, 8, spec.xmax), Put16(b, 10, spec.ymax);
  std::memcpy(b.data() + 16, spec.headerPalette, 48);
  b[65] = spec.planes;
  Put16(b, 66, spec.bytesPerLine);
  std::copy(data.begin(), data.end(), b.begin() + 128);
  std::copy(tail.begin(), tail.end(), b.begin() + 128 + std::ptrdiff_t(data.size()));
  return b;
}

// The 769-byte palette tail: marker 12, entry i = (red i, green 255 - i, blue 2 i).
Bytes TrailingPalette(uint8_t marker = 12) {
  Bytes t{marker};
  for (int i = 0; i < 256; ++i) t.insert(t.end(), {uint8_t(i), uint8_t(255 - i), uint8_t(2 * i)});
  return t;
}
uint32_t TrailingColor(uint32_t i) { return (i & 255) << 16 | (255 - i) << 8 | ((2 * i) & 255); }

Bytes Literal(size_t n, uint8_t value) { return Bytes(n, value); }

}  // namespace

class PcxTest : public SingleCodecTest {
 protected:
  PcxTest() : SingleCodecTest(kPcxFile, "made.pcx") {}
  int Index(DIBImage& document, int x, int y) {
    document.Lock();
    int value = document.RowPointer(y)[x];
    document.Unlock();
    return value;
  }
};

// ---- The run-length code ----

TEST(PcxRle, EncodesRunsSinglesAndHighBytes) {
  uint8_t out[256];
  const uint8_t single[] = {0xC5};
  ASSERT_EQ(pcx::EncodeLine(single, 1, out), 2u);
  EXPECT_EQ(out[0], 0xC1);
  EXPECT_EQ(out[1], 0xC5);

  const uint8_t mixed[] = {7, 7, 7, 0xBF, 0xC0, 9};
  ASSERT_EQ(pcx::EncodeLine(mixed, 6, out), 6u);
  const uint8_t expected[] = {0xC3, 7, 0xBF, 0xC1, 0xC0, 9};
  EXPECT_EQ(0, std::memcmp(out, expected, 6));
}

TEST(PcxRle, RunsStopAtSixtyThreeAndAtTheLineEnd) {
  uint8_t line[130], out[260];
  std::memset(line, 0x41, sizeof line);
  size_t n = pcx::EncodeLine(line, 130, out);
  // 63 + 63 + 4.
  ASSERT_EQ(n, 6u);
  EXPECT_EQ(out[0], 0xFF);
  EXPECT_EQ(out[2], 0xFF);
  EXPECT_EQ(out[4], 0xC4);
  EXPECT_EQ(pcx::EncodeLine(line, 64, out), 3u);  // a run of 63 and a lone byte
  EXPECT_EQ(out[2], 0x41);
}

TEST(PcxRle, WorstCaseFitsTwiceTheLine) {
  uint8_t line[100], out[200];
  for (int i = 0; i < 100; ++i) line[i] = uint8_t(0xC0 + (i & 1));
  EXPECT_EQ(pcx::EncodeLine(line, 100, out), 200u);
}

TEST_F(PcxTest, DecoderCarriesARunIntoTheNextLineAndSkipsEmptyRuns) {
  // 0xC5 'A' covers 3 bytes of line one and 2 of line two; 0xC0 'Z' is a run of nothing.
  std::string path = Made({1, 2, 0xC5, 'A', 0xC0, 'Z', 3, 4});
  std::FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  ByteReader in(f);
  pcx::LineDecoder decoder(in);
  uint8_t a[5], b[4];
  decoder.Decode(a, 5);
  EXPECT_EQ(decoder.PendingRun(), 2u);
  decoder.Decode(b, 4);
  std::fclose(f);
  EXPECT_EQ(0, std::memcmp(a, "\x01\x02" "AAA", 5));
  EXPECT_EQ(0, std::memcmp(b, "AA\x03\x04", 4));
  EXPECT_EQ(decoder.Consumed(), 8u);
}

TEST_F(PcxTest, DecoderFailsAsAShortReadAtTheEndOfTheFile) {
  std::string path = Made({1, 0xC3});
  std::FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  ByteReader in(f);
  pcx::LineDecoder decoder(in);
  uint8_t line[4];
  try {
    decoder.Decode(line, 4);
    ADD_FAILURE() << "no abort";
  } catch (const CodecAbort& abort) {
    EXPECT_EQ(abort.reason, AbortReason::ShortRead);
  }
  std::fclose(f);
}

// ---- Round trips at every depth the writer makes ----

struct PcxRoundTrip {
  int colors;
  uint8_t bits, planes;
};

class PcxRoundTripTest : public PcxTest, public ::testing::WithParamInterface<PcxRoundTrip> {};

TEST_P(PcxRoundTripTest, WritesTheLayoutAndReadsBackEveryPixel) {
  const PcxRoundTrip& p = GetParam();
  for (int width : {1, 2, 7, 8, 9, 33, 64}) {
    DIBImage original, back;
    MakeTestImage(original, width, 5, p.colors, width);
    original.fileType = kPcxFile;
    std::string path = Path("round.pcx");
    ASSERT_TRUE(WriteImageFile(original, path)) << host.LastMessage();
    Bytes file = ReadBytes(path);
    ASSERT_GE(file.size(), 128u);
    uint32_t bytesPerLine = (p.bits * uint32_t(width) + 15) / 16 * 2;
    EXPECT_EQ(file[0], 10);
    EXPECT_EQ(file[1], 5);
    EXPECT_EQ(file[2], 1);
    EXPECT_EQ(file[3], p.bits);
    EXPECT_EQ(file[65], p.planes);
    EXPECT_EQ(Get16(file, 66), bytesPerLine);
    EXPECT_EQ(Get16(file, 8), uint32_t(width - 1));
    EXPECT_EQ(Get16(file, 10), 4u);
    EXPECT_EQ(Get16(file, 12), 300u);
    EXPECT_EQ(Get16(file, 68), 1u);
    EXPECT_EQ(Get16(file, 70), 640u);
    EXPECT_EQ(Get16(file, 72), 480u);
    if (p.colors > 16) {
      ASSERT_GE(file.size(), 128u + 769u);
      EXPECT_EQ(file[file.size() - 769], 12);
      EXPECT_EQ(file[file.size() - 768 + 3], original.ColorTable()[1].red);
    }

    ASSERT_TRUE(ReadImageFile(back, path)) << host.LastMessage();
    EXPECT_EQ(back.fileType, kPcxFile);
    EXPECT_EQ(back.IsTrueColor(), p.colors == 0);
    EXPECT_TRUE(SamePixels(original, back)) << "width " << width;
  }
  EXPECT_TRUE(host.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Depths, PcxRoundTripTest,
                         ::testing::Values(PcxRoundTrip{0, 8, 3}, PcxRoundTrip{256, 8, 1}, PcxRoundTrip{17, 8, 1},
                                           PcxRoundTrip{16, 4, 1}, PcxRoundTrip{2, 4, 1},
                                           PcxRoundTrip{1, 4, 1}));

TEST_F(PcxTest, SmallPalettesGoToTheHeader) {
  DIBImage original;
  MakeTestImage(original, 33, 2, 5);
  original.fileType = kPcxFile;
  ASSERT_TRUE(WriteImageFile(original, Path("a.pcx")));
  Bytes file = ReadBytes(Path("a.pcx"));
  EXPECT_EQ(Get16(file, 66), 18u);  // 33 pixels at 4 bits: 17 bytes, made even
  auto table = original.ColorTable();
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(file[16 + 3 * i], table[size_t(i)].red);
    EXPECT_EQ(file[17 + 3 * i], table[size_t(i)].green);
    EXPECT_EQ(file[18 + 3 * i], table[size_t(i)].blue);
  }
  EXPECT_EQ(file[16 + 15], 0);
  // No trailing palette for 16 colours or fewer: the last byte is pixel data.
  EXPECT_LT(file.size(), 128u + 769u);
}

TEST_F(PcxTest, ALoneHighByteIsWrittenAsARunOfOne) {
  DIBImage original;
  ASSERT_TRUE(original.CreateImage(2, 1, false, nullptr, 256, 0));
  original.Lock();
  original.RowPointer(0)[0] = 0xC5;
  original.RowPointer(0)[1] = 0x01;
  original.Unlock();
  original.fileType = kPcxFile;
  ASSERT_TRUE(WriteImageFile(original, Path("a.pcx")));
  Bytes file = ReadBytes(Path("a.pcx"));
  ASSERT_EQ(file.size(), 128u + 3u + 769u);
  EXPECT_EQ(file[128], 0xC1);
  EXPECT_EQ(file[129], 0xC5);
  EXPECT_EQ(file[130], 0x01);
}

// ---- Reading the layouts ----

TEST_F(PcxTest, MonochromeIsBlackAndWhiteWhateverThePalettes) {
  PcxSpec spec{.bits = 1, .xmax = 9, .ymax = 0, .bytesPerLine = 2};
  std::memset(spec.headerPalette, 0x55, 48);
  DIBImage document;
  ASSERT_TRUE(ReadDirect(document, MakePcx(spec, {0xA5, 0x40}, TrailingPalette())));
  ASSERT_EQ(document.ColorCount(), 2u);
  const int expected[10] = {1, 0, 1, 0, 0, 1, 0, 1, 0, 1};
  for (int x = 0; x < 10; ++x) EXPECT_EQ(Index(document, x, 0), expected[x]) << x;
  EXPECT_EQ(PixelRgb(document, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(PixelRgb(document, 1, 0), 0u);
}

TEST_F(PcxTest, PackedSixteenColoursTakeTheHighNibbleFirstAndTheHeaderPalette) {
  PcxSpec spec{.version = 3, .bits = 4, .xmax = 2, .ymax = 0, .bytesPerLine = 2};
  for (int i = 0; i < 48; ++i) spec.headerPalette[i] = uint8_t(i * 5);
  DIBImage document;
  ASSERT_TRUE(ReadDirect(document, MakePcx(spec, {0x3A, 0xC1, 0xF0})));
  ASSERT_EQ(document.ColorCount(), 16u);
  EXPECT_EQ(Index(document, 0, 0), 3);
  EXPECT_EQ(Index(document, 1, 0), 10);
  EXPECT_EQ(Index(document, 2, 0), 15);
  EXPECT_EQ(PixelRgb(document, 0, 0), uint32_t(45 << 16 | 50 << 8 | 55));
}

TEST_F(PcxTest, FourPlanesGiveBitKFromPlaneK) {
  PcxSpec spec{.bits = 1, .planes = 4, .xmax = 8, .ymax = 0, .bytesPerLine = 2};
  // Pixel 0: planes 0 and 3; pixel 1: plane 1; pixel 8: plane 2.
  Bytes data{0x80, 0x00, 0x40, 0x00, 0x00, 0x80, 0x80, 0x00};
  DIBImage document;
  ASSERT_TRUE(ReadDirect(document, MakePcx(spec, data)));
  EXPECT_EQ(Index(document, 0, 0), 9);
  EXPECT_EQ(Index(document, 1, 0), 2);
  EXPECT_EQ(Index(document, 2, 0), 0);
  EXPECT_EQ(Index(document, 8, 0), 4);
}

TEST_F(PcxTest, SixteenColoursPreferTheTrailingPalette) {
  PcxSpec spec{.bits = 4, .xmax = 1, .ymax = 0, .bytesPerLine = 2};
  std::memset(spec.headerPalette, 0x11, 48);
  DIBImage document;
  ASSERT_TRUE(ReadDirect(document, MakePcx(spec, {0x27, 0x00}, TrailingPalette())));
  EXPECT_EQ(PixelRgb(document, 0, 0), TrailingColor(2));
  EXPECT_EQ(PixelRgb(document, 1, 0), TrailingColor(7));
}

TEST_F(PcxTest, TwoFiftySixColoursUseTheTrailingPaletteOrAGrayRamp) {
  PcxSpec spec{.xmax = 3, .ymax = 0, .bytesPerLine = 4};
  DIBImage withPalette, withoutMarker, oldVersion;
  ASSERT_TRUE(ReadDirect(withPalette, MakePcx(spec, {1, 2, 0xC1, 200, 0xC1, 255}, TrailingPalette())));
  EXPECT_EQ(withPalette.ColorCount(), 256u);
  EXPECT_EQ(PixelRgb(withPalette, 2, 0), TrailingColor(200));
  // Version 5 without the marker byte: gray.
  ASSERT_TRUE(ReadDirect(withoutMarker, MakePcx(spec, {1, 2, 0xC1, 200, 0xC1, 255}, TrailingPalette(13))));
  EXPECT_EQ(PixelRgb(withoutMarker, 2, 0), 0xC8C8C8u);
  EXPECT_EQ(PixelRgb(withoutMarker, 3, 0), 0xFFFFFFu);
  // Before version 5 the end of the file is not looked at.
  spec.version = 4;
  ASSERT_TRUE(ReadDirect(oldVersion, MakePcx(spec, {1, 2, 0xC1, 200, 0xC1, 255}, TrailingPalette())));
  EXPECT_EQ(PixelRgb(oldVersion, 2, 0), 0xC8C8C8u);
}

TEST_F(PcxTest, AMarkerInsideThePixelDataIsNotAPalette) {
  // 900 literal bytes; the one 769 from the end of the file is a 12, but a pixel.
  PcxSpec spec{.xmax = 29, .ymax = 29, .bytesPerLine = 30};
  Bytes data(900);
  for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i * 7 % 191);
  data[128 + 900 - 769 - 128] = 12;
  DIBImage document;
  ASSERT_TRUE(ReadDirect(document, MakePcx(spec, data)));
  EXPECT_EQ(PixelRgb(document, 0, 0), 0u);
  EXPECT_EQ(PixelRgb(document, 1, 0), 0x070707u);
}

TEST_F(PcxTest, TrueColourTakesRedGreenBlueFromPlanesZeroOneTwo) {
  PcxSpec spec{.planes = 3, .xmax = 1, .ymax = 1, .bytesPerLine = 2};
  Bytes data{10, 11, 20, 21, 30, 31, 40, 41, 50, 51, 60, 61};
  DIBImage document;
  ASSERT_TRUE(ReadDirect(document, MakePcx(spec, data)));
  ASSERT_TRUE(document.IsTrueColor());
  EXPECT_EQ(PixelRgb(document, 0, 0), uint32_t(10 << 16 | 20 << 8 | 30));
  EXPECT_EQ(PixelRgb(document, 1, 0), uint32_t(11 << 16 | 21 << 8 | 31));
  EXPECT_EQ(PixelRgb(document, 0, 1), uint32_t(40 << 16 | 50 << 8 | 60));  // second row is the lower one
}

TEST_F(PcxTest, ARunSpillingOverTheLineEndContinuesOnTheNextLine) {
  PcxSpec spec{.xmax = 3, .ymax = 1, .bytesPerLine = 4};
  DIBImage document;
  ASSERT_TRUE(ReadDirect(document, MakePcx(spec, {1, 2, 0xC4, 0x80, 9, 9})));
  EXPECT_EQ(Index(document, 2, 0), 0x80);
  EXPECT_EQ(Index(document, 3, 0), 0x80);
  EXPECT_EQ(Index(document, 0, 1), 0x80);
  EXPECT_EQ(Index(document, 1, 1), 0x80);
  EXPECT_EQ(Index(document, 2, 1), 9);
}

TEST_F(PcxTest, ARunPastTheLastLineIsDropped) {
  PcxSpec spec{.xmax = 1, .ymax = 0, .bytesPerLine = 2};
  DIBImage document;
  ASSERT_TRUE(ReadDirect(document, MakePcx(spec, {0xFF, 7})));
  EXPECT_EQ(Index(document, 1, 0), 7);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(PcxTest, AnOddFrameOriginGivesTheFrameSize) {
  PcxSpec spec{.xmin = 10, .ymin = 3, .xmax = 19, .ymax = 4, .bytesPerLine = 10};
  std::string path = Made(MakePcx(spec, Literal(20, 1)));
  uint32_t width = 0, height = 0;
  EXPECT_EQ(ProbeFileAs(path, kPcxFile, width, height), int(kPcxFile));
  EXPECT_EQ(width, 10u);
  EXPECT_EQ(height, 2u);
  DIBImage document;
  ASSERT_TRUE(ReadImageFile(document, path));
  EXPECT_EQ(document.Width(), 10);
  EXPECT_EQ(document.Height(), 2);
}

TEST_F(PcxTest, ExtraBytesPerLineAreSkipped) {
  PcxSpec spec{.xmax = 1, .ymax = 1, .bytesPerLine = 4};
  DIBImage document;
  ASSERT_TRUE(ReadDirect(document, MakePcx(spec, {1, 2, 99, 99, 3, 4, 99, 99})));
  EXPECT_EQ(Index(document, 0, 1), 3);
  EXPECT_EQ(Index(document, 1, 1), 4);
}

// ---- Probe ----

TEST_F(PcxTest, ProbeChecksMarkerVersionAndPlanes) {
  uint32_t width = 0, height = 0;
  auto probe = [&](const Bytes& bytes) { return Probe(bytes, width, height); };
  EXPECT_EQ(probe(MakePcx({}, Literal(8, 0))), int(kPcxFile));
  EXPECT_EQ(probe(MakePcx({.version = 6}, Literal(8, 0))), int(kPcxFile));
  EXPECT_EQ(probe(MakePcx({.version = 7}, Literal(8, 0))), 0);
  EXPECT_EQ(probe(MakePcx({.planes = 4}, Literal(8, 0))), int(kPcxFile));
  EXPECT_EQ(probe(MakePcx({.planes = 5}, Literal(8, 0))), 0);
  EXPECT_EQ(probe(MakePcx({.manufacturer = 11}, Literal(8, 0))), 0);
  EXPECT_EQ(probe(Bytes(127, 10)), 0);
  EXPECT_EQ(ProbeFileAs(Path("missing.pcx"), kPcxFile, width, height), int(kCannotOpen));
}

// ---- Refused files ----

TEST_F(PcxTest, UnsupportedLayoutsAndBrokenHeadersAreRefused) {
  const PcxSpec refused[] = {
      {.bits = 1, .planes = 2, .bytesPerLine = 1},  // four colours in two planes
      {.bits = 2, .planes = 1},                     // packed 2-bit
      {.bits = 8, .planes = 4},
      {.bits = 8, .planes = 0},                     // no planes
      {.xmin = 5, .xmax = 4},                       // inside-out frame
      {.ymin = 2, .ymax = 1},
      {.xmax = 9, .bytesPerLine = 4},               // a line too short for the width
      {.bytesPerLine = 0},
      {.version = 7},
      {.manufacturer = 9},
  };
  for (const PcxSpec& spec : refused) {
    DIBImage document;
    host.messages.clear();
    EXPECT_FALSE(ReadDirect(document, MakePcx(spec, Literal(64, 0))));
    EXPECT_EQ(host.LastMessage(), "Invalid or unsupported PCX file");
    EXPECT_FALSE(document.HasImage());
    EXPECT_EQ(Transfer::OpenFiles(), 0);
  }
}

TEST_F(PcxTest, ATruncatedFileKeepsTheRowsReadSoFar) {
  PcxSpec spec{.xmax = 3, .ymax = 3, .bytesPerLine = 4};
  DIBImage document;
  std::string path = Made(MakePcx(spec, {5, 5, 5, 5, 6, 6, 6}));
  EXPECT_FALSE(ReadImageFile(document, path));
  EXPECT_EQ(host.LastMessage(), "Unexpected EOF in PCX file");
  ASSERT_TRUE(document.HasImage());
  EXPECT_FALSE(document.IsLocked());
  EXPECT_EQ(Index(document, 0, 0), 5);
  EXPECT_EQ(Transfer::OpenFiles(), 0);
}

TEST_F(PcxTest, AFileFarTooShortForItsSizeFailsBeforeTakingMemory) {
  PcxSpec spec{.planes = 3, .xmax = 9999, .ymax = 9999, .bytesPerLine = 10000};
  DIBImage document;
  EXPECT_FALSE(ReadDirect(document, MakePcx(spec, Literal(100, 0xFF))));
  EXPECT_EQ(host.LastMessage(), "Unexpected EOF in PCX file");
  EXPECT_FALSE(document.HasImage());
}

TEST_F(PcxTest, AHeaderShorterThan128BytesIsAnEarlyEnd) {
  DIBImage document;
  Bytes file = MakePcx({}, {});
  file.resize(100);
  EXPECT_FALSE(ReadDirect(document, file));
  EXPECT_EQ(host.LastMessage(), "Unexpected EOF in PCX file");
}

TEST_F(PcxTest, ASizeBeyondTheLimitsIsOutOfMemory) {
  PcxSpec spec{.planes = 3, .xmax = 0xFFFF, .ymax = 0xFFFF, .bytesPerLine = 0xFFFF};
  // The width is one more than the line holds at 8 bits: refused as unsupported first.
  DIBImage refused;
  EXPECT_FALSE(ReadDirect(refused, MakePcx(spec, Literal(64, 0))));
  EXPECT_EQ(host.LastMessage(), "Invalid or unsupported PCX file");
  spec.xmax = 0xFFFE;
  DIBImage huge;
  EXPECT_FALSE(ReadDirect(huge, MakePcx(spec, Literal(64, 0))));
  EXPECT_EQ(host.LastMessage(), "Not enough memory !");
  EXPECT_FALSE(huge.HasImage());
}

// ---- Progress, cancel, preview ----

TEST_F(PcxTest, ProgressEverySixtyFourthRowAndCancelKeepsTheRows) {
  PcxSpec spec{.xmax = 1, .ymax = 129, .bytesPerLine = 2};
  std::string path = Made(MakePcx(spec, Literal(260, 3)));
  SetProgressName(Path("Scan.PCX"));
  DIBImage document;
  ASSERT_TRUE(ReadImageFile(document, path));
  EXPECT_EQ(host.titles, (std::vector<std::string>{"scan.pcx-00%", "scan.pcx-49%", "scan.pcx-98%"}));

  DIBImage cancelled;
  SetMainDocument(&cancelled);
  int pumps = 0;
  host.onPump = [&] {
    if (++pumps == 65) RequestCancel();  // on a row that reports progress
    return true;
  };
  EXPECT_FALSE(ReadImageFile(cancelled, path));
  EXPECT_EQ(pumps, 65);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(cancelled.HasImage());
  EXPECT_FALSE(cancelled.IsLocked());
  EXPECT_EQ(cancelled.ioState, 0u);
  EXPECT_EQ(Transfer::OpenFiles(), 0);
}

TEST_F(PcxTest, CancelledOrFailedWritesLeaveTheOldFile) {
  WriteBytes(Path("old.pcx"), {1, 2, 3});
  DIBImage original;
  MakeTestImage(original, 8, 200, 0);
  original.fileType = kPcxFile;
  SetMainDocument(&original);
  int pumps = 0;
  host.onPump = [&] {
    if (++pumps == 100) RequestCancel();
    return true;
  };
  EXPECT_FALSE(WriteImageFile(original, Path("old.pcx")));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(ReadBytes(Path("old.pcx")), (Bytes{1, 2, 3}));
  EXPECT_EQ(DirEntries().size(), 1u);
  EXPECT_FALSE(original.IsLocked());

}

TEST_F(PcxTest, PreviewIsQuietAndTellsWholePartlyAndNotRead) {
  PcxSpec spec{.xmax = 99, .ymax = 49, .bytesPerLine = 100};
  DIBImage document;
  EXPECT_EQ(ReadImagePreviewAs(document, Made(MakePcx(spec, Literal(5000, 7))), kPcxFile, 20, 20), 0);
  EXPECT_EQ(document.Width(), 20);
  EXPECT_EQ(document.Height(), 10);

  EXPECT_EQ(ReadImagePreviewAs(document, Made(MakePcx(spec, Literal(4000, 7))), kPcxFile, 20, 20), 1);
  EXPECT_EQ(document.Width(), 20);

  document.FreeImage();
  EXPECT_EQ(ReadImagePreviewAs(document, Made(Bytes(300, 0x42)), kPcxFile, 20, 20), 2);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(host.titles.empty());
}

TEST_F(PcxTest, TrueColourIsReducedWhenTheOptionsAskForIt) {
  ReadQuantizingScope scope(1, 0, 16, 0);
  DIBImage original, back;
  MakeTestImage(original, 40, 30, 0);
  original.fileType = kPcxFile;
  ASSERT_TRUE(WriteImageFile(original, Path("q.pcx")));
  ASSERT_TRUE(ReadImageFile(back, Path("q.pcx")));
  EXPECT_EQ(back.ColorCount(), 16u);
}

// ---- Other programs ----

TEST_F(PcxTest, ReadsFilesMadeByOtherPrograms) {
  REQUIRE_TOOLS("convert", "ppmtopcx", "pcxtoppm");
  WriteTestPixmap(Path("src.ppm"), 37, 21);
  int w = 0, h = 0;
  std::vector<uint32_t> expected = ReadPixmap(Path("src.ppm"), w, h);
  ASSERT_EQ(expected.size(), size_t(37 * 21));
  for (const std::string& command : {"convert " + Path("src.ppm") + " " + Path("im24.pcx"),
                                      "ppmtopcx -24bit " + Path("src.ppm") + " > " + Path("nb24.pcx")}) {
    ASSERT_TRUE(RunTool(command)) << command;
    std::string out = command.substr(command.rfind(' ') + 1);
    DIBImage document;
    ASSERT_TRUE(ReadImageFile(document, out)) << host.LastMessage();
    EXPECT_EQ(DocumentPixels(document), expected) << command;
  }
  // Palette files: compared with the other program's own decoding of them.
  for (const std::string& command :
       {"convert " + Path("src.ppm") + " -colors 200 " + Path("im8.pcx"),
        "convert " + Path("src.ppm") + " -colors 12 ppm:- | ppmtopcx -packed > " + Path("nb4.pcx"),
        "convert " + Path("src.ppm") + " -colors 14 ppm:- | ppmtopcx -planes 4 > " + Path("nbp.pcx"),
        "convert " + Path("src.ppm") + " -monochrome ppm:- | ppmtopcx -packed > " + Path("nb1.pcx")}) {
    ASSERT_TRUE(RunTool(command)) << command;
    std::string out = command.substr(command.rfind(' ') + 1);
    ASSERT_TRUE(RunTool("pcxtoppm " + out + " > " + Path("ref.ppm")));
    std::vector<uint32_t> reference = ReadPixmap(Path("ref.ppm"), w, h);
    DIBImage document;
    ASSERT_TRUE(ReadImageFile(document, out)) << host.LastMessage();
    EXPECT_FALSE(document.IsTrueColor());
    EXPECT_EQ(DocumentPixels(document), reference) << command;
  }
}

TEST_F(PcxTest, OtherProgramsReadWhatIsWritten) {
  REQUIRE_TOOLS("pcxtoppm");
  for (int colors : {0, 200, 16, 2}) {
    DIBImage original;
    MakeTestImage(original, 29, 11, colors);
    original.fileType = kPcxFile;
    ASSERT_TRUE(WriteImageFile(original, Path("ours.pcx")));
    ASSERT_TRUE(RunTool("pcxtoppm " + Path("ours.pcx") + " > " + Path("theirs.ppm")));
    int w = 0, h = 0;
    EXPECT_EQ(ReadPixmap(Path("theirs.ppm"), w, h), DocumentPixels(original)) << colors << " colours";
  }
}

}  // namespace quilla
