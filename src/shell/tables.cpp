#include "shell/tables.h"

#include "color/color_quantizer.h"
#include "color/range_table.h"
#include "formats/gif/gif_codec.h"

namespace quilla {

static_assert(kRangeTable[255] == 0 && kRangeTable[256] == 0 && kRangeTable[511] == 255 && kRangeTable[767] == 255);

bool AllocateTables() {
  if (!InitializeColorQuantizer()) return false;
  if (!InitializeGifCoder()) {
    ShutdownColorQuantizer();
    return false;
  }
  return true;
}

void ReleaseTables() {
  ReleaseGifCoder();
  ShutdownColorQuantizer();
}

}  // namespace quilla
