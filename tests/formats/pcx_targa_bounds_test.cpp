// The readers' check that a file can hold the image it declares, before any memory is
// taken for it, must never refuse a file the writers make at their best compression.
#include "formats/image_files.h"
#include "formats/file_types.h"
#include "formats/pcx_targa_support.h"

namespace quilla {

class PcxTargaBoundsTest : public FormatsTest {};

TEST_F(PcxTargaBoundsTest, UniformRowsOfEveryLengthReadBack) {
  for (uint32_t type : {kPcxFile, kTargaFile}) {
    for (int colors : {2, 16, 256, 0}) {
      for (int width = 1; width <= 200; ++width) {
        DIBImage original, back;
        std::vector<RgbQuad> table(size_t(colors), RgbQuad{0, 0, 0, 0});
        ASSERT_TRUE(original.CreateFilledImage(width, 1, colors == 0, table.data(), colors, 0));
        original.fileType = type;
        ASSERT_TRUE(WriteImageFile(original, Path("u")));
        ASSERT_TRUE(ReadImageFile(back, Path("u"))) << colors << " colours, width " << width << ": "
                                                    << host.LastMessage();
        EXPECT_EQ(back.Width(), width);
      }
    }
  }
}

}  // namespace quilla
