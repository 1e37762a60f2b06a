#include "core/commands.h"

#include <gtest/gtest.h>

namespace quilla {

TEST(MenuRules, NoImageDisablesOperableCommandsAndUndo) {
  MenuContext none;
  for (int command : {cmd::kSave, cmd::kSaveAs, cmd::kPrint, cmd::kBackgroundColor, cmd::kColorDepth,
                      cmd::kFullScreen, cmd::kCut, cmd::kCopy, cmd::kDeleteArea, cmd::kResize,
                      cmd::kRedimension, cmd::kAddText, cmd::kFlipHorizontal, cmd::kRotateRight, cmd::kGamma,
                      cmd::kNegative, cmd::kImageFilters, cmd::kUndo, cmd::kPaletteEntry})
    EXPECT_FALSE(IsCommandEnabled(command, none)) << command;
  for (int command : {cmd::kNew, cmd::kOpen, cmd::kExit, cmd::kAbout, cmd::kLoadAll, cmd::kMultipleOpen})
    EXPECT_TRUE(IsCommandEnabled(command, none)) << command;
}

TEST(MenuRules, SpecialRules) {
  MenuContext c;
  c.operable = true;
  EXPECT_TRUE(IsCommandEnabled(cmd::kPaletteEntry, c));
  c.trueColor = true;
  EXPECT_FALSE(IsCommandEnabled(cmd::kPaletteEntry, c));
  EXPECT_FALSE(IsCommandEnabled(cmd::kUndo, c));
  c.hasUndo = true;
  EXPECT_TRUE(IsCommandEnabled(cmd::kUndo, c));
  c.operable = false;
  EXPECT_FALSE(IsCommandEnabled(cmd::kUndo, c)) << "no undo while a file is being read";

  EXPECT_FALSE(IsCommandEnabled(cmd::kCrop, c));
  c.areaDefined = true;
  EXPECT_TRUE(IsCommandEnabled(cmd::kCrop, c));
  EXPECT_TRUE(IsCommandEnabled(cmd::kUndefine, c));
  EXPECT_FALSE(IsCommandEnabled(cmd::kApply, c));
  c.areaDetached = true;
  EXPECT_TRUE(IsCommandEnabled(cmd::kApply, c));

  EXPECT_FALSE(IsCommandEnabled(cmd::kPaste, c));
  EXPECT_FALSE(IsCommandEnabled(cmd::kDeleteFile, c));
  EXPECT_FALSE(IsCommandEnabled(cmd::kReopen, c));
  c.clipboardHasImage = c.hasFileName = c.previousFileKnown = true;
  EXPECT_TRUE(IsCommandEnabled(cmd::kPaste, c));
  EXPECT_TRUE(IsCommandEnabled(cmd::kDeleteFile, c));
  EXPECT_TRUE(IsCommandEnabled(cmd::kReopen, c));
}

}  // namespace quilla
