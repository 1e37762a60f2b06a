#include "formats/targa/targa_options.h"

#include "settings/app_options.h"

namespace quilla::targa {

ReadQuantizing CurrentReadQuantizing() {
  const AppOptions& o = Options();
  return {o.NColorsCreatePal(), o.UseDithering() != 0, o.NeedQuantizeRead() != 0, o.UseSysPalette() != 0};
}

}  // namespace quilla::targa
