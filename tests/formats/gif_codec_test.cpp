// The GIF reader and writer: files from other programs, round trips at every depth, the
// LZW stream checked by an independent decoder, and hostile files.
#include <algorithm>
#include <cstring>
#include <numeric>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "color/windows16_palette.h"
#include "formats/file_system.h"
#include "formats/gif/gif_codec.h"
#include "formats/gif/gif_lzw.h"
#include "formats_test_support.h"

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

// Image data of (code, width) pairs, packed least significant bit first.
Bytes Codes(const std::vector<std::pair<int, int>>& codes) {
  Bytes out;
  uint32_t acc = 0;
  int bits = 0;
  for (auto [code, width] : codes) {
    acc |= uint32_t(code) << bits;
    for (bits += width; bits >= 8; bits -= 8) out.push_back(uint8_t(acc)), acc >>= 8;
  }
  if (bits > 0) out.push_back(uint8_t(acc));
  return SubBlocks(out);
}

RgbQuad TableColor(int i) { return {uint8_t(i), uint8_t(255 - i), uint8_t(i * 3), 0}; }

struct GifSpec {
  std::string version = "89a";
  int screenWidth = 4, screenHeight = 2;
  bool global = true;
  int globalBits = 1;  // the table holds 2^(globalBits + 1) entries
  int background = 0;
  Bytes beforeImage = {};  // extensions and the like
  int width = 2, height = 1;
  int localBits = -1;  // -1: no local table
  int minCodeSize = 2;
  Bytes data = Codes({{4, 3}, {1, 3}, {0, 3}, {5, 3}});  // clear, the pixels 1 and 0, end
  Bytes after = {';'};
};

Bytes MakeGif(const GifSpec& s) {
  Bytes b;
  for (char c : "GIF" + s.version) b.push_back(uint8_t(c));
  auto put16 = [&](int v) { b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8)}); };
  auto table = [&](int bits) {
    for (int i = 0; i < 2 << bits; ++i) b.insert(b.end(), {TableColor(i).red, TableColor(i).green, TableColor(i).blue});
  };
  put16(s.screenWidth), put16(s.screenHeight);
  b.insert(b.end(), {uint8_t((s.global ? 0x80 : 0) | s.globalBits), uint8_t(s.background), 0});
  if (s.global) table(s.globalBits);
  b.insert(b.end(), s.beforeImage.begin(), s.beforeImage.end());
  b.push_back(',');
  put16(0), put16(0), put16(s.width), put16(s.height);
  b.push_back(uint8_t(s.localBits >= 0 ? 0x80 | s.localBits : 0));
  if (s.localBits >= 0) table(s.localBits);
  b.push_back(uint8_t(s.minCodeSize));
  b.insert(b.end(), s.data.begin(), s.data.end());
  b.insert(b.end(), s.after.begin(), s.after.end());
  return b;
}

Bytes ControlExtension(uint8_t transparent) { return {0x21, 0xF9, 4, 1, 0, 0, transparent, 0}; }

// A screen of 1 x 1 and no image.
const Bytes kNoImageGif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, ';'};

// What a GIF file says, read by the test itself.
struct ParsedGif {
  std::string signature;
  int flags = 0, background = 0;
  Bytes table;            // red, green, blue
  int transparent = -1;  // -1: no control extension
  int imageFlags = 0, minCodeSize = 0;
  size_t dataAt = 0;     // where the sub-blocks start
  Bytes data;            // the sub-blocks joined
  std::vector<int> blockSizes;
  bool trailer = false;
};

