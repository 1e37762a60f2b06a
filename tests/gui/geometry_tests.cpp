// The geometry commands under Wine on the 64 x 48 gradient: Resize through its presets,
// slider, edits and refusal, with undo; the flips and rotations as the screen shows them;
// Redimension's black margin; and File > New on a changed image.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "bitmaps.h"
#include "control_ids.h"
#include "core/commands.h"
#include "picture_session.h"

namespace quilla::gui {
namespace {

constexpr char kChangedQuestion[] = "Image was changed, do you wish to save it?";
constexpr int kWidth = kPictureWidth, kHeight = kPictureHeight;

using GeometryTest = PictureTest;

std::string Text(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }
std::string SizeShown(HWND dialog, int widthId, int heightId) {
  return Text(dialog, widthId) + " x " + Text(dialog, heightId);
}

// The top-left width x height pixels of the main window's client area, once settled.
std::vector<unsigned> Shown(const Program& program, int width, int height) {
  EXPECT_TRUE(program.Settle());
  const POINT origin = program.ClientOrigin();
  return CaptureScreen({origin.x, origin.y, origin.x + width, origin.y + height});
}

TEST_F(GeometryTest, ResizeFollowsPresetSliderAndEditsAndUndoes) {
  StartOnImage();
  const std::vector<unsigned> gradient = Picture(kWidth, kHeight, Gradient);
  ASSERT_EQ(Settled(), gradient);

  // The 640 x 480 preset keeps the aspect ratio, which it has: ten times each way.
  HWND dialog = ShowRetouch(cmd::kResize, "Resize Image");
  ASSERT_NE(dialog, nullptr) << "no Resize dialog";
  EXPECT_EQ(SizeShown(dialog, resize_dialog::kCurrentWidth, resize_dialog::kCurrentHeight), "64 x 48");
  EXPECT_TRUE(Checked(dialog, resize_dialog::kAspect));
  EXPECT_EQ(Text(dialog, resize_dialog::kColsRatio), "   1.00");
  ASSERT_TRUE(program_->Press(dialog, resize_dialog::k640x480));
  EXPECT_EQ(SizeShown(dialog, resize_dialog::kWidth, resize_dialog::kHeight), "640 x 480");
  EXPECT_EQ(Text(dialog, resize_dialog::kRowsRatio), "  10.00");
  Shot("dialog");
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  ASSERT_NO_FATAL_FAILURE(ExpectTitle(ImageTitle("depth.bmp", 640, 480)));
  EXPECT_EQ(program_->SendCommand(cmd::kImageSize), MAKELONG(640, 480));
  EXPECT_EQ(Shown(*program_, 64, 48), Picture(64, 48, [](int x, int y) { return Gradient(x / 10, y / 10); }))
      << "each pixel repeated ten times each way";
  Shot("640x480");
  program_->PostMenuCommand(cmd::kUndo);
  ASSERT_NO_FATAL_FAILURE(ExpectTitle(PictureTitle("16.7 million")));
  EXPECT_EQ(Settled(), gradient);

  // A page left on the column slider: 92 hundredths of the width, the height following.
  dialog = ShowRetouch(cmd::kResize, "Resize Image");
  ASSERT_NE(dialog, nullptr);
  Scroll(dialog, resize_dialog::kColsSlider, SB_PAGELEFT);
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(SizeShown(dialog, resize_dialog::kWidth, resize_dialog::kHeight), "59 x 44");
  EXPECT_EQ(Text(dialog, resize_dialog::kColsRatio), "   0.92");
  // No size is not a size: OK puts the current one back and the dialog stays.
  SetItemText(dialog, resize_dialog::kWidth, L"0");
  ASSERT_TRUE(program_->Press(dialog, IDOK));
  ASSERT_TRUE(IsWindowVisible(dialog)) << "OK refused";
  EXPECT_EQ(SizeShown(dialog, resize_dialog::kWidth, resize_dialog::kHeight), "64 x 48");
  // A typed width takes its height along on OK.
  SetItemText(dialog, resize_dialog::kWidth, L"128");
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  ASSERT_NO_FATAL_FAILURE(ExpectTitle(ImageTitle("depth.bmp", 128, 96)));
}

TEST_F(GeometryTest, FlipsMirrorAndRotationsComeBack) {
  StartOnImage();
  const std::vector<unsigned> gradient = Picture(kWidth, kHeight, Gradient);
  ASSERT_EQ(Settled(), gradient);

  program_->PostMenuCommand(cmd::kFlipHorizontal);
  EXPECT_EQ(Settled(), Picture(kWidth, kHeight, [](int x, int y) { return Gradient(kWidth - 1 - x, y); }));
  Shot("flipped");
  program_->PostMenuCommand(cmd::kFlipHorizontal);
  EXPECT_EQ(Settled(), gradient);

  // Clockwise: the left column becomes the top row, read from the bottom up.
  program_->PostMenuCommand(cmd::kRotateRight);
  ASSERT_NO_FATAL_FAILURE(ExpectTitle(ImageTitle("depth.bmp", kHeight, kWidth)));
  EXPECT_EQ(Shown(*program_, kHeight, kWidth),
            Picture(kHeight, kWidth, [](int x, int y) { return Gradient(y, kHeight - 1 - x); }));
  Shot("rotated");
  program_->PostMenuCommand(cmd::kRotateLeft);
  ASSERT_NO_FATAL_FAILURE(ExpectTitle(PictureTitle("16.7 million")));
  EXPECT_EQ(Settled(), gradient);

  program_->PostClose();
  EXPECT_EQ(AnswerBox(IDNO, "close"), kChangedQuestion) << "flipped and rotated back, it still counts as changed";
  ASSERT_TRUE(program_->WaitForExit(10000));
}

TEST_F(GeometryTest, RedimensionAddsBlackAtTheRight) {
  StartOnImage();
  HWND dialog = ShowRetouch(cmd::kRedimension, "Redimension Image");
  ASSERT_NE(dialog, nullptr) << "no Redimension dialog";
  EXPECT_EQ(SizeShown(dialog, new_image::kWidth, new_image::kHeight), "64 x 48");
  SetItemText(dialog, new_image::kWidth, L"70");
  SetItemText(dialog, new_image::kHeight, L"40");
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  ASSERT_NO_FATAL_FAILURE(ExpectTitle(ImageTitle("depth.bmp", 70, 40)));
  EXPECT_EQ(Shown(*program_, 70, 40),
            Picture(70, 40, [](int x, int y) { return x < kWidth ? Gradient(x, y) : 0u; }));
  Shot("redimensioned");
  program_->PostMenuCommand(cmd::kUndo);
  ASSERT_NO_FATAL_FAILURE(ExpectTitle(PictureTitle("16.7 million")));
}

TEST_F(GeometryTest, NewAsksAboutTheChangedImageAndStartsUntitledInTheFillColour) {
  StartOnImage();
  program_->PostMenuCommand(cmd::kFlipVertical);
  ASSERT_TRUE(program_->Settle());

  program_->PostMenuCommand(cmd::kNew);
  EXPECT_EQ(AnswerBox(IDNO, "question"), kChangedQuestion);
  HWND dialog = program_->WaitForDialog();
  ASSERT_NE(dialog, nullptr) << "no New Image dialog";
  EXPECT_EQ(WindowText(dialog), "New Image");
  MoveAside(dialog);
  EXPECT_EQ(SizeShown(dialog, new_image::kWidth, new_image::kHeight), "64 x 48") << "the current size";
  // A width that is no size goes back to the one it opened with; the dialog stays.
  SetItemText(dialog, new_image::kWidth, L"x");
  SetItemText(dialog, new_image::kHeight, L"40");
  ASSERT_TRUE(program_->Press(dialog, IDOK));
  ASSERT_TRUE(IsWindowVisible(dialog)) << "OK refused";
  EXPECT_EQ(SizeShown(dialog, new_image::kWidth, new_image::kHeight), "64 x 40");
  Shot("dialog");
  ASSERT_TRUE(Program::Answer(dialog, IDOK));

  ASSERT_NO_FATAL_FAILURE(ExpectTitle(ImageTitle("untitled", 64, 40)));
  const std::vector<unsigned> blank = Shown(*program_, 64, 40);
  EXPECT_EQ(std::set<unsigned>(blank.begin(), blank.end()), std::set<unsigned>{0xFFFFFFu}) << "white by default";
  EXPECT_TRUE(Menu(cmd::kUndo).Greyed()) << "a new image has nothing to undo";
  Shot("new");
  ASSERT_TRUE(program_->Close()) << "a new image is not changed";
  EXPECT_EQ(ReadFileBytes(image_), original_);
}

}  // namespace
}  // namespace quilla::gui
