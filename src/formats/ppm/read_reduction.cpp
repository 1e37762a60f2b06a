#include "formats/ppm/read_reduction.h"

#include "color/color_reduction.h"
#include "formats/read_settings.h"

namespace quilla {

int ReduceAfterRead(DIBImage& document, bool withProgress) {
  ReadReductionSettings settings = CurrentReadReductionSettings();
  QuantizeOptions options;
  options.nColorsCreatePal = settings.colors;
  options.useDithering = settings.dither;
  options.needQuantizeRead = settings.reduce;
  options.useSysPalette = settings.windowsColors;
  return QuantizeAfterRead(document, options, withProgress);
}

}  // namespace quilla
