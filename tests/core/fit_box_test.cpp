#include "core/fit_box.h"

#include <gtest/gtest.h>

namespace quilla {

TEST(FitInBox, KeepsAspectRatioAndRoundsHalfUpWithinTheBox) {
  struct Row { int width, height, boxWidth, boxHeight; BoxSize fitted; };
  const Row rows[] = {
      {800, 600, 200, 200, {200, 150}}, {600, 800, 200, 200, {150, 200}},  // shrinking
      {10, 5, 200, 200, {200, 100}},    {1, 1, 64, 48, {48, 48}},          // enlarging
      // 3 x 2 into 100 x 100: b = 2 * 100 / 3 = 66.67 -> 67; the width computed back,
      // 67 * 3 / 2 = 100.5, would round past the box and is held to it. 2 x 3 likewise.
      {3, 2, 100, 100, {100, 67}},      {2, 3, 100, 100, {67, 100}},
      // 5 x 3 into 3 x 3: b = 1.8 -> 2; a = 5 > 3 so width = round(2 * 5 / 3 = 3.33) = 3.
      {5, 3, 3, 3, {3, 2}},
      {10760, 8, 640, 480, {640, 1}},   {8, 10760, 64, 64, {1, 64}},  // a sliver keeps one pixel
      {0, 10, 100, 100, {0, 0}}};
  for (const Row& r : rows)
    EXPECT_EQ(FitInBox(r.width, r.height, r.boxWidth, r.boxHeight), r.fitted) << r.width << " x " << r.height;
}

TEST(ShrinkToBox, KeepsSizeThatFits) {
  EXPECT_EQ(ShrinkToBox(100, 50, 100, 50), (BoxSize{100, 50}));
  EXPECT_EQ(ShrinkToBox(101, 50, 100, 50), (BoxSize{100, 50}));
  EXPECT_EQ(ShrinkToBox(1024, 768, 640, 640), (BoxSize{640, 480}));
}

}  // namespace quilla
