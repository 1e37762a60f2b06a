// Tests of quilla.exe as a user meets it, run under Wine: each test starts the program
// with its own settings file and looks at it from outside.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "bitmaps.h"
#include "control_ids.h"
#include "core/commands.h"
#include "session.h"
#include "support/command_rules.h"

namespace quilla::gui {
namespace {

class ProgramTest : public SessionTest {
 protected:
  void SetUp() override { Start(); }
};

TEST_F(ProgramTest, MainWindowComesUpWithClassTitleAndPlace) {
  HWND window = Main();
  EXPECT_EQ(ClassName(window), "QUILLA32");
  EXPECT_EQ(WindowText(window), "Quilla 1.0/32");
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 10);
  // Without an image the window takes the untitled size.
  EXPECT_EQ(r.right - r.left, 320);
  EXPECT_EQ(r.bottom - r.top, 400);
  Shot("window");
}

// The menu bar as the probe reads it: one line per item, indented by its depth, "id text"
// ("-" for a separator, 0 for a popup).
std::vector<std::string> Layout(const std::vector<MenuItem>& items) {
  std::vector<std::string> lines;
  for (const MenuItem& item : items) {
    const std::string indent(size_t(2 * item.depth), ' ');
    lines.push_back(indent + (item.Separator() ? "-" : std::to_string(item.id) + " " + item.text));
  }
  return lines;
}

TEST_F(ProgramTest, MenuBarListsTheCommandsInTheirMenusAndOrder) {
  const std::vector<std::string> expected = {
      "0 &File",
      "  151 &New...", "  152 &Open...", "  195 R&eopen", "  190 &Multiple open...", "  -",
      "  153 &Save", "  154 Save &as...", "  155 &Delete...", "  -",
      "  156 &Print", "  157 P&rinter setup...", "  -",
      "  158 E&xit",
      "0 &Edit",
      "  159 &Undo\tAlt+BkSp", "  -",
      "  160 Cu&t\tShift+Del", "  161 &Copy\tCtrl+Ins", "  162 &Paste\tShift+Ins", "  163 &Delete\tCtrl+Del", "  -",
      "  0 Captur&e", "    148 &Desktop", "    145 &Window", "    146 &Client Area", "  -",
      "  164 Re&size...\tCtrl+R", "  165 Red&imension...", "  166 Cr&op!", "  167 Undef&ine!", "  168 Appl&y!",
      "  169 &Add Text...", "  -",
      "  170 Flip &Horizontal!", "  171 Flip &Vertical!", "  172 Rotate &Left!", "  173 Rotate &Right!", "  -",
      "  144 &Full screen!\tCtrl+F",
      "0 &Retouch",
      "  174 &Gamma Correction...", "  181 Color &Balance...", "  182 Contrast &Enhance...", "  179 &HSV Adjust...",
      "  180 &YCbCr Adjust...", "  175 Interactive &RGB...", "  177 &Exp Enhance...", "  176 &Log Enhance...",
      "  178 S&ineH Enhance...", "  183 Gray&Scale!", "  184 &Negative!", "  185 &Palette entry...", "  -",
      "  141 Color &Depth...", "  186 Image &filters...",
      "0 &Options",
      "  206 Save &GIFs interlaced", "  200 &Macro retouch...\tCtrl+M", "  -",
      "  194 &Interface...", "  115 &Background color...", "  149 &Quantizing...", "  116 &Jpeg I/O...",
      "  117 &Slideshow...", "  118 &Printer...", "  119 &Contact sheet...", "  120 &Memory...", "  -",
      "  124 &Load all!", "  125 Sa&ve all!", "  126 &Default!",
      "0 &Help",
      "  127 &Contents", "  128 &About Quilla 1.0", "  -",
      "  129 &Diagnosis", "  130 Device &Caps",
  };
  EXPECT_EQ(Layout(program_->ReadMenu()), expected);
}

// Commands that work in this build with no image; every other item is greyed: those the
// enabled rules refuse without an image and those whose subsystem is not built. Extend
// this set as handlers arrive.
const std::set<int> kEnabledWithoutImage = {cmd::kOpen,    cmd::kExit,    cmd::kAbout,    cmd::kDeviceCaps,
                                           cmd::kSaveGifInterlaced, cmd::kLoadAll, cmd::kSaveAll, cmd::kDefaults,
                                           cmd::kHelpContents, cmd::kDiagnosis, cmd::kInterfaceOptions, cmd::kQuantizing,
                                           cmd::kJpegIo, cmd::kMemory, cmd::kCaptureDesktop, cmd::kCaptureWindow,
                                           cmd::kCaptureClient, cmd::kNew, cmd::kMacroRetouch,
                                           cmd::kSlideshowOptions, cmd::kMultipleOpen, cmd::kPrinterSetup,
                                           cmd::kPrinterOptions, cmd::kContactSheetOptions};

TEST_F(ProgramTest, MenusGreyWhatNeedsAnImage) {
  std::vector<MenuItem> items = program_->ReadMenu();
  ASSERT_FALSE(items.empty()) << "the probe did not answer";
  for (const MenuItem& item : items) {
    if (item.Separator()) continue;
    if (item.Popup()) {
      EXPECT_FALSE(item.Greyed()) << item.text;
      continue;
    }
    EXPECT_EQ(item.Greyed(), !kEnabledWithoutImage.count(item.id)) << item.text;
    EXPECT_TRUE(item.Greyed() || RuleAllows(item.id, MenuContext{})) << item.text << ": the portable rules refuse it";
    // "SaveGifInterlaced" is on by default; nothing else carries a check mark.
    EXPECT_EQ(item.Checked(), item.id == cmd::kSaveGifInterlaced) << item.text;
  }
  Shot("menubar");
}

TEST_F(ProgramTest, CtrlXDoesNothing) {
  SetForegroundWindow(Main());
  program_->Settle();
  PressKeys({VK_CONTROL, 'X'});
  program_->PostMenuCommand(cmd::kNoAction);
  ExpectNoDialog(*program_);
  EXPECT_TRUE(program_->Running());
  EXPECT_EQ(WindowText(Main()), kTitle);
  // The same input path reaches the menus: Alt+H, A opens About.
  PressKeys({VK_MENU, 'H'});
  ASSERT_TRUE(WaitFor([&] { return !program_->Windows(L"#32768").empty(); }, 5000)) << "no Help menu";
  PressKeys({'A'});
  HWND about = program_->WaitForDialog();
  ASSERT_NE(about, nullptr) << "keyboard input does not reach the program";
  EXPECT_EQ(WindowText(about), "About");
  EXPECT_TRUE(Program::Answer(about, IDOK));
  Shot("after");
}

TEST_F(ProgramTest, CancelQuestionAnsweredNoLeavesProgramRunning) {
  program_->PostCommand(cmd::kCancelOperation);
  HWND box = program_->WaitForDialog();
  ASSERT_NE(box, nullptr) << "no question";
  EXPECT_EQ(Program::MessageText(box), kCancelQuestion);
  EXPECT_EQ(WindowText(box), kTitle);
  EXPECT_NE(GetDlgItem(box, IDYES), nullptr);
  EXPECT_NE(GetDlgItem(box, IDNO), nullptr);
  EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr) << "Yes and No only";
  Shot("question");
  ASSERT_TRUE(Program::Answer(box, IDNO));
  ExpectNoDialog(*program_);
  EXPECT_TRUE(program_->Running());
  EXPECT_TRUE(program_->Settle());
  EXPECT_EQ(WindowText(Main()), kTitle);

