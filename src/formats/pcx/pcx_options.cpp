#include "formats/pcx/pcx_options.h"

#include "settings/app_options.h"

namespace quilla::pcx {

ReadQuantizing CurrentReadQuantizing() {
  const AppOptions& o = Options();
  return {o.NColorsCreatePal(), o.UseDithering() != 0, o.NeedQuantizeRead() != 0, o.UseSysPalette() != 0};
}

}  // namespace quilla::pcx
