#include "shell/layout_rules.h"

#include <algorithm>
#include <cstdio>

namespace quilla {

namespace {
// Bars and ranges for a client area of a given size: a horizontal bar can make room for a
// vertical one too short, and the other way round, so two passes.
void FitBars(const LayoutInput& in, const LayoutMetrics& m, int clientW, int clientH, LayoutResult& out) {
  int viewW = clientW, viewH = clientH;
  if (in.barsShown) {
    bool hBar = false, vBar = false;
    for (int pass = 0; pass < 2; ++pass) {
      if (viewW < in.imageW && !hBar) viewH -= m.barH, hBar = true;
      if (viewH < in.imageH && !vBar) viewW -= m.barW, vBar = true;
    }
  }
  out.rangeX = std::max(in.imageW - viewW, 0);
  out.rangeY = std::max(in.imageH - viewH, 0);
}

// The client is the image plus the bars it needs, within the screen.
void FitToImage(const LayoutInput& in, const LayoutMetrics& m, LayoutResult& out) {
  const int W = in.imageW, H = in.imageH;
  int hAllow = 0, vAllow = 0;
  bool hBar = false, vBar = false;
  if (in.barsShown) {
    for (int pass = 0; pass < 2; ++pass) {
      if (m.availW < W + vAllow && !hBar) hAllow = m.barH, hBar = true;
      if (m.availH < H + hAllow && !vBar) vAllow = m.barW, vBar = true;
    }
  }
  for (int round = 1;; ++round) {
    const int needW = W + vAllow;
    if (m.availW <= needW) {
      out.rangeX = needW - m.availW;
      out.clientW = m.availW;
      break;
    }
    out.rangeX = 0;
    out.clientW = needW;
    // A window narrower than the short titles need gets a menu bar of two lines.
    if (needW + m.frameW >= in.shortMenuWidth || round == 2) break;
    hAllow += m.menuH;
    if (H + hAllow > m.availH && !vBar && in.barsShown) {
      vAllow = m.barW;
      vBar = true;
      continue;
    }
    break;
  }
  const int needH = H + hAllow;
  if (m.availH <= needH) {
    out.rangeY = needH - m.availH;
    out.clientH = m.availH;
  } else {
    out.rangeY = 0;
    out.clientH = needH;
  }
}
}  // namespace

LayoutResult LayOut(const LayoutInput& in, const LayoutMetrics& m) {
  LayoutResult out;
  switch (in.shape) {
    case WindowShape::Maximized:
      out.clientW = m.availW;
      out.clientH = m.availH;
      FitBars(in, m, out.clientW, out.clientH, out);
      break;
    case WindowShape::AutoResize:
      FitToImage(in, m, out);
      break;
    case WindowShape::KeepSize: {
      const int wrapped = in.windowW < in.shortMenuWidth ? m.menuH : 0;
      out.clientW = in.windowW - m.frameW;
      out.clientH = in.windowH - m.frameH;
      FitBars(in, m, out.clientW, out.clientH - wrapped, out);
      break;
    }
  }
  out.windowW = out.clientW + m.frameW;
  out.windowH = out.clientH + m.frameH;
  return out;
}

namespace {
// Where "same position" leaves one coordinate: edge is the work area's far edge.
int KeepOnScreen(int at, int size, int edge, int frame) { return std::min(at, std::max(edge + frame - size, -frame)); }
}  // namespace

Point2 PlaceFor(int posMode, int width, int height, Point2 current, const DesktopInfo& d) {
  const int h2 = std::min(height, d.height + 2 * d.frameY);
  const int dx = d.width - std::min(width, d.width + 2 * d.frameX);
  switch (posMode) {
    case 106: return {-d.frameX, -d.frameY};
    case 107: return {-d.frameX, d.frameY + d.height - h2};
    case 108: return {d.frameX + dx, -d.frameY};
    case 109: return {d.frameX + dx, d.frameY + d.height - h2};
    case 110: return {dx / 2, (d.height - h2) / 2};
    default:
      return {KeepOnScreen(current.x, width, d.workRight, d.frameX),
              KeepOnScreen(current.y, height, d.workBottom, d.frameY)};
  }
}

std::string ImageTitle(const std::string& name, bool hasImage, int width, int height, unsigned colorCount,
                       const std::string& programTitle) {
  if (!hasImage) return programTitle;
  char size[80];
  if (colorCount == 0) std::snprintf(size, sizeof size, " (%dx%dx16.7 million) - ", width, height);
  else std::snprintf(size, sizeof size, " (%dx%dx%u) - ", width, height, colorCount);
  return name + size + programTitle;
}

std::string SelectionTitle(int left, int top, int right, int bottom) {
  char text[80];
  std::snprintf(text, sizeof text, "%d, %d: %dx%d", left, top, right - left + 1, bottom - top + 1);
  return text;
}

}  // namespace quilla
