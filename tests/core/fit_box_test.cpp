#include "core/fit_box.h"

#include <gtest/gtest.h>

namespace quilla {

TEST(FitInBox, KeepsAspectRatioWhenShrinking) {
  EXPECT_EQ(FitInBox(800, 600, 200, 200), (BoxSize{200, 150}));
  EXPECT_EQ(FitInBox(600, 800, 200, 200), (BoxSize{150, 200}));
}

TEST(FitInBox, EnlargesSmallImages) {
  EXPECT_EQ(FitInBox(10, 5, 200, 200), (BoxSize{200, 100}));
  EXPECT_EQ(FitInBox(1, 1, 64, 48), (BoxSize{48, 48}));
}

TEST(FitInBox, RoundsHalfUp) {
  // 3 x 2 into 100 x 100: b = 2 * 100 / 3 = 66.67 -> 67; the width computed back,
  // 67 * 3 / 2 = 100.5, would round past the box and is held to it.
  EXPECT_EQ(FitInBox(3, 2, 100, 100), (BoxSize{100, 67}));
  // 2 x 3 into 100 x 100: a = 66.67 -> 67, height held to 100 likewise.
  EXPECT_EQ(FitInBox(2, 3, 100, 100), (BoxSize{67, 100}));
  // 5 x 3 into 3 x 3: b = 1.8 -> 2; a = 5 > 3 so width = round(2 * 5 / 3 = 3.33) = 3.
  EXPECT_EQ(FitInBox(5, 3, 3, 3), (BoxSize{3, 2}));
}

TEST(FitInBox, SliverKeepsOnePixel) {
  EXPECT_EQ(FitInBox(10760, 8, 640, 480), (BoxSize{640, 1}));
  EXPECT_EQ(FitInBox(8, 10760, 64, 64), (BoxSize{1, 64}));
}

TEST(FitInBox, EmptySizeGivesZero) { EXPECT_EQ(FitInBox(0, 10, 100, 100), (BoxSize{0, 0})); }

TEST(ShrinkToBox, KeepsSizeThatFits) {
  EXPECT_EQ(ShrinkToBox(100, 50, 100, 50), (BoxSize{100, 50}));
  EXPECT_EQ(ShrinkToBox(101, 50, 100, 50), (BoxSize{100, 50}));
  EXPECT_EQ(ShrinkToBox(1024, 768, 640, 640), (BoxSize{640, 480}));
}

}  // namespace quilla
