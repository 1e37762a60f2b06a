// Where the full-screen view puts the image: centred on the screen at its own size, or
// shrunk to fit when it is larger than the screen, never enlarged.
#pragma once

namespace quilla {

struct ScreenPlacement {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const ScreenPlacement&) const = default;
};

ScreenPlacement FullScreenPlacement(int imageWidth, int imageHeight, int screenWidth, int screenHeight);

}  // namespace quilla
