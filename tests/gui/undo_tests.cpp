// Undo and the question about a changed image, under Wine: a true-colour picture reduced
// to 16 colours through Color Depth, made negative or retouched with a slider, undone and
// redone, and then closed or replaced while changed.
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
const std::string kTrueColorTitle = PictureTitle("16.7 million"), kSixteenTitle = PictureTitle("16");

size_t DistinctColours(const std::vector<unsigned>& pixels) { return std::set<unsigned>(pixels.begin(), pixels.end()).size(); }

using UndoTest = PictureTest;

TEST_F(UndoTest, UndoSwapsWithTheStateBeforeTheChange) {
  StartOnImage();
  const std::vector<unsigned> gradient = Picture(kWidth, kHeight, Gradient);
  ASSERT_EQ(Settled(), gradient) << "the picture as read";
  EXPECT_TRUE(Menu(cmd::kUndo).Greyed()) << "nothing to undo after an open";

  ReduceToSixteen();
  const std::vector<unsigned> reduced = Settled();
  ASSERT_FALSE(reduced.empty());
  EXPECT_LE(DistinctColours(reduced), 16u);
  EXPECT_GT(DistinctColours(reduced), 2u) << "a dithered picture, not a flat one";
  EXPECT_FALSE(Menu(cmd::kUndo).Greyed()) << "the reduction can be undone";
  Shot("reduced");

  // Undo from the menu: the true-colour picture again, pixel for pixel.
  program_->PostMenuCommand(cmd::kUndo);
  ASSERT_NO_FATAL_FAILURE(ExpectTitle(kTrueColorTitle));
  EXPECT_EQ(Settled(), gradient);
  EXPECT_EQ(program_->SendCommand(cmd::kImageSize), MAKELONG(kWidth, kHeight));
  EXPECT_FALSE(Menu(cmd::kUndo).Greyed()) << "Undo swaps: the reduction can come back";
  Shot("undone");

  // Undo again, with its key: the same 16-colour picture as before.
  SetForegroundWindow(Main());
  ASSERT_TRUE(program_->Settle());
  PressKeys({VK_MENU, VK_BACK});
  ASSERT_NO_FATAL_FAILURE(ExpectTitle(kSixteenTitle));
  EXPECT_EQ(Settled(), reduced);
  EXPECT_FALSE(Menu(cmd::kUndo).Greyed());
  Shot("redone");

  // And once more back to true colour.
  program_->PostCommand(cmd::kUndo);
  ASSERT_NO_FATAL_FAILURE(ExpectTitle(kTrueColorTitle));
  EXPECT_EQ(Settled(), gradient);
}

// Retouch > Negative changes the shown picture at once and keeps one undo step; the image
// counts as changed.
TEST_F(UndoTest, NegativeShowsAtOnceAndUndoes) {
  StartOnImage();
  const std::vector<unsigned> gradient = Picture(kWidth, kHeight, Gradient);
  ASSERT_EQ(Settled(), gradient);
  ASSERT_FALSE(Menu(cmd::kNegative).Greyed());
  program_->PostMenuCommand(cmd::kNegative);
  const std::vector<unsigned> negative = Settled();
  EXPECT_NE(negative, gradient);
  EXPECT_EQ(negative.front(), 0xFFFEFFu) << "black inverts to 255, 254, 255";
  EXPECT_EQ(WindowText(Main()), kTrueColorTitle);
  Shot("negative");
  program_->PostMenuCommand(cmd::kUndo);
  EXPECT_EQ(Settled(), gradient);
  program_->PostMenuCommand(cmd::kUndo);
  EXPECT_EQ(Settled(), negative);
  program_->PostClose();
  EXPECT_EQ(AnswerBox(IDNO, "negative-no"), kChangedQuestion);
  ASSERT_TRUE(program_->WaitForExit(10000));
  EXPECT_EQ(ReadFileBytes(image_), original_);
}

