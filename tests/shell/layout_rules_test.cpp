#include "shell/layout_rules.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace quilla {

// Room for a 1000 x 700 client, 16-pixel bars, 20-pixel menu line, frame 8 x 50; a kept
// window is 400 x 300.
TEST(LayOut, ClientAndScrollRangesAtTheEdges) {
  constexpr auto A = WindowShape::AutoResize, M = WindowShape::Maximized, K = WindowShape::KeepSize;
  struct Case { WindowShape shape; bool bars; int shortMenu, w, h, clientW, clientH, rangeX, rangeY; };
  const Case cases[] = {
      {A, true, 0, 1000, 700, 1000, 700, 0, 0},    // exactly the room: no bars
      {A, true, 0, 1001, 684, 1000, 700, 1, 0},    // a horizontal bar, still room below
      {A, true, 0, 1001, 685, 1000, 700, 17, 1},   // ... which forces a vertical one
      {A, false, 0, 1001, 690, 1000, 690, 1, 0},
      {A, true, 300, 100, 100, 100, 120, 0, 0},    // narrower than the short menu: two lines
      {A, true, 300, 292, 100, 292, 100, 0, 0},    // 292 + 8 reaches it
      {A, true, 300, 100, 690, 116, 700, 0, 10},   // the second line needs a vertical bar
      {M, true, 0, 200, 150, 1000, 700, 0, 0},
      {M, true, 0, 1001, 690, 1000, 700, 17, 6},
      {K, true, 0, 392, 250, 392, 250, 0, 0},
      {K, true, 500, 392, 250, 392, 250, 16, 36},  // less a menu line, then both bars
      {K, false, 500, 392, 250, 392, 250, 0, 20},
  };
  const LayoutMetrics m{8, 50, 1000, 700, 20, 16, 16};
  for (const Case& c : cases) {
    const LayoutResult r = LayOut({c.w, c.h, c.shape, c.bars, 400, 300, c.shortMenu}, m);
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " shape " << int(c.shape) << " short " << c.shortMenu);
    EXPECT_EQ((std::vector{r.clientW, r.clientH, r.rangeX, r.rangeY, r.windowW, r.windowH}),
              (std::vector{c.clientW, c.clientH, c.rangeX, c.rangeY, c.clientW + 8, c.clientH + 50}));
  }
}

// Desktop 1280 x 1024, frame 4, work area to 1280 x 1000; the window stands at (10, 10).
TEST(PlaceFor, CornersCentreAndSamePositionKeptOnTheWorkArea) {
  struct Case { int mode, w, h, x, y; };
  const Case cases[] = {
      {106, 500, 400, -4, -4},      {107, 500, 400, -4, 628},    {108, 500, 400, 784, -4},
      {109, 3000, 3000, -4, -4},    {110, 500, 400, 390, 312},   {110, 3000, 3000, -4, -4},
      {105, 1274, 994, 10, 10},     // only the frame passes the edge
      {105, 1275, 995, 9, 9},       // one pixel more moves it by one
      {105, 6000, 4000, -4, -4},    // no further than the left-and-top corner
  };
  const DesktopInfo d{1280, 1024, 4, 4, 1280, 1000};
  for (const Case& c : cases) {
    const Point2 p = PlaceFor(c.mode, c.w, c.h, {10, 10}, d);
    EXPECT_EQ((std::pair{p.x, p.y}), (std::pair{c.x, c.y})) << c.mode << " " << c.w << "x" << c.h;
  }
  // Never moved right or down.
  const Point2 p = PlaceFor(105, 6000, 400, {-50, 300}, d);
  EXPECT_EQ((std::pair{p.x, p.y}), (std::pair{-50, 300}));
}

TEST(Titles, NameSizeAndColoursOrTheProgramAlone) {
  EXPECT_EQ(ImageTitle("a.bmp", false, 1, 1, 0, "Quilla"), "Quilla");
  EXPECT_EQ(ImageTitle("a.bmp", true, 640, 480, 0, "Quilla"), "a.bmp (640x480x16.7 million) - Quilla");
  EXPECT_EQ(ImageTitle("a.bmp", true, 1, 1, 2, "Quilla"), "a.bmp (1x1x2) - Quilla");
  EXPECT_EQ(SelectionTitle(3, 4, 3, 4), "3, 4: 1x1");
}

}  // namespace quilla
