#include "formats/gif/gif_options.h"

#include "settings/app_options.h"

namespace quilla::gif {

bool SaveInterlaced() { return Options().SaveGifInterlaced() != 0; }
bool UseDithering() { return Options().UseDithering() != 0; }

}  // namespace quilla::gif