// Contrast Enhancement applies each completed slider change at once, always from the picture
// as it was: Cancel puts it back with nothing to undo, OK keeps it with one undo step.
TEST_F(UndoTest, ContrastSliderPreviewsCancelsAndKeeps) {
  StartOnImage();
  const std::vector<unsigned> gradient = Picture(kWidth, kHeight, Gradient);
  ASSERT_EQ(Settled(), gradient);

  HWND dialog = program_->ShowDialog(cmd::kContrastEnhance);
  ASSERT_NE(dialog, nullptr) << "no Contrast Enhancement dialog";
  EXPECT_EQ(WindowText(dialog), "Contrast Enhancement");
  MoveAside(dialog);
  ASSERT_EQ(Settled(), gradient) << "nothing changes before the slider moves";
  Scroll(dialog, one_slider::kSlider, SB_PAGERIGHT);
  EXPECT_EQ(WindowText(GetDlgItem(dialog, one_slider::kValue)), "4");
  const std::vector<unsigned> stronger = Settled();
  EXPECT_NE(stronger, gradient) << "the change shows while the dialog is open";
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
  EXPECT_EQ(Settled(), gradient);
  EXPECT_TRUE(Menu(cmd::kUndo).Greyed()) << "a cancelled retouch leaves nothing to undo";

  dialog = program_->ShowDialog(cmd::kContrastEnhance);
  ASSERT_NE(dialog, nullptr);
  MoveAside(dialog);
  Scroll(dialog, one_slider::kSlider, SB_PAGERIGHT);
  Scroll(dialog, one_slider::kSlider, SB_LEFT);  // -64: every colour becomes 128 grey
  EXPECT_EQ(WindowText(GetDlgItem(dialog, one_slider::kValue)), "-64");
  const std::vector<unsigned> grey = Settled();
  EXPECT_EQ(std::set<unsigned>(grey.begin(), grey.end()), std::set<unsigned>{0x808080u});
  Shot("contrast-grey");
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  EXPECT_EQ(Settled(), grey);
  program_->PostMenuCommand(cmd::kUndo);
  EXPECT_EQ(Settled(), gradient);
}

TEST_F(UndoTest, ClosingAChangedImageAsksAndNoLeavesTheFile) {
  StartOnImage();
  ReduceToSixteen();
  // Cancel: the program stays, with the reduced image.
  program_->PostClose();
  EXPECT_EQ(AnswerBox(IDCANCEL, "question"), kChangedQuestion);
  ASSERT_TRUE(program_->Settle());
  EXPECT_TRUE(program_->Running());
  EXPECT_EQ(WindowText(Main()), kSixteenTitle);
  EXPECT_EQ(program_->SendCommand(cmd::kImageSize), MAKELONG(kWidth, kHeight));
  EXPECT_FALSE(Menu(cmd::kUndo).Greyed());

  // Undone, the image is still changed since it was read: File > Exit asks as well.
  program_->PostMenuCommand(cmd::kUndo);
  ASSERT_NO_FATAL_FAILURE(ExpectTitle(kTrueColorTitle));
  program_->PostMenuCommand(cmd::kExit);
  EXPECT_EQ(AnswerBox(IDCANCEL, "exit-question"), kChangedQuestion);
  ASSERT_TRUE(program_->Settle());
  EXPECT_TRUE(program_->Running());
  program_->PostMenuCommand(cmd::kUndo);
  ASSERT_NO_FATAL_FAILURE(ExpectTitle(kSixteenTitle));

  // No: the program ends and the file stays as it was.
  program_->PostClose();
  EXPECT_EQ(AnswerBox(IDNO, "no"), kChangedQuestion);
  ASSERT_TRUE(program_->WaitForExit(10000)) << "No closes the program";
  EXPECT_EQ(ReadFileBytes(image_), original_);
}

