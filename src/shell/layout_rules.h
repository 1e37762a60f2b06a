// The arithmetic of the window layout and title, kept free of the platform so it can be
// tested on its own: how large the client area is for an image, where "PosMode" puts the
// window, and what the title says.
#pragma once
#include <string>

namespace quilla {

// The system sizes the layout works with.
struct LayoutMetrics {
  int frameW = 0, frameH = 0;   // window size minus client size, menu bar on one line
  int availW = 0, availH = 0;   // room for the client area on the screen
  int menuH = 0;                // one line of menu bar
  int barW = 0, barH = 0;       // a vertical bar's width, a horizontal bar's height
};

enum class WindowShape { Maximized, AutoResize, KeepSize };

struct LayoutInput {
  int imageW = 0, imageH = 0;
  WindowShape shape = WindowShape::AutoResize;
  bool barsShown = true;
  int windowW = 0, windowH = 0;  // current size (KeepSize)
  int shortMenuWidth = 0;        // 0: the short menu never wraps
};

struct LayoutResult {
  int clientW = 0, clientH = 0;
  int windowW = 0, windowH = 0;
  int rangeX = 0, rangeY = 0;    // largest scroll positions
};

LayoutResult LayOut(const LayoutInput& in, const LayoutMetrics& m);

// The full titles fit at fullMenuWidth and above (0: always).
inline bool UseFullMenuTitles(int windowW, int fullMenuWidth) { return windowW >= fullMenuWidth; }

struct DesktopInfo {
  int width = 0, height = 0;          // desktop rectangle
  int frameX = 0, frameY = 0;         // sizing frame
  int workRight = 0, workBottom = 0;  // right and bottom edge of the work area
};
struct Point2 {
  int x = 0, y = 0;
};
// The window position for "PosMode" (105..110) and a window of width x height; current
// is the window's present top-left corner. "Same position" keeps it unless the window
// would pass the work area's right or bottom edge: then it moves left or up until all
// inside its sizing frame is on the screen, but never past the left-and-top corner.
Point2 PlaceFor(int posMode, int width, int height, Point2 current, const DesktopInfo& desktop);

// "name (WxHx16.7 million) - title" or "name (WxHxN) - title"; the program title alone
// without an image.
std::string ImageTitle(const std::string& name, bool hasImage, int width, int height, unsigned colorCount,
                       const std::string& programTitle);
// "x, y: WxH" for a selection drawn from (left, top) to (right, bottom), inclusive.
std::string SelectionTitle(int left, int top, int right, int bottom);

}  // namespace quilla
