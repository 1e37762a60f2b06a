#include "formats/file_types.h"
#include "formats/image_files.h"
#include "formats_test_support.h"

namespace quilla {

class BmpTest : public FormatsTest {
 protected:
  // Reads a hand-made file through the open flow.
  int ReadMade(const BmpSpec& spec, const Bytes& pixels, DIBImage& document) {
    WriteBytes(Path("made.bmp"), MakeBmp(spec, pixels));
    return ReadImageFile(document, Path("made.bmp"));
  }
  std::string Made() const { return Shown(Path("made.bmp")); }
};

// ---- Round trips: every save depth, both headers, widths around the row padding ----

struct RoundTrip {
  int colors;
  uint32_t type;
  uint32_t depth;
};

class BmpRoundTrip : public BmpTest, public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(BmpRoundTrip, WritesTheDepthAndReadsBackEveryPixel) {
  const RoundTrip& p = GetParam();
  for (int width : {1, 3, 7, 9, 33}) {
    DIBImage original, back;
    MakeTestImage(original, width, 5, p.colors, width);
    original.fileType = p.type;
    std::string path = Path("round.bmp");
    ASSERT_TRUE(WriteImageFile(original, path)) << host.LastMessage();

    Bytes file = ReadBytes(path);
    bool os2 = p.type == kOs2Bmp;
    uint32_t headerBytes = os2 ? 12 : 40, entryBytes = os2 ? 3 : 4;
    uint32_t rowBytes = (uint32_t(width) * p.depth + 31) / 32 * 4;
    uint32_t offset = 14 + headerBytes + entryBytes * uint32_t(p.colors);
    EXPECT_EQ(Get32(file, 10), offset);
    EXPECT_EQ(Get32(file, 14), headerBytes);
    EXPECT_EQ(os2 ? Get16(file, 24) : Get16(file, 28), p.depth);
    EXPECT_EQ(file.size(), offset + rowBytes * 5);
    EXPECT_EQ(Get32(file, 2), file.size());

    ASSERT_TRUE(ReadImageFile(back, path)) << host.LastMessage();
    EXPECT_EQ(back.fileType, p.type);
    EXPECT_EQ(back.ColorCount(), uint32_t(p.colors));
    EXPECT_EQ(back.BitsPerPixel(), p.colors ? 8u : 24u);
    EXPECT_TRUE(SamePixels(original, back)) << "width " << width;
  }
  EXPECT_TRUE(host.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpRoundTrip,
                         ::testing::Values(RoundTrip{2, kWindowsBmp, 1}, RoundTrip{16, kWindowsBmp, 4},
                                           RoundTrip{17, kWindowsBmp, 8}, RoundTrip{256, kWindowsBmp, 8},
                                           RoundTrip{0, kWindowsBmp, 24}, RoundTrip{2, kOs2Bmp, 1},
                                           RoundTrip{5, kOs2Bmp, 4}, RoundTrip{200, kOs2Bmp, 8},
                                           RoundTrip{0, kOs2Bmp, 24}));

TEST_F(BmpTest, StrayIndexDoesNotSpillIntoNeighboursWhenPacked) {
  DIBImage original, back;
  MakeTestImage(original, 8, 1, 2);
  original.Lock();
  original.RowPointer(0)[3] = 0xFF;  // not a valid index of a two-colour image
  original.Unlock();
  original.fileType = kWindowsBmp;
  ASSERT_TRUE(WriteImageFile(original, Path("a.bmp")));
  ASSERT_TRUE(ReadImageFile(back, Path("a.bmp")));
  back.Lock();
  original.Lock();
  for (int x = 0; x < 8; ++x) EXPECT_EQ(back.RowPointer(0)[x], x == 3 ? 1 : original.RowPointer(0)[x]);
  original.Unlock();
  back.Unlock();
}

// ---- Reading by hand-made headers ----

TEST_F(BmpTest, ColourCountComesFromColoursUsedOrTheBitCount) {
  DIBImage document;
  ASSERT_TRUE(ReadMade({.bits = 8, .colorsUsed = 0, .tableEntries = 256}, Bytes(8, 7), document));
  EXPECT_EQ(document.ColorCount(), 256u);
  ASSERT_TRUE(ReadMade({.bits = 8, .colorsUsed = 5, .tableEntries = 5}, Bytes(8, 4), document));
  EXPECT_EQ(document.ColorCount(), 5u);
  document.Lock();
  EXPECT_EQ(document.GetColors()[4].red, SpecColor(4).red);
  EXPECT_EQ(document.GetColors()[4].green, SpecColor(4).green);
  document.Unlock();
  // Indices past the colours used get black entries, so what is read can be written anywhere.
  ASSERT_TRUE(ReadMade({.bits = 8, .colorsUsed = 5, .tableEntries = 5}, Bytes{4, 9, 0, 0, 0, 0, 0, 0}, document));
  EXPECT_EQ(document.ColorCount(), 10u);
  EXPECT_EQ(PixelRgb(document, 1, 1), 0u);  // the first row in the file is the bottom one
}

TEST_F(BmpTest, ColoursUsedBeyondTheBitCountIsHeldToIt) {
  DIBImage document;
  // 1e9 colours at 8 bits: the table holds 256, and the 1024 bytes are there.
  ASSERT_TRUE(ReadMade({.bits = 8, .colorsUsed = 1000000000, .tableEntries = 256}, Bytes(8, 1), document));
  EXPECT_EQ(document.ColorCount(), 256u);
  // 300 colours at 4 bits: 16.
  ASSERT_TRUE(ReadMade({.width = 8, .height = 1, .bits = 4, .colorsUsed = 300, .tableEntries = 300}, Bytes(4, 0x12),
                       document));
  EXPECT_EQ(document.ColorCount(), 16u);
}

TEST_F(BmpTest, FirstRowInTheFileIsTheBottomRow) {
  DIBImage document;
  ASSERT_TRUE(ReadMade({.width = 1, .height = 2, .bits = 8, .colorsUsed = 4, .tableEntries = 4},
                       {1, 0, 0, 0, 2, 0, 0, 0}, document));
  document.Lock();
  EXPECT_EQ(document.RowPointer(1)[0], 1);  // bottom
  EXPECT_EQ(document.RowPointer(0)[0], 2);  // top
  document.Unlock();
}

TEST_F(BmpTest, TopDownFilesAreReadTheRightWayUp) {
  // Rows given top first; the same picture stored bottom-up must read identically.
  for (uint16_t bits : {1, 4, 8, 24}) {
    SCOPED_TRACE(bits);
    uint32_t entries = bits == 24 ? 0 : 1u << bits;
    uint32_t rowBytes = (3u * bits + 31) / 32 * 4;
    Bytes top(rowBytes * 3, 0), bottomUp;
    for (uint32_t y = 0; y < 3; ++y)
      for (uint32_t i = 0; i < rowBytes; ++i) top[y * rowBytes + i] = uint8_t(0x11 * (y + 1) + i);
    for (int y = 2; y >= 0; --y)
      bottomUp.insert(bottomUp.end(), top.begin() + y * rowBytes, top.begin() + (y + 1) * rowBytes);
    DIBImage down, up;
    ASSERT_TRUE(ReadMade({.width = 3, .height = -3, .bits = bits, .tableEntries = entries}, top, down));
    ASSERT_TRUE(ReadMade({.width = 3, .height = 3, .bits = bits, .tableEntries = entries}, bottomUp, up));
    EXPECT_EQ(down.Height(), 3);
    EXPECT_TRUE(SamePixels(down, up));
  }
}

TEST_F(BmpTest, PackedPixelsExpandHighBitsFirst) {
  DIBImage document;
  ASSERT_TRUE(ReadMade({.width = 10, .height = 1, .bits = 1, .tableEntries = 2}, {0xA5, 0x80, 0, 0}, document));
  document.Lock();
  const uint8_t expect1[10] = {1, 0, 1, 0, 0, 1, 0, 1, 1, 0};
  for (int x = 0; x < 10; ++x) EXPECT_EQ(document.RowPointer(0)[x], expect1[x]) << x;
  document.Unlock();
  ASSERT_TRUE(ReadMade({.width = 3, .height = 1, .bits = 4, .tableEntries = 16}, {0x3C, 0x70, 0, 0}, document));
  document.Lock();
  EXPECT_EQ(document.RowPointer(0)[0], 3);
  EXPECT_EQ(document.RowPointer(0)[1], 12);
  EXPECT_EQ(document.RowPointer(0)[2], 7);
  document.Unlock();
}

TEST_F(BmpTest, Os2FilesReadWithThreeByteEntriesAndSaveAsOs2) {
  DIBImage document;
  ASSERT_TRUE(ReadMade({.os2 = true, .width = 2, .height = 1, .bits = 8, .tableEntries = 256}, {9, 200, 0, 0},
                       document));
  EXPECT_EQ(document.fileType, kOs2Bmp);
  EXPECT_EQ(PixelRgb(document, 1, 0), uint32_t(SpecColor(200).red) << 16 | uint32_t(SpecColor(200).green) << 8 | 200);
  ASSERT_TRUE(WriteImageFile(document, Path("again.bmp")));
  Bytes again = ReadBytes(Path("again.bmp"));
  EXPECT_EQ(Get32(again, 14), 12u);
  EXPECT_EQ(Get32(again, 10), 14u + 12 + 3 * 256);
}

TEST_F(BmpTest, ProbeFindsTheSizeInEitherHeader) {
  uint32_t w = 0, h = 0;
  WriteBytes(Path("w.bmp"), MakeBmp({.width = 640, .height = -480, .bits = 24}, {}));
  EXPECT_EQ(ProbeFileTypeAndSize(Path("w.bmp"), w, h), int(kWindowsBmp));
  EXPECT_EQ(w, 640u);
  EXPECT_EQ(h, 480u);
  WriteBytes(Path("o.bmp"), MakeBmp({.os2 = true, .width = 300, .height = 200, .bits = 24}, {}));
  EXPECT_EQ(ProbeFileTypeAndSize(Path("o.bmp"), w, h), int(kWindowsBmp));
  EXPECT_EQ(w, 300u);
  EXPECT_EQ(h, 200u);
  WriteBytes(Path("x.bmp"), {'B', 'X'});
  EXPECT_EQ(ProbeFileTypeAndSize(Path("x.bmp"), w, h), int(kUnknownFile));
  EXPECT_EQ(ProbeFileTypeAndSize(Path("missing.bmp"), w, h), int(kCannotOpen));
}

// ---- Hostile and broken files: the right message, no image, no crash ----

TEST_F(BmpTest, RejectedHeadersNameTheirReason) {
  struct Case {
    BmpSpec spec;
    const char* message;  // followed by the file name
  };
  const Case cases[] = {
      {{.headerSize = 64}, "Not a MS Windows or OS/2 Bitmap file:\n\n"},
      {{.compression = 1}, "Compressed Bitmap files are not supported:\n\n"},
      {{.bits = 16}, "Only 24, 8, 4, or 1 bit bitmaps are supported:\n\n"},
      {{.bits = 32}, "Only 24, 8, 4, or 1 bit bitmaps are supported:\n\n"},
      {{.width = 0}, "Not a MS Windows or OS/2 Bitmap file:\n\n"},
      {{.width = -5}, "Not a MS Windows or OS/2 Bitmap file:\n\n"},
  };
  for (const Case& c : cases) {
    DIBImage document;
    host.messages.clear();
    EXPECT_FALSE(ReadMade(c.spec, Bytes(64, 0), document));
    EXPECT_EQ(host.LastMessage(), c.message + Made());
    EXPECT_FALSE(document.HasImage());
    EXPECT_EQ(document.ioState, 0u);
  }
}

TEST_F(BmpTest, NotABitmapWhenReadDirectly) {
  DIBImage document;
  WriteBytes(Path("made.bmp"), Bytes(60, 'x'));
  EXPECT_FALSE(ReadImageFileAs(document, Path("made.bmp"), kWindowsBmp));
  EXPECT_EQ(host.LastMessage(), "Not a BITMAP file:\n\n" + Made());
}

TEST_F(BmpTest, TruncatedFilesAreShortFiles) {
  std::string shortFile = "Short file: " + Made();
  struct Case {
    BmpSpec spec;
    size_t pixelBytes;
  };
  const Case cases[] = {
      {{.width = 4, .height = 10, .bits = 8, .tableEntries = 256}, 39},   // rows cut
      {{.width = 9, .height = 10, .bits = 1, .tableEntries = 2}, 36},     // last packed row cut
      {{.width = 9, .height = 10, .bits = 4, .tableEntries = 16}, 1},
      {{.width = 4, .height = 10, .bits = 24, .tableEntries = 0}, 100},
      {{.width = 4, .height = 10, .bits = 8, .colorsUsed = 1000000000, .tableEntries = 20}, 0},  // table cut
      {{.width = 4, .height = 1, .bits = 8, .tableEntries = 256, .pixelOffset = 1 << 30}, 4},   // offset past end
  };
  for (const Case& c : cases) {
    DIBImage document;
    host.messages.clear();
    EXPECT_FALSE(ReadMade(c.spec, Bytes(c.pixelBytes, 0x55), document));
    EXPECT_EQ(host.LastMessage(), shortFile);
    EXPECT_FALSE(document.HasImage());
    EXPECT_EQ(Transfer::OpenFiles(), 0);
  }
  // Headers themselves cut short.
  DIBImage document;
  for (size_t size : {4, 16, 30, 53}) {
    host.messages.clear();
    Bytes cut = MakeBmp({.width = 1, .height = 1, .bits = 24}, {1, 2, 3, 0});
    cut.resize(size);
    WriteBytes(Path("made.bmp"), cut);
    EXPECT_FALSE(ReadImageFile(document, Path("made.bmp")));
    EXPECT_EQ(host.LastMessage(), shortFile) << size;
  }
}

TEST_F(BmpTest, SmallOs2FilesShorterThanAWindowsHeaderRead) {
  DIBImage document;
  ASSERT_TRUE(ReadMade({.os2 = true, .width = 1, .height = 1, .bits = 24}, {1, 2, 3, 0}, document));
  EXPECT_EQ(PixelRgb(document, 0, 0), 0x030201u);
  EXPECT_EQ(document.fileType, kOs2Bmp);
}

TEST_F(BmpTest, HugeDeclaredSizesFailBeforeAnyAllocation) {
  DIBImage document;
  // Within the limits but not in the file: a short file, found before allocating.
  EXPECT_FALSE(ReadMade({.width = 10000, .height = 10000, .bits = 8, .tableEntries = 256}, Bytes(16, 0), document));
  EXPECT_EQ(host.LastMessage(), "Short file: " + Made());
  // Beyond the limits of any image.
  const BmpSpec huge[] = {{.width = 1000000000, .height = 1, .bits = 8, .tableEntries = 256},
                          {.width = 1, .height = -2147483647 - 1, .bits = 8, .tableEntries = 256},
                          {.width = 2147483647, .height = 2147483647, .bits = 24}};
  for (const BmpSpec& spec : huge) {
    host.messages.clear();
    EXPECT_FALSE(ReadMade(spec, Bytes(16, 0), document));
    EXPECT_EQ(host.LastMessage(), "Not enough memory !");
    EXPECT_FALSE(document.HasImage());
  }
}

// ---- Reduction while reading, as the quantizing options ask ----

TEST_F(BmpTest, TrueColourFilesAreReducedWhenAsked) {
  // Six colours in a 24-bit file, rows given top-down.
  const uint8_t colours[6][3] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {10, 20, 30}, {200, 200, 200}, {0, 0, 0}};
  Bytes pixels;
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) pixels.insert(pixels.end(), colours[(x + y) % 6], colours[(x + y) % 6] + 3);
    pixels.insert(pixels.end(), 2, 0);  // 18 bytes padded to 20
  }
  DIBImage plain, reduced;
  ASSERT_TRUE(ReadMade({.width = 6, .height = -4, .bits = 24}, pixels, plain));
  EXPECT_TRUE(plain.IsTrueColor());
  Options().SetNeedQuantizeRead(1);
  Options().SetNColorsCreatePal(8);
  ASSERT_TRUE(ReadMade({.width = 6, .height = -4, .bits = 24}, pixels, reduced));
  EXPECT_EQ(reduced.BitsPerPixel(), 8u);
  EXPECT_LE(reduced.ColorCount(), 8u);
  EXPECT_GE(reduced.ColorCount(), 6u);
  // Six colours fit in eight: every pixel keeps its colour (to the histogram's 5-bit
  // precision), the right way up.
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) {
      uint32_t a = PixelRgb(plain, x, y), b = PixelRgb(reduced, x, y);
      for (int shift : {0, 8, 16}) EXPECT_NEAR(int(a >> shift & 255), int(b >> shift & 255), 8) << x << "," << y;
    }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(BmpTest, SystemPaletteMapsFilesOntoTheWindowsColours) {
  Options().SetUseSysPalette(1);
  Options().SetUseDithering(0);
  DIBImage document;
  // Pure blue, green and red pixels (blue, green, red byte order), 24 bits.
  ASSERT_TRUE(ReadMade({.width = 3, .height = 1, .bits = 24}, {255, 0, 0, 0, 255, 0, 0, 0, 250, 0, 0, 0}, document));
  EXPECT_EQ(document.ColorCount(), 16u);
  EXPECT_EQ(PixelRgb(document, 0, 0), 0x0000FFu);
  EXPECT_EQ(PixelRgb(document, 1, 0), 0x00FF00u);
  EXPECT_EQ(PixelRgb(document, 2, 0), 0xFF0000u);
  // A palette file: its table is replaced, pixels follow their colours.
  ASSERT_TRUE(ReadMade({.width = 2, .height = 1, .bits = 4, .tableEntries = 16}, {0x0F, 0, 0, 0}, document));
  EXPECT_EQ(document.ColorCount(), 16u);
  EXPECT_EQ(PixelRgb(document, 0, 0) & 0xFF, 0u);   // entry 0 (blue 0, green 255, red 0) -> green
  EXPECT_EQ(PixelRgb(document, 0, 0), 0x00FF00u);
  document.Lock();
  EXPECT_EQ(document.GetColors()[15].red, 255);  // the table is the Windows one
  document.Unlock();
}

