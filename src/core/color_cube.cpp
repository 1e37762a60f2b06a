// The uniform colour cube of a new palette image without a given colour table.
#include "core/dib_image.h"

namespace quilla {

int UniformColorCube(int n, RgbQuad* table, int levels[3]) {
  int red, green, blue;
  if (n >= 256) {
    red = 8, green = 8, blue = 4;
  } else {
    int k = 1;
    while ((k + 1) * (k + 1) * (k + 1) <= n) ++k;
    if (n < 12) red = 2, green = 2, blue = 2;
    else if (n < 18) red = 2, green = 3, blue = 2;
    else if (n < 24) red = 3, green = 3, blue = 2;
    else if (n < 27) red = 3, green = 4, blue = 2;
    else if (n < 36) red = 3, green = 3, blue = 3;
    else red = 266 * k / 256, green = 355 * k / 256, blue = 177 * k / 256;
    // Grow channels, blue first, while the cube still fits in n colours.
    int product = red * green * blue;
    for (bool changed = true; changed;) {
      changed = false;
      for (int* channel : {&blue, &green, &red}) {
        int grown = (*channel + 1) * (product / *channel);
        if (grown <= n) {
          ++*channel;
          product = grown;
          changed = true;
        }
      }
    }
  }
  auto intensity = [](int j, int count) { return uint8_t((j * 255 + (count - 1) / 2) / (count - 1)); };
  int entry = 0;
  for (int r = 0; r < red; ++r)
    for (int g = 0; g < green; ++g)
      for (int b = 0; b < blue; ++b)
        table[entry++] = {intensity(b, blue), intensity(g, green), intensity(r, red), 0};
  if (levels) levels[0] = red, levels[1] = green, levels[2] = blue;
  return entry;
}

}  // namespace quilla
