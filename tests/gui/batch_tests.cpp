// Lists of files dropped on the window or given on the command line: one batch, sent where
// "DropTo" says: the slideshow, with its pause and the clicks that end it, and batch
// compression to JPEG.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bitmaps.h"
#include "control_ids.h"
#include "session.h"

namespace quilla::gui {
namespace {

constexpr char kPausing[] = "&Pausing (click here to cancel)...";

class BatchTest : public SessionTest {
 protected:
  static bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

  HWND View() const {
    const std::vector<HWND> views = program_->Windows(L"QuillaFull32");
    return views.empty() ? nullptr : views.front();
  }
  // The slideshow waits between two pictures with the pausing menu up.
  bool WaitForPause() const {
    return WaitFor([&] {
      const std::vector<MenuItem> items = program_->ReadMenu();
      return items.size() == 1 && items[0].text == kPausing;
    }, 8000);
  }
  // The control that has the keyboard focus in the program.
  HWND Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(Main(), nullptr), &info) ? info.hwndFocus : nullptr;
  }
};

TEST_F(BatchTest, ShellDropAsksBeforeCompressingAndNoLeavesEverything) {
  PresetOption(L"DropTo", L"112");
  ASSERT_TRUE(WriteTestBmp(Path(L"a.bmp"), 8, 8, Gradient));
  ASSERT_TRUE(WriteTestBmp(Path(L"b.bmp"), 8, 8, Gradient));
  Start();
  program_->DropFiles({Path(L"a.bmp"), Path(L"b.bmp")});
  EXPECT_EQ(AnswerBox(IDNO), "Are you sure you want to drop to Compress?");
  ASSERT_TRUE(program_->Settle());
  ExpectNoDialog(*program_);
  EXPECT_FALSE(Exists(Path(L"a.jpg")));
  EXPECT_FALSE(Exists(Path(L"b.jpg")));
}

TEST_F(BatchTest, DroppedFilesOfMixedTypesAreCompressedToJpegsBesideThem) {
  PresetOption(L"DropTo", L"112");
  const std::vector<std::wstring> sources = {Path(L"a.bmp"), Path(L"b.tga"), Path(L"c.pcx")};
  ASSERT_TRUE(WriteTestBmp(sources[0], 12, 8, Gradient));
  ASSERT_EQ(RunCli(L"convert --type 6 --resize 6x4 \"" + sources[0] + L"\" \"" + sources[1] + L"\"").exitCode, 0u);
  ASSERT_EQ(RunCli(L"convert --type 7 --colors 16 \"" + sources[0] + L"\" \"" + sources[2] + L"\"").exitCode, 0u);
  std::vector<std::string> before;
  for (const std::wstring& source : sources) before.push_back(ReadFileBytes(source));
  Start();
  program_->DropFiles(sources);
  EXPECT_EQ(AnswerBox(IDYES), "Are you sure you want to drop to Compress?");
  // Once done, the window shows the last picture read.
  ASSERT_TRUE(WaitForTitle(Main(), ImageTitle("c.pcx", 12, 8, "16"), 20000)) << WindowText(Main());
  ASSERT_TRUE(program_->Settle());
  ExpectNoDialog(*program_);
  const std::vector<std::pair<std::wstring, std::string>> written = {
      {Path(L"a.jpg"), "12x8"}, {Path(L"b.jpg"), "6x4"}, {Path(L"c.jpg"), "12x8"}};
  for (const auto& [jpeg, size] : written) {
    const RunResult info = RunCli(L"info \"" + jpeg + L"\"");
    EXPECT_EQ(info.exitCode, 0u);
    EXPECT_EQ(info.output, Utf8(jpeg) + ": JPEG, " + size + ", 24 bpp, 0 colours");
  }
  for (size_t i = 0; i < sources.size(); ++i) EXPECT_EQ(ReadFileBytes(sources[i]), before[i]) << Utf8(sources[i]);
}

