#include "app/file_session.h"

#include "core/commands.h"
#include "core/progress.h"
#include "formats/codec_abort.h"
#include "formats/file_system.h"
#include "formats/file_types.h"
#include "formats/image_files.h"
#include "formats/formats_test_support.h"

namespace quilla {

class FileSessionTest : public FormatsTest {
 protected:
  void SetUp() override {
    FormatsTest::SetUp();
    CurrentFileSession() = FileSession{};
    startDir = std::filesystem::current_path();
    imageChanged = false;
  }
  void TearDown() override {
    std::filesystem::current_path(startDir);
    imageChanged = false;
    FormatsTest::TearDown();
  }
  std::filesystem::path startDir;
};

TEST_F(FileSessionTest, OpenByNameSetsTheSessionFromTheTypeRead) {
  DIBImage picture, document;
  MakeTestImage(picture, 8, 2, 2);
  ASSERT_TRUE(Save(picture, "Photo.BMP", kOs2Bmp));
  imageChanged = true;
  host.titles.clear();
  ASSERT_TRUE(OpenImageByName(document, Path("Photo.BMP")));
  EXPECT_EQ(Options().OpenType(), 3);  // OS/2
  EXPECT_EQ(CurrentFileSession().currentName, Path("Photo.BMP"));
  EXPECT_EQ(CurrentFileTitle(), "photo.bmp");
  EXPECT_EQ(CurrentFileSession().lastOpened, Path("Photo.BMP"));
  EXPECT_FALSE(imageChanged);
  EXPECT_EQ(host.busyMenus, (std::vector<int>{kLoadingMenu, 0}));
  EXPECT_EQ(host.titles.front(), "photo.bmp-00%");
  EXPECT_EQ(BusyCursorDepth(), 0);
  EXPECT_EQ(std::filesystem::current_path(), dir);  // the remembered directory

  EXPECT_FALSE(OpenImageByName(document, Path("gone.bmp")));
  EXPECT_EQ(CurrentFileSession().currentName, kUntitled);
  EXPECT_EQ(CurrentFileSession().lastOpened, Path("gone.bmp"));
}

TEST_F(FileSessionTest, FileTitleDropsTheDirectoryOrDriveAndKeepsTheCase) {
  EXPECT_EQ(FileTitle("c:\\Pics\\Photo.BMP"), "Photo.BMP");
  EXPECT_EQ(FileTitle("/home/me/a.gif"), "a.gif");
  EXPECT_EQ(FileTitle("d:Sheet.tif"), "Sheet.tif");
  EXPECT_EQ(FileTitle("plain"), "plain");
}

TEST_F(FileSessionTest, AFailedOpenInABatchAsksToCancelTheRestUnlessNothingFollows) {
  DIBImage document;
  // The reader's message takes the first answer.
  auto failOpen = [&](int index, int size, MsgResult answer = MsgResult::Yes) {
    host.messages.clear();
    host.answers = {MsgResult::Ok, answer};
    SetBatchSize(size);
    SetBatchIndex(index);
    EXPECT_FALSE(OpenImageByName(document, Path("gone.bmp")));
  };
  auto asked = [&] { return host.LastMessage() == "Cancel remaining open operations ?"; };
  Options().SetDropTo(cmd::kDropCompress);
  failOpen(0, 1);
  EXPECT_FALSE(asked());  // outside a batch
  BeginBatch();
  failOpen(0, 2, MsgResult::No);
  EXPECT_TRUE(asked());
  EXPECT_FALSE(IsBatchCancelled());
  failOpen(1, 2);
  EXPECT_FALSE(asked());  // the last file
  Options().SetDropTo(cmd::kDropSlideshow);
  Options().SetSSCycle(1);
  failOpen(1, 2);
  EXPECT_TRUE(asked());  // a cycling slideshow comes back to the first
  EXPECT_TRUE(IsBatchCancelled());
  failOpen(0, 2);
  EXPECT_FALSE(asked());  // already cancelled
  EndBatch();
}

TEST_F(FileSessionTest, RememberedDirectoryDropsTheSeparatorExceptAtARoot) {
  RememberDirectory(Path("x.bmp"));
  EXPECT_EQ(CurrentFileSession().rememberedDirectory, dir.string());
  RememberDirectory("x.bmp");
  EXPECT_EQ(CurrentFileSession().rememberedDirectory, "");
  EXPECT_TRUE(host.messages.empty());
  RememberDirectory(Path("missing/x.bmp"));
  EXPECT_EQ(host.LastMessage().rfind("WIN32 (", 0), 0u);
  EXPECT_NE(host.LastMessage().find("): Failed to change directory to '" + Path("missing") + "'"), std::string::npos);
}

TEST_F(FileSessionTest, SaveByNameMakesTheNameCurrent) {
  DIBImage picture;
  MakeTestImage(picture, 4, 4, 0);
  picture.fileType = kWindowsBmp;
  imageChanged = true;
  ASSERT_TRUE(SaveImageByName(picture, Path("saved.bmp")));
  EXPECT_FALSE(imageChanged);
  EXPECT_EQ(CurrentFileSession().currentName, Path("saved.bmp"));
  EXPECT_EQ(host.busyMenus, (std::vector<int>{kSavingMenu, 0}));
  imageChanged = true;
  EXPECT_FALSE(SaveImageByName(picture, Path("none/saved.bmp")));
  EXPECT_TRUE(imageChanged);
  EXPECT_EQ(CurrentFileSession().currentName, Path("saved.bmp"));
}

TEST_F(FileSessionTest, AskSaveChangesAnswers) {
  int saves = 0;
  auto save = [&] { ++saves; };
  EXPECT_EQ(AskSaveChanges(nullptr, save), 1);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(AskSaveChanges([] { return 0; }, save), 0);
  imageChanged = true;
  host.answers = {MsgResult::Cancel, MsgResult::No, MsgResult::Yes};
  EXPECT_EQ(AskSaveChanges(nullptr, save), 0);
  EXPECT_EQ(host.LastMessage(), "Image was changed, do you wish to save it?");
  EXPECT_EQ(host.messages.back().buttons, MsgButtons::YesNoCancel);
  EXPECT_EQ(AskSaveChanges(nullptr, save), 1);
  EXPECT_EQ(saves, 0);
  EXPECT_EQ(AskSaveChanges([] { return 1; }, save), 1);
  EXPECT_EQ(saves, 1);
}

TEST_F(FileSessionTest, SaveQuestions) {
  DIBImage picture;
  picture.fileType = kWindowsBmp;
  CurrentFileSession().currentName = "C:\\Pics\\A.BMP";
  bool gsOff = true;
  host.answers = {MsgResult::No};
  EXPECT_FALSE(ConfirmSave(picture, gsOff));
  EXPECT_EQ(host.LastMessage(), "Save this image to file:\n\nc:\\pics\\a.bmp\n\nin Windows BMP format?");
  EXPECT_FALSE(gsOff);

  AppOptions& options = Options();
  options.SetWarnAllSaves(0);
  host.messages.clear();
  EXPECT_TRUE(ConfirmSave(picture, gsOff));
  EXPECT_TRUE(host.messages.empty());

  picture.fileType = kJpegFile;
  options.SetSaveJpegGS(1);
  host.answers = {MsgResult::No, MsgResult::Cancel};
  EXPECT_TRUE(ConfirmSave(picture, gsOff));
  EXPECT_TRUE(gsOff);
  EXPECT_EQ(host.LastMessage(), "Save this image to file:\n\nc:\\pics\\a.bmp\n\nin GRAYSCALE JPEG format ?");
  EXPECT_FALSE(ConfirmSave(picture, gsOff));

  host.answers = {MsgResult::Yes, MsgResult::Cancel};
  EXPECT_TRUE(ConfirmGrayscaleJpegSaveAs(gsOff));
  EXPECT_FALSE(gsOff);
  EXPECT_EQ(host.LastMessage(), "Are you sure you want to save in GRAYSCALE JPEG format ?");
  EXPECT_FALSE(ConfirmGrayscaleJpegSaveAs(gsOff));
  options.SetWarnJpegGsSave(0);
  host.messages.clear();
  EXPECT_TRUE(ConfirmGrayscaleJpegSaveAs(gsOff));
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(FileSessionTest, DeleteAsksAndReportsFailures) {
  WriteBytes(Path("Del.bmp"), {1});
  CurrentFileSession().currentName = Path("Del.bmp");
  host.answers = {MsgResult::No};
  EXPECT_FALSE(DeleteCurrentFile());
  EXPECT_EQ(host.LastMessage(), "DELETE FILE:\n\n" + Shown(Path("Del.bmp")));
  EXPECT_TRUE(FileExists(Path("Del.bmp")));
  EXPECT_TRUE(DeleteCurrentFile());
  EXPECT_FALSE(FileExists(Path("Del.bmp")));
  EXPECT_EQ(CurrentFileSession().currentName, Path("Del.bmp"));  // the name stays
  EXPECT_FALSE(DeleteCurrentFile());
  EXPECT_EQ(host.LastMessage(), "Path or file name not found");
}

TEST_F(FileSessionTest, CommonDialogErrors) {
  EXPECT_STREQ(CommonDialogErrorText(0x3003), "Error: buffer too small");
  EXPECT_STREQ(CommonDialogErrorText(0xFFFF), "Error creating dialog box");
  EXPECT_STREQ(CommonDialogErrorText(0x1234), "Undocumented error");
  ShowCommonDialogError(0);
  EXPECT_TRUE(host.messages.empty());
  ShowCommonDialogError(0x3001);
  EXPECT_EQ(host.LastMessage(), "Error: subclass failure (3001)");
}

}  // namespace quilla
