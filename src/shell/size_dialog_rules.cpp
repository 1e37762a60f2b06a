#include "shell/size_dialog_rules.h"

#include <cctype>
#include <cstdint>
#include <cstdio>

namespace quilla {

namespace {
// trunc(numerator / denominator + 0.5) for non-negative values, without rounding errors.
int RoundedQuotient(int64_t numerator, int64_t denominator) {
  return int((2 * numerator + denominator) / (2 * denominator));
}
}  // namespace

int HeightForWidth(PixelSize current, int width) {
  return RoundedQuotient(int64_t(current.height) * width, current.width);
}

int WidthForHeight(PixelSize current, int height) {
  return RoundedQuotient(int64_t(current.width) * height, current.height);
}

PixelSize KeepAspect(PixelSize current, PixelSize wanted) {
  const int heightForWidth = HeightForWidth(current, wanted.width);
  const int widthForHeight = WidthForHeight(current, wanted.height);
  if (wanted.width < widthForHeight) return {wanted.width, heightForWidth};
  if (heightForWidth > wanted.height) return {widthForHeight, wanted.height};
  return {widthForHeight, heightForWidth};
}

PixelSize TakeEditedDimension(PixelSize current, PixelSize shown, bool widthEdited, int value, bool keepAspect) {
  if (!keepAspect) return widthEdited ? PixelSize{value, shown.height} : PixelSize{shown.width, value};
  const PixelSize wanted = widthEdited ? PixelSize{value, HeightForWidth(current, value)}
                                       : PixelSize{WidthForHeight(current, value), value};
  return KeepAspect(current, wanted);
}

int RatioSliderPosition(int newSize, int currentSize) {
  const int64_t size = newSize, base = currentSize;
  if (size == base) return 100;
  if (size < base) return int(100 * size / base);
  if (size > 10 * base) return kRatioSliderMax;
  return 100 + RoundedQuotient(10 * (size - base), base);
}

int DimensionFromSlider(int currentSize, int position) {
  const int64_t size = currentSize;
  if (position == 100) return currentSize;
  if (position < 100) return RoundedQuotient(size * position, 100);
  // size x (1 + (position - 100) / 10), truncated.
  return int(size * (position - 90) / 10);
}

std::string RatioReadout(int newSize, int currentSize) {
  char text[32];
  std::snprintf(text, sizeof text, "%7.2f", double(newSize) / currentSize);
  return text;
}

std::optional<int> ParseDimension(const std::string& text) {
  size_t at = 0;
  while (at < text.size() && text[at] == ' ') ++at;
  int64_t value = 0;
  size_t digits = 0;
  for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at, ++digits) {
    value = value * 10 + (text[at] - '0');
    if (value > INT32_MAX) return std::nullopt;
  }
  while (at < text.size() && text[at] == ' ') ++at;
  if (digits == 0 || at != text.size() || value < 1) return std::nullopt;
  return int(value);
}

std::array<PixelSize, kSizePresetCount> SizePresets(PixelSize desktop, PixelSize maxClient) {
  return {PixelSize{640, 480}, PixelSize{800, 600}, PixelSize{1024, 768}, PixelSize{1280, 1024}, desktop, maxClient};
}

}  // namespace quilla
