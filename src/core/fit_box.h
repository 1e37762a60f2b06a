#pragma once

namespace quilla {

struct BoxSize {
  int width = 0, height = 0;
  bool operator==(const BoxSize&) const = default;
};

// The size that fills the box with the aspect ratio kept (enlarging as well as shrinking);
// values are rounded by adding 0.5 and truncating.
BoxSize FitInBox(int width, int height, int maxWidth, int maxHeight);
// The size itself when it fits in the box, else FitInBox.
BoxSize ShrinkToBox(int width, int height, int maxWidth, int maxHeight);

}  // namespace quilla
