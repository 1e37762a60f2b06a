#include "color/display_check.h"

#include "core/messages.h"

namespace quilla {

namespace {

const char* Unchecked(bool on) { return on ? "" : "UN"; }

// The options each kind of display calls for.
QuantizeOptions Proposal(DisplayMode mode, QuantizeOptions options) {
  options.needQuantizeRead = mode != DisplayMode::TrueColor;
  options.useSysPalette = mode == DisplayMode::SixteenColor;
  options.nColorsCreatePal = mode == DisplayMode::SixteenColor ? 16 : 256;
  return options;
}

bool Unfitting(DisplayMode mode, const QuantizeOptions& o) {
  switch (mode) {
    case DisplayMode::Palette: return !o.needQuantizeRead || o.useSysPalette;
    case DisplayMode::SixteenColor: return !o.useSysPalette || !o.needQuantizeRead;
    case DisplayMode::TrueColor: return o.needQuantizeRead;
  }
  return false;
}

}  // namespace

QuantizeOptions CheckQuantizingOptions(DisplayMode mode, const QuantizeOptions& options) {
  if (!options.autoQuantize || !Unfitting(mode, options)) return options;
  MsgResult answer = AskYesNo(
      "The current set of quantizing options is not adequate for this graphics mode. Would you like it to be "
      "automatically changed ?");
  return answer == MsgResult::Yes ? Proposal(mode, options) : options;
}

void ShowQuantizingDiagnosis(DisplayMode mode, int bitsPerPixel, const QuantizeOptions& options) {
  switch (mode) {
    case DisplayMode::TrueColor:
      ShowInfo("Device is in %s color mode. You can set the Quantizing options to TRUE color. This option is "
               "currently %sCHECKED.",
               bitsPerPixel == 24 ? "TRUE" : "HIGH", options.needQuantizeRead ? "UN" : "");
      break;
    case DisplayMode::Palette:
      ShowInfo("Device is in palette mode. You should set the Quantizing options to Palette. This option is "
               "currently %sCHECKED.",
               Unchecked(options.needQuantizeRead));
      break;
    case DisplayMode::SixteenColor:
      ShowInfo("Device is in 16 color mode. Set Quantizing options to Palette and Windows' 16 colors. These are "
               "currently %sCHECKED and %sCHECKED.",
               Unchecked(options.needQuantizeRead), Unchecked(options.useSysPalette));
      break;
  }
}

}  // namespace quilla
