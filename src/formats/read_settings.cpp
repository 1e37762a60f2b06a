#include "formats/read_settings.h"

#include "settings/app_options.h"

namespace quilla {

ReadReductionSettings CurrentReadReductionSettings() {
  const AppOptions& o = Options();
  return {o.NColorsCreatePal(), o.UseDithering() != 0, o.NeedQuantizeRead() != 0, o.UseSysPalette() != 0};
}

}  // namespace quilla
