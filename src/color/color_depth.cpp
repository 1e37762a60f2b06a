#include "color/color_depth.h"

#include <cctype>

#include "color/color_reduction.h"
#include "core/messages.h"

namespace quilla {

namespace {

void ChooseCountFromOptions(ColorDepthChoice& choice, const QuantizeOptions& options) {
  if (options.useSysPalette)
    choice.countChoice = kColorsWindows16;
  else if (options.nColorsCreatePal == 256)
    choice.countChoice = kColors256;
  else if (options.nColorsCreatePal == 2)
    choice.countChoice = kColorsBlackWhite;
  else
    choice.countChoice = kCustomColors, choice.customCount = options.nColorsCreatePal;
}

}  // namespace

ColorDepthChoice InitialColorDepthChoice(bool imageIsTrueColor, const QuantizeOptions& options) {
  ColorDepthChoice choice;
  choice.dither = options.useDithering;
  choice.paletteTarget = imageIsTrueColor;
  choice.trueColorEnabled = !imageIsTrueColor;
  if (imageIsTrueColor) ChooseCountFromOptions(choice, options);
  return choice;
}

ColorDepthChoice InitialQuantizingChoice(const QuantizeOptions& options) {
  ColorDepthChoice choice;
  choice.dither = options.useDithering;
  choice.paletteTarget = options.needQuantizeRead;
  if (options.needQuantizeRead) ChooseCountFromOptions(choice, options);
  return choice;
}

int ChosenColorCount(const ColorDepthChoice& choice, const std::string& customText) {
  if (!choice.paletteTarget) return 0;
  switch (choice.countChoice) {
    case kColorsWindows16: return 16;
    case kColorsBlackWhite: return 2;
    case kCustomColors: break;
    default: return 256;
  }
  size_t begin = customText.find_first_not_of(' '), end = customText.find_last_not_of(' ');
  long value = -1;
  if (begin != std::string::npos && end - begin < 9) {
    value = 0;
    for (size_t i = begin; i <= end; ++i) {
      if (!std::isdigit(static_cast<unsigned char>(customText[i]))) {
        value = -1;
        break;
      }
      value = value * 10 + (customText[i] - '0');
    }
  }
  if (value < 16 || value > 256) {
    ShowWarning("Use an integer between 16 and 256.");
    return -1;
  }
  return int(value);
}

int ApplyColorDepth(DIBImage& doc, int count, bool dither) {
  if (doc.IsTrueColor() && count == 0) return 1;  // already what was asked
  const uint32_t before = doc.PaletteSerial();
  if (!ChangeColorDepth(doc, count, dither, count == 16)) {
    ShowNoMemory();
    return 0;
  }
  if (doc.PaletteSerial() != before) {
    imageChanged = true;
    if (Host* host = HostOrNull()) host->OnEngineEvent(EngineEvent::PaletteChanged);
  }
  return 1;
}

QuantizeOptions ApplyQuantizingChoice(const ColorDepthChoice& choice, int count, QuantizeOptions options) {
  options.useDithering = choice.dither;
  options.needQuantizeRead = choice.paletteTarget;
  options.useSysPalette = false;
  if (!choice.paletteTarget) return options;
  switch (choice.countChoice) {
    case kColorsWindows16: options.useSysPalette = true, options.nColorsCreatePal = 16; break;
    case kColorsBlackWhite: options.nColorsCreatePal = 2; break;
    case kCustomColors: options.nColorsCreatePal = count; break;
    default: options.nColorsCreatePal = 256; break;
  }
  return options;
}

}  // namespace quilla
