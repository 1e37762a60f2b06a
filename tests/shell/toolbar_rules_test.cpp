#include "shell/toolbar_rules.h"

#include <gtest/gtest.h>

#include "core/commands.h"

namespace quilla {

TEST(ToolbarRules, ButtonsFillTwoColumnsAndPressesFindThem) {
  EXPECT_EQ(ButtonOrigin(0).x, 3);
  EXPECT_EQ(ButtonOrigin(0).y, 11);
  EXPECT_EQ(ButtonOrigin(31).x, 27);
  EXPECT_EQ(ButtonOrigin(31).y, 341);
  EXPECT_LE(ButtonOrigin(31).y + kButtonHeight, kToolbarHeight) << "the last row fits the window";
  EXPECT_EQ(ButtonAt(3, 11), 0);
  EXPECT_EQ(ButtonAt(26, 33), 0) << "bottom-right pixel of button 0";
  EXPECT_EQ(ButtonAt(27, 34), 3);
  EXPECT_EQ(ButtonAt(2, 20), kNoButton) << "left margin";
  EXPECT_EQ(ButtonAt(51, 20), kNoButton) << "right margin";
  EXPECT_EQ(ButtonAt(30, 364), kNoButton) << "below the last row";

  EXPECT_EQ(PressAt(14, 9).target, PressTarget::Collapse);
  EXPECT_EQ(PressAt(15, 0).target, PressTarget::FlipSide);
  EXPECT_EQ(PressAt(5, 10).target, PressTarget::Nothing) << "between the strip and the first row";
  const Press onButton = PressAt(40, 345);
  EXPECT_EQ(onButton.target, PressTarget::Button);
  EXPECT_EQ(onButton.button, 31);

  EXPECT_TRUE(TakesRightButton(0) && TakesRightButton(1) && TakesRightButton(kJpegSetupButton));
  EXPECT_FALSE(TakesRightButton(2) || TakesRightButton(31));
  EXPECT_EQ(RightButtonCommand(0), cmd::kReopen);
  EXPECT_EQ(RightButtonCommand(1), cmd::kSave);
  EXPECT_EQ(kToolbarButtonTable[1].command, cmd::kSaveAs) << "a left click on Save file asks for the name";
}

TEST(ToolbarRules, TheToolbarSitsAgainstEitherEdgeOnTheDesktop) {
  const FrameMetrics m{4, 4, 18, 19, 18};
  const ScreenRect desktop{0, 0, 1280, 1024};
  const ToolPoint right = FullToolbarOrigin({100, 50, 500, 400}, desktop, m, false);
  EXPECT_EQ(right.x, 496);
  EXPECT_EQ(right.y, 50 + 18 + 19 + 4);
  EXPECT_EQ(FullToolbarOrigin({100, 50, 500, 400}, desktop, m, true).x, 100 + 4 - 54);
  // Kept on the desktop: past the right edge, left of 0, below the bottom.
  EXPECT_EQ(FullToolbarOrigin({900, 0, 1300, 400}, desktop, m, false).x, 1280 - 54);
  EXPECT_EQ(FullToolbarOrigin({10, 0, 400, 400}, desktop, m, true).x, 0);
  EXPECT_EQ(FullToolbarOrigin({100, 900, 500, 1000}, desktop, m, false).y, 1024 - 365);

  EXPECT_EQ(CaptionButtonCount(3, 89), 2);
  EXPECT_EQ(CaptionButtonCount(3, 90), 3);
  EXPECT_EQ(CaptionButtonCount(10, 0), 3);
  const ToolPoint caption = CollapsedToolbarOrigin({100, 50, 500, 400}, m, 3);
  EXPECT_EQ(caption.x, 500 - (18 * 3 + 4 + 24));
  EXPECT_EQ(caption.y, 50 + 4 - (24 - 18) / 2);
}

TEST(ToolbarRules, LegendsGoBesideTheButtonAndTurnAtTheScreenEdges) {
  // Text 40 x 16: the window is 48 x 20.
  const ScreenRect right = LegendPlacement(1, {500, 100}, 40, 16, 1280);
  EXPECT_EQ(right.left, 524);
  EXPECT_EQ(right.top, 100 + (23 - 20) / 2);
  EXPECT_EQ(right.Width(), 48);
  EXPECT_EQ(right.Height(), 20);
  const ScreenRect turnedLeft = LegendPlacement(1, {1240, 100}, 40, 16, 1280);
  EXPECT_EQ(turnedLeft.left, 1240 - 48);
  EXPECT_EQ(turnedLeft.top, 100 + (19 - 16) / 2);
  EXPECT_EQ(LegendPlacement(0, {500, 100}, 40, 16, 1280).left, 500 - 48);
  EXPECT_EQ(LegendPlacement(0, {30, 100}, 40, 16, 1280).left, 54) << "off the left edge it goes right";
  EXPECT_EQ(LegendPlacement(kCaptionButton, {500, 10}, 40, 16, 1280).left, 452) << "the caption button's goes left";
}

TEST(ToolbarRules, TheLegendComesOnTheFifthTickOnOneButton) {
  HoverCount hover;
  EXPECT_FALSE(hover.Tick(4)) << "the first tick only notes the button";
  for (int i = 1; i < kLegendTicks; ++i) EXPECT_FALSE(hover.Tick(4));
  EXPECT_TRUE(hover.Tick(4));
  EXPECT_FALSE(hover.Tick(4)) << "only once";
  hover.Tick(5);
  for (int i = 1; i < kLegendTicks; ++i) hover.Tick(5);
  hover.Tick(kNoButton);
  for (int i = 0; i < 2 * kLegendTicks; ++i) EXPECT_FALSE(hover.Tick(kNoButton)) << "no legend over no button";
}

}  // namespace quilla
