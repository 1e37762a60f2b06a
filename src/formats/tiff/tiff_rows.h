// Rows of 8-bit samples between the file's order (red, green, blue, top row first) and the
// image's (blue, green, red): whole rows at a time, not pixel by pixel through a call.
#pragma once
#include <cstddef>
#include <cstdint>

namespace quilla::tiff {

// pixels of 3 bytes from src to dst with the first and third byte of each swapped; the
// two do not overlap.
void SwapRedBlue(const uint8_t* src, uint8_t* dst, size_t pixels);
// pixels of `samples` (3 or more) bytes from src to 3-byte pixels at dst, the first and
// third swapped; the samples after the third are dropped.
void TakeBlueGreenRed(const uint8_t* src, uint8_t* dst, size_t pixels, uint32_t samples);

}  // namespace quilla::tiff