  // The menu item's WM_COMMAND asks the same.
  box = program_->ShowDialog(cmd::kCancelOperation);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(Program::MessageText(box), kCancelQuestion);
  ASSERT_TRUE(Program::Answer(box, IDYES));
  ExpectNoDialog(*program_);
  EXPECT_TRUE(program_->Running()) << "Yes cancels an operation, not the program";
}

TEST_F(ProgramTest, ClosingAndFileExitEndTheProcess) {
  const std::pair<const char*, void (*)(const Program&)> ways[] = {
      {"WM_CLOSE", [](const Program& p) { p.PostClose(); }},
      {"File > Exit", [](const Program& p) { p.PostMenuCommand(cmd::kExit); }}};
  for (const auto& [way, end] : ways) {
    SCOPED_TRACE(way);
    if (!program_->Running()) {
      ASSERT_NO_FATAL_FAILURE(Start());
    }
    end(*program_);
    DWORD code = 1;
    ASSERT_TRUE(program_->WaitForExit(10000, &code)) << "still running";
    EXPECT_EQ(code, 0u);
  }
}

TEST_F(ProgramTest, GreyedCommandsPostedAnywayDoNothing) {
  // Undo, Save and Color Depth need an image: no box, no change.
  for (int id : {cmd::kUndo, cmd::kSave, cmd::kColorDepth}) program_->PostMenuCommand(id);
  ExpectNoDialog(*program_);
  EXPECT_TRUE(program_->Running());
  EXPECT_EQ(program_->SendCommand(cmd::kImageSize), 0) << "no image";
}

