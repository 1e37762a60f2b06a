// The options that steer colour reduction, and the kind of display they are judged against.
// The settings file owns and persists them; the quantizer only reads this plain record.
#pragma once
#include "core/display_mode.h"

namespace quilla {

// Decided once at start-up from the screen.
DisplayMode DecideDisplayMode(bool rasterHasPalette, int bitsPerPixel);

// How CopyRect reconciles two colour tables.
enum CombineMode : int {
  kCombineTakeSource = 500,   // the destination takes the source's colour table
  kCombineKeepDest = 501,     // the source is mapped onto the destination's table
  kCombineNewPalette = 502,   // a new palette is built from both images
};

struct QuantizeOptions {
  int nColorsCreatePal = 256;      // "NColorsCreatePal"
  bool useDithering = true;        // "UseDithering"
  bool needQuantizeRead = false;   // "NeedQuantizeRead"
  bool useSysPalette = false;      // "UseSysPalette"
  int combineMode = kCombineNewPalette;  // "CombineMode"
  bool autoQuantize = true;        // "AutoQuantize"

  bool operator==(const QuantizeOptions&) const = default;
};

// The defaults: palette and 16-colour displays reduce on reading, the 16-colour one to the
// Windows colours.
QuantizeOptions DefaultQuantizeOptions(DisplayMode mode);

}  // namespace quilla
