// Keeps the quantizing options fitting the display: the question asked at start-up (and
// when automatic setup is switched on), and the Help menu's diagnosis.
#pragma once
#include "color/quantize_options.h"

namespace quilla {

// When automatic setup is on and the options do not suit the display, asks the user and
// returns the options changed to suit it on Yes; otherwise returns them as they are.
QuantizeOptions CheckQuantizingOptions(DisplayMode mode, const QuantizeOptions& options);

// The diagnosis message about the options for this display; bitsPerPixel tells high from
// true colour.
void ShowQuantizingDiagnosis(DisplayMode mode, int bitsPerPixel, const QuantizeOptions& options);

}  // namespace quilla