// ---- Cancel ----

TEST_F(BmpTest, CancelMidReadFreesTheImageWithoutAMessage) {
  WriteBytes(Path("big.bmp"), MakeBmp({.width = 64, .height = 100, .bits = 4, .tableEntries = 16}, Bytes(3200, 0x21)));
  DIBImage document;
  SetMainDocument(&document);
  int pumps = 0;
  host.onPump = [&] {
    if (++pumps == 10) RequestCancel();
    return true;
  };
  EXPECT_FALSE(ReadImageFile(document, Path("big.bmp")));
  EXPECT_EQ(pumps, 10);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(document.HasImage());
  EXPECT_EQ(document.ioState, 0u);
  EXPECT_EQ(Transfer::OpenFiles(), 0);
  EXPECT_EQ(document.RowBuffer(), nullptr);
}

TEST_F(BmpTest, ReadingReportsProgressPerRowOfPackedFiles) {
  WriteBytes(Path("made.bmp"), MakeBmp({.width = 8, .height = 4, .bits = 1, .tableEntries = 2}, Bytes(16, 0)));
  SetProgressName(Path("Photo.BMP"));
  DIBImage document;
  ASSERT_TRUE(ReadImageFile(document, Path("made.bmp")));
  ASSERT_FALSE(host.titles.empty());
  EXPECT_EQ(host.titles.front(), "photo.bmp-00%");
  EXPECT_EQ(host.titles.back(), "photo.bmp-75%");
}

