#include "formats/targa/targa_header.h"
#include "formats/formats_test_support.h"

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

// 3 x 1 pixels of 8 bits over a map of 7 entries past an identification field, for {0, 6, 3}.
constexpr TgaSpec kMapped{.idLength = 5, .mapType = 1, .type = 1, .mapLength = 7, .entryBits = 24, .width = 3,
                          .height = 1, .pixelBits = 8};

}  // namespace

class TargaTest : public MadeFileTest {
 protected:
  TargaTest() : MadeFileTest(kTargaFile, "made.tga") {}
};

// What the header accepts, the reading of each kind shows.
TEST(TargaHeader, RefusesWhatTheReaderCannotRead) {
  const TgaSpec refused[] = {
      {.mapType = 2}, {.pixelBits = 0}, {.pixelBits = 40}, {.pixelBits = 12}, {.descriptor = 0x40},
      {.descriptor = 0x80}, {.type = 2, .pixelBits = 8}, {.type = 3, .pixelBits = 16},
      {.type = 1, .pixelBits = 8},  // no colour map
      {.mapType = 1, .type = 1, .mapLength = 4, .entryBits = 24, .pixelBits = 16},
      {.mapType = 1, .type = 1, .mapLength = 0, .entryBits = 24, .pixelBits = 8},
      {.type = 0}, {.type = 4}, {.type = 8}, {.type = 12}};
  for (size_t i = 0; i < std::size(refused); ++i)
    EXPECT_FALSE(targa::ParseHeader(MakeTga(refused[i], {}).data()).has_value()) << "refused " << i;
}

TEST_F(TargaTest, ProbeAnswersTheTypeAndTheSize) {
  ExpectProbes(kTargaFile,
               {{MakeTga({.width = 300, .height = 7}, {}), kTargaFile, 300, 7}, {Bytes(17, 0), 0},
                {MakeTga({.descriptor = 0xC0}, {}), 0}});
}

