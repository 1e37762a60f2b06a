#include <vector>

#include "color/copy_rect.h"
#include "quantizer_fixture.h"

namespace quilla {
namespace {

const std::vector<Rgb> kDestTable = {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 0, 255}};
const std::vector<Rgb> kSourceTable = {{0, 0, 250}, {250, 0, 0}, {250, 250, 250}};

class CopyRectTest : public QuantizerTest {
 protected:
  QuantizeOptions Mode(int combineMode, bool dither = false) {
    QuantizeOptions options;
    options.combineMode = combineMode;
    options.useDithering = dither;
    return options;
  }
  // A 4 x 3 palette image of all black.
  void MakeDest(DIBImage& dest) { MakePaletteImage(dest, 4, 3, kDestTable, [](int, int) { return 0; }); }
  // A 2 x 2 palette source: blue, red / white, blue.
  void MakeSource(DIBImage& source) {
    MakePaletteImage(source, 2, 2, kSourceTable, [](int x, int y) { return y == 0 ? x : (x == 0 ? 2 : 0); });
  }
};

TEST_F(CopyRectTest, TrueColourRowsAreCopiedAndCutAtTheEdges) {
  DIBImage dest, source;
  MakeTrueColor(dest, 4, 4, [](int, int) { return Rgb{0, 0, 0}; });
  MakeTrueColor(source, 3, 3, [](int x, int y) { return Rgb{x * 10, y * 10, 7}; });
  // Starts one column left of dest and runs past its bottom.
  ASSERT_EQ(CopyRect(dest, -1, 2, source, 0, 0, 2, 2, Mode(502)), 1);
  EXPECT_EQ(PixelAt(dest, 0, 2), (Rgb{10, 0, 7}));
  EXPECT_EQ(PixelAt(dest, 1, 3), (Rgb{20, 10, 7}));
  EXPECT_EQ(PixelAt(dest, 2, 2), (Rgb{0, 0, 0}));
  EXPECT_EQ(PixelAt(dest, 0, 1), (Rgb{0, 0, 0}));
  // Entirely outside: nothing to do.
  DibBlock before = dest.Block();
  EXPECT_EQ(CopyRect(dest, 4, 0, source, 0, 0, 2, 2, Mode(502)), 1);
  EXPECT_EQ(CopyRect(dest, -3, 0, source, 0, 0, 2, 2, Mode(502)), 1);
  EXPECT_EQ(dest.Block(), before);
}

TEST_F(CopyRectTest, PaletteSourceExpandsIntoTrueColour) {
  DIBImage dest, source;
  MakeTrueColor(dest, 3, 3, [](int, int) { return Rgb{1, 1, 1}; });
  MakeSource(source);
  ASSERT_EQ(CopyRect(dest, 1, 1, source, 0, 0, 1, 1, Mode(501)), 1);
  EXPECT_EQ(PixelAt(dest, 1, 1), (Rgb{0, 0, 250}));
  EXPECT_EQ(PixelAt(dest, 2, 1), (Rgb{250, 0, 0}));
  EXPECT_EQ(PixelAt(dest, 1, 2), (Rgb{250, 250, 250}));
  EXPECT_EQ(PixelAt(dest, 0, 0), (Rgb{1, 1, 1}));
}

TEST_F(CopyRectTest, TrueColourSourceIsMappedOntoTheDestinationTable) {
  DIBImage dest, source;
  MakeDest(dest);
  MakeTrueColor(source, 2, 1, [](int x, int) { return x == 0 ? Rgb{240, 10, 10} : Rgb{10, 10, 240}; });
  ASSERT_EQ(CopyRect(dest, 2, 0, source, 0, 0, 1, 0, Mode(501)), 1);
  EXPECT_EQ(TableOf(dest), kDestTable);
  EXPECT_EQ(IndexAt(dest, 2, 0), 2);
  EXPECT_EQ(IndexAt(dest, 3, 0), 3);
}

TEST_F(CopyRectTest, NewPaletteModeChangesTheWholeDestinationTable) {
  DIBImage dest, source;
  MakeDest(dest);
  MakeTrueColor(source, 2, 1, [](int x, int) { return x == 0 ? Rgb{40, 200, 120} : Rgb{0, 0, 0}; });
  QuantizeOptions options = Mode(kCombineNewPalette);
  options.nColorsCreatePal = 17;
  ASSERT_EQ(CopyRect(dest, 0, 2, source, 0, 0, 0, 0, options), 1);
  ASSERT_EQ(dest.ColorCount(), 17u);
  // The one computed colour comes from both whole images: 12 black dest pixels, and one
  // black and one green source pixel, all in the same box: (13 * 4 + 44 + 7) / 14 = 7 red.
  EXPECT_EQ(TableOf(dest)[8], (Rgb{7, 18, 13}));
  EXPECT_EQ(dest.Palette()->entries.size(), 17u);
  EXPECT_EQ(PixelAt(dest, 3, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(IndexAt(dest, 0, 2), 6);  // green-blue (44, 204, 124) is nearest Windows (0, 128, 128)
}

TEST_F(CopyRectTest, IdenticalTablesCopyIndices) {
  DIBImage dest, source;
  MakeDest(dest);
  MakePaletteImage(source, 2, 1, kDestTable, [](int x, int) { return x + 2; });
  ASSERT_EQ(CopyRect(dest, 0, 0, source, 0, 0, 1, 0, Mode(499)), 1);
  EXPECT_EQ(IndexAt(dest, 0, 0), 2);
  EXPECT_EQ(IndexAt(dest, 1, 0), 3);
}

TEST_F(CopyRectTest, KeepDestinationTableTranslatesToNearestEntries) {
  DIBImage dest, source;
  MakeDest(dest);
  MakeSource(source);
  ASSERT_EQ(CopyRect(dest, 1, 1, source, 0, 0, 1, 1, Mode(kCombineKeepDest)), 1);
  EXPECT_EQ(TableOf(dest), kDestTable);
  EXPECT_EQ(IndexAt(dest, 1, 1), 3);
  EXPECT_EQ(IndexAt(dest, 2, 1), 2);
  EXPECT_EQ(IndexAt(dest, 1, 2), 1);
  EXPECT_EQ(IndexAt(dest, 2, 2), 3);
  EXPECT_EQ(IndexAt(dest, 0, 0), 0);

  DIBImage dithered;
  MakeDest(dithered);
  ASSERT_EQ(CopyRect(dithered, 1, 1, source, 0, 0, 1, 1, Mode(kCombineKeepDest, true)), 1);
  EXPECT_EQ(TableOf(dithered), kDestTable);
  EXPECT_EQ(PixelAt(dithered, 2, 1), (Rgb{255, 0, 0}));
}

TEST_F(CopyRectTest, TakeSourceTableRewritesTheDestination) {
  DIBImage dest, source;
  MakePaletteImage(dest, 3, 1, kDestTable, [](int x, int) { return x + 1; });  // white, red, blue
  MakeSource(source);
  ASSERT_EQ(CopyRect(dest, 0, 0, source, 1, 0, 1, 0, Mode(kCombineTakeSource)), 1);
  EXPECT_EQ(TableOf(dest), kSourceTable);
  EXPECT_EQ(IndexAt(dest, 0, 0), 1);  // the copied source index, unchanged
  EXPECT_EQ(PixelAt(dest, 1, 0), (Rgb{250, 0, 0}));
  EXPECT_EQ(PixelAt(dest, 2, 0), (Rgb{0, 0, 250}));

  DIBImage dithered;
  MakePaletteImage(dithered, 3, 1, kDestTable, [](int x, int) { return x + 1; });
  ASSERT_EQ(CopyRect(dithered, 0, 0, source, 0, 1, 0, 1, Mode(kCombineTakeSource, true)), 1);
  EXPECT_EQ(TableOf(dithered), kSourceTable);
  EXPECT_EQ(PixelAt(dithered, 0, 0), (Rgb{250, 250, 250}));
}

TEST_F(CopyRectTest, UnknownCombineModeCopiesNothingButSucceeds) {
  DIBImage dest, source;
  MakeDest(dest);
  MakeSource(source);
  DibBlock before = dest.Block();
  for (int mode : {0, 499, 503}) EXPECT_EQ(CopyRect(dest, 0, 0, source, 0, 0, 1, 1, Mode(mode)), 1);
  EXPECT_EQ(dest.Block(), before);
  EXPECT_EQ(CopyRect(dest, 0, 0, dest, 0, 0, 1, 1, Mode(502)), 0);
}

}  // namespace
}  // namespace quilla
