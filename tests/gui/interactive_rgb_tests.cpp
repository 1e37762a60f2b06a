// Interactive RGB under Wine, on a row of greys: the curve of the default function x^2, one
// drawn with the mouse and the function's again, each applied by Exec; Cancel puts the picture
// back; the function editor refuses a text that fails and keeps the new one without blanks;
// Save writes the list; OK keeps the picture with one undo step.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "bitmaps.h"
#include "control_ids.h"
#include "core/commands.h"
#include "session.h"

namespace quilla::gui {
namespace {

using namespace interactive_rgb;

constexpr int kWidth = 64, kHeight = 16;
constexpr int kColumnOf128 = 32;

// Column x is the grey 4x: 0, 4, ... 252.
unsigned Greys(int x, int) { return unsigned(x * 4) * 0x010101u; }

std::string ListText(HWND list, int index) {
  wchar_t text[300] = {};
  const LRESULT length = SendMessageW(list, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text));
  return length == LB_ERR ? "(none)" : Utf8(std::wstring(text, size_t(length)));
}

bool Checked(HWND dialog, int id) { return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

class InteractiveRgbTest : public SessionTest {
 protected:
  void SetUp() override {
    const std::wstring image = Path(L"greys.bmp");
    ASSERT_TRUE(WriteTestBmp(image, kWidth, kHeight, Greys));
    StartOn(image, ImageTitle("greys.bmp", kWidth, kHeight));
  }
  void TearDown() override {
    if (program_ && program_->Running()) {
      for (HWND box : program_->Windows(L"#32770")) Program::Click(box, IDCANCEL);
    }
  }

  // The panel, moved out of the way of the picture.
  HWND ShowPanel() const {
    HWND dialog = program_->ShowDialog(cmd::kInteractiveRgb);
    if (dialog) SetWindowPos(dialog, nullptr, 700, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return dialog;
  }

  // The picture's top row on the screen once the program has settled.
  std::vector<unsigned> ShownRow() const {
    EXPECT_TRUE(program_->Settle());
    const POINT origin = program_->ClientOrigin();
    return CaptureScreen({origin.x, origin.y, origin.x + kWidth, origin.y + 1});
  }

  // The message box that comes up over the program's dialogs: its text, once answered.
  std::string AnswerMessage(int button) const {
    HWND box = nullptr;
    WaitFor(
        [&] {
          for (HWND window : program_->Windows(L"#32770"))
            if (WindowText(window) == kTitle) box = window;
          return box != nullptr;
        },
        8000);
    if (!box) return "(no box)";
    const std::string text = Program::MessageText(box);
    EXPECT_TRUE(Program::Answer(box, button));
    return text;
  }

  std::vector<unsigned> Exec(HWND dialog) const {
    EXPECT_TRUE(program_->Press(dialog, kExec));
    return ShownRow();
  }
};

// The mouse as the graph gets it, at client position (x, y).
void Mouse(HWND graph, UINT message, int x, int y) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(graph, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(short(x), short(y)),
                      SMTO_ABORTIFHUNG, 5000, &result);
}

TEST_F(InteractiveRgbTest, FunctionAndDrawnCurvesExecCancelEditAndKeep) {
  const std::vector<unsigned> original = ShownRow();
  ASSERT_EQ(original.size(), size_t(kWidth));
  ASSERT_EQ(original[kColumnOf128], 0x808080u);

  HWND dialog = ShowPanel();
  ASSERT_NE(dialog, nullptr) << "no Interactive RGB panel";
  EXPECT_EQ(WindowText(dialog), "Interactive RGB Control Panel");
  HWND list = GetDlgItem(dialog, kFunctions);
  EXPECT_TRUE(Checked(dialog, kUseFunctions));
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(ListText(list, 0), "x^2");
  Shot("panel");
  EXPECT_EQ(ShownRow(), original) << "nothing changes before Exec";
  EXPECT_EQ(Exec(dialog)[kColumnOf128], 0x404040u) << "x^2 maps 128 to 64";

  // A stroke along the top of the graph sets every entry to 255; leaving the graph ends it, so
  // the move back in along the bottom draws nothing.
  HWND graph = GetDlgItem(dialog, kGraph);
  RECT client{};
  ASSERT_TRUE(GetClientRect(graph, &client));
  Mouse(graph, WM_LBUTTONDOWN, 0, 0);
  for (int x = 1; x < client.right; ++x) Mouse(graph, WM_MOUSEMOVE, x, 0);
  Mouse(graph, WM_MOUSEMOVE, client.right / 2, -10);
  Mouse(graph, WM_MOUSEMOVE, client.right / 2, client.bottom - 1);
  Mouse(graph, WM_LBUTTONUP, client.right / 2, client.bottom - 1);
  EXPECT_FALSE(Checked(dialog, kUseFunctions)) << "a drawn curve follows no function";
  EXPECT_FALSE(IsWindowEnabled(list));
  const std::vector<unsigned> drawn = Exec(dialog);
  EXPECT_EQ(std::set<unsigned>(drawn.begin(), drawn.end()), std::set<unsigned>{0xFFFFFFu});
  ASSERT_TRUE(program_->Press(dialog, kUseFunctions));
  EXPECT_TRUE(IsWindowEnabled(list));
  EXPECT_EQ(Exec(dialog)[kColumnOf128], 0x404040u) << "using functions again computes x^2";
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
  EXPECT_EQ(ShownRow(), original);
  EXPECT_TRUE(Menu(cmd::kUndo).Greyed()) << "a cancelled retouch leaves nothing to undo";

  dialog = ShowPanel();
  ASSERT_NE(dialog, nullptr);
  list = GetDlgItem(dialog, kFunctions);
  ASSERT_TRUE(Program::Click(dialog, kEditFunction));
  HWND editor = program_->WaitForDialog(8000, dialog);
  ASSERT_NE(editor, nullptr) << "no function editor";
  EXPECT_EQ(WindowText(editor), "Edit Function Definition");
  SetItemText(editor, kFunctionText, L"1/x");
  ASSERT_TRUE(Program::Click(editor, IDOK));
  EXPECT_EQ(AnswerMessage(IDOK), "Division by Zero");
  EXPECT_TRUE(IsWindowVisible(editor)) << "a text that fails keeps the editor open";
  SetItemText(editor, kFunctionText, L"x * x * x");
  ASSERT_TRUE(Program::Answer(editor, IDOK));
  EXPECT_EQ(ListText(list, 0), "x*x*x");
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);

  ASSERT_TRUE(Program::Click(dialog, kSave));
  EXPECT_EQ(AnswerMessage(IDYES), "Save current function definitions?");
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(ReadSettings(settings_).Value("Functions", "Function0"), "x*x*x");

  const std::vector<unsigned> cubed = Exec(dialog);
  EXPECT_EQ(cubed[kColumnOf128], 0x202020u);
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  EXPECT_EQ(ShownRow(), cubed);
  program_->PostMenuCommand(cmd::kUndo);
  EXPECT_EQ(ShownRow(), original);
}

}  // namespace
}  // namespace quilla::gui
