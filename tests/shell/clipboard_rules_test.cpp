#include "shell/clipboard_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/dib_image.h"

namespace quilla {

namespace {
// A packed bitmap of the header, its table and its rows, as another program might put it.
std::vector<uint8_t> Packed(int width, int height, int bits, uint32_t colorsUsed, uint32_t compression = 0,
                            size_t tableEntries = 0, size_t masks = 0) {
  BitmapInfoHeader h{40, width, height, 1, uint16_t(bits), compression, 0, 0, 0, colorsUsed, 0};
  const size_t stride = (size_t(width) * unsigned(bits) + 31) / 32 * 4;
  const size_t rows = stride * size_t(height < 0 ? -height : height);
  std::vector<uint8_t> block(40 + masks + tableEntries * 4 + rows);
  std::memcpy(block.data(), &h, sizeof h);
  return block;
}
}  // namespace

TEST(ClipboardRules, TheProgramsOwnKindsAreReadAsTheyLieOthersThroughTheDisplay) {
  const auto eight = Packed(5, 3, 8, 16, 0, 16);
  const auto layout = CheckPackedDib(eight.data(), eight.size());
  ASSERT_TRUE(layout);
  EXPECT_TRUE(layout->ownKind);
  EXPECT_EQ(layout->tableEntries, 16u);
  EXPECT_EQ(layout->bitsOffset, 40u + 64u);
  EXPECT_EQ(layout->totalBytes, eight.size());

  const auto full = Packed(5, 3, 8, 0, 0, 256);
  ASSERT_TRUE(CheckPackedDib(full.data(), full.size()));
  EXPECT_EQ(CheckPackedDib(full.data(), full.size())->tableEntries, 256u) << "no count means the full table";

  const auto trueColour = Packed(5, 3, 24, 0);
  ASSERT_TRUE(CheckPackedDib(trueColour.data(), trueColour.size()));
  EXPECT_TRUE(CheckPackedDib(trueColour.data(), trueColour.size())->ownKind);

  // A table before true-colour rows, top-down rows, bit fields and small depths take the
  // display's way, with the rows found where they lie.
  const auto tabled = Packed(5, 3, 24, 4, 0, 4);
  ASSERT_TRUE(CheckPackedDib(tabled.data(), tabled.size()));
  EXPECT_FALSE(CheckPackedDib(tabled.data(), tabled.size())->ownKind);
  EXPECT_EQ(CheckPackedDib(tabled.data(), tabled.size())->bitsOffset, 56u);
  const auto topDown = Packed(5, -3, 8, 2, 0, 2);
  ASSERT_TRUE(CheckPackedDib(topDown.data(), topDown.size()));
  EXPECT_FALSE(CheckPackedDib(topDown.data(), topDown.size())->ownKind);
  const auto fields = Packed(5, 3, 16, 0, 3, 0, 12);
  ASSERT_TRUE(CheckPackedDib(fields.data(), fields.size()));
  EXPECT_EQ(CheckPackedDib(fields.data(), fields.size())->bitsOffset, 52u) << "the masks follow the header";
  const auto mono = Packed(9, 2, 1, 0, 0, 2);
  ASSERT_TRUE(CheckPackedDib(mono.data(), mono.size()));
  EXPECT_FALSE(CheckPackedDib(mono.data(), mono.size())->ownKind);
}

TEST(ClipboardRules, MalformedBitmapsAreRefused) {
  auto cut = Packed(5, 3, 8, 16, 0, 16);
  EXPECT_FALSE(CheckPackedDib(cut.data(), cut.size() - 1)) << "rows past the block";
  EXPECT_FALSE(CheckPackedDib(cut.data(), 39)) << "no whole header";
  const auto tooManyColours = Packed(5, 3, 4, 17, 0, 17);
  EXPECT_FALSE(CheckPackedDib(tooManyColours.data(), tooManyColours.size()));
  const auto huge = Packed(1, 1, 24, 0);
  auto wide = huge;
  const int32_t absurd = int32_t(1) << 30;
  std::memcpy(wide.data() + 4, &absurd, 4);
  EXPECT_FALSE(CheckPackedDib(wide.data(), wide.size()));
  auto empty = huge;
  std::memset(empty.data() + 8, 0, 4);
  EXPECT_FALSE(CheckPackedDib(empty.data(), empty.size())) << "no rows";
  const auto compressed = Packed(5, 3, 8, 16, 1, 16);
  EXPECT_FALSE(CheckPackedDib(compressed.data(), compressed.size())) << "run-length rows are not read";
  const auto odd = Packed(5, 3, 7, 0);
  EXPECT_FALSE(CheckPackedDib(odd.data(), odd.size()));
  auto longHeader = Packed(5, 3, 24, 0);
  const uint32_t pastBlock = uint32_t(longHeader.size() + 1);
  std::memcpy(longHeader.data(), &pastBlock, 4);
  EXPECT_FALSE(CheckPackedDib(longHeader.data(), longHeader.size())) << "a header longer than the block";
}

}  // namespace quilla
