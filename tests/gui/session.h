// What every GUI test shares: a folder of its own with the settings file quilla.exe is
// started on (fresh for each test), the program itself (started again as a test needs),
// and its screenshots, named after the test.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/commands.h"
#include "harness.h"
#include "settings_file.h"

namespace quilla::gui {

// A mix-in for fixtures of either kind (TEST_F or TEST_P); made while the test is current.
class ProgramSession {
 protected:
  ProgramSession();

  // Starts quilla.exe (again) on the settings file and lets it settle.
  void Start(const std::wstring& arguments = L"");
  // Starts it with the file on its command line and waits for the title.
  void StartOn(const std::wstring& file, const std::string& title);
  HWND Main() const { return program_->MainWindow(); }

  std::wstring Path(const std::wstring& file) const { return dir_ + L"\\" + file; }
  void Shot(const std::string& what) const { EXPECT_TRUE(program_->Screenshot(name_ + "-" + what)); }
  // The message box that comes up (over the dialog given): its text, after its title is
  // checked, a screenshot is taken and the button is pressed.
  std::string AnswerBox(int button, const std::string& shot = "box", HWND over = nullptr) const;
  // Types the file's name into the open dialog that is up (or coming) and presses OK;
  // with clickBusyMenu, the loading menu is clicked as soon as the read shows it.
  void ChooseFileToOpen(const std::wstring& file, bool clickBusyMenu = false) const;
  // File > Open, through the dialog.
  void OpenThroughDialog(const std::wstring& file, bool clickBusyMenu = false) const {
    program_->PostMenuCommand(cmd::kOpen);
    ChooseFileToOpen(file, clickBusyMenu);
  }
  // Opens the file through the dialog with the loading menu clicked as the read first looks
  // at the queue, after its first row; checks the question and the busy state the read
  // waits in (title `busyTitle`, the one-item menu), answers Yes and checks nothing follows.
  void CancelReadFromTheBusyMenu(const std::wstring& file, const std::string& busyTitle) const;
  // Chooses a type from the save dialog's list, from 0, and gives the name it leads to.
  std::string ChooseSaveType(HWND dialog, int position) const;
  // Checks where the dialog is, from the main window's top-left corner.
  void ExpectOffset(HWND dialog, int dx, int dy) const;
  // Moves the dialog to (dx, dy) from the main window's corner, closes it with the button
  // and shows it again: the new one, checked to come up there.
  HWND MovedAndShownAgain(HWND dialog, int command, int closeButton, int dx, int dy) const;
  // The menu item with the command id; fails the test when the menu has no such item.
  MenuItem Menu(int id) const;
  // Sets a value of "Options" in the settings file the next Start reads (made complete by
  // quilla-cli first, so that the program takes it for its own).
  void PresetOption(const wchar_t* key, const std::wstring& value) const;
  // A value of the settings file's section "Options".
  std::string Option(const std::string& key) const { return ReadSettings(settings_).Value("Options", key); }

  std::unique_ptr<Program> program_;
  std::string name_;          // the test's name (a parameterised test's case name)
  std::wstring dir_, settings_;
};

class SessionTest : public ProgramSession, public ::testing::Test {};

}  // namespace quilla::gui
