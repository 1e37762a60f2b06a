// The quantizing options of the settings as plain values, read in a unit of their own so
// that the settings' and the quantizer's headers never meet.
#pragma once

namespace quilla::pcx {

struct ReadQuantizing {
  int colors = 256;            // "NColorsCreatePal"
  bool dither = true;          // "UseDithering"
  bool reduce = false;         // "NeedQuantizeRead"
  bool windowsColors = false;  // "UseSysPalette"
};

ReadQuantizing CurrentReadQuantizing();

}  // namespace quilla::pcx
