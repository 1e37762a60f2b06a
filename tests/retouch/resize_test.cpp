#include "retouch/resize.h"

#include "formats/formats_test_support.h"

namespace quilla {

TEST(ResizeTest, NearestNeighbourCountsRowsFromTheBottom) {
  DIBImage document;
  MakeTestImage(document, 4, 3, 0);
  DibBlock before = document.Duplicate();
  DIBImage original;
  original.ReplaceDib(std::move(before));
  ASSERT_TRUE(ResizeImage(document, 2, 2));
  EXPECT_EQ(document.Width(), 2);
  EXPECT_EQ(document.Height(), 2);
  // Target row j from the bottom takes source row j * 3 / 2 from the bottom; column i, i * 4 / 2.
  EXPECT_EQ(PixelRgb(document, 0, 1), PixelRgb(original, 0, 2));  // bottom row <- bottom row
  EXPECT_EQ(PixelRgb(document, 1, 0), PixelRgb(original, 2, 1));  // top row <- source row 1 from the bottom
  EXPECT_TRUE(document.HasUndo());
  document.Undo();
  EXPECT_TRUE(SamePixels(document, original));
}

TEST(ResizeTest, PaletteImagesKeepTheirTableAndMergeRepeatedColours) {
  DIBImage document;
  RgbQuad table[3] = {{1, 2, 3, 0}, {9, 9, 9, 0}, {1, 2, 3, 0}};
  ASSERT_TRUE(document.CreateImage(3, 1, false, table, 3, 0));
  document.Lock();
  for (int x = 0; x < 3; ++x) document.RowPointer(0)[x] = uint8_t(x);
  document.Unlock();
  ASSERT_TRUE(ResizeImage(document, 6, 2));
  EXPECT_EQ(document.ColorCount(), 3u);
  document.Lock();
  const uint8_t expect[6] = {0, 0, 1, 1, 0, 0};  // index 2 repeats index 0's colour
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(document.RowPointer(y)[x], expect[x]);
  document.Unlock();
}

TEST(ResizeTest, RefusesEmptySizesAndMissingImages) {
  DIBImage document;
  EXPECT_FALSE(ResizeImage(document, 2, 2));
  MakeTestImage(document, 2, 2, 4);
  EXPECT_FALSE(ResizeImage(document, 0, 2));
  EXPECT_FALSE(ResizeImage(document, 2, -1));
  EXPECT_EQ(document.Width(), 2);
}

}  // namespace quilla
