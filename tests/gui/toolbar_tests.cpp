// The floating toolbar: where it stands, what its buttons post, its legend, and its fold
// into the caption while a file is read.
#include <gtest/gtest.h>

#include "bitmaps.h"
#include "session.h"

namespace quilla::gui {
namespace {

constexpr wchar_t kToolbarClass[] = L"QuillaTools32";
constexpr int kOpenButton = 0, kSaveButton = 1;

class ToolbarTest : public SessionTest {
 protected:
  ~ToolbarTest() override {
    // The mouse is put far from where the next test's windows come up.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  }

  // The toolbar, shown or hidden; null when there is none.
  HWND Toolbar() const {
    const std::vector<HWND> found = program_->Windows(kToolbarClass, false);
    return found.empty() ? nullptr : found.front();
  }
  bool Shown(int width, int height) const {
    RECT r;
    HWND toolbar = Toolbar();
    return toolbar && IsWindowVisible(toolbar) && GetWindowRect(toolbar, &r) && r.right - r.left == width &&
           r.bottom - r.top == height;
  }
  // The middle of button i (two columns of 24 x 23 from (3, 11), 22 pixels a row).
  static POINT ButtonCentre(int button) { return {3 + 24 * (button % 2) + 12, 11 + 22 * (button / 2) + 11}; }
  void Click(int button) const {
    const POINT at = ButtonCentre(button);
    PostMessageW(Toolbar(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageW(Toolbar(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  }
};

TEST_F(ToolbarTest, StandsBesideTheMainWindowAndItsEnabledButtonsPostTheirCommands) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(WaitFor([&] { return Shown(54, 365); }, 5000)) << "no toolbar";
  RECT main, toolbar;
  GetWindowRect(Main(), &main);
  GetWindowRect(Toolbar(), &toolbar);
  EXPECT_LT(toolbar.left, main.right) << "against the right edge";
  EXPECT_GT(toolbar.left, main.right - 12);
  EXPECT_GT(toolbar.top, main.top);
  Shot("toolbar");

  // Save file is greyed without an image, as its menu item is.
  Click(kSaveButton);
  ExpectNoDialog(*program_);
  Click(kOpenButton);
  HWND dialog = program_->WaitForDialog();
  ASSERT_NE(dialog, nullptr) << "Open file shows no dialog";
  EXPECT_EQ(WindowText(dialog), "Open Image File");
  EXPECT_TRUE(Program::Answer(dialog, IDCANCEL));
}

TEST_F(ToolbarTest, ALegendNamesTheButtonTheMouseRestsOn) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(WaitFor([&] { return Shown(54, 365); }, 5000)) << "no toolbar";
  RECT toolbar;
  GetWindowRect(Toolbar(), &toolbar);
  const POINT at = ButtonCentre(kOpenButton);
  SetCursorPos(toolbar.left + at.x, toolbar.top + at.y);
  HWND legend = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    const std::vector<HWND> found = program_->Windows(L"QuillaToolBarLegend32");
    return (legend = found.empty() ? nullptr : found.front()) != nullptr;
  }, 5000)) << "no legend";
  EXPECT_EQ(WindowText(legend), "Open file");
  RECT r;
  GetWindowRect(legend, &r);
  EXPECT_LE(r.right, toolbar.left + at.x) << "a left-column legend stands left of its button";
  Shot("legend");
}

TEST_F(ToolbarTest, FoldsIntoTheCaptionWhileAFileIsReadAndComesBackAfterwards) {
  const std::wstring big = Path(L"big.ppm");
  ASSERT_TRUE(WriteGreyPpm(big, 300, 200));
  ASSERT_NO_FATAL_FAILURE(Start(L"\"" + big + L"\""));
  ASSERT_TRUE(WaitFor([&] { return WindowText(Main()).find("big.ppm") != std::string::npos; }, 10000));
  ASSERT_TRUE(WaitFor([&] { return Shown(54, 365); }, 5000)) << "no toolbar";
  // Reopen reads without a dialog, so the toolbar is up when the read starts; the busy menu's
  // question then holds the read, and the box has hidden the toolbar, last placed as the
  // caption button. The click request queues behind the command, so the read's first look
  // at the queue takes it, however fast the read.
  program_->PostMenuCommand(cmd::kReopen);
  program_->ClickBusyMenuWhenShown();
  HWND box = program_->WaitForDialog();
  ASSERT_NE(box, nullptr) << "no question";
  RECT folded;
  ASSERT_TRUE(GetWindowRect(Toolbar(), &folded));
  EXPECT_EQ(folded.right - folded.left, 24);
  EXPECT_EQ(folded.bottom - folded.top, 23);
  RECT main;
  GetWindowRect(Main(), &main);
  EXPECT_TRUE(folded.left > main.left && folded.right < main.right && folded.top < main.top + 30) << "in the caption";
  ASSERT_TRUE(Program::Answer(box, IDYES));
  EXPECT_TRUE(WaitFor([&] { return Shown(54, 365); }, 5000)) << "the toolbar stays folded";
}

}  // namespace
}  // namespace quilla::gui
