// The 768-byte clamp table: 256 zeros, the identity 0..255, 256 times 255. Indexed from its
// middle, any sum in -256..511 reads back clamped to 0..255 without a branch.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace quilla {

inline constexpr std::array<uint8_t, 768> kRangeTable = [] {
  std::array<uint8_t, 768> table{};
  for (int i = 0; i < 768; ++i) table[std::size_t(i)] = uint8_t(i < 256 ? 0 : i < 512 ? i - 256 : 255);
  return table;
}();

// Points at the identity part: RangeLimit()[v] is v clamped, for v in -256..511.
inline const uint8_t* RangeLimit() { return kRangeTable.data() + 256; }

}  // namespace quilla
