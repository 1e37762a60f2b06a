// The GIF reader and writer: files from other programs, round trips at every depth, the
// LZW stream checked by an independent decoder, and hostile files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "color/windows16_palette.h"
#include "formats/file_system.h"
#include "formats/file_types.h"
#include "formats/gif/gif_codec.h"
#include "formats/gif/gif_lzw.h"
#include "formats/image_files.h"
#include "formats/transfer.h"
#include "formats_test_support.h"
#include "settings/app_options.h"

namespace quilla {
namespace {

// ---- building and taking apart GIF files ----

Bytes SubBlocks(const Bytes& data, size_t blockSize = 255) {
  Bytes out;
  for (size_t at = 0; at < data.size(); at += blockSize) {
    size_t n = std::min(blockSize, data.size() - at);
    out.push_back(uint8_t(n));
    out.insert(out.end(), data.begin() + long(at), data.begin() + long(at + n));
  }
  out.push_back(0);
  return out;
}

// Codes packed least significant bit first, each with its own width.
Bytes PackCodes(const std::vector<std::pair<int, int>>& codes) {
  Bytes out;
  uint32_t acc = 0;
  int bits = 0;
  for (auto [code, width] : codes) {
    acc |= uint32_t(code) << bits;
    bits += width;
    while (bits >= 8) out.push_back(uint8_t(acc)), acc >>= 8, bits -= 8;
  }
  if (bits > 0) out.push_back(uint8_t(acc));
  return out;
}

RgbQuad TableColor(int i) { return {uint8_t(i), uint8_t(255 - i), uint8_t(i * 3), 0}; }

struct GifSpec {
  std::string version = "89a";
  int screenWidth = 4, screenHeight = 2;
  bool global = true;
  int globalBits = 1;  // the table holds 2^(globalBits + 1) entries
  int background = 0;
  Bytes beforeImage;   // extensions and the like
  int width = 4, height = 2;
  bool interlaced = false;
  bool local = false;
  int localBits = 0;
  int minCodeSize = 2;
  Bytes data;          // already in sub-blocks
  Bytes after = {';'};
};

Bytes MakeGif(const GifSpec& s) {
  Bytes b;
  for (char c : "GIF" + s.version) b.push_back(uint8_t(c));
  auto put16 = [&](int v) { b.push_back(uint8_t(v)), b.push_back(uint8_t(v >> 8)); };
  auto table = [&](int bits) {
    for (int i = 0; i < 2 << bits; ++i) {
      RgbQuad c = TableColor(i);
      b.insert(b.end(), {c.red, c.green, c.blue});
    }
  };
  put16(s.screenWidth), put16(s.screenHeight);
  b.push_back(uint8_t((s.global ? 0x80 : 0) | s.globalBits));
  b.push_back(uint8_t(s.background));
  b.push_back(0);
  if (s.global) table(s.globalBits);
  b.insert(b.end(), s.beforeImage.begin(), s.beforeImage.end());
  b.push_back(',');
  put16(0), put16(0), put16(s.width), put16(s.height);
  b.push_back(uint8_t((s.interlaced ? 0x40 : 0) | (s.local ? 0x80 | s.localBits : 0)));
  if (s.local) table(s.localBits);
  b.push_back(uint8_t(s.minCodeSize));
  b.insert(b.end(), s.data.begin(), s.data.end());
  b.insert(b.end(), s.after.begin(), s.after.end());
  return b;
}

Bytes ControlExtension(uint8_t transparent) { return {0x21, 0xF9, 4, 1, 0, 0, transparent, 0}; }

// What a GIF file says, read by the test itself.
struct ParsedGif {
  std::string signature;
  int screenWidth = 0, screenHeight = 0, flags = 0, background = 0;
  std::vector<RgbQuad> table;
  bool hasControl = false;
  int transparent = -1;
  int width = 0, height = 0, imageFlags = 0, minCodeSize = 0;
  Bytes data;  // the sub-blocks joined
  std::vector<int> blockSizes;
  bool trailer = false;
};

ParsedGif ParseGif(const Bytes& b) {
  ParsedGif g;
  size_t at = 0;
  auto u8 = [&] { return at < b.size() ? b[at++] : 0; };
  auto u16 = [&] { int lo = u8(); return lo | u8() << 8; };
  g.signature.assign(b.begin(), b.begin() + 6);
  at = 6;
  g.screenWidth = u16(), g.screenHeight = u16(), g.flags = u8(), g.background = u8();
  u8();
  if (g.flags & 0x80)
    for (int i = 0; i < 2 << (g.flags & 7); ++i) {
      uint8_t r = u8(), gr = u8(), bl = u8();
      g.table.push_back({bl, gr, r, 0});
    }
  while (at < b.size() && b[at] == '!') {
    ++at;
    int label = u8();
    while (int n = u8()) {
      if (label == 0xF9 && n == 4) g.hasControl = true, g.transparent = b[at + 3];
      at += size_t(n);
    }
  }
  EXPECT_EQ(u8(), ',');
  u16(), u16();
  g.width = u16(), g.height = u16(), g.imageFlags = u8(), g.minCodeSize = u8();
  while (int n = u8()) {
    g.blockSizes.push_back(n);
    g.data.insert(g.data.end(), b.begin() + long(at), b.begin() + long(at + size_t(n)));
    at += size_t(n);
  }
  g.trailer = at < b.size() && b[at] == ';' && at + 1 == b.size();
  return g;
}

// A plain LZW decoder written from the format's description, to check the writer's stream.
struct Trace {
  Bytes pixels;
  int clears = 0, maxWidth = 0, codes = 0;
  bool ended = false, widthAtClearWas12 = false, firstCodeWasClear = false;
};

Trace ReferenceDecode(const Bytes& data, int minCodeSize) {
  Trace t;
  const int clear = 1 << minCodeSize, end = clear + 1;
  std::vector<Bytes> dict;
  int width = minCodeSize + 1, prev = -1;
  auto reset = [&] {
    dict.assign(size_t(clear) + 2, {});
    for (int i = 0; i < clear; ++i) dict[size_t(i)] = {uint8_t(i)};
    width = minCodeSize + 1;
    prev = -1;
  };
  reset();
  size_t bit = 0;
  while (bit + size_t(width) <= data.size() * 8) {
    int code = 0;
    for (int i = 0; i < width; ++i, ++bit) code |= (data[bit / 8] >> (bit % 8) & 1) << i;
    t.maxWidth = std::max(t.maxWidth, width);
    if (t.codes++ == 0) t.firstCodeWasClear = code == clear;
    if (code == clear) {
      if (t.codes > 1) ++t.clears, t.widthAtClearWas12 = t.widthAtClearWas12 || width == 12;
      reset();
      continue;
    }
    if (code == end) {
      t.ended = true;
      break;
    }
    Bytes entry;
    if (code < int(dict.size())) {
      entry = dict[size_t(code)];
      if (prev >= 0 && dict.size() < 4096) {
        Bytes added = dict[size_t(prev)];
        added.push_back(entry[0]);
        dict.push_back(added);
      }
    } else {
      EXPECT_EQ(code, int(dict.size()));
      EXPECT_GE(prev, 0);
      if (prev < 0 || code != int(dict.size())) return t;
      entry = dict[size_t(prev)];
      entry.push_back(entry[0]);
      dict.push_back(entry);
    }
    t.pixels.insert(t.pixels.end(), entry.begin(), entry.end());
    prev = code;
    if (int(dict.size()) == 1 << width && width < 12) ++width;
  }
  return t;
}

class GifTest : public FormatsTest {
 protected:
  void SetUp() override {
    FormatsTest::SetUp();
    Options().ResetToDefaults(false);
    Options().SetResizeOnLoad(101);
  }
  void TearDown() override {
    Options().ResetToDefaults(false);
    FormatsTest::TearDown();
  }

