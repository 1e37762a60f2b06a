#include "shell/text_rules.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace quilla {

namespace {
void ExpectRect(const ImageRect& r, int left, int top, int right, int bottom) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right, right);
  EXPECT_EQ(r.bottom, bottom);
}
}  // namespace

TEST(TextRules, RectangleIsClampedToTheImageAndFallsBackWhenNothingIsLeft) {
  ExpectRect(TextRectangle(kDefaultTextRect, 64, 48), 0, 0, 63, 47);
  ExpectRect(TextRectangle(kDefaultTextRect, 640, 480), 0, 0, 200, 200);
  ExpectRect(TextRectangle({-5, -3, 20, 30}, 64, 48), 0, 0, 20, 30);
  // A detached area dragged off the image leaves nothing to draw into.
  ExpectRect(TextRectangle({70, 10, 90, 20}, 64, 48), 0, 0, 63, 47);
  ExpectRect(TextRectangle({10, -40, 20, -2}, 300, 300), 0, 0, 200, 200);
}

// Every direction maps the rectangle onto the whole mask, one pixel each; the turns put the
// text's first row at the left (up) or right (down) edge.
TEST(TextRules, TurnedMasksCoverTheRectangleOnce) {
  const int w = 5, h = 3;
  for (int direction : {kHorizontal, kVerticalUp, kVerticalDown}) {
    const MaskSize mask = TextMaskSize(w, h, direction);
    EXPECT_EQ(mask.width * mask.height, w * h);
    std::set<std::pair<int, int>> seen;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const ImagePoint p = MaskPointFor(x, y, direction, mask);
        ASSERT_TRUE(p.x >= 0 && p.x < mask.width && p.y >= 0 && p.y < mask.height) << direction;
        seen.insert({p.x, p.y});
      }
    EXPECT_EQ(seen.size(), size_t(w * h)) << direction;
  }
  const MaskSize turned = TextMaskSize(w, h, kVerticalUp);
  EXPECT_EQ(turned.width, h);
  EXPECT_EQ(turned.height, w);
  // Up: the mask's top-left is the rectangle's bottom-left, its top row runs up column 0.
  EXPECT_EQ(MaskPointFor(0, h - 1, kVerticalUp, turned).x, 0);
  EXPECT_EQ(MaskPointFor(0, h - 1, kVerticalUp, turned).y, 0);
  EXPECT_EQ(MaskPointFor(0, 0, kVerticalUp, turned).x, h - 1);
  // Down: the mask's top-left is the rectangle's top-right, its top row runs down the last column.
  EXPECT_EQ(MaskPointFor(w - 1, 0, kVerticalDown, turned).x, 0);
  EXPECT_EQ(MaskPointFor(w - 1, 0, kVerticalDown, turned).y, 0);
  EXPECT_EQ(MaskPointFor(w - 1, h - 1, kVerticalDown, turned).x, h - 1);
}

TEST(TextRules, InksSlidersAndPoints) {
  EXPECT_EQ(ForegroundInk(5, 16), 5u);
  EXPECT_EQ(ForegroundInk(16, 16), 0u);
  EXPECT_EQ(BackgroundInk(15, 16), 15u);
  EXPECT_EQ(BackgroundInk(200, 16), 15u);

  // (10, 6)-(29, 15) in 64 x 48: 20 x 10.
  const RectSliders s = RectSliderRanges({10, 6, 29, 15}, 64, 48);
  EXPECT_EQ(s.left.minimum, 0);
  EXPECT_EQ(s.left.maximum, 44);
  EXPECT_EQ(s.top.maximum, 38);
  EXPECT_EQ(s.width.minimum, 1);
  EXPECT_EQ(s.width.maximum, 54);
  EXPECT_EQ(s.height.maximum, 42);
  ExpectRect(RectFromSliders(10, 6, 20, 10), 10, 6, 29, 15);

  EXPECT_EQ(PointListIndex(4), 0);
  EXPECT_EQ(PointListIndex(127), 123);
  EXPECT_EQ(PointListIndex(3), 6) << "outside the list: 10 points";
  EXPECT_EQ(PointListIndex(200), 6);
}

}  // namespace quilla
