// The one round trip of every codec in the table: each reading fixture and a set of made
// images, written as each type a codec writes and read back; a file the program writes
// must open again with the same size and colours.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "color/color_reduction.h"
#include "formats/codec_table.h"
#include "formats/file_types.h"
#include "formats/image_files.h"
#include "formats_test_support.h"

namespace quilla {
namespace {

// The seeds of the reader targets; other targets' seeds are not images.
std::vector<std::filesystem::path> ReadingFixtures() {
  std::vector<std::filesystem::path> files;
  for (const auto& folder : std::filesystem::directory_iterator(QUILLA_SEEDS_DIR))
    if (folder.is_directory() && folder.path().filename().string().ends_with("_reader_fuzz"))
      for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        if (entry.is_regular_file()) files.push_back(entry.path());
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

// Every type a codec of the table writes, each once, in the table's order.
std::vector<uint32_t> WrittenTypes() {
  int count = 0;
  const CodecEntry* codecs = Codecs(&count);
  std::vector<uint32_t> types;
  for (int i = 0; i < count; ++i)
    for (uint32_t type : codecs[i].types)
      if (std::find(types.begin(), types.end(), type) == types.end()) types.push_back(type);
  return types;
}

// The type's name as a test name: letters and digits, the rest underscores.
std::string TypeTestName(const ::testing::TestParamInfo<uint32_t>& info) {
  std::string name = FileTypeName(info.param);
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

class RoundTripTest : public FormatsTest, public ::testing::WithParamInterface<uint32_t> {
 protected:
  void SetUp() override {
    FormatsTest::SetUp();
    Options().SetJpegQuality(100);  // JPEG loses least at 100
  }

  // Writes source as the type under test and checks the file reads back the same.
  void ExpectReadsBack(DIBImage& source, const std::string& name) {
    const uint32_t type = GetParam();
    SCOPED_TRACE(name + " as type " + std::to_string(type));
    const bool gif = type == kGif87a || type == kGif89a;
    // GIF holds at most 256 colours: its writer reduces a true-colour image this way.
    DIBImage reduced;
    if (gif && source.IsTrueColor()) {
      ASSERT_TRUE(QuantizeInto(reduced, source, 256, Options().UseDithering() != 0, false));
    }
    ASSERT_TRUE(Save(source, "out", type)) << host.LastMessage();
    DIBImage back;
    ASSERT_TRUE(Load(back, "out")) << host.LastMessage();
    ASSERT_EQ(back.Width(), source.Width());
    ASSERT_EQ(back.Height(), source.Height());
    if (type == kJpegFile)
      EXPECT_LT(MeanLumaDifference(source, back), 4.0);
    else
      EXPECT_TRUE(SamePixels(gif && source.IsTrueColor() ? reduced : source, back));
  }
};

TEST_P(RoundTripTest, EveryFixtureSavedReadsBackWithItsSizeAndColours) {
  const std::vector<std::filesystem::path> fixtures = ReadingFixtures();
  ASSERT_GE(fixtures.size(), 50u) << QUILLA_SEEDS_DIR;
  for (const std::filesystem::path& fixture : fixtures) {
    DIBImage source;
    ASSERT_TRUE(ReadImageFile(source, fixture.string())) << fixture << ": " << host.LastMessage();
    ExpectReadsBack(source, fixture.filename().string());
  }
}

TEST_P(RoundTripTest, EveryColourCountAndNarrowWidthSavedReadsBack) {
  for (int colors : {0, 1, 2, 3, 16, 17, 256})
    for (int width : {1, 2, 9}) {
      DIBImage source;
      MakeTestImage(source, width, 3, colors);
      ExpectReadsBack(source, std::to_string(colors) + " colours, " + std::to_string(width) + " wide");
    }
}

INSTANTIATE_TEST_SUITE_P(CodecTable, RoundTripTest, ::testing::ValuesIn(WrittenTypes()), TypeTestName);

}  // namespace
}  // namespace quilla