  // Writes the document through the dispatch in the given type.
  int Save(DIBImage& document, const std::string& name, uint32_t type) {
    document.fileType = type;
    return WriteImageFile(document, Path(name));
  }
  int Load(DIBImage& document, const std::string& name) { return ReadImageFile(document, Path(name)); }
  int LoadBytes(DIBImage& document, const Bytes& bytes) {
    WriteBytes(Path("in.gif"), bytes);
    return Load(document, "in.gif");
  }

  static std::vector<uint8_t> Indices(DIBImage& document) {
    std::vector<uint8_t> out;
    document.Lock();
    for (int y = 0; y < document.Height(); ++y) {
      const uint8_t* row = document.RowPointer(y);
      out.insert(out.end(), row, row + document.Width());
    }
    document.Unlock();
    return out;
  }

  // A palette image of random indices below colors.
  static void NoisyImage(DIBImage& document, int width, int height, int colors, unsigned seed) {
    std::vector<RgbQuad> table;
    for (int i = 0; i < colors; ++i) table.push_back(TableColor(i));
    ASSERT_TRUE(document.CreateImage(width, height, false, table.data(), colors, 0));
    std::mt19937 random(seed);
    document.Lock();
    for (int y = 0; y < height; ++y) {
      uint8_t* row = document.RowPointer(y);
      for (int x = 0; x < width; ++x) row[x] = uint8_t(random() % unsigned(colors));
    }
    document.Unlock();
  }
};

// ---- interlace order ----

TEST_F(GifTest, InterlaceOrderOfFiveRowsAndAPermutationForEveryHeight) {
  std::vector<int> five;
  for (int n = 0; n < 5; ++n) five.push_back(gif::InterlacedRow(n, 5));
  EXPECT_EQ(five, (std::vector<int>{0, 4, 2, 1, 3}));
  for (int height = 1; height <= 70; ++height) {
    std::vector<int> seen(size_t(height), 0);
    for (int n = 0; n < height; ++n) {
      int y = gif::InterlacedRow(n, height);
      ASSERT_TRUE(y >= 0 && y < height) << height << " " << n;
      ++seen[size_t(y)];
    }
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](int c) { return c == 1; })) << height;
  }
}

