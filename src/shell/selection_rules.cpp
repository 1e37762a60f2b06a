#include "shell/selection_rules.h"

#include <algorithm>

namespace quilla {

std::array<ClientRect, kFramePieces> FramePieces(const ImageRect& s, const FrameView& view) {
  const int t = view.thickness;
  const int L = s.left - view.scrollX, T = s.top - view.scrollY;
  const int R = s.right - view.scrollX, B = s.bottom - view.scrollY;
  std::array<ClientRect, kFramePieces> pieces = {{
      {L - t, T - t, L, B + 1},
      {L - t, B + 1, R + 1, B + t + 1},
      {R + 1, T, R + t + 1, B + t + 1},
      {L, T - t, R + t + 1, T},
      {L - 3 * t, T - 3 * t, L - t + 1, T - t + 1},
      {L - 3 * t, B + t, L - t + 1, B + 3 * t + 1},
      {R + t, B + t, R + 3 * t + 1, B + 3 * t + 1},
      {R + t, T - 3 * t, R + 3 * t + 1, T - t + 1},
  }};
  const int maxX = view.imageW - view.scrollX, maxY = view.imageH - view.scrollY;
  for (ClientRect& piece : pieces) {
    piece.left = std::clamp(piece.left, 0, maxX);
    piece.right = std::clamp(piece.right, 0, maxX);
    piece.top = std::clamp(piece.top, 0, maxY);
    piece.bottom = std::clamp(piece.bottom, 0, maxY);
  }
  return pieces;
}

int HitPiece(const std::array<ClientRect, kFramePieces>& pieces, int x, int y, bool handles) {
  const int count = handles ? kFramePieces : kTopLeft;
  for (int i = 0; i < count; ++i) {
    if (pieces[size_t(i)].Contains(x, y)) return i;
  }
  return kNoPiece;
}

ImagePoint OppositeCorner(const ImageRect& s, int handle) {
  switch (handle) {
    case kTopLeft: return {s.right, s.bottom};
    case kBottomLeft: return {s.right, s.top};
    case kBottomRight: return {s.left, s.top};
    default: return {s.left, s.bottom};  // top-right
  }
}

bool Contains(const ImageRect& rect, ImagePoint p) {
  return p.x >= rect.left && p.x <= rect.right && p.y >= rect.top && p.y <= rect.bottom;
}

ImageRect Span(ImagePoint a, ImagePoint b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

ImageRect Moved(const ImageRect& r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

ImageRect MovedInside(const ImageRect& r, int dx, int dy, int width, int height) {
  dx = std::clamp(dx, -r.left, width - 1 - r.right);
  dy = std::clamp(dy, -r.top, height - 1 - r.bottom);
  return Moved(r, dx, dy);
}

ImageRect Recentred(const ImageRect& r, int width, int height) {
  const int cx = (r.left + r.right + 1) / 2, cy = (r.top + r.bottom + 1) / 2;
  const int left = cx - width / 2, top = cy - height / 2;
  return {left, top, left + width - 1, top + height - 1};
}

ImagePoint DragPoint(int x, int y, int clientW, int clientH, const FrameView& view) {
  x = std::clamp(x, 0, std::max(clientW - 1, 0)) + view.scrollX;
  y = std::clamp(y, 0, std::max(clientH - 1, 0)) + view.scrollY;
  return {std::clamp(x, 0, std::max(view.imageW - 1, 0)), std::clamp(y, 0, std::max(view.imageH - 1, 0))};
}

ScrollNeed AutoScrollNeed(int x, int y, int clientW, int clientH, bool canScrollX, bool canScrollY) {
  ScrollNeed need;
  if (canScrollX) need.dx = x >= clientW - 1 ? 1 : (x <= 1 ? -1 : 0);
  if (canScrollY) need.dy = y >= clientH - 1 ? 1 : (y <= 1 ? -1 : 0);
  return need;
}

}  // namespace quilla
