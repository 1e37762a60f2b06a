// Where the parts of a packed device-independent bitmap put on the clipboard by another
// program lie, checked before anything reads it: kept free of the platform so the checks
// can be tested on their own.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

namespace quilla {

struct PackedDibLayout {
  size_t tableOffset = 0;     // colour table, 4 bytes an entry, after the header and any masks
  uint32_t tableEntries = 0;
  size_t bitsOffset = 0;      // first stored row
  size_t totalBytes = 0;      // header, masks, table and rows
  // 8 or 24 bits, uncompressed, bottom-up, with a 40-byte header and no table for 24 bits:
  // the program's own pixel kinds, read as they stand.
  bool ownKind = false;
};

// The layout of the bitmap at the start of the block; empty when its header doesn't describe
// an uncompressed (or bit-field) picture of sane dimensions whose table and rows fit the block.
std::optional<PackedDibLayout> CheckPackedDib(const uint8_t* bytes, size_t size);

}  // namespace quilla