// ---- the probe ----

TEST_F(GifTest, ProbeAnswersTheVersionAndTheImageSize) {
  GifSpec spec;
  spec.screenWidth = 40, spec.screenHeight = 30, spec.width = 4, spec.height = 2;
  spec.beforeImage = {0x21, 0xFE, 3, 'a', 'b', 'c', 0, 0x99};  // a comment and a stray byte
  spec.data = SubBlocks(PackCodes({{4, 3}, {1, 3}, {5, 3}}));
  uint32_t w = 0, h = 0;
  WriteBytes(Path("a.gif"), MakeGif(spec));
  EXPECT_EQ(ProbeFileTypeAndSize(Path("a.gif"), w, h), int(kGif89a));
  EXPECT_EQ(w, 4u);
  EXPECT_EQ(h, 2u);
  spec.version = "87a";
  WriteBytes(Path("b.gif"), MakeGif(spec));
  EXPECT_EQ(ProbeFileTypeAndSize(Path("b.gif"), w, h), int(kGif87a));
  for (int bad : {1, 12}) {
    spec.minCodeSize = bad;
    WriteBytes(Path("c.gif"), MakeGif(spec));
    EXPECT_EQ(ProbeFileAs(Path("c.gif"), kGif89a, w, h), 0) << bad;
  }
  WriteBytes(Path("d.gif"), {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, ';'});
  EXPECT_EQ(ProbeFileAs(Path("d.gif"), kGif89a, w, h), 0);
  WriteBytes(Path("e.gif"), {'G', 'I', 'F', '8', '9'});
  EXPECT_EQ(ProbeFileAs(Path("e.gif"), kGif89a, w, h), 0);
  EXPECT_EQ(ProbeFileAs(Path("missing.gif"), kGif89a, w, h), int(kCannotOpen));
  EXPECT_TRUE(host.messages.empty());
}

// ---- the writer's layout ----

TEST_F(GifTest, TwoColoursAreWrittenWithOneBitAndCodeSizeTwo) {
  DIBImage doc;
  MakeTestImage(doc, 9, 3, 2);
  Options().SetSaveGifInterlaced(0);
  ASSERT_TRUE(Save(doc, "two.gif", kGif87a));
  ParsedGif g = ParseGif(ReadBytes(Path("two.gif")));
  EXPECT_EQ(g.signature, "GIF87a");
  EXPECT_EQ(g.flags, 0x80);
  EXPECT_EQ(g.table.size(), 2u);
  EXPECT_EQ(g.minCodeSize, 2);
  EXPECT_FALSE(g.hasControl);
  EXPECT_EQ(g.imageFlags, 0);
  EXPECT_TRUE(g.trailer);
  EXPECT_EQ(g.data[0] & 7, 4);  // the clear code, 3 bits wide
  Trace t = ReferenceDecode(g.data, 2);
  EXPECT_TRUE(t.ended);
  EXPECT_TRUE(t.firstCodeWasClear);
  doc.Lock();
  for (int y = 0; y < 3; ++y) EXPECT_TRUE(std::equal(doc.RowPointer(y), doc.RowPointer(y) + 9, t.pixels.begin() + y * 9));
  doc.Unlock();
}

TEST_F(GifTest, HundredColoursGetASevenBitTableWithBlackEntriesBeyondTheImage) {
  DIBImage doc;
  MakeTestImage(doc, 16, 16, 100);
  doc.SetFillIndex(42);
  ASSERT_TRUE(Save(doc, "hundred.gif", kGif89a));
  ParsedGif g = ParseGif(ReadBytes(Path("hundred.gif")));
  EXPECT_EQ(g.signature, "GIF89a");
  EXPECT_EQ(g.flags, 0x80 | 6 << 4 | 6);
  ASSERT_EQ(g.table.size(), 128u);
  doc.Lock();
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ(g.table[size_t(i)].red, doc.GetColors()[i].red);
    EXPECT_EQ(g.table[size_t(i)].blue, doc.GetColors()[i].blue);
  }
  doc.Unlock();
  for (int i = 100; i < 128; ++i) EXPECT_EQ(g.table[size_t(i)].red | g.table[size_t(i)].green | g.table[size_t(i)].blue, 0);
  EXPECT_EQ(g.minCodeSize, 7);
  EXPECT_EQ(g.background, 42);
  EXPECT_TRUE(g.hasControl);
  EXPECT_EQ(g.transparent, 42);
  EXPECT_EQ(g.imageFlags, 0x40);  // interlaced by default
}

