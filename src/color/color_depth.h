// What the Color Depth and Quantizing Options dialog shows and does, without the window:
// its starting choices, reading the custom count on OK, and the conversion it runs.
#pragma once
#include <string>

#include "color/quantize_options.h"
#include "core/dib_image.h"

namespace quilla {

// Radio buttons of the colour count, by control number.
enum ColorCountChoice { kCustomColors = 103, kColors256 = 105, kColorsWindows16 = 106, kColorsBlackWhite = 107 };

struct ColorDepthChoice {
  bool paletteTarget = true;      // "&Palette image" rather than "&True color image"
  bool trueColorEnabled = true;   // "&True color image" can be chosen
  int countChoice = kColors256;
  int customCount = 256;          // the edit box
  bool dither = true;             // "Enable Floyd-Steinberg &Dithering"
};

// Color Depth, for the image at hand.
ColorDepthChoice InitialColorDepthChoice(bool imageIsTrueColor, const QuantizeOptions& options);
// Quantizing Options.
ColorDepthChoice InitialQuantizingChoice(const QuantizeOptions& options);

// On OK: the colour count chosen, 0 for true colour. A custom count that is no number or
// lies outside 16..256 is refused with a message, and -1 is returned (the dialog stays).
int ChosenColorCount(const ColorDepthChoice& choice, const std::string& customText);

// Color Depth's conversion; a count of 16 means the Windows colours. On success the image
// is marked changed (when it did change) and the old one kept for undo; on failure "Not
// enough memory !" is shown and 0 returned.
int ApplyColorDepth(DIBImage& doc, int count, bool dither);

// Quantizing Options' OK with the count from ChosenColorCount.
QuantizeOptions ApplyQuantizingChoice(const ColorDepthChoice& choice, int count, QuantizeOptions options);

}  // namespace quilla
