// The arithmetic of the selection area, kept free of the platform so it can be tested on
// its own: the frame's pieces on the screen, what a press hits, and how a drag moves the
// rectangle. Image rectangles are inclusive; screen pieces have exclusive right and bottom.
#pragma once
#include <array>

#include "core/dib_image.h"

namespace quilla {

struct ImagePoint {
  int x = 0, y = 0;
};

struct ClientRect {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// The four edges, then the four handles, which are drawn only while the area is attached.
enum FramePiece { kLeftEdge, kBottomEdge, kRightEdge, kTopEdge, kTopLeft, kBottomLeft, kBottomRight, kTopRight };
inline constexpr int kFramePieces = 8;
inline constexpr int kNoPiece = -1;

struct FrameView {
  int thickness = 1;              // 4 with a thick frame
  int scrollX = 0, scrollY = 0;   // image pixel at the client's top-left corner
  int imageW = 0, imageH = 0;
};

// The pieces in client coordinates, each clamped to the visible part of the image.
std::array<ClientRect, kFramePieces> FramePieces(const ImageRect& selection, const FrameView& view);
// The piece under a client point, or kNoPiece; handles count only when asked.
int HitPiece(const std::array<ClientRect, kFramePieces>& pieces, int x, int y, bool handles);
// The corner a handle's drag keeps still: the one opposite the handle.
ImagePoint OppositeCorner(const ImageRect& selection, int handle);

bool Contains(const ImageRect& rect, ImagePoint point);
// The rectangle spanned by two corners, left <= right and top <= bottom.
ImageRect Span(ImagePoint a, ImagePoint b);
// Moved by (dx, dy); with clamping held inside a width x height image, its size kept.
ImageRect Moved(const ImageRect& rect, int dx, int dy);
ImageRect MovedInside(const ImageRect& rect, int dx, int dy, int width, int height);
// The rectangle of a width x height area with the same centre as rect.
ImageRect Recentred(const ImageRect& rect, int width, int height);

// Where a drag stands: the client point held into the client area, in image pixels held
// into the image.
ImagePoint DragPoint(int x, int y, int clientW, int clientH, const FrameView& view);
// Half a page of scrolling when the point reaches an edge of the client area and that
// direction can scroll: -1, 0 or 1 each way.
struct ScrollNeed {
  int dx = 0, dy = 0;
};
ScrollNeed AutoScrollNeed(int x, int y, int clientW, int clientH, bool canScrollX, bool canScrollY);

}  // namespace quilla