// ---- round trips ----

TEST_F(GifTest, RoundTripsAtEveryDepthInterlacedOrNot) {
  for (int interlaced = 0; interlaced < 2; ++interlaced) {
    Options().SetSaveGifInterlaced(interlaced);
    for (int colors : {2, 3, 4, 5, 8, 16, 17, 32, 64, 100, 128, 200, 256}) {
      DIBImage doc, back;
      NoisyImage(doc, 37, 23, colors, unsigned(colors));
      doc.SetFillIndex(uint32_t(colors - 1));
      for (uint32_t type : {kGif87a, kGif89a}) {
        ASSERT_TRUE(Save(doc, "rt.gif", type)) << colors;
        ASSERT_TRUE(Load(back, "rt.gif")) << colors << " " << host.LastMessage();
        EXPECT_EQ(back.fileType, type);
        EXPECT_EQ(Indices(back), Indices(doc)) << colors << " interlaced " << interlaced;
        int bits = 1;
        while ((1 << bits) < colors) ++bits;
        EXPECT_EQ(back.ColorCount(), uint32_t(1 << bits));
        EXPECT_TRUE(SamePixels(doc, back));
        // 89a names the fill index as transparent; 87a keeps the screen's background.
        EXPECT_EQ(back.GetFillIndex(), uint32_t(colors - 1));
      }
    }
  }
  EXPECT_TRUE(host.messages.empty()) << host.LastMessage();
}

TEST_F(GifTest, NoisyImageFillsTheTableAndClearsAtTwelveBits) {
  DIBImage doc, back;
  NoisyImage(doc, 300, 200, 256, 7);
  Options().SetSaveGifInterlaced(0);
  ASSERT_TRUE(Save(doc, "noisy.gif", kGif89a));
  ParsedGif g = ParseGif(ReadBytes(Path("noisy.gif")));
  EXPECT_EQ(g.minCodeSize, 8);
  Trace t = ReferenceDecode(g.data, 8);
  EXPECT_EQ(t.maxWidth, 12);
  EXPECT_GE(t.clears, 2);
  EXPECT_TRUE(t.widthAtClearWas12);
  EXPECT_TRUE(t.ended);
  EXPECT_EQ(t.pixels, Indices(doc));
  for (size_t i = 0; i + 1 < g.blockSizes.size(); ++i) EXPECT_EQ(g.blockSizes[i], 255);
  ASSERT_TRUE(Load(back, "noisy.gif"));
  EXPECT_EQ(Indices(back), Indices(doc));
}

TEST_F(GifTest, LongRunsGrowTheCodeSizeAndStillReadBack) {
  // A few colours in long runs make long strings: the table fills with entries many
  // pixels long and the decoder's stack is used deep.
  DIBImage doc, back;
  ASSERT_TRUE(doc.CreateImage(2000, 300, false, nullptr, 4, 0));
  doc.Lock();
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 2000; ++x) doc.RowPointer(y)[x] = uint8_t((x / 700 + y / 100) % 4);
  doc.Unlock();
  for (int interlaced = 0; interlaced < 2; ++interlaced) {
    Options().SetSaveGifInterlaced(interlaced);
    ASSERT_TRUE(Save(doc, "runs.gif", kGif87a));
    ParsedGif g = ParseGif(ReadBytes(Path("runs.gif")));
    Trace t = ReferenceDecode(g.data, 2);
    EXPECT_EQ(t.maxWidth, 12);
    ASSERT_TRUE(Load(back, "runs.gif"));
    EXPECT_EQ(Indices(back), Indices(doc));
  }
}

TEST_F(GifTest, ReadsDataCutIntoOneByteSubBlocks) {
  DIBImage doc, back;
  NoisyImage(doc, 64, 40, 256, 3);
  Options().SetSaveGifInterlaced(0);
  ASSERT_TRUE(Save(doc, "x.gif", kGif89a));
  ParsedGif g = ParseGif(ReadBytes(Path("x.gif")));
  GifSpec spec;
  spec.width = 64, spec.height = 40, spec.globalBits = 7, spec.minCodeSize = 8;
  spec.data = SubBlocks(g.data, 1);
  ASSERT_TRUE(LoadBytes(back, MakeGif(spec))) << host.LastMessage();
  EXPECT_EQ(Indices(back), Indices(doc));
}

TEST_F(GifTest, TrueColourIsWrittenThroughAPaletteCopy) {
  DIBImage doc, back;
  MakeTestImage(doc, 50, 40, 0);
  ASSERT_TRUE(Save(doc, "tc.gif", kGif89a));
  EXPECT_TRUE(doc.IsTrueColor());
  ASSERT_TRUE(Load(back, "tc.gif"));
  EXPECT_EQ(back.Width(), 50);
  EXPECT_LE(back.ColorCount(), 256u);
  EXPECT_FALSE(back.IsTrueColor());
}