TEST_F(ProgramTest, AboutNamesTheProgramAndTheJpegGroup) {
  HWND about = program_->ShowDialog(cmd::kAbout);
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(about, about_dialog::kProgramTitle)), kTitle);
  bool mentionsIjg = false;
  for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (WindowText(child).find("Independent JPEG Group") != std::string::npos) mentionsIjg = true;
  }
  EXPECT_TRUE(mentionsIjg);
  Shot("dialog");
  ASSERT_TRUE(Program::Answer(about, IDOK));
  ExpectNoDialog(*program_);
  // The close box closes it too.
  about = program_->ShowDialog(cmd::kAbout);
  ASSERT_NE(about, nullptr);
  PostMessageW(about, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Program::WaitClosed(about, 5000));
  ExpectNoDialog(*program_);
}

TEST_F(ProgramTest, DeviceCapsShowsTheScreen) {
  using namespace device_caps;
  HWND caps = program_->ShowDialog(cmd::kDeviceCaps);
  ASSERT_NE(caps, nullptr);
  const bool palette = ScreenCaps(RASTERCAPS) & RC_PALETTE;
  EXPECT_EQ(WindowText(GetDlgItem(caps, kHorizontalResolution)), std::to_string(ScreenCaps(HORZRES)));
  EXPECT_EQ(WindowText(GetDlgItem(caps, kBitsPerPixel)), std::to_string(ScreenCaps(BITSPIXEL)));
  EXPECT_EQ(WindowText(GetDlgItem(caps, kPalette)), palette ? "YES" : "NO");
  if (!palette) {
    for (int id : {kPaletteSize, kReservedColours, kColourResolution}) {
      EXPECT_EQ(WindowText(GetDlgItem(caps, id)), "-----");
    }
  }
  const std::string clip = WindowText(GetDlgItem(caps, kClipping));
  EXPECT_TRUE(clip == "NO CLIP" || clip == "RECTS" || clip == "REGNS") << clip;
  for (int id : {kDibs, kBitmaps64k}) {
    const std::string yesNo = WindowText(GetDlgItem(caps, id));
    EXPECT_TRUE(yesNo == "YES" || yesNo == "NO") << id << ": " << yesNo;
  }
  // At the large-dialog offset from the main window, and a move is remembered.
  ExpectOffset(caps, 40, 40);
  Shot("dialog");
  ASSERT_NE(caps = MovedAndShownAgain(caps, cmd::kDeviceCaps, IDOK, 70, 90), nullptr);
  ASSERT_TRUE(Program::Answer(caps, IDOK));
  ExpectNoDialog(*program_);
}

TEST_F(ProgramTest, GifInterlacedTogglesItsCheckAndSaveAllKeepsIt) {
  EXPECT_TRUE(Menu(cmd::kSaveGifInterlaced).Checked());
  program_->PostMenuCommand(cmd::kSaveGifInterlaced);
  EXPECT_FALSE(Menu(cmd::kSaveGifInterlaced).Checked());
  Shot("unchecked");
  // Exit saves only the window state: the change is kept by Save all.
  program_->PostMenuCommand(cmd::kSaveAll);
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(Option("SaveGifInterlaced"), "0");
  // Default! restores the option in memory only.
  program_->PostMenuCommand(cmd::kDefaults);
  EXPECT_TRUE(Menu(cmd::kSaveGifInterlaced).Checked());
  EXPECT_EQ(Option("SaveGifInterlaced"), "0");
  // Load all reads the file again.
  program_->PostMenuCommand(cmd::kLoadAll);
  EXPECT_FALSE(Menu(cmd::kSaveGifInterlaced).Checked());
  ExpectNoDialog(*program_);

  ASSERT_TRUE(program_->Close());
  EXPECT_EQ(Option("DlgX"), "60") << "window state not saved at exit";
  Start();
  EXPECT_FALSE(Menu(cmd::kSaveGifInterlaced).Checked()) << "the saved option is read at start-up";
}

}  // namespace
}  // namespace quilla::gui
