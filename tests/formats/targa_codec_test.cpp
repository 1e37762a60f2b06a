#include <cstdlib>
#include <cstring>

#include "formats/codec_abort.h"
#include "formats/file_types.h"
#include "formats/image_files.h"
#include "formats/targa/targa_header.h"
#include "formats/pcx_targa_support.h"

namespace quilla {

namespace {

struct TgaSpec {
  uint8_t idLength = 0, mapType = 0, type = 2;
  uint16_t firstIndex = 0, mapLength = 0;
  uint8_t entryBits = 0;
  uint16_t width = 2, height = 2;
  uint8_t pixelBits = 24, descriptor = 0;
};

// A Targa file: header, identification field of 'i's, a colour map whose entry i is
// (blue i, green 255 - i, red 3 i) in 3-byte entries, then the data as given.
Bytes MakeTga(const TgaSpec& spec, const Bytes& data) {
  Bytes b(18, 0);
  b[0] = spec.idLength, b[1] = spec.mapType, b[2] = spec.type;
  Put16(b, 3, spec.firstIndex), Put16(b, 5, spec.mapLength);
  b[7] = spec.entryBits;
  Put16(b, 12, spec.width), Put16(b, 14, spec.height);
  b[16] = spec.pixelBits, b[17] = spec.descriptor;
  b.insert(b.end(), spec.idLength, 'i');
  if (spec.mapType == 1)
    for (uint32_t i = 0; i < spec.mapLength; ++i) {
      uint32_t bytes = spec.entryBits == 24 ? 3 : (spec.entryBits + 7) / 8;
      const uint8_t entry[4] = {uint8_t(i), uint8_t(255 - i), uint8_t(3 * i), 0};
      b.insert(b.end(), entry, entry + bytes);
    }
  b.insert(b.end(), data.begin(), data.end());
  return b;
}
uint32_t MapColor(uint32_t i) { return uint32_t(uint8_t(3 * i)) << 16 | (255 - i) << 8 | i; }

// 24-bit pixel bytes (blue, green, red) of a w x h picture, as stored row after row.
Bytes TruePixels(int w, int h) {
  Bytes b;
  for (int i = 0; i < w * h; ++i) b.insert(b.end(), {uint8_t(i * 3), uint8_t(i * 5 + 1), uint8_t(200 - i)});
  return b;
}

}  // namespace

class TargaTest : public SingleCodecTest {
 protected:
  TargaTest() : SingleCodecTest(kTargaFile, "made.tga") {}
  std::string ReadFails(const TgaSpec& spec, const Bytes& data) {
    DIBImage document;
    host.messages.clear();
    EXPECT_FALSE(ReadDirect(document, MakeTga(spec, data)));
    EXPECT_FALSE(document.HasImage());
    EXPECT_EQ(Transfer::OpenFiles(), 0);
    return host.LastMessage();
  }
};

// ---- Header checks ----

TEST(TargaHeader, AcceptsTheKindsAndDepthsItReads) {
  auto parse = [](TgaSpec spec) { return targa::ParseHeader(MakeTga(spec, {}).data()); };
  EXPECT_TRUE(parse({.type = 2, .pixelBits = 16}));
  EXPECT_EQ(parse({.type = 2, .pixelBits = 15})->bytesPerPixel, 2);
  EXPECT_TRUE(parse({.type = 10, .pixelBits = 32}));
  EXPECT_TRUE(parse({.type = 3, .pixelBits = 8}));
  EXPECT_TRUE(parse({.type = 11, .pixelBits = 8}));
  EXPECT_TRUE(parse({.mapType = 1, .type = 1, .mapLength = 1, .entryBits = 24, .pixelBits = 8}));
  EXPECT_TRUE(parse({.mapType = 1, .type = 9, .mapLength = 256, .entryBits = 24, .pixelBits = 8})->runLength);
  EXPECT_TRUE(parse({.descriptor = 0x20})->topFirst);
}

TEST(TargaHeader, RejectsWhatItCannotRead) {
  auto parse = [](TgaSpec spec) { return targa::ParseHeader(MakeTga(spec, {}).data()).has_value(); };
  EXPECT_FALSE(parse({.mapType = 2}));
  EXPECT_FALSE(parse({.pixelBits = 0}));
  EXPECT_FALSE(parse({.pixelBits = 40}));
  EXPECT_FALSE(parse({.pixelBits = 12}));
  EXPECT_FALSE(parse({.descriptor = 0x40}));
  EXPECT_FALSE(parse({.descriptor = 0x80}));
  EXPECT_FALSE(parse({.type = 2, .pixelBits = 8}));
  EXPECT_FALSE(parse({.type = 3, .pixelBits = 16}));
  EXPECT_FALSE(parse({.type = 1, .pixelBits = 8}));  // no colour map
  EXPECT_FALSE(parse({.mapType = 1, .type = 1, .mapLength = 4, .entryBits = 24, .pixelBits = 16}));
  EXPECT_FALSE(parse({.mapType = 1, .type = 1, .mapLength = 0, .entryBits = 24, .pixelBits = 8}));
  EXPECT_FALSE(parse({.type = 0}));
  EXPECT_FALSE(parse({.type = 4}));
  EXPECT_FALSE(parse({.type = 8}));
  EXPECT_FALSE(parse({.type = 12}));
}

TEST_F(TargaTest, ProbeAnswersTheTypeAndTheSize) {
  uint32_t width = 0, height = 0;
  EXPECT_EQ(Probe(MakeTga({.width = 300, .height = 7}, {}), width, height), int(kTargaFile));
  EXPECT_EQ(width, 300u);
  EXPECT_EQ(height, 7u);
  EXPECT_EQ(Probe(Bytes(17, 0), width, height), 0);
  EXPECT_EQ(Probe(MakeTga({.descriptor = 0xC0}, {}), width, height), 0);
  EXPECT_EQ(ProbeFileAs(Path("missing.tga"), kTargaFile, width, height), int(kCannotOpen));
}

// ---- Round trips ----

TEST_F(TargaTest, PaletteAndTrueColourImagesRoundTrip) {
  for (int colors : {0, 1, 2, 100, 256}) {
    for (int width : {1, 3, 33}) {
      DIBImage original, back;
      MakeTestImage(original, width, 4, colors, width);
      original.fileType = kTargaFile;
      std::string path = Path("round.tga");
      ASSERT_TRUE(WriteImageFile(original, path)) << host.LastMessage();
      Bytes file = ReadBytes(path);
      ASSERT_GE(file.size(), 18u);
      EXPECT_EQ(file[0], 0);
      EXPECT_EQ(file[1], colors ? 1 : 0);
      EXPECT_EQ(file[2], colors ? 1 : 2);
      EXPECT_EQ(Get16(file, 5), uint32_t(colors));
      EXPECT_EQ(file[7], colors ? 24 : 0);
      EXPECT_EQ(Get16(file, 12), uint32_t(width));
      EXPECT_EQ(Get16(file, 14), 4u);
      EXPECT_EQ(file[16], colors ? 8 : 24);
      EXPECT_EQ(file[17], 0x20);
      EXPECT_EQ(file.size(), 18u + 3u * uint32_t(colors) + uint32_t(width) * 4u * (colors ? 1u : 3u));

      ASSERT_TRUE(ReadImageFile(back, path)) << host.LastMessage();
      EXPECT_EQ(back.fileType, kTargaFile);
      EXPECT_EQ(back.ColorCount(), uint32_t(colors));
      EXPECT_TRUE(SamePixels(original, back)) << colors << " colours, width " << width;
    }
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(TargaTest, TheColourMapIsWrittenBlueGreenRed) {
  DIBImage original;
  MakeTestImage(original, 2, 1, 100);
  original.fileType = kTargaFile;
  ASSERT_TRUE(WriteImageFile(original, Path("a.tga")));
  Bytes file = ReadBytes(Path("a.tga"));
  auto table = original.ColorTable();
  EXPECT_EQ(file[18 + 3 * 99], table[99].blue);
  EXPECT_EQ(file[19 + 3 * 99], table[99].green);
  EXPECT_EQ(file[20 + 3 * 99], table[99].red);
}

// ---- Reading ----

TEST_F(TargaTest, BottomFirstAndTopFirstShowTheSamePicture) {
  Bytes pixels = TruePixels(3, 2);
  Bytes flipped(pixels.begin() + 9, pixels.end());
  flipped.insert(flipped.end(), pixels.begin(), pixels.begin() + 9);
  DIBImage top, bottom;
  ASSERT_TRUE(ReadDirect(top, MakeTga({.width = 3, .height = 2, .descriptor = 0x20}, pixels)));
  ASSERT_TRUE(ReadDirect(bottom, MakeTga({.width = 3, .height = 2, .descriptor = 0x00}, flipped)));
  EXPECT_TRUE(SamePixels(top, bottom));
  EXPECT_EQ(PixelRgb(top, 0, 0), uint32_t(200 << 16 | 1 << 8 | 0));
}

TEST_F(TargaTest, RunLengthPacketsAcrossRowEndsReadLikeTheRawTwin) {
  // 4 x 3 pixels: a run of 6 covering row one and half of row two, then 6 literals.
  Bytes raw, rle{0x85, 1, 2, 3, 0x05};
  for (int i = 0; i < 6; ++i) raw.insert(raw.end(), {1, 2, 3});
  for (int i = 0; i < 6; ++i) {
    Bytes p{uint8_t(10 + i), uint8_t(20 + i), uint8_t(30 + i)};
    raw.insert(raw.end(), p.begin(), p.end());
    rle.insert(rle.end(), p.begin(), p.end());
  }
  DIBImage a, b;
  ASSERT_TRUE(ReadDirect(a, MakeTga({.type = 2, .width = 4, .height = 3}, raw)));
  ASSERT_TRUE(ReadDirect(b, MakeTga({.type = 10, .width = 4, .height = 3}, rle)));
  EXPECT_TRUE(SamePixels(a, b));
  EXPECT_EQ(PixelRgb(b, 1, 1), 0x030201u);  // bottom row first: row two is y = 1
  EXPECT_EQ(PixelRgb(b, 2, 1), uint32_t(30 << 16 | 20 << 8 | 10));
}

TEST_F(TargaTest, SixteenBitPixelsScaleFiveBitsTo255) {
  // 0x7FFF white; red 3, green 1, blue 31; the top bit is ignored.
  Bytes data{0xFF, 0x7F, 0x3F, 0x8C};
  DIBImage document;
  ASSERT_TRUE(ReadDirect(document, MakeTga({.width = 2, .height = 1, .pixelBits = 16}, data)));
  EXPECT_EQ(PixelRgb(document, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(PixelRgb(document, 1, 0), uint32_t(24 << 16 | 8 << 8 | 255));
  DIBImage fifteen;
  ASSERT_TRUE(ReadDirect(fifteen, MakeTga({.width = 2, .height = 1, .pixelBits = 15}, data)));
  EXPECT_TRUE(SamePixels(document, fifteen));
}

TEST_F(TargaTest, ThirtyTwoBitPixelsIgnoreTheFourthByte) {
  DIBImage document;
  ASSERT_TRUE(ReadDirect(document, MakeTga({.width = 2, .height = 1, .pixelBits = 32}, {1, 2, 3, 99, 4, 5, 6, 0})));
  EXPECT_EQ(PixelRgb(document, 0, 0), 0x030201u);
  EXPECT_EQ(PixelRgb(document, 1, 0), 0x060504u);
  DIBImage rle;
  ASSERT_TRUE(ReadDirect(rle, MakeTga({.type = 10, .width = 3, .height = 1, .pixelBits = 32}, {0x82, 7, 8, 9, 1})));
  EXPECT_EQ(PixelRgb(rle, 2, 0), 0x090807u);
}

TEST_F(TargaTest, GrayBytesBecomeEqualBlueGreenRed) {
  DIBImage document;
  ASSERT_TRUE(ReadDirect(document, MakeTga({.type = 3, .width = 2, .height = 1, .pixelBits = 8}, {0x40, 0xF0})));
  EXPECT_TRUE(document.IsTrueColor());
  EXPECT_EQ(PixelRgb(document, 0, 0), 0x404040u);
  DIBImage rle;
  ASSERT_TRUE(ReadDirect(rle, MakeTga({.type = 11, .width = 5, .height = 1, .pixelBits = 8}, {0x01, 1, 2, 0x82, 9})));
  EXPECT_EQ(PixelRgb(rle, 1, 0), 0x020202u);
  EXPECT_EQ(PixelRgb(rle, 4, 0), 0x090909u);
}

TEST_F(TargaTest, ColourMappedFilesKeepTheirIndicesAndMap) {
  TgaSpec spec{.idLength = 5, .mapType = 1, .type = 1, .mapLength = 7, .entryBits = 24, .width = 3, .height = 1,
               .pixelBits = 8};
  DIBImage document;
  ASSERT_TRUE(ReadDirect(document, MakeTga(spec, {0, 6, 3})));
  EXPECT_EQ(document.ColorCount(), 7u);
  EXPECT_EQ(PixelRgb(document, 1, 0), MapColor(6));
  spec.type = 9;
  DIBImage rle;
  ASSERT_TRUE(ReadDirect(rle, MakeTga(spec, {0x00, 0, 0x81, 6})));
  EXPECT_EQ(PixelRgb(rle, 2, 0), MapColor(6));
}

TEST_F(TargaTest, AColourMapOnATrueColourFileIsSkipped) {
  TgaSpec spec{.mapType = 1, .type = 2, .mapLength = 4, .entryBits = 24, .width = 1, .height = 1};
  DIBImage document;
  ASSERT_TRUE(ReadDirect(document, MakeTga(spec, {1, 2, 3})));
  EXPECT_EQ(PixelRgb(document, 0, 0), 0x030201u);
}

// ---- Refused files ----

TEST_F(TargaTest, RefusedFilesGiveTheirMessagesAndLeaveNoImage) {
  EXPECT_EQ(ReadFails({.mapType = 1, .type = 1, .mapLength = 4, .entryBits = 16, .pixelBits = 8}, Bytes(4, 0)),
            "Unsupported Targa colormap format");
  EXPECT_EQ(ReadFails({.mapType = 1, .type = 1, .mapLength = 300, .entryBits = 24, .pixelBits = 8}, Bytes(4, 0)),
            "Colormap too large");
  EXPECT_EQ(ReadFails({.mapType = 1, .type = 1, .firstIndex = 1, .mapLength = 4, .entryBits = 24, .pixelBits = 8},
                      Bytes(4, 0)),
            "Colormap too large");
  EXPECT_EQ(ReadFails({.descriptor = 0x40}, TruePixels(2, 2)), "Invalid or unsupported Targa file");
  EXPECT_EQ(ReadFails({.type = 1, .pixelBits = 8}, Bytes(4, 0)), "Invalid or unsupported Targa file");
  EXPECT_EQ(ReadFails({.width = 0, .height = 5}, {}), "Invalid or unsupported Targa file");
  EXPECT_EQ(ReadFails({.width = 5, .height = 0}, {}), "Invalid or unsupported Targa file");
  // An index past the colour map has no colour.
  EXPECT_EQ(ReadFails({.mapType = 1, .type = 1, .mapLength = 4, .entryBits = 24, .width = 2, .height = 1,
                       .pixelBits = 8},
                      {3, 4}),
            "Invalid or unsupported Targa file");
  EXPECT_EQ(ReadFails({.mapType = 1, .type = 9, .mapLength = 4, .entryBits = 24, .width = 2, .height = 1,
                       .pixelBits = 8},
                      {0x81, 200}),
            "Invalid or unsupported Targa file");
}

TEST_F(TargaTest, ShortFilesGiveTheirMessagesAndLeaveNoImage) {
  auto cutFails = [&](Bytes bytes, size_t keep) {
    bytes.resize(keep);
    DIBImage document;
    host.messages.clear();
    EXPECT_FALSE(ReadDirect(document, bytes));
    EXPECT_FALSE(document.HasImage());
    return host.LastMessage();
  };
  EXPECT_EQ(cutFails(MakeTga({}, TruePixels(2, 2)), 10), "Unexpected end of file");
  EXPECT_EQ(cutFails(MakeTga({.idLength = 200}, TruePixels(2, 2)), 50), "Premature EOF in Targa file");
  EXPECT_EQ(cutFails(MakeTga({.mapType = 1, .type = 1, .mapLength = 40, .entryBits = 24, .pixelBits = 8}, {1, 2, 3, 4}),
                     60),
            "Premature EOF in Targa file");
  EXPECT_EQ(ReadFails({}, {}), "Premature EOF in Targa file");
  EXPECT_EQ(ReadFails({.width = 3, .height = 3}, TruePixels(3, 2)), "Premature EOF in Targa file");
  // Bytes enough for the fewest packets 400 pixels need, but a literal packet cut short.
  Bytes packets{0xFF, 1, 2, 3, 0xFF, 1, 2, 3, 0xFF, 1, 2, 3, 0x7F};
  packets.resize(packets.size() + 9, 7);
  EXPECT_EQ(ReadFails({.type = 10, .width = 200, .height = 2}, packets), "Premature EOF in Targa file");
  // Far too few bytes: refused before any memory is taken.
  EXPECT_EQ(ReadFails({.type = 10, .width = 8000, .height = 8000}, Bytes(100, 0xFF)), "Premature EOF in Targa file");
}

TEST_F(TargaTest, AHugeSizeIsOutOfMemory) {
  EXPECT_EQ(ReadFails({.width = 65535, .height = 65535}, {}), "Not enough memory !");
}

// ---- Reduction while reading ----

TEST_F(TargaTest, TrueColourIsReducedInTwoPassesWithProgressOverBoth) {
  ReadQuantizingScope scope(1, 0, 8, 0);
  DIBImage document;
  std::string path = Made(MakeTga({.width = 8, .height = 4}, TruePixels(8, 4)));
  SetProgressName(path);
  ASSERT_TRUE(ReadImageFile(document, path));
  EXPECT_EQ(document.ColorCount(), 8u);
  EXPECT_EQ(host.titles, (std::vector<std::string>{"made.tga-00%", "made.tga-12%", "made.tga-25%", "made.tga-37%",
                                                   "made.tga-50%", "made.tga-62%", "made.tga-75%", "made.tga-87%"}));
  // The colours chosen come from the picture: every pixel stays near its own colour.
  for (int i = 0; i < 32; ++i) {
    uint32_t rgb = PixelRgb(document, i % 8, 3 - i / 8);  // stored bottom row first
    int red = int(rgb >> 16), green = int(rgb >> 8 & 255), blue = int(rgb & 255);
    EXPECT_LE(std::abs(red - (200 - i)), 24) << i;
    EXPECT_LE(std::abs(green - (i * 5 + 1)), 24) << i;
    EXPECT_LE(std::abs(blue - i * 3), 24) << i;
  }
}

TEST_F(TargaTest, SystemPaletteReductionMapsOntoTheSixteenColours) {
  ReadQuantizingScope scope(1, 1, 256, 1);
  DIBImage truth, mapped;
  ASSERT_TRUE(ReadDirect(truth, MakeTga({.width = 8, .height = 4}, TruePixels(8, 4))));
  EXPECT_EQ(truth.ColorCount(), 16u);
  EXPECT_EQ(truth.ColorTable()[9].red, 255);  // the Windows bright red
  TgaSpec spec{.mapType = 1, .type = 1, .mapLength = 7, .entryBits = 24, .width = 3, .height = 1, .pixelBits = 8};
  ASSERT_TRUE(ReadDirect(mapped, MakeTga(spec, {0, 6, 3})));
  EXPECT_EQ(mapped.ColorCount(), 16u);
}

TEST_F(TargaTest, ColourMappedFilesAreNotReducedWithoutTheSystemPalette) {
  ReadQuantizingScope scope(1, 0, 4, 0);
  TgaSpec spec{.mapType = 1, .type = 1, .mapLength = 7, .entryBits = 24, .width = 3, .height = 1, .pixelBits = 8};
  DIBImage document;
  ASSERT_TRUE(ReadDirect(document, MakeTga(spec, {0, 6, 3})));
  EXPECT_EQ(document.ColorCount(), 7u);
  EXPECT_EQ(PixelRgb(document, 1, 0), MapColor(6));
}

// ---- Progress, cancel, preview ----

TEST_F(TargaTest, CancelledReadLeavesNoImage) {
  std::string path = Made(MakeTga({.width = 4, .height = 50}, TruePixels(4, 50)));
  DIBImage document;
  SetMainDocument(&document);
  int pumps = 0;
  host.onPump = [&] {
    if (++pumps == 20) RequestCancel();
    return true;
  };
  EXPECT_FALSE(ReadImageFile(document, path));
  EXPECT_EQ(pumps, 20);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(document.HasImage());
  EXPECT_EQ(Transfer::OpenFiles(), 0);
  EXPECT_EQ(document.ioState, 0u);
}

TEST_F(TargaTest, CancelledOrFailedWritesLeaveTheOldFile) {
  WriteBytes(Path("old.tga"), {4, 5, 6});
  DIBImage original;
  MakeTestImage(original, 5, 40, 30);
  original.fileType = kTargaFile;
  SetMainDocument(&original);
  int pumps = 0;
  host.onPump = [&] {
    if (++pumps == 10) RequestCancel();
    return true;
  };
  EXPECT_FALSE(WriteImageFile(original, Path("old.tga")));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(original.IsLocked());
  EXPECT_EQ(ReadBytes(Path("old.tga")), (Bytes{4, 5, 6}));
  EXPECT_EQ(DirEntries().size(), 1u);

}

TEST_F(TargaTest, WritingReportsProgressBeforeEveryRow) {
  DIBImage original;
  MakeTestImage(original, 3, 4, 0);
  original.fileType = kTargaFile;
  SetProgressName(Path("Out.TGA"));
  ASSERT_TRUE(WriteImageFile(original, Path("out.tga")));
  EXPECT_EQ(host.titles, (std::vector<std::string>{"out.tga-00%", "out.tga-25%", "out.tga-50%", "out.tga-75%"}));
}

TEST_F(TargaTest, PreviewIsQuietAndAnswersReadOrNotRead) {
  DIBImage document;
  EXPECT_EQ(ReadImagePreviewAs(document, Made(MakeTga({.width = 40, .height = 20}, TruePixels(40, 20))), kTargaFile,
                               10, 10),
            0);
  EXPECT_EQ(document.Width(), 10);
  EXPECT_EQ(document.Height(), 5);
  EXPECT_EQ(ReadImagePreviewAs(document, Made(MakeTga({.width = 40, .height = 20}, TruePixels(40, 19))), kTargaFile,
                               10, 10),
            2);
  EXPECT_FALSE(document.HasImage());
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(host.titles.empty());
}

// ---- Other programs ----

// The reference is netpbm's decoding: ImageMagick's own reader takes its files' rows in
// the opposite order from the one their descriptor states.
TEST_F(TargaTest, ReadsFilesMadeByOtherPrograms) {
  REQUIRE_TOOLS("tgatoppm", "ppmtotga", "convert");
  WriteTestPixmap(Path("src.ppm"), 37, 21);
  const std::string src = Path("src.ppm");
  const std::string commands[] = {
      "convert " + src + " " + Path("im.tga"),
      "convert " + src + " -compress RLE " + Path("imrle.tga"),
      "convert " + src + " -colors 100 -type Palette " + Path("impal.tga"),
      "convert " + src + " -colorspace Gray " + Path("imgray.tga"),
      "convert " + src + " -flip -orient TopLeft " + Path("imtop.tga"),
      "ppmtotga -rgb " + src + " > " + Path("nbrle.tga"),
      "ppmtotga -rgb -norle " + src + " > " + Path("nbraw.tga"),
      "convert " + src + " -colors 50 ppm:- | ppmtotga -cmap > " + Path("nbcmap.tga"),
  };
  for (const std::string& command : commands) {
    ASSERT_TRUE(RunTool(command)) << command;
    std::string out = command.substr(command.rfind(' ') + 1);
    ASSERT_TRUE(RunTool("tgatoppm " + out + " > " + Path("ref.ppm"))) << command;
    int w = 0, h = 0;
    std::vector<uint32_t> reference = ReadPixmap(Path("ref.ppm"), w, h);
    DIBImage document;
    ASSERT_TRUE(ReadImageFile(document, out)) << command << ": " << host.LastMessage();
    EXPECT_EQ(document.fileType, kTargaFile);
    EXPECT_EQ(DocumentPixels(document), reference) << command;
  }
}

TEST_F(TargaTest, OtherProgramsReadWhatIsWritten) {
  REQUIRE_TOOLS("tgatoppm");
  for (int colors : {0, 100}) {
    DIBImage original;
    MakeTestImage(original, 29, 11, colors);
    original.fileType = kTargaFile;
    ASSERT_TRUE(WriteImageFile(original, Path("ours.tga")));
    ASSERT_TRUE(RunTool("tgatoppm " + Path("ours.tga") + " > " + Path("theirs.ppm")));
    int w = 0, h = 0;
    EXPECT_EQ(ReadPixmap(Path("theirs.ppm"), w, h), DocumentPixels(original)) << colors << " colours";
  }
}

}  // namespace quilla
