#include "formats/engine.h"

#include "color/color_quantizer.h"
#include "formats/gif/gif_codec.h"

namespace quilla {

bool StartEngine() {
  if (!InitializeColorQuantizer()) return false;
  if (!InitializeGifCoder()) {
    ShutdownColorQuantizer();
    return false;
  }
  return true;
}

void StopEngine() {
  ReleaseGifCoder();
  ShutdownColorQuantizer();
}

}  // namespace quilla
