// The Image Filter Control Panel under Wine: choosing a filter, the checks of
// the value boxes, Exec, Cancel and OK with undo, Rename with Save and
// Defaults.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bitmaps.h"
#include "control_ids.h"
#include "core/commands.h"
#include "session.h"

namespace quilla::gui {
namespace {

constexpr int kWidth = 64, kHeight = 48;
constexpr int kContour = 8;  // slot of the built-in "Contour" filter

// The gradient is linear, so the contour's sum is 0 everywhere inside and its
// bias of 255 makes the inside white; the 2-pixel border keeps the gradient.
unsigned ContourOfGradient(int x, int y) {
  const bool inside = x >= 2 && y >= 2 && x < kWidth - 2 && y < kHeight - 2;
  return inside ? 0xFFFFFFu : Gradient(x, y);
}

class FilterDialogTest : public SessionTest {
 protected:
  void SetUp() override {
    const std::wstring image = Path(L"filter.bmp");
    ASSERT_TRUE(WriteTestBmp(image, kWidth, kHeight, Gradient));
    StartOn(image, ImageTitle("filter.bmp", kWidth, kHeight));
  }
  void TearDown() override {
    if (program_ && program_->Running()) {
      for (HWND box : program_->Windows(L"#32770")) Program::Click(box, IDNO);
    }
  }

  std::vector<unsigned> Shown() const {
    EXPECT_TRUE(program_->Settle());
    const POINT origin = program_->ClientOrigin();
    return CaptureScreen({origin.x, origin.y, origin.x + kWidth, origin.y + kHeight});
  }

  // Opens the panel, out of the way of the picture.
  HWND OpenPanel() const {
    HWND dialog = program_->ShowDialog(cmd::kImageFilters);
    if (dialog) SetWindowPos(dialog, nullptr, 700, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return dialog;
  }

  // A list notification as a click on the entry sends it.
  void Choose(HWND dialog, int entry, int notification) const {
    HWND list = GetDlgItem(dialog, filter_panel::kList);
    SendMessageW(list, LB_SETCURSEL, WPARAM(entry), 0);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(filter_panel::kList, notification), LPARAM(list));
    EXPECT_TRUE(program_->Settle());
  }

  // Types into a value box and leaves it.
  std::string Typed(HWND dialog, int box, const wchar_t* text) const {
    SetItemText(dialog, box, text);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(box, EN_KILLFOCUS), LPARAM(GetDlgItem(dialog, box)));
    EXPECT_TRUE(program_->Settle());
    return WindowText(GetDlgItem(dialog, box));
  }

  // Renames the current filter through Rename Filter; an empty name is refused
  // first.
  void Rename(HWND panel, const std::string& oldName, const wchar_t* newName) const {
    ASSERT_TRUE(Program::Click(panel, filter_panel::kRename));
    HWND dialog = program_->WaitForDialog(8000, panel);
    ASSERT_NE(dialog, nullptr) << "no Rename Filter dialog";
    EXPECT_EQ(WindowText(dialog), "Rename Filter");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, rename_filter::kOldName)), oldName);
    ASSERT_TRUE(program_->Press(dialog, IDOK));
    EXPECT_TRUE(IsWindowVisible(dialog)) << "an empty name is refused";
    SetItemText(dialog, rename_filter::kNewName, newName);
    ASSERT_TRUE(Program::Answer(dialog, IDOK));
  }
};

TEST_F(FilterDialogTest, ExecPreviewsCancelRestoresOkKeeps) {
  const std::vector<unsigned> gradient = Picture(kWidth, kHeight, Gradient);
  const std::vector<unsigned> contour = Picture(kWidth, kHeight, ContourOfGradient);
  ASSERT_EQ(Shown(), gradient);

  HWND dialog = OpenPanel();
  ASSERT_NE(dialog, nullptr) << "no filter panel";
  EXPECT_EQ(WindowText(dialog), "Image Filter Control Panel");
  Choose(dialog, kContour, LBN_SELCHANGE);
  EXPECT_EQ(WindowText(GetDlgItem(dialog, filter_panel::kBias)), "255");
  EXPECT_EQ(WindowText(GetDlgItem(dialog, filter_panel::kCell0 + 12)), "8");
  EXPECT_EQ(Typed(dialog, filter_panel::kCell0, L"300"), "0") << "out of range: the stored value comes back";
  EXPECT_EQ(Typed(dialog, filter_panel::kDivisor, L"two"), "1") << "not a number: the stored value comes back";
  EXPECT_EQ(Shown(), gradient) << "nothing changes before Exec";

  ASSERT_TRUE(program_->Press(dialog, filter_panel::kExec));
  EXPECT_EQ(Shown(), contour);
  Shot("contour");
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
  EXPECT_EQ(Shown(), gradient);
  EXPECT_TRUE(Menu(cmd::kUndo).Greyed()) << "a cancelled filter leaves nothing to undo";

  // The filter chosen last is still current; a double click applies it and
  // closes as OK.
  dialog = OpenPanel();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(dialog, filter_panel::kBias)), "255");
  Choose(dialog, kContour, LBN_DBLCLK);
  ASSERT_TRUE(Program::WaitClosed(dialog));
  EXPECT_EQ(Shown(), contour);
  program_->PostMenuCommand(cmd::kUndo);
  EXPECT_EQ(Shown(), gradient);
}

// A new name lasts only when saved: each opening reads the filters from the
// settings file again. Defaults brings the built-in names back.
TEST_F(FilterDialogTest, RenameLastsWhenSavedAndDefaultsRestore) {
  HWND dialog = OpenPanel();
  ASSERT_NE(dialog, nullptr);
  Choose(dialog, kContour, LBN_SELCHANGE);
  ASSERT_NO_FATAL_FAILURE(Rename(dialog, "Contour", L"Outline"));
  ASSERT_TRUE(Program::Click(dialog, filter_panel::kSave));
  EXPECT_EQ(AnswerBox(IDYES, "save", dialog), "Save current filter specifications?");
  EXPECT_TRUE(WaitFor([&] { return ReadSettings(settings_).Value("Filters", "Filter8Name") == "Outline"; }, 5000))
      << "Save writes the new name";
  ASSERT_NO_FATAL_FAILURE(Rename(dialog, "Outline", L"Unsaved"));
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));

  dialog = OpenPanel();
  ASSERT_NE(dialog, nullptr);
  ASSERT_NO_FATAL_FAILURE(Rename(dialog, "Outline", L"Outline"));
  ASSERT_TRUE(Program::Click(dialog, filter_panel::kDefaults));
  EXPECT_EQ(AnswerBox(IDYES, "defaults", dialog), "Replace the initial 9 filter specifications with defaults?");
  ASSERT_NO_FATAL_FAILURE(Rename(dialog, "Contour", L"Contour"));
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
}

}  // namespace
}  // namespace quilla::gui
