// The arithmetic of Add Text, kept free of the platform: the text rectangle, the mask's size
// and where a turned mask lands, the palette inks' fall-backs, and the dialog's rectangle
// sliders and point list.
#pragma once
#include <cstdint>

#include "core/dib_image.h"
#include "shell/selection_rules.h"

namespace quilla {

// Without a selection the text goes into this rectangle (inclusive).
inline constexpr ImageRect kDefaultTextRect{0, 0, 200, 200};

// The rectangle clamped to an image of width x height. One left with nothing of the image in
// it (a detached area dragged off the image) falls back to the default rectangle.
ImageRect TextRectangle(const ImageRect& wanted, int imageWidth, int imageHeight);

enum TextDirection { kHorizontal = 0, kVerticalUp = 1, kVerticalDown = 2 };

struct MaskSize {
  int width = 0, height = 0;
};
// The box the text is drawn in: the rectangle's size, turned for the vertical directions.
MaskSize TextMaskSize(int width, int height, int direction);
// The mask pixel that target pixel (x, y) of the rectangle (from its top-left) takes.
// Vertical up reads from bottom to top, vertical down from top to bottom.
ImagePoint MaskPointFor(int x, int y, int direction, MaskSize mask);

// Palette inks outside the colour table: the foreground becomes entry 0, the background the
// last entry.
uint32_t ForegroundInk(uint32_t index, uint32_t colorCount);
uint32_t BackgroundInk(uint32_t index, uint32_t colorCount);

// The four rectangle sliders: left, top, width, height.
struct SliderRange {
  int minimum = 0, maximum = 0;
};
struct RectSliders {
  SliderRange left, top, width, height;
};
RectSliders RectSliderRanges(const ImageRect& rect, int imageWidth, int imageHeight);
ImageRect RectFromSliders(int left, int top, int width, int height);

// The point list holds kMinPoints to kMaxPoints; the entry shown for a style's points.
inline constexpr int kMinPoints = 4, kMaxPoints = 127, kFallbackPoints = 10;
int PointListIndex(int points);

}  // namespace quilla
