#include "retouch/geometry.h"

#include "formats/formats_test_support.h"

namespace quilla {

namespace {

// A copy of the document's image, to compare with afterwards.
void CopyOf(const DIBImage& document, DIBImage& copy) { copy.ReplaceDib(document.Duplicate()); }

}  // namespace

TEST(GeometryTest, RedimensionKeepsTheTopLeftAndAddsZero) {
  DIBImage document, original;
  MakeTestImage(document, 10, 10, 0);
  CopyOf(document, original);
  ASSERT_TRUE(RedimensionImage(document, 12, 8));
  ASSERT_EQ(document.Width(), 12);
  ASSERT_EQ(document.Height(), 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 12; ++x) {
      EXPECT_EQ(PixelRgb(document, x, y), x < 10 ? PixelRgb(original, x, y) : 0u) << x << ", " << y;
    }
  }
  document.Undo();
  EXPECT_TRUE(SamePixels(document, original));

  // A palette image keeps its table and extends with entry 0.
  MakeTestImage(document, 3, 2, 5);
  ASSERT_TRUE(RedimensionImage(document, 4, 3));
  EXPECT_EQ(document.ColorCount(), 5u);
  EXPECT_EQ(Indices(document), (std::vector<uint8_t>{1, 1, 1, 0, 4, 4, 4, 0, 0, 0, 0, 0}));
}

TEST(GeometryTest, CropTakesTheRectangleFromTheTopLeft) {
  DIBImage document, original;
  MakeTestImage(document, 6, 5, 0);
  CopyOf(document, original);
  EXPECT_FALSE(CropImage(document, 4, 0, 3, 2)) << "past the right edge";
  EXPECT_FALSE(CropImage(document, 0, -1, 2, 2));
  ASSERT_TRUE(CropImage(document, 2, 1, 3, 4));
  ASSERT_EQ(document.Width(), 3);
  ASSERT_EQ(document.Height(), 4);
  EXPECT_EQ(PixelRgb(document, 0, 0), PixelRgb(original, 2, 1));
  EXPECT_EQ(PixelRgb(document, 2, 3), PixelRgb(original, 4, 4));
  document.Undo();
  EXPECT_TRUE(SamePixels(document, original));
}

TEST(GeometryTest, PlaceRectCutsAtTheEdges) {
  DIBImage document, original, area;
  MakeTestImage(document, 4, 3, 0);
  CopyOf(document, original);
  ASSERT_TRUE(ExtractRect(document, 2, 0, 2, 2, area));
  PlaceRect(document, -1, 2, area);  // only the area's top-right pixel lands, at (0, 2)
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(PixelRgb(document, x, y), x == 0 && y == 2 ? PixelRgb(original, 3, 0) : PixelRgb(original, x, y));
    }
  }
}

TEST(GeometryTest, FlipsMirrorRowsAndColumns) {
  for (int colors : {0, 7}) {
    DIBImage document, original;
    MakeTestImage(document, 5, 3, colors);
    CopyOf(document, original);
    FlipHorizontal(document);
    for (int x = 0; x < 5; ++x) EXPECT_EQ(PixelRgb(document, x, 1), PixelRgb(original, 4 - x, 1));
    FlipVertical(document);
    for (int y = 0; y < 3; ++y) EXPECT_EQ(PixelRgb(document, 0, y), PixelRgb(original, 4, 2 - y));
    EXPECT_FALSE(document.HasUndo()) << "flips keep no undo copy";
    FlipHorizontal(document);
    FlipVertical(document);
    EXPECT_TRUE(SamePixels(document, original));
  }
}

TEST(GeometryTest, RotationsExchangeTheSidesAndUndoEachOther) {
  for (int colors : {0, 7}) {
    DIBImage document, original;
    MakeTestImage(document, 4, 3, colors);
    CopyOf(document, original);
    ASSERT_TRUE(RotateRight(document));
    ASSERT_EQ(document.Width(), 3);
    ASSERT_EQ(document.Height(), 4);
    // Clockwise: the old bottom-left corner comes to the top-left.
    EXPECT_EQ(PixelRgb(document, 0, 0), PixelRgb(original, 0, 2));
    EXPECT_EQ(PixelRgb(document, 2, 3), PixelRgb(original, 3, 0));
    ASSERT_TRUE(RotateLeft(document));
    EXPECT_TRUE(SamePixels(document, original));
    for (int turn = 0; turn < 4; ++turn) ASSERT_TRUE(RotateRight(document));
    EXPECT_TRUE(SamePixels(document, original));
    EXPECT_FALSE(document.HasUndo()) << "rotations keep no undo copy";
    EXPECT_EQ(document.ColorCount(), original.ColorCount());
  }
}

}  // namespace quilla
