#include "shell/text_rules.h"

#include <algorithm>

namespace quilla {

namespace {
ImageRect Clamped(const ImageRect& r, int imageWidth, int imageHeight) {
  return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, imageWidth - 1),
          std::min(r.bottom, imageHeight - 1)};
}
}  // namespace

ImageRect TextRectangle(const ImageRect& wanted, int imageWidth, int imageHeight) {
  const ImageRect rect = Clamped(wanted, imageWidth, imageHeight);
  return rect.IsEmpty() ? Clamped(kDefaultTextRect, imageWidth, imageHeight) : rect;
}

MaskSize TextMaskSize(int width, int height, int direction) {
  return direction == kHorizontal ? MaskSize{width, height} : MaskSize{height, width};
}

ImagePoint MaskPointFor(int x, int y, int direction, MaskSize mask) {
  switch (direction) {
    case kVerticalUp: return {mask.width - 1 - y, x};
    case kVerticalDown: return {y, mask.height - 1 - x};
    default: return {x, y};
  }
}

uint32_t ForegroundInk(uint32_t index, uint32_t colorCount) { return index < colorCount ? index : 0; }
uint32_t BackgroundInk(uint32_t index, uint32_t colorCount) {
  return index < colorCount ? index : colorCount - 1;
}

RectSliders RectSliderRanges(const ImageRect& rect, int imageWidth, int imageHeight) {
  const int width = rect.Width(), height = rect.Height();
  return {{0, imageWidth - width}, {0, imageHeight - height}, {1, imageWidth - rect.left}, {1, imageHeight - rect.top}};
}

ImageRect RectFromSliders(int left, int top, int width, int height) {
  return {left, top, left + width - 1, top + height - 1};
}

int PointListIndex(int points) {
  return (points >= kMinPoints && points <= kMaxPoints ? points : kFallbackPoints) - kMinPoints;
}

}  // namespace quilla
