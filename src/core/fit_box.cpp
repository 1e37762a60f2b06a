#include "core/fit_box.h"

#include <algorithm>

namespace quilla {

static int RoundHalfUp(double v) { return int(v + 0.5); }

BoxSize FitInBox(int width, int height, int maxWidth, int maxHeight) {
  if (width <= 0 || height <= 0) return {};
  // A sliver (thousands of pixels by a few) keeps one pixel of its short side rather
  // than vanishing.
  int a = std::max(RoundHalfUp(double(width) * maxHeight / height), 1);
  int b = std::max(RoundHalfUp(double(height) * maxWidth / width), 1);
  // The side computed back from a rounded side can round past the box (3 x 2 into
  // 100 x 100 would give 101 x 67); it is held to the box.
  if (a > maxWidth) return {std::min(RoundHalfUp(double(b) * width / height), maxWidth), b};
  if (b > maxHeight) return {a, std::min(RoundHalfUp(double(a) * height / width), maxHeight)};
  return {a, b};
}

BoxSize ShrinkToBox(int width, int height, int maxWidth, int maxHeight) {
  if (width <= maxWidth && height <= maxHeight) return {width, height};
  return FitInBox(width, height, maxWidth, maxHeight);
}

}  // namespace quilla
