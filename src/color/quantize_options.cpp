#include "color/quantize_options.h"

namespace quilla {

DisplayMode DecideDisplayMode(bool rasterHasPalette, int bitsPerPixel) {
  if (rasterHasPalette) return DisplayMode::Palette;
  return bitsPerPixel < 8 ? DisplayMode::SixteenColor : DisplayMode::TrueColor;
}

QuantizeOptions DefaultQuantizeOptions(DisplayMode mode) {
  QuantizeOptions options;
  options.needQuantizeRead = mode != DisplayMode::TrueColor;
  options.useSysPalette = mode == DisplayMode::SixteenColor;
  return options;
}

}  // namespace quilla