TEST_F(BatchTest, CommandLineSlideshowGoesFullScreenAndARightClickShowsTheNext) {
  PresetOption(L"SSAuto", L"0");
  ASSERT_TRUE(WriteTestBmp(Path(L"first.bmp"), 8, 6, Gradient));
  ASSERT_TRUE(WriteTestBmp(Path(L"second.bmp"), 10, 4, Gradient));
  // Started without settling: the show waits in its pause, where the program is not idle.
  program_ = std::make_unique<Program>();
  ASSERT_TRUE(program_->Start(settings_, L"\"" + Path(L"first.bmp") + L"\" \"" + Path(L"second.bmp") + L"\""));
  ASSERT_TRUE(WaitForTitle(Main(), ImageTitle("first.bmp", 8, 6), 20000)) << WindowText(Main());
  ASSERT_TRUE(WaitForPause());
  HWND view = View();
  ASSERT_NE(view, nullptr) << "the slideshow is not full screen";
  PostMessageW(view, WM_RBUTTONDOWN, MK_RBUTTON, 0);
  ASSERT_TRUE(WaitForTitle(Main(), ImageTitle("second.bmp", 10, 4), 8000)) << WindowText(Main());
  // No pause after the last picture: the show is over and the view stays until it is left.
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(View(), view);
  Shot("last");
  PostMessageW(view, WM_RBUTTONDOWN, MK_RBUTTON, 0);
  ASSERT_TRUE(WaitFor([&] { return View() == nullptr; }, 8000)) << "the view stays";
  ASSERT_TRUE(program_->Settle());
  EXPECT_NE(FindItem(program_->ReadMenu(), cmd::kOpen), nullptr) << "the main menu is back";
}

TEST_F(BatchTest, SlideshowOptionsRefuseANegativeDelayAndAClickOffersToCancelTheShow) {
  namespace ids = slideshow_options;
  ASSERT_TRUE(WriteTestBmp(Path(L"one.bmp"), 8, 6, Gradient));
  ASSERT_TRUE(WriteTestBmp(Path(L"two.bmp"), 10, 4, Gradient));
  Start();
  HWND dialog = program_->ShowDialog(cmd::kSlideshowOptions);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), "Slideshow Options");
  ExpectOffset(dialog, 60, 60);
  EXPECT_TRUE(Checked(dialog, ids::kAutomatic));
  EXPECT_TRUE(Checked(dialog, ids::kFullScreen));
  EXPECT_EQ(WindowText(GetDlgItem(dialog, ids::kDelay)), "5");
  SetItemText(dialog, ids::kDelay, L"-1");
  ASSERT_TRUE(Program::Click(dialog, IDOK));
  EXPECT_EQ(AnswerBox(IDOK, "refused", dialog), "Please enter a non-negative number.");
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(Focus(), GetDlgItem(dialog, ids::kDelay));
  // Interactive, in the window: the delay field no longer counts.
  ASSERT_TRUE(program_->Press(dialog, ids::kInteractive));
  EXPECT_FALSE(Enabled(dialog, ids::kDelay));
  ASSERT_TRUE(program_->Press(dialog, ids::kFullScreen));
  ASSERT_TRUE(Program::Answer(dialog, IDOK));

  program_->DropFiles({Path(L"one.bmp"), Path(L"two.bmp")});
  ASSERT_TRUE(WaitForTitle(Main(), ImageTitle("one.bmp", 8, 6), 20000)) << WindowText(Main());
  ASSERT_TRUE(WaitForPause());
  EXPECT_EQ(View(), nullptr) << "the slideshow went full screen";
  PostMessageW(Main(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  EXPECT_EQ(AnswerBox(IDYES, "cancel"), kCancelQuestion);
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(WindowText(Main()), ImageTitle("one.bmp", 8, 6));
  EXPECT_NE(FindItem(program_->ReadMenu(), cmd::kOpen), nullptr) << "the main menu is back";
}

}  // namespace
}  // namespace quilla::gui
