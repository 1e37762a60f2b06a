// Add Text under Wine: the text typed into the dialog is drawn into a detached copy of the
// selection, Exec only while there is text, the rectangle's sliders move it, and applying it
// changes the picture inside the rectangle only. The next use asks about the detached area
// first and keeps the text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bitmaps.h"
#include "control_ids.h"
#include "core/commands.h"
#include "picture_session.h"

namespace quilla::gui {
namespace {

constexpr unsigned kWhite = 0xFFFFFFu;  // the text's colour at first

class AddTextTest : public PictureTest {
 protected:
  void SetUp() override {
    PictureTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(StartOnImageInFront());
  }

  void Type(const std::vector<WORD>& keys) const {
    for (WORD key : keys) PressKeys({key});
    ASSERT_TRUE(program_->Settle());
  }

  static std::string Text(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

  // The pixels that differ from the gradient are white text inside (left, top)-(right, bottom);
  // their number.
  int TextPixelsInside(int left, int top, int right, int bottom) {
    const std::vector<unsigned> shown = Settled();
    int changed = 0;
    for (int y = 0; y < kPictureHeight; ++y)
      for (int x = 0; x < kPictureWidth; ++x) {
        const unsigned pixel = shown[size_t(y * kPictureWidth + x)];
        if (pixel == Gradient(x, y)) continue;
        EXPECT_TRUE(x >= left && x <= right && y >= top && y <= bottom) << x << ", " << y;
        EXPECT_EQ(pixel, kWhite) << x << ", " << y;
        ++changed;
      }
    return changed;
  }
};

TEST_F(AddTextTest, TextGoesIntoTheSelectionAndIsAppliedThere) {
  const POINT origin = program_->ClientOrigin();
  ASSERT_TRUE(DragMouse(*program_, {origin.x + 8, origin.y + 6}, {origin.x + 40, origin.y + 30}));
  HWND dialog = ShowRetouch(cmd::kAddText, "Add Text");
  ASSERT_NE(dialog, nullptr) << "no Add Text dialog";
  EXPECT_EQ(Text(dialog, add_text::kLeftValue) + "," + Text(dialog, add_text::kTopValue) + "," +
                Text(dialog, add_text::kWidthValue) + "," + Text(dialog, add_text::kHeightValue),
            "8,6,33,25");
  EXPECT_FALSE(Text(dialog, add_text::kFace).empty()) << "a face is selected";
  EXPECT_FALSE(Enabled(dialog, add_text::kExec)) << "no text yet";

  SetForegroundWindow(dialog);
  ASSERT_TRUE(program_->Settle());
  ASSERT_NO_FATAL_FAILURE(Type({'H', 'I'}));
  EXPECT_EQ(Text(dialog, add_text::kText), "hi");
  EXPECT_TRUE(Enabled(dialog, add_text::kExec));
  ASSERT_NO_FATAL_FAILURE(Type({VK_BACK, VK_BACK}));
  EXPECT_FALSE(Enabled(dialog, add_text::kExec)) << "the text is empty again";
  ASSERT_NO_FATAL_FAILURE(Type({'H', 'I'}));
  ASSERT_TRUE(program_->Press(dialog, add_text::kExec));

  // A page to the right moves the rectangle, with the text, to (16, 6).
  Scroll(dialog, add_text::kLeft, SB_PAGERIGHT);
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(Text(dialog, add_text::kLeftValue), "16");
  Shot("dialog");
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  ASSERT_TRUE(program_->Settle());
  EXPECT_FALSE(Menu(cmd::kApply).Greyed()) << "the text floats in a detached area";
  program_->PostMenuCommand(cmd::kApply);
  const int drawn = TextPixelsInside(16, 6, 48, 30);
  EXPECT_GT(drawn, 5) << "the text shows";

  // A detached area is asked about first; Cancel leaves it, Yes applies it, and the dialog
  // comes back with the text kept.
  ASSERT_TRUE(DragMouse(*program_, {origin.x + 30, origin.y + 20}, {origin.x + 50, origin.y + 40}));
  ASSERT_TRUE(DragMouse(*program_, {origin.x + 35, origin.y + 25}, {origin.x + 45, origin.y + 35}, true));
  program_->PostMenuCommand(cmd::kAddText);
  EXPECT_EQ(AnswerBox(IDCANCEL, "apply-question"), "Apply detached selection area ?");
  ASSERT_TRUE(program_->Settle());
  ExpectNoDialog(*program_);
  program_->PostMenuCommand(cmd::kUndefine);
  dialog = ShowRetouch(cmd::kAddText, "Add Text");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Text(dialog, add_text::kText), "hi");
  EXPECT_TRUE(Enabled(dialog, add_text::kExec));
  EXPECT_EQ(Text(dialog, add_text::kWidthValue) + "x" + Text(dialog, add_text::kHeightValue), "64x48")
      << "without a selection the rectangle is the default one, clamped to the picture";
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
  program_->PostMenuCommand(cmd::kApply);
  EXPECT_EQ(TextPixelsInside(16, 6, 48, 30), drawn) << "Cancel drew nothing";
}

}  // namespace
}  // namespace quilla::gui
