// Every reading fixture, written as each of the ten save types and read back: a file the
// program writes must open again with the same size and colours.
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "color/color_reduction.h"
#include "formats/engine.h"
#include "formats/file_types.h"
#include "formats/image_files.h"
#include "formats_test_support.h"

namespace quilla {
namespace {

std::vector<std::filesystem::path> ReadingFixtures() {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(QUILLA_SEEDS_DIR))
    if (entry.is_regular_file() && entry.path().extension() != ".py" && entry.path().extension() != ".sh")
      files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

// Mean difference of brightness between two images of the same size. JPEG keeps brightness
// at full resolution; colour is subsampled, which tiny noisy fixtures cannot survive.
double MeanLumaDifference(DIBImage& a, DIBImage& b) {
  auto luma = [](uint32_t p) { return 0.299 * (p >> 16 & 255) + 0.587 * (p >> 8 & 255) + 0.114 * (p & 255); };
  double sum = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) sum += std::abs(luma(PixelRgb(a, x, y)) - luma(PixelRgb(b, x, y)));
  return sum / (double(a.Width()) * a.Height());
}

class RoundTripTest : public FormatsTest {
 protected:
  void SetUp() override {
    FormatsTest::SetUp();
    Options().SetJpegQuality(100);  // JPEG loses least at 100
    ASSERT_TRUE(engine);
  }

  const Engine engine;


  // Writes source as every save type and checks each file reads back the same.
  void ExpectEveryTypeReadsBack(DIBImage& source, const std::string& name) {
    // GIF holds at most 256 colours: its writer reduces a true-colour image this way.
    DIBImage reduced;
    if (source.IsTrueColor()) {
      ASSERT_TRUE(QuantizeInto(reduced, source, 256, Options().UseDithering() != 0, false));
    }
    for (uint32_t type = 1; type <= kLastFileType; ++type) {
      SCOPED_TRACE(name + " as type " + std::to_string(type));
      const std::string path = Path("out");
      source.fileType = type;
      ASSERT_TRUE(WriteImageFile(source, path.c_str())) << host.LastMessage();
      DIBImage back;
      ASSERT_TRUE(ReadImageFile(back, path.c_str())) << host.LastMessage();
      ASSERT_EQ(back.Width(), source.Width());
      ASSERT_EQ(back.Height(), source.Height());
      const bool gif = type == kGif87a || type == kGif89a;
      if (type == kJpegFile)
        EXPECT_LT(MeanLumaDifference(source, back), 4.0);
      else
        EXPECT_TRUE(SamePixels(gif && source.IsTrueColor() ? reduced : source, back));
    }
  }
};

TEST_F(RoundTripTest, EveryFixtureSavedAsEveryTypeReadsBackWithItsSizeAndColours) {
  const std::vector<std::filesystem::path> fixtures = ReadingFixtures();
  ASSERT_GE(fixtures.size(), 50u) << QUILLA_SEEDS_DIR;
  for (const std::filesystem::path& fixture : fixtures) {
    DIBImage source;
    ASSERT_TRUE(ReadImageFile(source, fixture.string().c_str())) << fixture << ": " << host.LastMessage();
    ExpectEveryTypeReadsBack(source, fixture.filename().string());
  }
}

TEST_F(RoundTripTest, EveryColourCountAndNarrowWidthSavedAsEveryTypeReadsBack) {
  for (int colors : {0, 1, 2, 3, 16, 17, 256})
    for (int width : {1, 2, 9}) {
      DIBImage source;
      MakeTestImage(source, width, 3, colors);
      ExpectEveryTypeReadsBack(source, std::to_string(colors) + " colours, " + std::to_string(width) + " wide");
    }
}

}  // namespace
}  // namespace quilla