ParsedGif ParseGif(const Bytes& b) {
  ParsedGif g;
  size_t at = 0;
  auto u8 = [&] { return at < b.size() ? b[at++] : 0; };
  for (int i = 0; i < 6; ++i) g.signature.push_back(char(u8()));
  at += 4;  // the screen size
  g.flags = u8(), g.background = u8();
  u8();
  if (g.flags & 0x80)
    for (int i = 0; i < 3 * (2 << (g.flags & 7)); ++i) g.table.push_back(u8());
  while (at < b.size() && b[at] == '!') {
    ++at;
    int label = u8();
    while (size_t n = u8()) {
      if (label == 0xF9 && n == 4 && at + 3 < b.size()) g.transparent = b[at + 3];
      at += n;
    }
  }
  EXPECT_EQ(u8(), ',');
  at += 8;  // the image's place and size
  g.imageFlags = u8(), g.minCodeSize = u8();
  g.dataAt = at;
  while (size_t n = u8()) {
    g.blockSizes.push_back(int(n));
    g.data.insert(g.data.end(), b.begin() + long(std::min(at, b.size())), b.begin() + long(std::min(at + n, b.size())));
    at += n;
  }
  g.trailer = at + 1 == b.size() && b[at] == ';';
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
  for (size_t bit = 0; bit + size_t(width) <= data.size() * 8;) {
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
    // A code one past the table stands for the previous string and its own first pixel.
    if (code > int(dict.size()) || (code == int(dict.size()) && prev < 0)) {
      ADD_FAILURE() << "code " << code << " past the table of " << dict.size();
      return t;
    }
    Bytes entry = code < int(dict.size()) ? dict[size_t(code)] : dict[size_t(prev)];
    if (code == int(dict.size())) entry.push_back(entry[0]);
    if (prev >= 0 && dict.size() < 4096) {
      dict.push_back(dict[size_t(prev)]);
      dict.back().push_back(entry[0]);
    }
    t.pixels.insert(t.pixels.end(), entry.begin(), entry.end());
    prev = code;
    if (int(dict.size()) == 1 << width && width < 12) ++width;
  }
  return t;
}

// A palette image of random indices below colors.
void NoisyImage(DIBImage& document, int width, int height, int colors, unsigned seed) {
  std::vector<RgbQuad> table;
  for (int i = 0; i < colors; ++i) table.push_back(TableColor(i));
  ASSERT_TRUE(document.CreateImage(width, height, false, table.data(), colors, 0));
  std::mt19937 random(seed);
  ImageLock lock(document);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) document.RowPointer(y)[x] = uint8_t(random() % unsigned(colors));
}

class GifTest : public MadeFileTest {
 protected:
  GifTest() : MadeFileTest(kGif89a, "in.gif") {}
  // The indices a file reads back as; none when it does not read.
  std::vector<uint8_t> IndicesOf(const std::string& name) {
    DIBImage back;
    EXPECT_TRUE(Load(back, name)) << host.LastMessage();
    return Indices(back);
  }
};

TEST_F(GifTest, InterlaceOrderOfFiveRowsAndAPermutationForEveryHeight) {
  auto order = [](int height) {
    std::vector<int> rows;
    for (int n = 0; n < height; ++n) rows.push_back(gif::InterlacedRow(n, height));
    return rows;
  };
  EXPECT_EQ(order(5), (std::vector<int>{0, 4, 2, 1, 3}));
  for (int height = 1; height <= 70; ++height) {
    std::vector<int> rows = order(height), all(static_cast<size_t>(height));
    std::iota(all.begin(), all.end(), 0);
    EXPECT_TRUE(std::is_permutation(rows.begin(), rows.end(), all.begin(), all.end())) << height;
  }
}

TEST_F(GifTest, ProbeAnswersTheVersionAndTheImageSize) {
  // A comment and a stray byte before the image, whose size is not the screen's.
  GifSpec spec{.screenWidth = 40, .screenHeight = 30, .beforeImage = {0x21, 0xFE, 3, 'a', 'b', 'c', 0, 0x99},
               .width = 4, .height = 2};
  uint32_t w = 0, h = 0;
  WriteBytes(Path("a.gif"), MakeGif(spec));
  EXPECT_EQ(ProbeFileTypeAndSize(Path("a.gif"), w, h), int(kGif89a));
  EXPECT_EQ(std::pair(w, h), std::pair(4u, 2u));
  spec.version = "87a";
  WriteBytes(Path("b.gif"), MakeGif(spec));
  EXPECT_EQ(ProbeFileTypeAndSize(Path("b.gif"), w, h), int(kGif87a));
  ExpectProbes(kGif89a, {{MakeGif({.minCodeSize = 1}), 0}, {MakeGif({.minCodeSize = 12}), 0}, {kNoImageGif, 0},
                         {{'G', 'I', 'F', '8', '9'}, 0}});
  EXPECT_TRUE(host.messages.empty());
}

// ---- the writer ----

