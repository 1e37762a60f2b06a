#include "shell/full_screen_rules.h"

#include <gtest/gtest.h>

#include <vector>

namespace quilla {

TEST(FullScreenPlacement, LargePicturesShrinkSmallOnesStayAndAllAreCentred) {
  struct Case { int w, h, screenW, screenH; ScreenPlacement expected; };
  const Case cases[] = {
      {4000, 1000, 1024, 768, {0, 256, 1024, 256}},    // too wide: full width, centred vertically
      {4000, 1000, 1280, 1024, {0, 352, 1280, 320}},
      {1000, 3000, 1024, 768, {384, 0, 256, 768}},     // too tall: full height, centred across
      {1025, 100, 1024, 768, {0, 334, 1024, 100}},     // one pixel too wide is enough to shrink
      {100, 50, 1024, 768, {462, 359, 100, 50}},       // small: 1:1, never enlarged
      {1024, 768, 1024, 768, {0, 0, 1024, 768}},       // exactly the screen
      {101, 51, 1024, 768, {461, 358, 101, 51}},       // odd margins round down
      {20000, 2, 1024, 768, {0, 383, 1024, 1}},        // a sliver keeps one row
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " on " << c.screenW << "x" << c.screenH);
    const ScreenPlacement p = FullScreenPlacement(c.w, c.h, c.screenW, c.screenH);
    EXPECT_EQ((std::vector{p.x, p.y, p.width, p.height}),
              (std::vector{c.expected.x, c.expected.y, c.expected.width, c.expected.height}));
  }
}

}  // namespace quilla