TEST_F(UndoTest, ClosingAChangedImageWithYesSavesItFirst) {
  StartOnImage();
  ReduceToSixteen();
  const std::vector<unsigned> reduced = Settled();
  // Yes saves through File > Save, which asks about the format; No there keeps the program.
  program_->PostClose();
  EXPECT_EQ(AnswerBox(IDYES, "question"), kChangedQuestion);
  const std::string saveQuestion = Lower(BmpSaveQuestion(image_));
  EXPECT_EQ(Lower(AnswerBox(IDNO, "save-no")), saveQuestion);
  ASSERT_TRUE(program_->Settle());
  EXPECT_TRUE(program_->Running()) << "not saved: the changed image stays open";
  EXPECT_EQ(ReadFileBytes(image_), original_);
  EXPECT_EQ(WindowText(Main()), kSixteenTitle);

  // Yes, Yes: the file holds the 16-colour picture and the program ends.
  program_->PostClose();
  EXPECT_EQ(AnswerBox(IDYES, "question-again"), kChangedQuestion);
  EXPECT_EQ(Lower(AnswerBox(IDYES, "save-yes")), saveQuestion);
  ASSERT_TRUE(program_->WaitForExit(10000)) << "saved: the program ends";
  // Sixteen colours are written four bits a pixel; read back, a palette image of 16 entries.
  const std::string saved = ReadFileBytes(image_);
  ASSERT_EQ(saved.size(), 14u + 40 + 16 * 4 + 32 * kHeight);
  EXPECT_EQ(saved[28], 4) << "bits per pixel";
  EXPECT_EQ(RunCli(L"info \"" + image_ + L"\"").output, Utf8(image_) + ": Windows BMP, 64x48, 8 bpp, 16 colours");

  // Opened again, it is the 16-colour picture, and it is not changed.
  ASSERT_NO_FATAL_FAILURE(StartOn(image_, kSixteenTitle));
  EXPECT_EQ(Settled(), reduced) << "the pixels saved are the ones shown";
  EXPECT_TRUE(Menu(cmd::kUndo).Greyed());
  ASSERT_TRUE(program_->Close()) << "nothing changed since the save";
}

TEST_F(UndoTest, OpenWhileChangedAsksFirst) {
  StartOnImage();
  ReduceToSixteen();
  const std::vector<unsigned> reduced = Settled();

  // Cancel: no open dialog; the image and its title stay.
  program_->PostMenuCommand(cmd::kOpen);
  EXPECT_EQ(AnswerBox(IDCANCEL, "question"), kChangedQuestion);
  ExpectNoDialog(*program_);
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(WindowText(Main()), kSixteenTitle);
  EXPECT_EQ(Settled(), reduced);
  EXPECT_FALSE(Menu(cmd::kUndo).Greyed()) << "the undo copy stays too";
  Shot("kept");

  // No: the open dialog comes; cancelling it keeps the image, still changed.
  program_->PostMenuCommand(cmd::kOpen);
  EXPECT_EQ(AnswerBox(IDNO, "question-no"), kChangedQuestion);
  HWND dialog = program_->WaitForDialog();
  ASSERT_NE(dialog, nullptr) << "no open dialog";
  EXPECT_EQ(WindowText(dialog), "Open Image File");
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(WindowText(Main()), kSixteenTitle);

  // No and a file: the picture is read again from disk and counts as unchanged.
  program_->PostMenuCommand(cmd::kOpen);
  EXPECT_EQ(AnswerBox(IDNO, "question-open"), kChangedQuestion);
  ASSERT_NO_FATAL_FAILURE(ChooseFileToOpen(image_));
  ASSERT_NO_FATAL_FAILURE(ExpectTitle(kTrueColorTitle));
  EXPECT_EQ(Settled(), Picture(kWidth, kHeight, Gradient));
  EXPECT_TRUE(Menu(cmd::kUndo).Greyed()) << "a new image has nothing to undo";
  ASSERT_TRUE(program_->Close()) << "the image read again is not changed";
  EXPECT_EQ(ReadFileBytes(image_), original_);
}

}  // namespace
}  // namespace quilla::gui