TEST_F(GifTest, IndicesPastTheTableAreWrittenAsZero) {
  DIBImage doc, back;
  MakeTestImage(doc, 8, 2, 2);
  doc.Lock();
  doc.RowPointer(0)[3] = 200;  // a stray index of a two-colour image
  doc.Unlock();
  ASSERT_TRUE(Save(doc, "stray.gif", kGif87a));
  ASSERT_TRUE(Load(back, "stray.gif")) << host.LastMessage();
  std::vector<uint8_t> want = Indices(doc);
  want[3] = 0;
  EXPECT_EQ(Indices(back), want);
}

// ---- the reader's choices ----

TEST_F(GifTest, TransparentIndexOf89aBecomesTheFillIndexAnd87aKeepsTheBackground) {
  GifSpec spec;
  spec.globalBits = 2, spec.background = 3;
  spec.beforeImage = ControlExtension(5);
  spec.data = SubBlocks(PackCodes({{4, 3}, {1, 3}, {2, 3}, {3, 3}, {0, 4}, {1, 4}, {2, 4}, {3, 4}, {0, 4}, {5, 4}}));
  DIBImage doc;
  ASSERT_TRUE(LoadBytes(doc, MakeGif(spec))) << host.LastMessage();
  EXPECT_EQ(doc.GetFillIndex(), 5u);
  EXPECT_EQ(doc.fileType, uint32_t(kGif89a));
  EXPECT_EQ(Indices(doc), (std::vector<uint8_t>{1, 2, 3, 0, 1, 2, 3, 0}));
  spec.version = "87a";
  ASSERT_TRUE(LoadBytes(doc, MakeGif(spec)));
  EXPECT_EQ(doc.GetFillIndex(), 3u);
  EXPECT_EQ(doc.fileType, uint32_t(kGif87a));
}

TEST_F(GifTest, NoColourTableTakesTheCountFromTheScreenAndImageSizeWins) {
  GifSpec spec;
  spec.global = false, spec.globalBits = 2;
  spec.screenWidth = 100, spec.screenHeight = 100, spec.width = 2, spec.height = 1;
  spec.data = SubBlocks(PackCodes({{4, 3}, {3, 3}, {2, 3}, {5, 3}}));
  DIBImage doc;
  ASSERT_TRUE(LoadBytes(doc, MakeGif(spec))) << host.LastMessage();
  EXPECT_EQ(doc.ColorCount(), 8u);
  EXPECT_EQ(doc.Width(), 2);
  EXPECT_EQ(doc.Height(), 1);
}

TEST_F(GifTest, LocalTableOverridesTheGlobalCount) {
  GifSpec spec;
  spec.globalBits = 7, spec.local = true, spec.localBits = 0;
  spec.width = 2, spec.height = 1;
  spec.data = SubBlocks(PackCodes({{4, 3}, {1, 3}, {0, 3}, {5, 3}}));
  DIBImage doc;
  ASSERT_TRUE(LoadBytes(doc, MakeGif(spec))) << host.LastMessage();
  EXPECT_EQ(doc.ColorCount(), 2u);
}