// Reading them back is the round trip of every codec's.
TEST_F(TargaTest, PaletteAndTrueColourImagesAreWrittenAsMappedAndTrueColour) {
  for (int colors : {0, 1, 2, 100, 256}) {
    for (int width : {1, 3, 33}) {
      SCOPED_TRACE(std::to_string(colors) + " colours, width " + std::to_string(width));
      DIBImage original;
      MakeTestImage(original, width, 4, colors, width);
      Bytes file = Written(original, "round.tga", type);
      const uint32_t mapped = colors ? 1 : 0, n = uint32_t(colors);
      ExpectFields(file, {{0, 1, 0}, {1, 1, mapped}, {2, 1, mapped ? 1u : 2u}, {5, 2, n}, {7, 1, mapped * 24},
                          {12, 2, uint32_t(width)}, {14, 2, 4}, {16, 1, mapped ? 8u : 24u}, {17, 1, 0x20}});
      EXPECT_EQ(file.size(), 18u + 3u * n + uint32_t(width) * 4u * (colors ? 1u : 3u));
      if (colors) {  // the colour map is written blue, green, red
        const RgbQuad last = original.ColorTable()[n - 1];
        ExpectFields(file, {{15 + 3 * n, 1, last.blue}, {16 + 3 * n, 1, last.green}, {17 + 3 * n, 1, last.red}});
      }
    }
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(TargaTest, WritingReportsProgressBeforeEveryRow) {
  DIBImage original;
  MakeTestImage(original, 3, 4, 0);
  SetProgressName(Path("Out.TGA"));
  Written(original, "out.tga", type);
  EXPECT_EQ(host.titles, (std::vector<std::string>{"out.tga-00%", "out.tga-25%", "out.tga-50%", "out.tga-75%"}));
}

TEST_F(TargaTest, ACancelledWriteLeavesTheOldFile) {
  DIBImage original;
  MakeTestImage(original, 5, 40, 30);
  WriteBytes(MadePath(), {4, 5, 6});
  ExpectCancelledWrite(original, madeName, type, 10);
}

TEST_F(TargaTest, ReadsEachKindAndDepth) {
  const Bytes topFirst = TruePixels(3, 2);
  Bytes bottomFirst(topFirst.begin() + 9, topFirst.end());
  bottomFirst.insert(bottomFirst.end(), topFirst.begin(), topFirst.begin() + 9);
  // 4 x 3 pixels: a run of 6 covering row one and half of row two, then 6 literals.
  Bytes raw, rle{0x85, 1, 2, 3, 0x05};
  for (int i = 0; i < 6; ++i) raw.insert(raw.end(), {1, 2, 3});
  for (int i = 0; i < 6; ++i) {
    const Bytes p{uint8_t(10 + i), uint8_t(20 + i), uint8_t(30 + i)};
    raw.insert(raw.end(), p.begin(), p.end()), rle.insert(rle.end(), p.begin(), p.end());
  }
  const Bytes sixteen{0xFF, 0x7F, 0x3F, 0x8C};  // white; red 3, green 1, blue 31 with the top bit set
  TgaSpec mappedRle = kMapped;
  mappedRle.type = 9;
  const struct {
    const char* kind;
    TgaSpec spec;
    Bytes data;
    uint32_t colors;  // 0: true colour
    std::vector<Pixel> colours;
    TgaSpec twinSpec = {};  // with data, a file that must show the same picture
    Bytes twinData = {};
  } cases[] = {
      {"rows top first, as bottom first", {.width = 3, .height = 2, .descriptor = 0x20}, topFirst, 0,
       {{0, 0, 200 << 16 | 1 << 8 | 0}}, {.width = 3, .height = 2}, bottomFirst},
      // The file's rows go bottom first: row two is y = 1.
      {"run-length packets across row ends, as raw", {.type = 10, .width = 4, .height = 3}, rle, 0,
       {{1, 1, 0x030201}, {2, 1, 30 << 16 | 20 << 8 | 10}}, {.width = 4, .height = 3}, raw},
      {"16 bits: five bits scaled to 255, the top bit ignored; as 15 bits", {.width = 2, .height = 1, .pixelBits = 16},
       sixteen, 0, {{0, 0, 0xFFFFFF}, {1, 0, 24 << 16 | 8 << 8 | 255}}, {.width = 2, .height = 1, .pixelBits = 15},
       sixteen},
      {"32 bits: the fourth byte ignored", {.width = 2, .height = 1, .pixelBits = 32}, {1, 2, 3, 99, 4, 5, 6, 0}, 0,
       {{0, 0, 0x030201}, {1, 0, 0x060504}}},
      {"32 bits run-length", {.type = 10, .width = 3, .height = 1, .pixelBits = 32}, {0x82, 7, 8, 9, 1}, 0,
       {{2, 0, 0x090807}}},
      {"gray bytes as equal blue, green, red", {.type = 3, .width = 2, .height = 1, .pixelBits = 8}, {0x40, 0xF0}, 0,
       {{0, 0, 0x404040}}},
      {"gray run-length", {.type = 11, .width = 5, .height = 1, .pixelBits = 8}, {0x01, 1, 2, 0x82, 9}, 0,
       {{1, 0, 0x020202}, {4, 0, 0x090909}}},
      {"colour-mapped, past an identification field", kMapped, {0, 6, 3}, 7, {{1, 0, MapColor(6)}}},
      {"colour-mapped run-length", mappedRle, {0x00, 0, 0x81, 6}, 7, {{2, 0, MapColor(6)}}},
      {"a map of one entry",
       {.mapType = 1, .type = 1, .mapLength = 1, .entryBits = 24, .width = 1, .height = 1, .pixelBits = 8}, {0}, 1,
       {{0, 0, MapColor(0)}}},
      {"a colour map on a true-colour file is skipped",
       {.mapType = 1, .type = 2, .mapLength = 4, .entryBits = 24, .width = 1, .height = 1}, {1, 2, 3}, 0,
       {{0, 0, 0x030201}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    DIBImage document, twin;
    ASSERT_TRUE(ReadDirect(document, MakeTga(c.spec, c.data)));
    EXPECT_EQ(document.ColorCount(), c.colors);
    ExpectPixels(document, c.colours);
    if (!c.twinData.empty()) {
      ASSERT_TRUE(ReadDirect(twin, MakeTga(c.twinSpec, c.twinData)));
      EXPECT_TRUE(SamePixels(document, twin));
    }
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(TargaTest, RefusedAndShortFilesGiveTheirMessagesAndLeaveNoImage) {
  const std::string unsupported = "Invalid or unsupported Targa file", early = "Premature EOF in Targa file";
  auto cut = [](const Bytes& bytes, size_t keep) { return Bytes(bytes.begin(), bytes.begin() + std::ptrdiff_t(keep)); };
  // Bytes enough for the fewest packets 400 pixels need, but a literal packet cut short.
  Bytes packets{0xFF, 1, 2, 3, 0xFF, 1, 2, 3, 0xFF, 1, 2, 3, 0x7F};
  packets.resize(packets.size() + 9, 7);
  ExpectRefused({
      {MakeTga({.mapType = 1, .type = 1, .mapLength = 4, .entryBits = 16, .pixelBits = 8}, Bytes(4, 0)),
       "Unsupported Targa colormap format"},
      {MakeTga({.mapType = 1, .type = 1, .mapLength = 300, .entryBits = 24, .pixelBits = 8}, Bytes(4, 0)),
       "Colormap too large"},
      {MakeTga({.mapType = 1, .type = 1, .firstIndex = 1, .mapLength = 4, .entryBits = 24, .pixelBits = 8},
               Bytes(4, 0)),
       "Colormap too large"},
      {MakeTga({.descriptor = 0x40}, TruePixels(2, 2)), unsupported},
      {MakeTga({.width = 0, .height = 5}, {}), unsupported},
      {MakeTga({.width = 5, .height = 0}, {}), unsupported},
      // An index past the colour map has no colour.
      {MakeTga({.mapType = 1, .type = 1, .mapLength = 4, .entryBits = 24, .width = 2, .height = 1, .pixelBits = 8},
               {3, 4}),
       unsupported},
      {cut(MakeTga({}, TruePixels(2, 2)), 10), "Unexpected end of file"},
      {cut(MakeTga({.idLength = 200}, TruePixels(2, 2)), 50), early},
      {cut(MakeTga({.mapType = 1, .type = 1, .mapLength = 40, .entryBits = 24, .pixelBits = 8}, {1, 2, 3, 4}), 60),
       early},
      {MakeTga({}, {}), early},
      {MakeTga({.width = 3, .height = 3}, TruePixels(3, 2)), early},
      {MakeTga({.type = 10, .width = 200, .height = 2}, packets), early},
      // Far too few bytes: refused before any memory is taken.
      {MakeTga({.type = 10, .width = 8000, .height = 8000}, Bytes(100, 0xFF)), early},
      {MakeTga({.width = 65535, .height = 65535}, {}), "Not enough memory !"},
  }, type);
}

TEST_F(TargaTest, TrueColourIsReducedInTwoPassesWithProgressOverBoth) {
  SetReadQuantizing(1, 0, 8, 0);
  DIBImage document;
  std::string path = Made(MakeTga({.width = 8, .height = 4}, TruePixels(8, 4)));
  SetProgressName(path);
  ASSERT_TRUE(ReadImageFile(document, path));
  EXPECT_EQ(document.ColorCount(), 8u);
  EXPECT_EQ(host.titles, (std::vector<std::string>{"made.tga-00%", "made.tga-12%", "made.tga-25%", "made.tga-37%",
                                                   "made.tga-50%", "made.tga-62%", "made.tga-75%", "made.tga-87%"}));
  // The colours chosen come from the picture: every pixel stays near its own colour.
  for (int i = 0; i < 32; ++i) {
    const uint32_t stored = uint32_t(200 - i) << 16 | uint32_t(i * 5 + 1) << 8 | uint32_t(i * 3);
    EXPECT_LE(ChannelDifference(PixelRgb(document, i % 8, 3 - i / 8), stored), 24) << i;  // stored bottom row first
  }
}

TEST_F(TargaTest, TheSystemPaletteReducesEveryFileOtherReductionsOnlyTrueColour) {
  SetReadQuantizing(1, 1, 256, 1);
  DIBImage truth, mapped, kept;
  ASSERT_TRUE(ReadDirect(truth, MakeTga({.width = 8, .height = 4}, TruePixels(8, 4))));
  EXPECT_EQ(truth.ColorCount(), 16u);
  EXPECT_EQ(truth.ColorTable()[9].red, 255);  // the Windows bright red
  ASSERT_TRUE(ReadDirect(mapped, MakeTga(kMapped, {0, 6, 3})));
  EXPECT_EQ(mapped.ColorCount(), 16u);
  SetReadQuantizing(1, 0, 4, 0);
  ASSERT_TRUE(ReadDirect(kept, MakeTga(kMapped, {0, 6, 3})));
  EXPECT_EQ(kept.ColorCount(), 7u);
  EXPECT_EQ(PixelRgb(kept, 1, 0), MapColor(6));
}

TEST_F(TargaTest, CancelledReadLeavesNoImage) {
  DIBImage document;
  ExpectCancelledRead(document, Made(MakeTga({.width = 4, .height = 50}, TruePixels(4, 50))), 20);
  EXPECT_FALSE(document.HasImage());
}

// The preview's shrinking is the one of every codec: here a file cut short is not read.
TEST_F(TargaTest, PreviewOfAShortFileIsQuietlyNotRead) {
  ExpectPreviews(kTargaFile, {{MakeTga({.width = 40, .height = 20}, TruePixels(40, 19)), 2}});
}

// Files other programs make read as netpbm decodes them (ImageMagick's own reader takes its
// files' rows in the opposite order from the one their descriptor states), and the other way round.
TEST_F(TargaTest, AgreesWithOtherPrograms) {
  REQUIRE_TOOLS("tgatoppm", "ppmtotga", "convert");
  const std::string src = Path("src.ppm");
  ExpectOtherProgramsFilesRead({"convert " + src + " " + Path("im.tga"),
                                "convert " + src + " -compress RLE " + Path("imrle.tga"),
                                "convert " + src + " -colors 100 -type Palette " + Path("impal.tga"),
                                "convert " + src + " -colorspace Gray " + Path("imgray.tga"),
                                "convert " + src + " -flip -orient TopLeft " + Path("imtop.tga"),
                                "ppmtotga -rgb " + src + " > " + Path("nbrle.tga"),
                                "ppmtotga -rgb -norle " + src + " > " + Path("nbraw.tga"),
                                "convert " + src + " -colors 50 ppm:- | ppmtotga -cmap > " + Path("nbcmap.tga")},
                               "tgatoppm");
  ExpectDecoderReadsWhatIsWritten("tgatoppm", {0, 100});
}

}  // namespace quilla