// ---- Preview ----

TEST_F(BmpTest, PreviewIsQuietAndShrunkToTheMaximum) {
  DIBImage big, preview;
  MakeTestImage(big, 200, 100, 0);
  big.fileType = kWindowsBmp;
  ASSERT_TRUE(WriteImageFile(big, Path("big.bmp")));
  EXPECT_EQ(ReadImagePreview(preview, Path("big.bmp"), 50, 50), 0);
  EXPECT_EQ(preview.Width(), 50);
  EXPECT_EQ(preview.Height(), 25);
  EXPECT_FALSE(preview.HasUndo());

  WriteBytes(Path("bad.bmp"), MakeBmp({.width = 4, .height = 10, .bits = 8, .tableEntries = 256}, Bytes(3, 0)));
  EXPECT_EQ(ReadImagePreview(preview, Path("bad.bmp"), 50, 50), 2);
  EXPECT_FALSE(preview.HasImage());
  EXPECT_EQ(ReadImagePreview(preview, Path("missing.bmp"), 50, 50), 2);
  EXPECT_TRUE(host.messages.empty());
}

// ---- Files made by other programs, and ours read by them ----

class BmpInteropTest : public BmpTest {
 protected:
  void SetUp() override {
    BmpTest::SetUp();
    REQUIRE_TOOLS("ppmtobmp", "convert");
    // A 13 x 7 picture of 12 colours as a plain PPM: the reference for every decode.
    std::string ppm = "P3\n13 7\n255\n";
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 13; ++x) {
        int c = (x + 2 * y) % 12;
        ppm += std::to_string(c * 20) + " " + std::to_string(255 - c * 15) + " " + std::to_string(c * c) + "\n";
        reference.push_back(uint32_t(c * 20) << 16 | uint32_t(255 - c * 15) << 8 | uint32_t(c * c));
      }
    WriteBytes(Path("ref.ppm"), Bytes(ppm.begin(), ppm.end()));
  }
  void ExpectReference(DIBImage& document) {
    ASSERT_EQ(document.Width(), 13);
    ASSERT_EQ(document.Height(), 7);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 13; ++x) ASSERT_EQ(PixelRgb(document, x, y), reference[size_t(y * 13 + x)]) << x << "," << y;
  }
  std::vector<uint32_t> reference;
};