TEST_F(GifTest, OnlyTheFirstImageIsRead) {
  GifSpec spec;
  spec.width = 2, spec.height = 1;
  spec.data = SubBlocks(PackCodes({{4, 3}, {1, 3}, {0, 3}, {5, 3}}));
  spec.after = {',', 1, 2, 3};  // a second image, cut short: never looked at
  DIBImage doc;
  ASSERT_TRUE(LoadBytes(doc, MakeGif(spec))) << host.LastMessage();
  EXPECT_EQ(Indices(doc), (std::vector<uint8_t>{1, 0}));
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(GifTest, CodeSizeElevenDecodesLiteralsBelowTheTableSize) {
  GifSpec spec;
  spec.globalBits = 7, spec.width = 3, spec.height = 1, spec.minCodeSize = 11;
  spec.data = SubBlocks(PackCodes({{2048, 12}, {255, 12}, {0, 12}, {17, 12}, {2049, 12}}));
  DIBImage doc;
  ASSERT_TRUE(LoadBytes(doc, MakeGif(spec))) << host.LastMessage();
  EXPECT_EQ(Indices(doc), (std::vector<uint8_t>{255, 0, 17}));
}

TEST_F(GifTest, RemapsOntoTheWindowsColoursWhenTheOptionsAskForIt) {
  Options().SetNeedQuantizeRead(1);
  Options().SetUseSysPalette(1);
  Options().SetUseDithering(0);
  GifSpec spec;
  spec.globalBits = 0, spec.width = 2, spec.height = 1;
  spec.data = SubBlocks(PackCodes({{4, 3}, {1, 3}, {0, 3}, {5, 3}}));
  DIBImage doc;
  ASSERT_TRUE(LoadBytes(doc, MakeGif(spec))) << host.LastMessage();
  EXPECT_EQ(doc.ColorCount(), 16u);
  doc.Lock();
  EXPECT_EQ(std::memcmp(doc.GetColors(), Windows16Palette.data(), 16 * 4), 0);
  doc.Unlock();
  // Entry 0 (0, 255, 0) is green and entry 1 (3, 254, 1) is green as well.
  EXPECT_EQ(PixelRgb(doc, 0, 0), 0x00FF00u);
  EXPECT_EQ(PixelRgb(doc, 1, 0), 0x00FF00u);
}

// ---- messages and hostile files ----

struct BadCase {
  const char* name;
  Bytes bytes;
  const char* message;
};

TEST_F(GifTest, EveryFatalErrorHasItsMessage) {
  GifSpec good;
  good.globalBits = 0, good.width = 2, good.height = 1;
  good.data = SubBlocks(PackCodes({{4, 3}, {1, 3}, {0, 3}, {5, 3}}));
  Bytes valid = MakeGif(good);

  GifSpec past = good;  // code 7 while the next free entry is 6
  past.data = SubBlocks(PackCodes({{4, 3}, {1, 3}, {7, 3}, {5, 3}}));
  GifSpec pastAfterClear = good;  // right after a clear only literals exist
  pastAfterClear.data = SubBlocks(PackCodes({{4, 3}, {6, 3}, {5, 3}}));
  GifSpec literal = good;  // a pixel past the two-entry table
  literal.data = SubBlocks(PackCodes({{4, 3}, {3, 3}, {0, 3}, {5, 3}}));
  GifSpec early = good;  // the end code before the image is complete
  early.data = SubBlocks(PackCodes({{4, 3}, {1, 3}, {5, 3}}));
  GifSpec noEnd = good;  // the data stops without an end code
  noEnd.data = {1, PackCodes({{4, 3}, {1, 3}})[0], 0};
  GifSpec codeSizeOne = good;
  codeSizeOne.minCodeSize = 1;
  GifSpec codeSizeTwelve = good;
  codeSizeTwelve.minCodeSize = 12;
  GifSpec huge = good;  // needs more pixels than the rest of the file can hold
  huge.width = 60000, huge.height = 60000;
  GifSpec empty = good;
  empty.width = 0;

  Bytes descriptorShort(valid.begin(), valid.begin() + 13 + 6 + 1 + 5);  // header, table, ',' and 5 of 9
  Bytes subBlockShort(valid.begin(), valid.end() - 3);
  BadCase cases[] = {
      {"not gif", {'G', 'I', 'X', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0}, "Not a GIF file"},
      {"short screen", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1}, "Short file"},
      {"no image", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, ';'}, "Too few images in GIF file"},
      {"descriptor short", descriptorShort, "Premature EOF in GIF file"},
      {"sub-block short", subBlockShort, "Premature EOF in GIF file"},
      {"early end code", MakeGif(early), "Premature EOF in GIF file"},
      {"no end code", MakeGif(noEnd), "Premature EOF in GIF file"},
      {"code past next free", MakeGif(past), "Corrupt data in GIF file"},
      {"code past next free after clear", MakeGif(pastAfterClear), "Corrupt data in GIF file"},
      {"literal past table", MakeGif(literal), "Corrupt data in GIF file"},
      {"code size 1", MakeGif(codeSizeOne), "Bogus codesize 1"},
      {"code size 12", MakeGif(codeSizeTwelve), "Bogus codesize 12"},
      {"huge", MakeGif(huge), "Premature EOF in GIF file"},
      {"zero width", MakeGif(empty), "Not enough memory !"},
  };
  for (const BadCase& c : cases) {
    host.messages.clear();
    DIBImage doc;
    WriteBytes(Path("bad.gif"), c.bytes);
    EXPECT_EQ(ReadImageFileAs(doc, Path("bad.gif"), kGif89a), 0) << c.name;
    ASSERT_EQ(host.messages.size(), 1u) << c.name;
    EXPECT_EQ(host.LastMessage(), c.message) << c.name;
    EXPECT_EQ(Transfer::OpenFiles(), 0) << c.name;
    EXPECT_FALSE(doc.IsLocked()) << c.name;
    if (std::string(c.name) == "huge") {
      EXPECT_FALSE(doc.HasImage());
    }
  }
}

