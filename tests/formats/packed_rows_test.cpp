#include "formats/packed_rows.h"

#include <gtest/gtest.h>

#include <vector>

namespace quilla {

// Every row length around the four-pixel steps, in place and into another row; the bytes
// past the row stay as they were.
TEST(PackedRowsTest, SwapRedBlueSwapsEveryPixelOfAnyRow) {
  for (size_t pixels = 0; pixels <= 23; ++pixels) {
    std::vector<uint8_t> row(3 * pixels + 16), expected;
    for (size_t i = 0; i < row.size(); ++i) row[i] = uint8_t(7 * i + 1);
    expected = row;
    for (size_t x = 0; x < pixels; ++x) std::swap(expected[3 * x], expected[3 * x + 2]);
    std::vector<uint8_t> other(row.size(), 0xEE);
    SwapRedBlue(row.data(), pixels, other.data());
    for (size_t i = 0; i < 3 * pixels; ++i) ASSERT_EQ(other[i], expected[i]) << pixels << " pixels, byte " << i;
    for (size_t i = 3 * pixels; i < other.size(); ++i) ASSERT_EQ(other[i], 0xEE) << pixels << " pixels, byte " << i;
    SwapRedBlue(row.data(), pixels, row.data());
    EXPECT_EQ(row, expected) << pixels << " pixels in place";
  }
}

}  // namespace quilla