TEST_F(BmpInteropTest, DecodesNetpbmFilesAtEveryDepthAndHeader) {
  for (const char* options : {"-windows -bpp=4", "-windows -bpp=8", "-windows -bpp=24", "-os2 -bpp=4", "-os2 -bpp=8",
                              "-os2 -bpp=24"}) {
    SCOPED_TRACE(options);
    std::string out = Path("np.bmp");
    ASSERT_TRUE(RunTool("ppmtobmp " + std::string(options) + " '" + Path("ref.ppm") + "' > '" + out + "'"));
    DIBImage document;
    ASSERT_TRUE(ReadImageFile(document, out)) << host.LastMessage();
    EXPECT_EQ(document.fileType, std::string(options).find("os2") != std::string::npos ? kOs2Bmp : kWindowsBmp);
    ExpectReference(document);
  }
}

TEST_F(BmpInteropTest, DecodesImageMagickFilesAndOneBitFiles) {
  DIBImage document;
  ASSERT_TRUE(RunTool("convert '" + Path("ref.ppm") + "' -type Palette BMP3:'" + Path("im8.bmp") + "'"));
  ASSERT_TRUE(ReadImageFile(document, Path("im8.bmp"))) << host.LastMessage();
  ExpectReference(document);
  ASSERT_TRUE(RunTool("convert '" + Path("ref.ppm") + "' -type TrueColor BMP3:'" + Path("im24.bmp") + "'"));
  ASSERT_TRUE(ReadImageFile(document, Path("im24.bmp"))) << host.LastMessage();
  ExpectReference(document);
  // A checkerboard of black and white, 1 bit per pixel.
  ASSERT_TRUE(RunTool("convert -size 11x5 pattern:checkerboard -monochrome BMP3:'" + Path("mono.bmp") + "'"));
  ASSERT_TRUE(RunTool("convert '" + Path("mono.bmp") + "' -compress none '" + Path("mono.pbm") + "'"));
  ASSERT_TRUE(ReadImageFile(document, Path("mono.bmp"))) << host.LastMessage();
  EXPECT_EQ(document.ColorCount(), 2u);
  Bytes pbm = ReadBytes(Path("mono.pbm"));
  std::string bitsText(pbm.begin() + 6, pbm.end());  // after "P1\n11 5\n"
  int x = 0, y = 0;
  for (char c : bitsText) {
    if (c != '0' && c != '1') continue;
    EXPECT_EQ(PixelRgb(document, x, y), c == '1' ? 0u : 0xFFFFFFu) << x << "," << y;
    if (++x == 11) x = 0, ++y;
  }
  EXPECT_EQ(y, 5);
}

