#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "support/command_rules.h"

namespace quilla {

TEST(MenuRules, NoImageDisablesOperableCommandsAndUndo) {
  MenuContext none;
  for (int command : {cmd::kSave, cmd::kSaveAs, cmd::kPrint, cmd::kBackgroundColor, cmd::kColorDepth,
                      cmd::kFullScreen, cmd::kCut, cmd::kCopy, cmd::kDeleteArea, cmd::kResize,
                      cmd::kRedimension, cmd::kAddText, cmd::kFlipHorizontal, cmd::kRotateRight, cmd::kGamma,
                      cmd::kNegative, cmd::kImageFilters, cmd::kUndo, cmd::kPaletteEntry})
    EXPECT_FALSE(RuleAllows(command, none)) << command;
  for (int command : {cmd::kNew, cmd::kOpen, cmd::kExit, cmd::kAbout, cmd::kLoadAll, cmd::kMultipleOpen})
    EXPECT_TRUE(RuleAllows(command, none)) << command;
}

TEST(MenuRules, SpecialRules) {
  MenuContext c;
  c.operable = true;
  EXPECT_TRUE(RuleAllows(cmd::kPaletteEntry, c));
  c.trueColor = true;
  EXPECT_FALSE(RuleAllows(cmd::kPaletteEntry, c));
  EXPECT_FALSE(RuleAllows(cmd::kUndo, c));
  c.hasUndo = true;
  EXPECT_TRUE(RuleAllows(cmd::kUndo, c));
  c.operable = false;
  EXPECT_FALSE(RuleAllows(cmd::kUndo, c)) << "no undo while a file is being read";

  EXPECT_FALSE(RuleAllows(cmd::kCrop, c));
  c.areaDefined = true;
  EXPECT_TRUE(RuleAllows(cmd::kCrop, c));
  EXPECT_TRUE(RuleAllows(cmd::kUndefine, c));
  EXPECT_FALSE(RuleAllows(cmd::kApply, c));
  c.areaDetached = true;
  EXPECT_TRUE(RuleAllows(cmd::kApply, c));

  EXPECT_FALSE(RuleAllows(cmd::kPaste, c));
  EXPECT_FALSE(RuleAllows(cmd::kDeleteFile, c));
  EXPECT_FALSE(RuleAllows(cmd::kReopen, c));
  c.clipboardHasImage = c.hasFileName = c.previousFileKnown = true;
  EXPECT_TRUE(RuleAllows(cmd::kPaste, c));
  EXPECT_TRUE(RuleAllows(cmd::kDeleteFile, c));
  EXPECT_TRUE(RuleAllows(cmd::kReopen, c));
}

namespace {
// The command numbers of the menu items and the accelerators in the program's resources;
// a line of either kind that doesn't read as one fails the test.
std::vector<int> ResourceCommands() {
  std::ifstream rc(QUILLA_RESOURCES_DIR "/quilla.rc");
  EXPECT_TRUE(rc.is_open()) << "no quilla.rc";
  const std::regex menuItem(R"(^\s*MENUITEM\s+"[^"]*"\s*,\s*(\d+)\s*$)");
  const std::regex accelerator(R"(^\s*(?:"[^"]*"|\w+)\s*,\s*(\d+)\s*,)");
  std::vector<int> menuItems, accelerators;
  bool inAccelerators = false;
  std::smatch match;
  for (std::string line; std::getline(rc, line);) {
    if (line.find(" ACCELERATORS") != std::string::npos) {
      inAccelerators = true;
    } else if (inAccelerators) {
      if (line.rfind("END", 0) == 0) inAccelerators = false;
      else if (std::regex_search(line, match, accelerator)) accelerators.push_back(std::stoi(match[1]));
      else if (line.rfind("BEGIN", 0) != 0) ADD_FAILURE() << "unread accelerator: " << line;
    } else if (line.find("MENUITEM") != std::string::npos && line.find("SEPARATOR") == std::string::npos) {
      if (std::regex_search(line, match, menuItem)) menuItems.push_back(std::stoi(match[1]));
      else ADD_FAILURE() << "unread menu item: " << line;
    }
  }
  EXPECT_FALSE(menuItems.empty());
  EXPECT_FALSE(accelerators.empty());
  menuItems.insert(menuItems.end(), accelerators.begin(), accelerators.end());
  return menuItems;
}
}  // namespace

TEST(CommandRows, EveryMenuItemAndAcceleratorHasOne) {
  for (int number : ResourceCommands()) EXPECT_NE(FindCommandRule(number), nullptr) << number;
}

TEST(CommandRows, OnePerNumber) {
  for (const CommandRule& row : kCommandRules) EXPECT_EQ(FindCommandRule(row.number), &row) << row.number;
}

}  // namespace quilla
