// The platform-free half of the Resize and New Image dialogs: the aspect-ratio rule, the
// ratio sliders, the size edits and the preset sizes both dialogs offer.
#pragma once
#include <array>
#include <optional>
#include <string>

namespace quilla {

struct PixelSize {
  int width = 0, height = 0;
  bool operator==(const PixelSize& other) const { return width == other.width && height == other.height; }
};

// The ratio sliders run 0..200: 100 is the current size, below it hundredths of it, above it
// tenths more up to eleven times.
inline constexpr int kRatioSliderMin = 0, kRatioSliderMax = 200, kRatioSliderPage = 8;

// The largest size with the current aspect ratio inside wanted.
PixelSize KeepAspect(PixelSize current, PixelSize wanted);
// The dimension that matches the other one at the current aspect ratio, rounded.
int HeightForWidth(PixelSize current, int width);
int WidthForHeight(PixelSize current, int height);
// A size edit taken with value: with the aspect kept, the other dimension follows and the
// result is fitted by KeepAspect; otherwise only that dimension changes.
PixelSize TakeEditedDimension(PixelSize current, PixelSize shown, bool widthEdited, int value, bool keepAspect);

// The slider position that shows newSize / currentSize.
int RatioSliderPosition(int newSize, int currentSize);
// The dimension a slider at position asks for.
int DimensionFromSlider(int currentSize, int position);
// The ratio's read-out beside a slider ("%7.2f").
std::string RatioReadout(int newSize, int currentSize);

// A size edit's text as a whole number >= 1; nothing when it isn't one.
std::optional<int> ParseDimension(const std::string& text);

// The preset sizes in the order of both dialogs' buttons: 640 x 480, 800 x 600, 1024 x 768,
// 1280 x 1024, the desktop and the largest client area.
inline constexpr int kSizePresetCount = 6;
std::array<PixelSize, kSizePresetCount> SizePresets(PixelSize desktop, PixelSize maxClient);

}  // namespace quilla