TEST_F(BmpInteropTest, DecodesTheLongerWindowsHeadersOtherProgramsWrite) {
  // ImageMagick's default BMP format writes the 108- or 124-byte header.
  for (const char* format : {"BMP:"}) {
    for (const char* type : {"Palette", "TrueColor"}) {
      DIBImage document;
      std::string path = Path(std::string("long") + type + ".bmp");
      ASSERT_TRUE(RunTool("convert '" + Path("ref.ppm") + "' -type " + type + " " + format + "'" + path + "'"));
      ASSERT_GT(ReadBytes(path)[14], 40) << "the file has a longer header";
      ASSERT_TRUE(ReadImageFile(document, path)) << format << type << ": " << host.LastMessage();
      EXPECT_EQ(document.fileType, kWindowsBmp);
      ExpectReference(document);
    }
  }
}

TEST_F(BmpInteropTest, OurFilesDecodeTheSameInImageMagick) {
  DIBImage picture;
  ASSERT_TRUE(RunTool("ppmtobmp -bpp=8 '" + Path("ref.ppm") + "' > '" + Path("ref.bmp") + "'"));
  ASSERT_TRUE(ReadImageFile(picture, Path("ref.bmp")));
  for (uint32_t type : {kWindowsBmp, kOs2Bmp}) {
    picture.fileType = type;
    ASSERT_TRUE(WriteImageFile(picture, Path("ours.bmp")));
    ASSERT_TRUE(RunTool("convert '" + Path("ours.bmp") + "' -compress none '" + Path("back.ppm") + "'"));
    Bytes back = ReadBytes(Path("back.ppm"));
    std::string text(back.begin(), back.end());
    EXPECT_EQ(text.substr(0, 2), "P3");
    // Compare the numbers after the header with the reference colours.
    std::vector<uint32_t> values;
    size_t pos = 2;
    while (pos < text.size()) {
      while (pos < text.size() && !isdigit(static_cast<unsigned char>(text[pos]))) ++pos;
      if (pos >= text.size()) break;
      values.push_back(uint32_t(std::stoul(text.substr(pos))));
      while (pos < text.size() && isdigit(static_cast<unsigned char>(text[pos]))) ++pos;
    }
    ASSERT_EQ(values.size(), 3 + 3 * reference.size());
    for (size_t i = 0; i < reference.size(); ++i)
      EXPECT_EQ(values[3 + 3 * i] << 16 | values[4 + 3 * i] << 8 | values[5 + 3 * i], reference[i]) << i;
  }
}

}  // namespace quilla