TEST_F(GifTest, WarningsAskToContinue) {
  GifSpec spec;
  spec.width = 2, spec.height = 1, spec.version = "90a";
  spec.beforeImage = {0x42};
  spec.data = SubBlocks(PackCodes({{4, 3}, {1, 3}, {0, 3}, {5, 3}}));
  DIBImage doc;
  ASSERT_TRUE(LoadBytes(doc, MakeGif(spec)));
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].text, "Unexpected GIF version number '90a'\n\nDo you want to continue ?");
  EXPECT_EQ(host.messages[0].buttons, MsgButtons::OkCancel);
  EXPECT_EQ(host.messages[1].text, "Bogus input char 0x42, ignoring\n\nDo you want to continue ?");
  EXPECT_EQ(doc.fileType, uint32_t(kGif89a));  // anything but 87a counts as 89a

  host.messages.clear();
  host.answers = {MsgResult::Ok, MsgResult::Cancel};
  EXPECT_FALSE(LoadBytes(doc, MakeGif(spec)));
  EXPECT_EQ(host.messages.size(), 2u);  // Cancel ends the read without a further message
}

TEST_F(GifTest, TruncatedFileKeepsTheRowsDecodedSoFar) {
  DIBImage doc, back;
  NoisyImage(doc, 64, 64, 16, 11);
  Options().SetSaveGifInterlaced(0);
  ASSERT_TRUE(Save(doc, "full.gif", kGif87a));
  Bytes bytes = ReadBytes(Path("full.gif"));
  bytes.resize(bytes.size() / 2);
  EXPECT_FALSE(LoadBytes(back, bytes));
  EXPECT_EQ(host.LastMessage(), "Premature EOF in GIF file");
  ASSERT_TRUE(back.HasImage());
  EXPECT_FALSE(back.IsLocked());
  std::vector<uint8_t> want = Indices(doc), got = Indices(back);
  EXPECT_TRUE(std::equal(want.begin(), want.begin() + 64 * 10, got.begin()));
}

TEST_F(GifTest, CancelStopsReadingAndWritingAndLeavesNoFile) {
  DIBImage doc, back;
  NoisyImage(doc, 40, 200, 256, 5);
  Options().SetSaveGifInterlaced(0);
  ASSERT_TRUE(Save(doc, "c.gif", kGif89a));
  SetMainDocument(&back);
  int pumps = 0;
  host.onPump = [&] {
    if (++pumps == 50) RequestCancel();
    return true;
  };
  EXPECT_FALSE(Load(back, "c.gif"));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(back.IsLocked());
  EXPECT_EQ(Transfer::OpenFiles(), 0);
  EXPECT_FALSE(host.titles.empty());

  SetMainDocument(&doc);
  pumps = 0;
  EXPECT_FALSE(Save(doc, "cancelled.gif", kGif89a));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(doc.IsLocked());
  for (const std::string& name : DirEntries()) EXPECT_EQ(name, "c.gif");
  SetMainDocument(nullptr);
}

TEST_F(GifTest, ProgressIsReportedEveryThirtySecondRow) {
  DIBImage doc, back;
  NoisyImage(doc, 10, 100, 4, 2);
  ASSERT_TRUE(Save(doc, "p.gif", kGif89a));
  host.titles.clear();
  SetProgressName("p.gif");
  ASSERT_TRUE(Load(back, "p.gif"));
  EXPECT_EQ(host.titles, (std::vector<std::string>{"p.gif-00%", "p.gif-32%", "p.gif-64%", "p.gif-96%"}));
}

TEST_F(GifTest, PreviewIsQuietAndShrinks) {
  DIBImage doc, thumb;
  NoisyImage(doc, 200, 100, 8, 4);
  ASSERT_TRUE(Save(doc, "big.gif", kGif89a));
  host.titles.clear();
  EXPECT_EQ(ReadImagePreviewAs(thumb, Path("big.gif"), kGif89a, 50, 50), 0);
  EXPECT_EQ(thumb.Width(), 50);
  EXPECT_EQ(thumb.Height(), 25);
  WriteBytes(Path("bad.gif"), {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, ';'});
  EXPECT_EQ(ReadImagePreviewAs(thumb, Path("bad.gif"), kGif89a, 50, 50), 2);
  EXPECT_FALSE(thumb.HasImage());
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(host.titles.empty());
}

#ifndef _WIN32
TEST_F(GifTest, AWriteErrorIsReported) {
  if (!FileExists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  DIBImage doc;
  NoisyImage(doc, 300, 300, 256, 9);
  doc.fileType = kGif89a;
  // The save flow writes a temporary file beside the name, which /dev does not allow: the
  // writer goes straight to the device.
  Transfer transfer(doc, "/dev/full", Transfer::Direction::Write, false);
  transfer.AdoptForWriting(std::fopen("/dev/full", "wb"));
  ASSERT_TRUE(transfer.IsOpen());
  EXPECT_EQ(RunCodec(transfer, WriteGif, kGifTexts), 0);
  EXPECT_EQ(host.LastMessage(), "Output file write error");
  EXPECT_EQ(Transfer::OpenFiles(), 0);
  EXPECT_FALSE(doc.IsLocked());
}
#endif

// ---- files of other programs ----

// A true-colour PPM of a few colours, and the same picture as an image.
Bytes FewColourPpm(int width, int height) {
  std::string head = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
  Bytes b(head.begin(), head.end());
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      int k = (x / 3 + y / 2 * 5 + x * y % 7) % 12;
      b.insert(b.end(), {uint8_t(k * 20), uint8_t(255 - k * 17), uint8_t(k * k)});
    }
  return b;
}

