#include "formats/read_settings.h"

#include "color/color_reduction.h"
#include "formats/transfer.h"
#include "settings/app_options.h"

namespace quilla {

QuantizeOptions CurrentReadQuantizeOptions() {
  const AppOptions& o = Options();
  QuantizeOptions options;
  options.nColorsCreatePal = o.NColorsCreatePal();
  options.useDithering = o.UseDithering() != 0;
  options.needQuantizeRead = o.NeedQuantizeRead() != 0;
  options.useSysPalette = o.UseSysPalette() != 0;
  return options;
}

int ReduceAfterRead(Transfer& transfer) {
  return QuantizeAfterRead(transfer.document, transfer.reduction, !transfer.quiet);
}

}  // namespace quilla
