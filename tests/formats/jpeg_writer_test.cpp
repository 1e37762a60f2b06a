// The JPEG writer: the picture kept in colour or grey, its options, palette images, progress,
// cancel and the format's size limit. The codec table's round trip writes every other kind.
#include "jpeg_test_support.h"

namespace quilla {
namespace {

using JpegWriteTest = JpegTest;

TEST_F(JpegWriteTest, RoundTripKeepsThePictureInColourOrGrey) {
  struct Case {
    int width, height;
    bool gray;
    int components, tolerance;  // -1: too small to compare
  } cases[] = {{1, 1, false, 3, -1}, {7, 3, false, 3, -1}, {129, 65, false, 3, 30}, {40, 30, true, 1, 12}};
  Options().SetJpegQuality(95);
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << (c.gray ? " grey" : ""));
    Options().SetSaveJpegGS(c.gray);
    DIBImage original, back;
    MakePhoto(original, c.width, c.height);
    Bytes file = Written(original, "r.jpg", kJpegFile);
    const size_t frame = FrameAt(file);
    EXPECT_EQ(frame ? file[frame + 9] : 0, c.components);
    ASSERT_TRUE(ReadImageFile(back, Path("r.jpg")));
    EXPECT_EQ(std::pair(back.Width(), back.Height()), std::pair(c.width, c.height));
    if (c.tolerance >= 0) { EXPECT_LE(MaxPhotoError(back, c.gray), c.tolerance); }
    if (c.gray) { EXPECT_TRUE(AllGray(back)); }
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(JpegWriteTest, QualityAndEntropyOptimisationChangeTheSize) {
  DIBImage original;
  MakePhoto(original, 160, 120);
  Options().SetJpegQuality(20);
  size_t low = Written(original, "q20.jpg", kJpegFile).size();
  Options().SetJpegQuality(95);
  size_t high = Written(original, "q95.jpg", kJpegFile).size();
  Options().SetJpegEntOpt(0);
  size_t plain = Written(original, "plain.jpg", kJpegFile).size();
  EXPECT_LT(low, high);
  EXPECT_LT(high, plain);  // the same picture with the standard tables is larger
}

TEST_F(JpegWriteTest, PaletteImagesAreWrittenThroughTheirColourTable) {
  DIBImage original, back;
  RgbQuad table[2] = {{255, 0, 0, 0}, {0, 0, 255, 0}};  // blue, red
  ASSERT_TRUE(original.CreateImage(32, 16, false, table, 2, 0));
  original.Lock();
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x) original.RowPointer(y)[x] = x < 16 ? 0 : 1;
  original.Unlock();
  Options().SetJpegQuality(95);
  Written(original, "p.jpg", kJpegFile);
  ASSERT_TRUE(ReadImageFile(back, Path("p.jpg")));
  EXPECT_EQ(back.BitsPerPixel(), 24u);
  uint32_t left = PixelRgb(back, 4, 8), right = PixelRgb(back, 28, 8);
  EXPECT_GT(left & 255, 200u);  // blue
  EXPECT_LT(left >> 16 & 255, 40u);
  EXPECT_GT(right >> 16 & 255, 200u);  // red
  EXPECT_LT(right & 255, 40u);
}

TEST_F(JpegWriteTest, ProgressIsReportedAndACancelLeavesNoFile) {
  DIBImage original;
  MakePhoto(original, 300, 400);
  SetProgressName(Path("out.jpg"));
  Written(original, "out.jpg", kJpegFile);
  EXPECT_NE(std::find(host.titles.begin(), host.titles.end(), "starting compression..."), host.titles.end());
  // Every 32nd row: 32 of 400 rows is 8%.
  EXPECT_NE(std::find(host.titles.begin(), host.titles.end(), "out.jpg-08%"), host.titles.end());
  EXPECT_NE(std::find(host.titles.begin(), host.titles.end(), "out.jpg-96%"), host.titles.end());
  std::filesystem::remove(Path("out.jpg"));

  // Over an existing file a cancel keeps it (ImageFilesTest.CancelledSaveKeepsTheOldFile).
  ExpectCancelledWrite(original, "out.jpg", kJpegFile, 4);
}

TEST_F(JpegWriteTest, TooWideForTheFormatShowsTheLibraryMessage) {
  DIBImage original;
  ASSERT_TRUE(original.CreateImage(65501, 1, false, nullptr, 2, 0));
  original.fileType = kJpegFile;
  EXPECT_FALSE(WriteImageFile(original, Path("wide.jpg")));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Maximum supported image dimension is 65500 pixels");
  EXPECT_TRUE(DirEntries().empty());
}

}  // namespace
}  // namespace quilla
