// The options that decide whether and how a true-colour file is reduced while it is read,
// as plain values for the codecs.
#pragma once

namespace quilla {

struct ReadReductionSettings {
  int colors = 256;            // "NColorsCreatePal"
  bool dither = true;          // "UseDithering"
  bool reduce = false;         // "NeedQuantizeRead"
  bool windowsColors = false;  // "UseSysPalette"
};

ReadReductionSettings CurrentReadReductionSettings();

}  // namespace quilla
