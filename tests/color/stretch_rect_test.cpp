#include "color/stretch_rect.h"

#include <vector>

#include "quantizer_fixture.h"

namespace quilla {
namespace {

const std::vector<Rgb> kTable = {{0, 0, 0}, {250, 0, 0}, {0, 0, 250}};
const std::vector<Rgb> kOtherTable = {{255, 255, 255}, {0, 0, 255}, {255, 0, 0}, {0, 0, 0}};

class StretchRectTest : public QuantizerTest {};

// Columns repeat when widening; rows are sampled from the rectangle's bottom row up.
TEST_F(StretchRectTest, SamplesColumnsFromTheLeftAndRowsFromTheBottom) {
  DIBImage source, dest;
  MakeTrueColor(source, 3, 3, [](int x, int y) { return Rgb{x * 10, y * 10, 0}; });
  MakeTrueColor(dest, 8, 4, [](int, int) { return Rgb{1, 2, 3}; });
  ASSERT_EQ(StretchRect(dest, 1, 1, 6, 2, source, 0, 0, 2, 2), 1);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(PixelAt(dest, 1 + i, 2).r, (i * 3 / 6) * 10) << i;
  EXPECT_EQ(PixelAt(dest, 1, 2).g, 20) << "the bottom row takes the source's bottom row";
  EXPECT_EQ(PixelAt(dest, 1, 1).g, 10) << "the next row up takes source row 3 / 2 = 1 from the bottom";
  EXPECT_EQ(PixelAt(dest, 0, 1), (Rgb{1, 2, 3})) << "outside the rectangle nothing changes";
  EXPECT_EQ(PixelAt(dest, 7, 2), (Rgb{1, 2, 3}));
  EXPECT_EQ(StretchRect(dest, 0, 0, 8, 0, source, 0, 0, 2, 2), 0) << "past the destination's edge";
}

TEST_F(StretchRectTest, ReconcilesTheFourKinds) {
  DIBImage palette, other, trueColor;
  MakePaletteImage(palette, 3, 1, kTable, [](int x, int) { return x; });
  // Palette to true colour expands through the source's table.
  MakeTrueColor(trueColor, 3, 1, [](int, int) { return Rgb{9, 9, 9}; });
  ASSERT_EQ(StretchRect(trueColor, 0, 0, 2, 0, palette, 0, 0, 2, 0), 1);
  EXPECT_EQ(PixelAt(trueColor, 1, 0), (Rgb{250, 0, 0}));
  // Palette to palette goes through each source entry's nearest destination entry.
  MakePaletteImage(other, 3, 1, kOtherTable, [](int, int) { return 0; });
  ASSERT_EQ(StretchRect(other, 0, 0, 2, 0, palette, 0, 0, 2, 0), 1);
  EXPECT_EQ(IndexAt(other, 0, 0), 3);
  EXPECT_EQ(IndexAt(other, 1, 0), 2);
  EXPECT_EQ(IndexAt(other, 2, 0), 1);
  // True colour to palette takes the nearest entry, undithered.
  MakeTrueColor(trueColor, 3, 1, [](int x, int) { return x == 0 ? Rgb{240, 240, 240} : Rgb{10, 0, 200}; });
  ASSERT_EQ(StretchRect(other, 0, 0, 2, 0, trueColor, 0, 0, 2, 0), 1);
  EXPECT_EQ(IndexAt(other, 0, 0), 0);
  EXPECT_EQ(IndexAt(other, 1, 0), 1);
  EXPECT_EQ(IndexAt(other, 2, 0), 1);
}

}  // namespace
}  // namespace quilla
