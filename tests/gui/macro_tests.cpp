// Macro retouch under Wine: Ctrl+K runs the current macro as one undo step; Macro Retouch
// Setup shows the macros' slots, checks the parameters when an operation changes, renames,
// runs the shown macro with Exec and saves the table with OK.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "control_ids.h"
#include "core/commands.h"
#include "picture_session.h"

namespace quilla::gui {
namespace {

constexpr char kSection[] = "One keystroke retouch";
// Operation codes, the positions in each slot's list.
constexpr int kGamma = 1, kContrast = 3, kHsv = 4;

class MacroTest : public PictureTest {
 protected:
  HWND OpenSetup() const { return ShowRetouch(cmd::kMacroRetouch, "Macro Retouch Setup"); }

  // A list notification as a click on the entry sends it.
  void ChooseMacro(HWND dialog, int macro) const {
    HWND list = GetDlgItem(dialog, macro_setup::kList);
    SendMessageW(list, LB_SETCURSEL, WPARAM(macro), 0);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(macro_setup::kList, LBN_SELCHANGE), LPARAM(list));
    EXPECT_TRUE(program_->Settle());
  }
  void ChooseOperation(HWND dialog, int slot, int code) const {
    HWND box = GetDlgItem(dialog, macro_setup::Operation(slot));
    SendMessageW(box, CB_SETCURSEL, WPARAM(code), 0);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(macro_setup::Operation(slot), CBN_SELCHANGE), LPARAM(box));
    EXPECT_TRUE(program_->Settle());
  }
  static void Type(HWND dialog, int slot, const wchar_t* text) {
    for (int j = 0; j < 3; ++j) SetItemText(dialog, macro_setup::Parameter(slot, j), text);
  }

  // The slot as the dialog shows it: the operation's number, then each field's text, with
  // "(off)" after a disabled one.
  static std::string Slot(HWND dialog, int slot) {
    std::ostringstream shown;
    shown << SendDlgItemMessageW(dialog, macro_setup::Operation(slot), CB_GETCURSEL, 0, 0);
    for (int j = 0; j < 3; ++j) {
      const int field = macro_setup::Parameter(slot, j);
      shown << '|' << WindowText(GetDlgItem(dialog, field)) << (Enabled(dialog, field) ? "" : "(off)");
    }
    return shown.str();
  }
  static int SelectedMacro(HWND dialog) {
    return int(SendDlgItemMessageW(dialog, macro_setup::kList, LB_GETCURSEL, 0, 0));
  }
  std::string Saved(const std::string& key) const { return ReadSettings(settings_).Value(kSection, key); }
};

TEST_F(MacroTest, CtrlKRunsTheCurrentMacroAsOneUndoStep) {
  ASSERT_NO_FATAL_FAILURE(StartOnImageInFront());
  const std::vector<unsigned> gradient = Settled();
  PressKeys({VK_CONTROL, 'K'});
  EXPECT_NE(Settled(), gradient) << "the built-in current macro changes the picture";
  program_->PostMenuCommand(cmd::kUndo);
  EXPECT_EQ(Settled(), gradient) << "one undo step takes the whole macro back";
}

TEST_F(MacroTest, SetupShowsChecksRenamesRunsAndSaves) {
  StartOnImage();
  const std::vector<unsigned> gradient = Settled();
  HWND dialog = OpenSetup();
  ASSERT_NE(dialog, nullptr) << "no Macro Retouch Setup";
  Shot("setup");
  EXPECT_EQ(SelectedMacro(dialog), 0);
  EXPECT_EQ(Slot(dialog, 0), "8|60| ---(off)| ---(off)");
  EXPECT_EQ(Slot(dialog, 1), "7|10| ---(off)| ---(off)");
  EXPECT_EQ(Slot(dialog, 2), "0| ---(off)| ---(off)| ---(off)");

  // "dark+yellowish": Log 30, then Gamma 16, 0, 8.
  ChooseMacro(dialog, 4);
  EXPECT_EQ(Slot(dialog, 0), "7|30| ---(off)| ---(off)");
  EXPECT_EQ(Slot(dialog, 1), "1|16|0|8");

  // A new operation keeps the values in its ranges and puts 0 for the others.
  ChooseOperation(dialog, 0, kGamma);
  EXPECT_EQ(Slot(dialog, 0), "1|30|0|0");
  Type(dialog, 0, L"300");
  ChooseOperation(dialog, 0, kContrast);
  EXPECT_EQ(Slot(dialog, 0), "3|0| ---(off)| ---(off)");
  ChooseOperation(dialog, 0, kHsv);
  Type(dialog, 0, L"-359");
  ChooseOperation(dialog, 0, kHsv);
  EXPECT_EQ(Slot(dialog, 0), "4|-359|0|0") << "-359 is a hue, not a saturation";

  // Rename refuses an empty name.
  ASSERT_TRUE(Program::Click(dialog, macro_setup::kRename));
  HWND rename = program_->WaitForDialog(8000, dialog);
  ASSERT_NE(rename, nullptr) << "no rename dialog";
  EXPECT_EQ(WindowText(rename), "Rename macro retouch");
  EXPECT_EQ(WindowText(GetDlgItem(rename, rename_macro::kOldName)), "dark+yellowish");
  EXPECT_EQ(WindowText(GetDlgItem(rename, rename_macro::kNewName)), "dark+yellowish");
  SetItemText(rename, rename_macro::kNewName, L"");
  ASSERT_TRUE(program_->Press(rename, IDOK));
  EXPECT_TRUE(IsWindowVisible(rename)) << "an empty name is refused";
  SetItemText(rename, rename_macro::kNewName, L"hue and gamma");
  ASSERT_TRUE(Program::Answer(rename, IDOK));

  // Exec ends the dialog, saves the shown macro as the current one and runs it.
  ASSERT_TRUE(Enabled(dialog, macro_setup::kExec));
  ASSERT_TRUE(Program::Answer(dialog, macro_setup::kExec));
  const std::vector<unsigned> retouched = Settled();
  EXPECT_NE(retouched, gradient);
  EXPECT_EQ(Saved("KSCurrent"), "4");
  EXPECT_EQ(Saved("KS4Name"), "hue and gamma");
  EXPECT_EQ(Saved("KS4Oper0") + Saved("KS4Oper0Param0"), "4-359");
  program_->PostMenuCommand(cmd::kUndo);
  EXPECT_EQ(Settled(), gradient);

  // OK makes the macro shown last current; the next opening shows it.
  dialog = OpenSetup();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(SelectedMacro(dialog), 4);
  ChooseMacro(dialog, 2);
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  EXPECT_EQ(Settled(), gradient) << "OK alone does not run the macro";
  EXPECT_EQ(Saved("KSCurrent"), "2");
  dialog = OpenSetup();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(SelectedMacro(dialog), 2);
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
}

}  // namespace
}  // namespace quilla::gui
