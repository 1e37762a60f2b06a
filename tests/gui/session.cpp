#include "session.h"

#include "control_ids.h"

namespace quilla::gui {

ProgramSession::ProgramSession() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  // "Suite/Fixture" and "Test/Case" for parameterised tests: the last parts.
  auto last = [](const std::string& name) { return name.substr(name.find_last_of('/') + 1); };
  name_ = last(info->name());
  const std::string folder = last(info->test_suite_name()) + "-" + name_;
  dir_ = Config().workDir + L"\\" + std::wstring(folder.begin(), folder.end());
  CreateDirectoryW(dir_.c_str(), nullptr);
  settings_ = dir_ + L"\\quilla.ini";
  DeleteFileW(settings_.c_str());
}

void ProgramSession::Start(const std::wstring& arguments) {
  program_ = std::make_unique<Program>();
  ASSERT_TRUE(program_->Start(settings_, arguments)) << "quilla.exe did not show its main window";
  ASSERT_TRUE(program_->Settle());
}

void ProgramSession::PresetOption(const wchar_t* key, const std::wstring& value) const {
  if (GetFileAttributesW(settings_.c_str()) == INVALID_FILE_ATTRIBUTES) {
    ASSERT_EQ(RunCli(L"settings --save --ini \"" + settings_ + L"\"").exitCode, 0u);
  }
  ASSERT_TRUE(WritePrivateProfileStringW(L"Options", key, value.c_str(), settings_.c_str()));
}

void ProgramSession::StartOn(const std::wstring& file, const std::string& title) {
  ASSERT_NO_FATAL_FAILURE(Start(L"\"" + file + L"\""));
  ASSERT_TRUE(WaitForTitle(Main(), title, 20000)) << "title: " << WindowText(Main());
  ASSERT_TRUE(program_->Settle());
}

std::string ProgramSession::AnswerBox(int button, const std::string& shot, HWND over) const {
  HWND box = program_->WaitForDialog(8000, over);
  if (!box) return "(no box)";
  std::string text = Program::MessageText(box);
  EXPECT_EQ(WindowText(box), kTitle);
  Shot(shot);
  EXPECT_TRUE(Program::Answer(box, button));
  return text;
}

void ProgramSession::ChooseFileToOpen(const std::wstring& file, bool clickBusyMenu) const {
  HWND dialog = program_->WaitForDialog();
  ASSERT_NE(dialog, nullptr) << "no open dialog";
  ASSERT_EQ(WindowText(dialog), "Open Image File");
  SetItemText(dialog, file_dialog::kFileName, file);
  ASSERT_TRUE(Program::Click(dialog, IDOK));
  if (clickBusyMenu) program_->ClickBusyMenuWhenShown();
  ASSERT_TRUE(Program::WaitClosed(dialog));
}

void ProgramSession::CancelReadFromTheBusyMenu(const std::wstring& file, const std::string& busyTitle) const {
  ASSERT_NO_FATAL_FAILURE(OpenThroughDialog(file, true));
  HWND box = program_->WaitForDialog();
  ASSERT_NE(box, nullptr) << "no question";
  EXPECT_EQ(Program::MessageText(box), kCancelQuestion);
  EXPECT_EQ(WindowText(box), kTitle);
  EXPECT_EQ(WindowText(Main()), busyTitle);
  const std::vector<MenuItem> busy = program_->ReadMenu();
  ASSERT_EQ(busy.size(), 1u) << "the menu bar is one item while reading";
  EXPECT_EQ(busy[0].id, cmd::kCancelOperation);
  EXPECT_EQ(busy[0].text, "&Loading (click here to cancel)...");
  EXPECT_FALSE(busy[0].Greyed());
  Shot("question");
  ASSERT_TRUE(Program::Answer(box, IDYES));
  ExpectNoDialog(*program_);  // a cancelled read says nothing more
}

std::string ProgramSession::ChooseSaveType(HWND dialog, int position) const {
  HWND types = GetDlgItem(dialog, file_dialog::kFileType);
  SendMessageW(types, CB_SETCURSEL, WPARAM(position), 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(file_dialog::kFileType, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
  EXPECT_TRUE(program_->Settle());
  return WindowText(GetDlgItem(dialog, file_dialog::kFileName));
}

void ProgramSession::ExpectOffset(HWND dialog, int dx, int dy) const {
  RECT main, r;
  GetWindowRect(Main(), &main);
  GetWindowRect(dialog, &r);
  EXPECT_EQ(r.left - main.left, dx);
  EXPECT_EQ(r.top - main.top, dy);
}

HWND ProgramSession::MovedAndShownAgain(HWND dialog, int command, int closeButton, int dx, int dy) const {
  RECT main;
  GetWindowRect(Main(), &main);
  SetWindowPos(dialog, nullptr, main.left + dx, main.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_TRUE(program_->Settle());
  EXPECT_TRUE(Program::Answer(dialog, closeButton));
  HWND again = program_->ShowDialog(command);
  if (again) ExpectOffset(again, dx, dy);
  return again;
}

MenuItem ProgramSession::Menu(int id) const {
  const std::vector<MenuItem> items = program_->ReadMenu();
  if (const MenuItem* item = FindItem(items, id)) return *item;
  ADD_FAILURE() << "no menu item " << id;
  return {};
}

}  // namespace quilla::gui
