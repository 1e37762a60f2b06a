// Rows of 1-, 4- and 8-bit indices as files store them (first pixel in the high bits) and
// as images hold them (one byte a pixel), and colour tables stored as 3- or 4-byte
// entries, and the channel order of true-colour rows: the conversions every codec shares.
#pragma once
#include <cstddef>
#include <cstdint>

#include "core/dib_image.h"

namespace quilla {

// One byte a pixel from width pixels packed at depth 1, 4 or 8 bits.
void UnpackRow(const uint8_t* packed, int width, int depth, uint8_t* out);
// width indices packed at depth 1, 4 or 8 bits into outBytes bytes (the rest zero); only
// the bits the depth holds are kept, so a stray index cannot spill into its neighbours.
void PackRow(const uint8_t* indices, int width, int depth, uint8_t* out, size_t outBytes);

// pixels three-byte pixels with their first and third bytes swapped: red, green, blue
// files to the image's blue, green, red and back. in and out may be the same row.
void SwapRedBlue(const uint8_t* in, size_t pixels, uint8_t* out);

// The order of the channels of a stored colour table entry.
enum class EntryOrder { BlueGreenRed, RedGreenBlue };
// count entries of entryBytes bytes (3, or 4 with a fourth byte kept as `reserved`).
void LoadColorTable(const uint8_t* entries, uint32_t count, uint32_t entryBytes, EntryOrder order, RgbQuad* out);

}  // namespace quilla
