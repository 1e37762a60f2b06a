#include "jpeg_test_support.h"

namespace quilla {

class JpegWriteTest : public JpegTest {
 protected:
  Bytes Save(DIBImage& document, const std::string& name) {
    document.fileType = kJpegFile;
    EXPECT_TRUE(WriteImageFile(document, Path(name))) << host.LastMessage();
    return ReadBytes(Path(name));
  }
};

TEST_F(JpegWriteTest, TrueColourRoundTripKeepsThePicture) {
  for (auto [width, height] : {std::pair{1, 1}, std::pair{7, 3}, std::pair{129, 65}}) {
    DIBImage original, back;
    MakePhoto(original, width, height);
    Options().SetJpegQuality(95);
    Bytes file = Save(original, "r.jpg");
    EXPECT_EQ(FrameComponents(file), 3);
    ASSERT_TRUE(ReadImageFile(back, Path("r.jpg")));
    EXPECT_EQ(back.Width(), width);
    EXPECT_EQ(back.Height(), height);
    if (width > 100) { EXPECT_LE(MaxPhotoError(back), 30); }
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(JpegWriteTest, QualityAndEntropyOptimisationChangeTheSize) {
  DIBImage original;
  MakePhoto(original, 160, 120);
  Options().SetJpegQuality(20);
  size_t low = Save(original, "q20.jpg").size();
  Options().SetJpegQuality(95);
  size_t high = Save(original, "q95.jpg").size();
  Options().SetJpegEntOpt(0);
  size_t plain = Save(original, "plain.jpg").size();
  EXPECT_LT(low, high);
  EXPECT_LT(high, plain);  // the same picture with the standard tables is larger
}

TEST_F(JpegWriteTest, GreyscaleSaveWritesOneComponent) {
  DIBImage original, back;
  MakePhoto(original, 40, 30);
  Options().SetSaveJpegGS(1);
  Options().SetJpegQuality(95);
  Bytes file = Save(original, "g.jpg");
  EXPECT_EQ(FrameComponents(file), 1);
  ASSERT_TRUE(ReadImageFile(back, Path("g.jpg")));
  EXPECT_TRUE(AllGray(back));
  EXPECT_LE(MaxPhotoError(back, true), 12);
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
  Save(original, "p.jpg");
  ASSERT_TRUE(ReadImageFile(back, Path("p.jpg")));
  EXPECT_EQ(back.BitsPerPixel(), 24u);
  uint32_t left = PixelRgb(back, 4, 8), right = PixelRgb(back, 28, 8);
  EXPECT_GT(left & 255, 200u);          // blue
  EXPECT_LT(left >> 16 & 255, 40u);
  EXPECT_GT(right >> 16 & 255, 200u);   // red
  EXPECT_LT(right & 255, 40u);
}

TEST_F(JpegWriteTest, ProgressIsReportedAndACancelLeavesNoFile) {
  DIBImage original;
  MakePhoto(original, 300, 400);
  SetProgressName(Path("out.jpg"));
  Save(original, "out.jpg");
  EXPECT_NE(std::find(host.titles.begin(), host.titles.end(), "starting compression..."), host.titles.end());
  // Every 32nd row: 32 of 400 rows is 8%.
  EXPECT_NE(std::find(host.titles.begin(), host.titles.end(), "out.jpg-08%"), host.titles.end());
  EXPECT_NE(std::find(host.titles.begin(), host.titles.end(), "out.jpg-96%"), host.titles.end());
  std::filesystem::remove(Path("out.jpg"));

  int pumps = 0;
  host.onPump = [&] {
    if (++pumps == 4) RequestCancel();
    return true;
  };
  SetMainDocument(&original);
  original.fileType = kJpegFile;
  EXPECT_FALSE(WriteImageFile(original, Path("out.jpg")));
  EXPECT_EQ(pumps, 4);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(DirEntries().empty());
  EXPECT_FALSE(original.IsLocked());
  EXPECT_EQ(Transfer::OpenFiles(), 0);
}

TEST_F(JpegWriteTest, CancelKeepsAnExistingFileAsItWas) {
  DIBImage original;
  MakePhoto(original, 64, 300);
  WriteBytes(Path("keep.jpg"), {1, 2, 3});
  host.onPump = [&] {
    RequestCancel();
    return true;
  };
  original.fileType = kJpegFile;
  EXPECT_FALSE(WriteImageFile(original, Path("keep.jpg")));
  EXPECT_EQ(ReadBytes(Path("keep.jpg")), (Bytes{1, 2, 3}));
  EXPECT_EQ(DirEntries().size(), 1u);
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

}  // namespace quilla
