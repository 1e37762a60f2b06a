// The colour reductions the BMP reader makes while reading, as the quantizing options ask.
#pragma once
#include <cstdint>

namespace quilla {

class Transfer;

namespace bmp {

struct PixelRows {
  uint64_t offset;      // of the first row in the file
  uint32_t fileStride;  // bytes per row in the file
  int width, height;
  bool topDown;
};

// Reads 24-bit rows into the document's 8-bit image: onto the Windows colours in one pass,
// or onto a palette of `colors` chosen from a first pass over the file.
void ReadReducedRows(Transfer& transfer, const PixelRows& rows, bool windows16, int colors, bool dither);

// Maps a palette image read from the file onto the Windows colours, in place. Progress
// continues from done of total.
void RemapToWindows16(Transfer& transfer, bool dither, long long done, long long total);

}  // namespace bmp
}  // namespace quilla
