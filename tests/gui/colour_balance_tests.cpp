// The three-slider retouch dialog under Wine: a true-colour picture changes only by Exec,
// except Gamma with its lock, which also moves the three sliders together; a palette picture
// shows every change at once. Each application starts from the picture as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bitmaps.h"
#include "control_ids.h"
#include "core/commands.h"
#include "picture_session.h"

namespace quilla::gui {
namespace {

using ColourBalanceTest = PictureTest;

std::string Value(HWND dialog, int row) { return WindowText(GetDlgItem(dialog, three_slider::kValues[row])); }
std::string Label(HWND dialog, int row) { return WindowText(GetDlgItem(dialog, three_slider::kLabels[row])); }

TEST_F(ColourBalanceTest, TrueColourWaitsForExecButLockedGammaPreviews) {
  StartOnImage();
  const std::vector<unsigned> gradient = Picture(kPictureWidth, kPictureHeight, Gradient);
  ASSERT_EQ(Settled(), gradient);

  // Color Balance: red up by a page shows nothing until Exec; a second Exec starts again from
  // the picture as it was, so red is up 16, not 24.
  HWND dialog = ShowRetouch(cmd::kColorBalance, "Color Balance");
  ASSERT_NE(dialog, nullptr) << "no Color Balance dialog";
  EXPECT_TRUE(Enabled(dialog, three_slider::kExec));
  Scroll(dialog, three_slider::kSliders[0], SB_PAGERIGHT);
  EXPECT_EQ(Value(dialog, 0), "8");
  EXPECT_EQ(Settled(), gradient) << "no change before Exec";
  ASSERT_TRUE(program_->Press(dialog, three_slider::kExec));
  const std::vector<unsigned> redder = Settled();
  EXPECT_EQ(redder.front(), 0x080000u);
  Scroll(dialog, three_slider::kSliders[0], SB_PAGERIGHT);
  EXPECT_EQ(Settled(), redder);
  ASSERT_TRUE(program_->Press(dialog, three_slider::kExec));
  EXPECT_EQ(Settled().front(), 0x100000u);
  Shot("balance");
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
  EXPECT_EQ(Settled(), gradient) << "Cancel after Exec puts the picture back";
  EXPECT_TRUE(Menu(cmd::kUndo).Greyed());

  // HSV shares the template with its own title, labels and ranges.
  dialog = ShowRetouch(cmd::kHsvAdjust, "HSV Adjustment");
  ASSERT_NE(dialog, nullptr) << "no HSV Adjustment dialog";
  EXPECT_EQ(Label(dialog, 0) + Label(dialog, 1) + Label(dialog, 2), "HSV");
  Scroll(dialog, three_slider::kSliders[0], SB_LEFT);
  EXPECT_EQ(Value(dialog, 0), "-359");
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));

  // Gamma with its lock (on at first): moving green moves red and blue and shows at once.
  dialog = ShowRetouch(cmd::kGamma, "Gamma Correction");
  ASSERT_NE(dialog, nullptr) << "no Gamma Correction dialog";
  EXPECT_TRUE(Checked(dialog, three_slider::kLock));
  Scroll(dialog, three_slider::kSliders[1], SB_RIGHT);
  EXPECT_EQ(Value(dialog, 0) + Value(dialog, 1) + Value(dialog, 2), "300300300");
  const std::vector<unsigned> brighter = Settled();
  EXPECT_NE(brighter, gradient);
  EXPECT_EQ(brighter.front(), 0u) << "black stays black";
  Shot("gamma");
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  EXPECT_EQ(Settled(), brighter);
  program_->PostMenuCommand(cmd::kUndo);
  EXPECT_EQ(Settled(), gradient) << "OK left one undo step";

  // Unlocked, each slider moves alone and a true-colour picture waits for Exec; OK keeps the
  // lock's state for the next time.
  dialog = ShowRetouch(cmd::kGamma, "Gamma Correction");
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(program_->Press(dialog, three_slider::kLock));
  Scroll(dialog, three_slider::kSliders[0], SB_PAGERIGHT);
  EXPECT_EQ(Value(dialog, 0) + Value(dialog, 1) + Value(dialog, 2), "800");
  EXPECT_EQ(Settled(), gradient);
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  dialog = ShowRetouch(cmd::kGamma, "Gamma Correction");
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(Checked(dialog, three_slider::kLock));
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
}

TEST_F(ColourBalanceTest, PaletteImageShowsEveryChangeAtOnce) {
  StartOnImage();
  ASSERT_NO_FATAL_FAILURE(ReduceToSixteen());
  const std::vector<unsigned> reduced = Settled();

  HWND dialog = ShowRetouch(cmd::kYcbcrAdjust, "YCbCr Adjustment");
  ASSERT_NE(dialog, nullptr) << "no YCbCr Adjustment dialog";
  EXPECT_FALSE(Enabled(dialog, three_slider::kExec));
  Scroll(dialog, three_slider::kSliders[0], SB_LEFT);
  EXPECT_EQ(Value(dialog, 0), "-255");
  const std::vector<unsigned> dark = Settled();
  EXPECT_NE(dark, reduced) << "the colour table changed without Exec";
  Shot("ycbcr");
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  EXPECT_EQ(Settled(), dark);
  program_->PostMenuCommand(cmd::kUndo);
  EXPECT_EQ(Settled(), reduced);
}

}  // namespace
}  // namespace quilla::gui