class GifToolsTest : public GifTest {
 protected:
  // The pixels of a P6 file.
  static std::vector<uint32_t> PpmPixels(const Bytes& ppm, int& width, int& height) {
    std::string text(ppm.begin(), ppm.begin() + long(std::min<size_t>(ppm.size(), 64)));
    int maxval = 0, consumed = 0;
    std::sscanf(text.c_str(), "P6 %d %d %d%n", &width, &height, &maxval, &consumed);
    std::vector<uint32_t> out;
    size_t at = size_t(consumed) + 1;
    for (int i = 0; i < width * height; ++i, at += 3)
      out.push_back(uint32_t(ppm[at]) << 16 | uint32_t(ppm[at + 1]) << 8 | ppm[at + 2]);
    return out;
  }
  static std::vector<uint32_t> ImagePixels(DIBImage& doc) {
    std::vector<uint32_t> out;
    for (int y = 0; y < doc.Height(); ++y)
      for (int x = 0; x < doc.Width(); ++x) out.push_back(PixelRgb(doc, x, y));
    return out;
  }
};

TEST_F(GifToolsTest, ReadsFilesOfNetpbm) {
  REQUIRE_TOOLS("ppmtogif");
  for (auto [w, h] : {std::pair{1, 1}, {37, 29}, {300, 170}}) {
    WriteBytes(Path("src.ppm"), FewColourPpm(w, h));
    for (const char* flag : {"", "-interlace"}) {
      ASSERT_TRUE(RunTool("ppmtogif " + std::string(flag) + " " + Path("src.ppm") + " > " + Path("np.gif")));
      DIBImage doc;
      ASSERT_TRUE(Load(doc, "np.gif")) << host.LastMessage();
      int width = 0, height = 0;
      EXPECT_EQ(ImagePixels(doc), PpmPixels(FewColourPpm(w, h), width, height)) << w << "x" << h << flag;
    }
  }
}

TEST_F(GifToolsTest, ReadsFilesOfImageMagickWithTransparency) {
  REQUIRE_TOOLS("convert");
  WriteBytes(Path("src.ppm"), FewColourPpm(120, 90));
  ASSERT_TRUE(RunTool("convert " + Path("src.ppm") + " -interlace GIF " + Path("im.gif")));
  DIBImage doc;
  ASSERT_TRUE(Load(doc, "im.gif")) << host.LastMessage();
  int width = 0, height = 0;
  EXPECT_EQ(ImagePixels(doc), PpmPixels(FewColourPpm(120, 90), width, height));
  // White is not in the picture; black (k = 0 gives 0, 255, 0) is: make green transparent.
  ASSERT_TRUE(RunTool("convert " + Path("src.ppm") + " -transparent '#00FF00' " + Path("tr.gif")));
  ParsedGif g = ParseGif(ReadBytes(Path("tr.gif")));
  ASSERT_TRUE(g.hasControl);
  ASSERT_TRUE(Load(doc, "tr.gif")) << host.LastMessage();
  EXPECT_EQ(doc.GetFillIndex(), uint32_t(g.transparent));
}

TEST_F(GifToolsTest, FilesWrittenHereReadInNetpbm) {
  REQUIRE_TOOLS("giftopnm");
  for (int interlaced = 0; interlaced < 2; ++interlaced)
    for (auto [w, h, colors] : {std::tuple{1, 1, 2}, {333, 211, 256}, {64, 48, 5}}) {
      Options().SetSaveGifInterlaced(interlaced);
      DIBImage doc;
      NoisyImage(doc, w, h, colors, 1);
      ASSERT_TRUE(Save(doc, "ours.gif", interlaced ? kGif89a : kGif87a));
      ASSERT_TRUE(RunTool("giftopnm " + Path("ours.gif") + " > " + Path("ours.ppm")));
      Bytes ppm = ReadBytes(Path("ours.ppm"));
      ASSERT_FALSE(ppm.empty());
      int width = 0, height = 0;
      std::vector<uint32_t> pixels = PpmPixels(ppm, width, height);
      EXPECT_EQ(width, w);
      EXPECT_EQ(height, h);
      EXPECT_EQ(pixels, ImagePixels(doc)) << w << "x" << h << " interlaced " << interlaced;
    }
}

}  // namespace
}  // namespace quilla
