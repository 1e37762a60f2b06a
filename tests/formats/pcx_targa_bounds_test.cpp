// The readers' check that a file can hold the image it declares, before any memory is
// taken for it, must never refuse a file the writers make at their best compression.
#include "formats/formats_test_support.h"

namespace quilla {

class PcxTargaBoundsTest : public FormatsTest {};

TEST_F(PcxTargaBoundsTest, UniformRowsOfEveryLengthReadBack) {
  for (uint32_t type : {kPcxFile, kTargaFile}) {
    for (int colors : {2, 16, 256, 0}) {
      for (int width = 1; width <= 200; ++width) {
        DIBImage original, back;
        std::vector<RgbQuad> table(size_t(colors), RgbQuad{0, 0, 0, 0});
        ASSERT_TRUE(original.CreateFilledImage(width, 1, colors == 0, table.data(), colors, 0));
        ASSERT_TRUE(Save(original, "u", type));
        ASSERT_TRUE(Load(back, "u")) << colors << " colours, width " << width << ": " << host.LastMessage();
        EXPECT_EQ(back.Width(), width);
      }
    }
  }
}

}  // namespace quilla