// Each file written is taken apart and its codes decoded by the test's own decoder. Random
// pixels make many short strings and fill the table again and again; long runs of few
// colours make long ones, which use the reader's stack deep.
TEST_F(GifTest, TheWriterLaysOutTheFileAndItsCodes) {
  DIBImage two, hundred, noisy, runs;
  MakeTestImage(two, 9, 3, 2);
  MakeTestImage(hundred, 16, 16, 100);
  hundred.SetFillIndex(42);
  NoisyImage(noisy, 300, 200, 256, 7);
  ASSERT_TRUE(runs.CreateImage(2000, 300, false, nullptr, 4, 0));
  {
    ImageLock lock(runs);
    for (int y = 0; y < 300; ++y)
      for (int x = 0; x < 2000; ++x) runs.RowPointer(y)[x] = uint8_t((x / 700 + y / 100) % 4);
  }
  struct Case {
    const char* what;
    DIBImage& image;
    uint32_t type;
    bool sequential;  // else interlaced, the default
    int flags, minCodeSize;
    bool twelveBits, clears;  // codes reach 12 bits; the table is cleared there, more than once
  } cases[] = {
      {"two colours: one bit, code size two", two, kGif87a, true, 0x80, 2, false, false},
      {"hundred colours: seven bits", hundred, kGif89a, false, 0x80 | 6 << 4 | 6, 7, false, false},
      {"noisy", noisy, kGif89a, true, 0x80 | 7 << 4 | 7, 8, true, true},
      {"runs", runs, kGif87a, true, 0x80 | 1 << 4 | 1, 2, true, false},
      {"runs interlaced", runs, kGif87a, false, 0x80 | 1 << 4 | 1, 2, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Options().ResetToDefaults(true);
    if (c.sequential) Options().SetSaveGifInterlaced(0);
    ParsedGif g = ParseGif(Written(c.image, "w.gif", c.type));
    EXPECT_EQ(g.signature, c.type == kGif89a ? "GIF89a" : "GIF87a");
    EXPECT_EQ(g.flags, c.flags);
    EXPECT_EQ(g.minCodeSize, c.minCodeSize);
    const int fill = int(c.image.GetFillIndex());
    EXPECT_EQ(g.background, fill);
    EXPECT_EQ(g.transparent, c.type == kGif89a ? fill : -1);  // only 89a has a control extension
    EXPECT_EQ(g.imageFlags, c.sequential ? 0 : 0x40);
    EXPECT_TRUE(g.trailer);
    // The image's colours, then black up to the size of the table.
    Bytes table;
    for (int i = 0; i < 2 << (c.flags & 7); ++i) {
      RgbQuad color = uint32_t(i) < c.image.ColorCount() ? c.image.ColorTable()[size_t(i)] : RgbQuad{0, 0, 0, 0};
      table.insert(table.end(), {color.red, color.green, color.blue});
    }
    EXPECT_EQ(g.table, table);
    for (size_t i = 0; i + 1 < g.blockSizes.size(); ++i) EXPECT_EQ(g.blockSizes[i], 255);

    Trace t = ReferenceDecode(g.data, c.minCodeSize);
    EXPECT_TRUE(t.firstCodeWasClear);
    EXPECT_TRUE(t.ended);
    EXPECT_EQ(t.pixels, Indices(c.image, c.sequential ? nullptr : gif::InterlacedRow));
    if (c.twelveBits) { EXPECT_EQ(t.maxWidth, 12); }
    if (c.clears) { EXPECT_GE(t.clears, 2); EXPECT_TRUE(t.widthAtClearWas12); }

    EXPECT_EQ(IndicesOf("w.gif"), Indices(c.image));
    // The same codes in sub-blocks of one byte.
    Bytes cut = ReadBytes(Path("w.gif"));
    cut.resize(g.dataAt);
    for (uint8_t b : SubBlocks(g.data, 1)) cut.push_back(b);
    cut.push_back(';');
    WriteBytes(Path("cut.gif"), cut);
    EXPECT_EQ(IndicesOf("cut.gif"), Indices(c.image));
  }
}

TEST_F(GifTest, RoundTripsAtEveryDepthInterlacedOrNotAndFromTrueColour) {
  for (int interlaced = 0; interlaced < 2; ++interlaced) {
    Options().SetSaveGifInterlaced(interlaced);
    for (int colors : {2, 3, 4, 5, 8, 16, 17, 32, 64, 100, 128, 200, 256})
      for (uint32_t type : {kGif87a, kGif89a}) {
        SCOPED_TRACE(std::to_string(colors) + " colours, type " + std::to_string(type) + ", interlaced " +
                     std::to_string(interlaced));
        DIBImage doc, back;
        NoisyImage(doc, 37, 23, colors, unsigned(colors));
        doc.SetFillIndex(uint32_t(colors - 1));
        ASSERT_TRUE(Save(doc, "rt.gif", type));
        ASSERT_TRUE(Load(back, "rt.gif")) << host.LastMessage();
        EXPECT_EQ(back.fileType, type);
        EXPECT_EQ(Indices(back), Indices(doc));
        int bits = 1;
        while ((1 << bits) < colors) ++bits;
        EXPECT_EQ(back.ColorCount(), uint32_t(1 << bits));
        EXPECT_TRUE(SamePixels(doc, back));
        // 89a names the fill index as transparent; 87a keeps the screen's background.
        EXPECT_EQ(back.GetFillIndex(), uint32_t(colors - 1));
      }
  }
  // True colour is written through a palette copy; the codec table's round trip checks its pixels.
  DIBImage trueColour;
  MakeTestImage(trueColour, 50, 40, 0);
  ASSERT_TRUE(Save(trueColour, "tc.gif", kGif89a));
  EXPECT_TRUE(trueColour.IsTrueColor());
  EXPECT_TRUE(host.messages.empty()) << host.LastMessage();
}

TEST_F(GifTest, IndicesPastTheTableAreWrittenAsZero) {
  DIBImage doc;
  MakeTestImage(doc, 8, 2, 2);
  doc.Lock();
  doc.RowPointer(0)[3] = 200;  // a stray index of a two-colour image
  doc.Unlock();
  ASSERT_TRUE(Save(doc, "stray.gif", kGif87a));
  std::vector<uint8_t> want = Indices(doc);
  want[3] = 0;
  EXPECT_EQ(IndicesOf("stray.gif"), want);
}

// ---- the reader ----

TEST_F(GifTest, TheReaderTakesTheTableTheFillAndThePixelsTheFileGives) {
  const Bytes fourColours = Codes({{4, 3}, {1, 3}, {2, 3}, {3, 3}, {0, 4}, {1, 4}, {2, 4}, {3, 4}, {0, 4}, {5, 4}});
  const std::vector<uint8_t> fourIndices = {1, 2, 3, 0, 1, 2, 3, 0};
  struct Case {
    const char* what;
    GifSpec spec;
    uint32_t colors, fill, type;
    std::vector<uint8_t> indices;
  } cases[] = {
      // 89a names a transparent index, which becomes the fill index; 87a keeps the background.
      {"89a transparent", {.globalBits = 2, .background = 3, .beforeImage = ControlExtension(5), .width = 4,
                           .height = 2, .data = fourColours}, 8, 5, kGif89a, fourIndices},
      {"87a background", {.version = "87a", .globalBits = 2, .background = 3, .beforeImage = ControlExtension(5),
                          .width = 4, .height = 2, .data = fourColours}, 8, 3, kGif87a, fourIndices},
      // Without a colour table the count comes from the screen; the image's size wins.
      {"no table", {.screenWidth = 100, .screenHeight = 100, .global = false, .globalBits = 2,
                    .data = Codes({{4, 3}, {3, 3}, {2, 3}, {5, 3}})}, 8, 0, kGif89a, {3, 2}},
      {"local table", {.globalBits = 7, .localBits = 0}, 2, 0, kGif89a, {1, 0}},
      {"second image, cut short, never looked at", {.after = {',', 1, 2, 3}}, 4, 0, kGif89a, {1, 0}},
      {"code size 11, literals below the table size", {.globalBits = 7, .width = 3, .minCodeSize = 11,
       .data = Codes({{2048, 12}, {255, 12}, {0, 12}, {17, 12}, {2049, 12}})}, 256, 0, kGif89a, {255, 0, 17}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DIBImage doc;
    ASSERT_TRUE(ReadMade(doc, MakeGif(c.spec))) << host.LastMessage();
    EXPECT_EQ(doc.Width(), c.spec.width);
    EXPECT_EQ(doc.Height(), c.spec.height);
    EXPECT_EQ(doc.ColorCount(), c.colors);
    EXPECT_EQ(doc.GetFillIndex(), c.fill);
    EXPECT_EQ(doc.fileType, c.type);
    EXPECT_EQ(Indices(doc), c.indices);
    EXPECT_TRUE(host.messages.empty());
  }
}

TEST_F(GifTest, RemapsOntoTheWindowsColoursWhenTheOptionsAskForIt) {
  SetReadQuantizing(1, 1, 256, 0);
  DIBImage doc;
  ASSERT_TRUE(ReadMade(doc, MakeGif({.globalBits = 0}))) << host.LastMessage();
  EXPECT_EQ(doc.ColorCount(), 16u);
  EXPECT_EQ(std::memcmp(doc.ColorTable().data(), Windows16Palette.data(), 16 * 4), 0);
  // Entry 0 (0, 255, 0) is green and entry 1 (3, 254, 1) is green as well.
  EXPECT_EQ(PixelRgb(doc, 0, 0), 0x00FF00u);
  EXPECT_EQ(PixelRgb(doc, 1, 0), 0x00FF00u);
}

TEST_F(GifTest, EveryFatalErrorHasItsMessage) {
  auto withCodes = [](const std::vector<std::pair<int, int>>& codes) {
    return MakeGif({.globalBits = 0, .data = Codes(codes)});
  };
  const Bytes valid = MakeGif({.globalBits = 0});
  const std::string eof = "Premature EOF in GIF file", corrupt = "Corrupt data in GIF file";
  ExpectRefused({
      {{'G', 'I', 'X', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0}, "Not a GIF file"},
      {{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1}, "Short file"},
      {kNoImageGif, "Too few images in GIF file"},
      {Bytes(valid.begin(), valid.begin() + 13 + 6 + 1 + 5), eof},  // 5 bytes of the descriptor's 9
      {Bytes(valid.begin(), valid.end() - 3), eof, true},           // a sub-block short
      {withCodes({{4, 3}, {1, 3}, {5, 3}}), eof, true},             // an early end code
      {withCodes({{4, 3}, {1, 3}}), eof, true},                     // no end code
      {withCodes({{4, 3}, {1, 3}, {7, 3}, {5, 3}}), corrupt, true},  // a code past the next free one
      {withCodes({{4, 3}, {6, 3}, {5, 3}}), corrupt, true},          // right after a clear only literals exist
      {withCodes({{4, 3}, {3, 3}, {0, 3}, {5, 3}}), corrupt, true},  // a literal past the table
      {MakeGif({.globalBits = 0, .minCodeSize = 1}), "Bogus codesize 1"},
      {MakeGif({.globalBits = 0, .minCodeSize = 12}), "Bogus codesize 12"},
      // More pixels than the rest of the file can hold: refused before the memory is taken.
      {MakeGif({.globalBits = 0, .width = 60000, .height = 60000}), eof},
      {MakeGif({.globalBits = 0, .width = 0}), "Not enough memory !"},
  }, kGif89a);
}

TEST_F(GifTest, WarningsAskToContinue) {
  const Bytes file = MakeGif({.version = "90a", .beforeImage = {0x42}});
  DIBImage doc;
  ASSERT_TRUE(ReadMade(doc, file));
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].text, "Unexpected GIF version number '90a'\n\nDo you want to continue ?");
  EXPECT_EQ(host.messages[0].buttons, MsgButtons::OkCancel);
  EXPECT_EQ(host.messages[1].text, "Bogus input char 0x42, ignoring\n\nDo you want to continue ?");
  EXPECT_EQ(doc.fileType, uint32_t(kGif89a));  // anything but 87a counts as 89a

  host.messages.clear();
  host.answers = {MsgResult::Ok, MsgResult::Cancel};
  EXPECT_FALSE(ReadMade(doc, file));
  EXPECT_EQ(host.messages.size(), 2u);  // Cancel ends the read without a further message
}

