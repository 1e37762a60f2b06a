// Text drawn through the system's fonts (under Wine in the Windows builds): where the letters
// land for each direction and alignment, what a transparent or opaque background leaves, and
// the palette inks.
#include "shell/text_render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <utility>

#include "shell/text_rules.h"

namespace quilla {

namespace {

constexpr int kSide = 64;
constexpr uint32_t kGrey = 0x808080u;
constexpr uint32_t kRed = PackColor(255, 0, 0), kBlue = PackColor(0, 0, 255);

using Pixels = std::set<std::pair<int, int>>;

struct Box {
  int left = kSide, top = kSide, right = -1, bottom = -1;
};

// A grey true-colour picture.
void MakeGrey(DIBImage& image) {
  ASSERT_TRUE(image.CreateImage(kSide, kSide, true, nullptr, 0, 0));
  image.FillRect(image.GetImageRect(), kGrey, false);
}

uint32_t PixelAt(DIBImage& image, int x, int y) {
  ImageLock lock(image);
  const uint8_t* p = image.RowPointer(y) + size_t(x) * 3;
  return PackColor(p[2], p[1], p[0]);
}

TextStyle Letter(int direction, int alignment = 1) {
  TextStyle style;
  style.text = "L";
  style.face = "Tahoma";
  style.points = 14;
  style.foreground = kRed;
  style.background = kBlue;
  style.direction = direction;
  style.alignment = alignment;
  return style;
}

// Draws the style into rect of a grey picture; the pixels that took the foreground, relative
// to the rectangle. Every other pixel, inside or out, must still be grey.
Pixels Drawn(const TextStyle& style, const ImageRect& rect) {
  DIBImage image;
  MakeGrey(image);
  EXPECT_EQ(RenderText(image, style, rect), TextRenderResult::Ok);
  Pixels lit;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      const uint32_t pixel = PixelAt(image, x, y);
      const bool inside = x >= rect.left && x <= rect.right && y >= rect.top && y <= rect.bottom;
      if (inside && pixel == kRed) {
        lit.insert({x - rect.left, y - rect.top});
      } else {
        EXPECT_EQ(pixel, kGrey) << x << ", " << y;
      }
    }
  return lit;
}

Box BoundsOf(const Pixels& pixels) {
  Box box;
  for (auto [x, y] : pixels) {
    box.left = std::min(box.left, x), box.top = std::min(box.top, y);
    box.right = std::max(box.right, x), box.bottom = std::max(box.bottom, y);
  }
  return box;
}

}  // namespace

// The same 30 x 24 mask drawn flat into a 30 x 24 rectangle and turned into 24 x 30 ones.
TEST(TextRender, DirectionsTurnTheLettersIntoTheRectangle) {
  const Pixels flat = Drawn(Letter(kHorizontal), {10, 12, 39, 35});
  ASSERT_GT(flat.size(), 10u);
  const Box box = BoundsOf(flat);
  EXPECT_LT(box.left, 6) << "left aligned";
  EXPECT_LT(box.top, 8) << "from the top";
  EXPECT_LT(box.right, 20);

  // Up reads from bottom to top: the letter's top lies on the left, its start at the bottom.
  const Pixels up = Drawn(Letter(kVerticalUp), {10, 12, 33, 41});
  Pixels expectedUp, expectedDown;
  for (auto [x, y] : flat) {
    expectedUp.insert({y, 29 - x});
    expectedDown.insert({23 - y, x});
  }
  EXPECT_EQ(up, expectedUp);
  EXPECT_GT(BoundsOf(up).bottom, 23);
  // Down reads from top to bottom: the letter's top lies on the right, its start at the top.
  const Pixels down = Drawn(Letter(kVerticalDown), {10, 12, 33, 41});
  EXPECT_EQ(down, expectedDown);
  EXPECT_GT(BoundsOf(down).right, 15);
  EXPECT_LT(BoundsOf(down).top, 6);
}

TEST(TextRender, AlignmentPlacesEachLine) {
  const int flatWidth = BoundsOf(Drawn(Letter(kHorizontal, 1), {0, 0, 49, 29})).right;
  const Box right = BoundsOf(Drawn(Letter(kHorizontal, 2), {0, 0, 49, 29}));
  EXPECT_GT(right.right, 44);
  EXPECT_GT(right.left, 49 - 2 * flatWidth);
  const Box centre = BoundsOf(Drawn(Letter(kHorizontal, 0), {0, 0, 49, 29}));
  EXPECT_NEAR((centre.left + centre.right) / 2, 25, 4);
}

// Opaque text gives every other pixel of the rectangle the background; a palette picture
// takes the inks, outside its table the first and the last entry.
TEST(TextRender, OpaqueBackgroundAndPaletteInks) {
  DIBImage image;
  MakeGrey(image);
  TextStyle style = Letter(kHorizontal);
  style.opaque = 1;
  const ImageRect rect{4, 4, 33, 27};
  ASSERT_EQ(RenderText(image, style, rect), TextRenderResult::Ok);
  int red = 0, blue = 0;
  for (int y = rect.top; y <= rect.bottom; ++y)
    for (int x = rect.left; x <= rect.right; ++x) (PixelAt(image, x, y) == kRed ? red : blue) += 1;
  EXPECT_GT(red, 10);
  EXPECT_EQ(red + blue, 30 * 24);
  EXPECT_EQ(PixelAt(image, 34, 4), kGrey);
  EXPECT_EQ(PixelAt(image, 4, 28), kGrey);

  DIBImage palette;
  std::array<RgbQuad, 16> table{};
  ASSERT_TRUE(palette.CreateImage(20, 20, false, table.data(), 16, 7));
  palette.FillRect(palette.GetImageRect(), 7, true);
  ASSERT_EQ(RenderText(palette, style, std::nullopt, {16, 99}), TextRenderResult::Ok);
  std::set<int> indices;
  {
    ImageLock lock(palette);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) indices.insert(palette.RowPointer(y)[x]);
  }
  EXPECT_EQ(indices, (std::set<int>{0, 15})) << "the whole picture, in the fall-back inks";
}

}  // namespace quilla
