#include "shell/full_screen_rules.h"

#include "core/fit_box.h"

namespace quilla {

ScreenPlacement FullScreenPlacement(int imageWidth, int imageHeight, int screenWidth, int screenHeight) {
  const BoxSize shown = ShrinkToBox(imageWidth, imageHeight, screenWidth, screenHeight);
  return {(screenWidth - shown.width) >> 1, (screenHeight - shown.height) >> 1, shown.width, shown.height};
}

}  // namespace quilla