TEST_F(GifTest, TruncatedFileKeepsTheRowsDecodedSoFar) {
  DIBImage doc, back;
  NoisyImage(doc, 64, 64, 16, 11);
  Options().SetSaveGifInterlaced(0);
  ASSERT_TRUE(Save(doc, "full.gif", kGif87a));
  Bytes bytes = ReadBytes(Path("full.gif"));
  bytes.resize(bytes.size() / 2);
  ExpectRefused(back, {bytes, "Premature EOF in GIF file", true});
  ASSERT_TRUE(back.HasImage());
  std::vector<uint8_t> want = Indices(doc), got = Indices(back);
  EXPECT_TRUE(std::equal(want.begin(), want.begin() + 64 * 10, got.begin()));
}

TEST_F(GifTest, CancelStopsReadingAndWritingAndLeavesNoFile) {
  DIBImage doc, back;
  NoisyImage(doc, 40, 200, 256, 5);
  Options().SetSaveGifInterlaced(0);
  ASSERT_TRUE(Save(doc, "c.gif", kGif89a));
  ExpectCancelledRead(back, Path("c.gif"), 50);
  EXPECT_FALSE(host.titles.empty());
  ExpectCancelledWrite(doc, "cancelled.gif", kGif89a, 50);
}

TEST_F(GifTest, ProgressIsReportedEveryThirtySecondRowAndPreviewsAreQuiet) {
  DIBImage doc, back, thumb;
  NoisyImage(doc, 10, 100, 4, 2);
  ASSERT_TRUE(Save(doc, "p.gif", kGif89a));
  host.titles.clear();
  SetProgressName("p.gif");
  ASSERT_TRUE(Load(back, "p.gif"));
  EXPECT_EQ(host.titles, (std::vector<std::string>{"p.gif-00%", "p.gif-32%", "p.gif-64%", "p.gif-96%"}));

  host.titles.clear();
  EXPECT_EQ(ReadImagePreviewAs(thumb, Path("p.gif"), kGif89a, 50, 50), 0);
  EXPECT_EQ(std::pair(thumb.Width(), thumb.Height()), std::pair(5, 50));
  WriteBytes(Path("bad.gif"), kNoImageGif);
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

// ---- files of other programs, exchanged as P6 files of this program's own codec ----

class GifToolsTest : public GifTest {};

TEST_F(GifToolsTest, ReadsFilesOfNetpbmAndImageMagick) {
  REQUIRE_TOOLS("ppmtogif", "convert");
  const std::string src = Path("src.ppm"), gif = Path("theirs.gif");
  for (auto [w, h] : {std::pair{1, 1}, {37, 29}, {300, 170}}) {
    DIBImage picture;
    MakeTestImage(picture, w, h, 12);
    ASSERT_TRUE(Save(picture, "src.ppm", kPnmFile));
    for (const std::string& command :
         {"ppmtogif " + src, "ppmtogif -interlace " + src, "convert " + src + " -interlace GIF gif:-"}) {
      SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + ": " + command);
      ASSERT_TRUE(RunTool(command + " > " + gif));
      DIBImage doc;
      ASSERT_TRUE(Load(doc, "theirs.gif")) << host.LastMessage();
      EXPECT_TRUE(SamePixels(doc, picture));
    }
  }
  // Colour 0 (red 1, green 200, blue 0) is in the picture: made transparent, it is the fill index.
  ASSERT_TRUE(RunTool("convert " + src + " -transparent '#01C800' " + gif));
  ParsedGif g = ParseGif(ReadBytes(gif));
  ASSERT_GE(g.transparent, 0);
  DIBImage doc;
  ASSERT_TRUE(Load(doc, "theirs.gif")) << host.LastMessage();
  EXPECT_EQ(doc.GetFillIndex(), uint32_t(g.transparent));
}

TEST_F(GifToolsTest, FilesWrittenHereReadInNetpbm) {
  REQUIRE_TOOLS("giftopnm");
  for (int interlaced = 0; interlaced < 2; ++interlaced)
    for (auto [w, h, colors] : {std::tuple{1, 1, 2}, {333, 211, 256}, {64, 48, 5}}) {
      Options().SetSaveGifInterlaced(interlaced);
      DIBImage doc, back;
      NoisyImage(doc, w, h, colors, 1);
      ASSERT_TRUE(Save(doc, "ours.gif", interlaced ? kGif89a : kGif87a));
      ASSERT_TRUE(RunTool("giftopnm " + Path("ours.gif") + " > " + Path("ours.ppm")));
      ASSERT_TRUE(Load(back, "ours.ppm")) << host.LastMessage();
      EXPECT_TRUE(SamePixels(back, doc)) << w << "x" << h << " interlaced " << interlaced;
    }
}

}  // namespace
}  // namespace quilla
