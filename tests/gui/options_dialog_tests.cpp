// The settings file a first start leaves, and the option dialogs (Interface, Quantizing,
// Color Depth, Jpeg I/O, Memory) as a user drives them, run under Wine.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "bitmaps.h"
#include "control_ids.h"
#include "core/commands.h"
#include "session.h"
#include "support/options_order.h"

namespace quilla::gui {
namespace {

constexpr char kQuantizingQuestion[] =
    "The current set of quantizing options is not adequate for this graphics mode. Would you like it to be "
    "automatically changed ?";

// Whether each of the buttons is checked, or each is not.
void ExpectChecked(HWND dialog, std::initializer_list<int> ids, bool checked) {
  for (int id : ids) EXPECT_EQ(Checked(dialog, id), checked) << id;
}

constexpr char kCountRange[] = "Use an integer between 16 and 256.";

class OptionsDialogTest : public SessionTest {
 protected:
  void SetUp() override { ASSERT_NO_FATAL_FAILURE(StartKeepingOptions()); }

  void StartKeepingOptions() {
    ASSERT_NO_FATAL_FAILURE(Start());
    // A display check at start-up may ask about the quantizing options: keep them.
    if (HWND box = program_->AnyDialog()) {
      if (Program::MessageText(box) == kQuantizingQuestion) Program::Answer(box, IDNO);
    }
  }

  // Ends the program as a user does and starts it again on the same settings file.
  void Restart() {
    ASSERT_TRUE(program_->Close());
    StartKeepingOptions();
  }

  HWND Open(int command) const { return program_->ShowDialog(command); }

  // Save all (sent, so that the file is written when it returns), and the values it wrote
  // in section "Options".
  void ExpectSaved(const std::vector<std::pair<const char*, const char*>>& options) const {
    EXPECT_EQ(program_->SendCommand(cmd::kSaveAll), 1);
    const SettingsFile saved = ReadSettings(settings_);
    for (const auto& [key, value] : options) EXPECT_EQ(saved.Value("Options", key), value) << key;
  }
};

TEST_F(OptionsDialogTest, FirstStartLeavesACompleteSettingsFileInOrder) {
  const SettingsFile written = ReadSettings(settings_);
  ASSERT_FALSE(written.lines.empty()) << "no settings file at QUILLA_INI";
  EXPECT_EQ(written.SectionNames(), (std::vector<std::string>{"Quilla for Windows", "Options", "Functions", "Filters",
                                                              "One keystroke retouch"}));
  EXPECT_EQ(written.Keys("Options"), testing_support::kOptionsOrder);

  // The same file, line for line, as the command-line tool writes with the defaults.
  const std::wstring reference = Path(L"cli.ini");
  DeleteFileW(reference.c_str());
  ASSERT_EQ(RunCli(L"settings --ini \"" + reference + L"\" --save").exitCode, 0u);
  EXPECT_EQ(written.lines, ReadSettings(reference).lines);

}

TEST_F(OptionsDialogTest, InterfaceOptionsShowDefaultsAndPersistThroughSaveAllAndARestart) {
  using namespace interface_options;
  HWND dialog = Open(cmd::kInterfaceOptions);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), "Interface Options");
  EXPECT_EQ(WindowText(GetDlgItem(dialog, kEnableUndo)), "Enable &undo");
  EXPECT_EQ(WindowText(GetDlgItem(dialog, kPosSame)), "Same position");
  EXPECT_EQ(WindowText(GetDlgItem(dialog, kPosLeftTop)), "Left&&Top corner");
  ExpectOffset(dialog, 40, 40);  // the large-dialog place
  EXPECT_TRUE(Enabled(dialog, kHelpButton)) << "Help opens its page";
  ExpectChecked(dialog, {kEnableUndo, kAutoQuantize, kAutoResize, kScrollBars, kThickFrame, kAnimateFrame,
                         kToolbarLegends, kConfirmSaves, kThumbsIcon, kDropSlideshow, kResizeNever, kPosSame, kClipDib},
                true);
  ExpectChecked(dialog, {kPopupIcon, kFullOnTop, kDropCompress, kDropPrinter, kDropContact, kResizeShrink,
                         kResizeEnlarge, kResizeAlways, kPosLeftTop, kPosLeftBottom, kPosRightTop, kPosRightBottom,
                         kPosCenter, kClipDdb},
                false);
  Shot("defaults");

  // Switch four boxes and one button of three groups, then OK.
  for (int id : {kEnableUndo, kAnimateFrame, kPopupIcon, kFullOnTop, kDropPrinter, kResizeEnlarge, kClipDdb}) {
    ASSERT_TRUE(Program::Click(dialog, id));
  }
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  ExpectSaved({{"EnableUndo", "0"}, {"AnimateAreaFrame", "0"}, {"PopupIcon", "1"}, {"FullOnTop", "1"},
               {"DropTo", "113"}, {"ResizeOnLoad", "103"}, {"CopyClipbdFmt", "139"}, {"ShowSBars", "1"},
               {"PosMode", "105"}});

  ASSERT_NO_FATAL_FAILURE(Restart());
  ASSERT_NE(dialog = Open(cmd::kInterfaceOptions), nullptr);
  ExpectChecked(dialog, {kPopupIcon, kFullOnTop, kAutoQuantize, kDropPrinter, kResizeEnlarge, kClipDdb}, true);
  ExpectChecked(dialog, {kEnableUndo, kAnimateFrame, kDropSlideshow, kResizeNever, kClipDib}, false);
  Shot("after-restart");
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
}

TEST_F(OptionsDialogTest, InterfaceOptionsCancelPutsBackRadioChoicesAndIgnoresBoxes) {
  using namespace interface_options;
  HWND dialog = Open(cmd::kInterfaceOptions);
  ASSERT_NE(dialog, nullptr);
  // Radio buttons act at once; the boxes wait for OK.
  for (int id : {kDropCompress, kResizeAlways, kClipDdb, kEnableUndo, kFullOnTop}) {
    ASSERT_TRUE(program_->Press(dialog, id));
  }
  EXPECT_TRUE(Checked(dialog, kDropCompress));
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
  ASSERT_NE(dialog = Open(cmd::kInterfaceOptions), nullptr);
  ExpectChecked(dialog, {kDropSlideshow, kResizeNever, kClipDib, kEnableUndo}, true);
  ExpectChecked(dialog, {kDropCompress, kResizeAlways, kClipDdb, kFullOnTop}, false);
  // The close box is a Cancel too.
  ASSERT_TRUE(program_->Press(dialog, kDropContact));
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Program::WaitClosed(dialog));
  ExpectSaved({{"DropTo", "111"}, {"ResizeOnLoad", "101"}, {"CopyClipbdFmt", "140"}, {"EnableUndo", "1"},
               {"FullOnTop", "0"}});
}

TEST_F(OptionsDialogTest, InterfacePositionChoiceMovesTheWindowAndCancelPutsItBack) {
  RECT before, moved, after;
  GetWindowRect(Main(), &before);
  HWND dialog = Open(cmd::kInterfaceOptions);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(program_->Press(dialog, interface_options::kPosCenter));  // at once
  GetWindowRect(Main(), &moved);
  EXPECT_TRUE(moved.left != before.left || moved.top != before.top) << "the window stays at the left and top";
  EXPECT_TRUE(IsWindowVisible(dialog));
  Shot("centered");
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
  ASSERT_TRUE(program_->Settle());
  GetWindowRect(Main(), &after);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  ExpectSaved({{"PosMode", "105"}});
  // OK keeps the new place and the choice.
  ASSERT_NE(dialog = Open(cmd::kInterfaceOptions), nullptr);
  ASSERT_TRUE(program_->Press(dialog, interface_options::kPosCenter));
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  ASSERT_TRUE(program_->Settle());
  GetWindowRect(Main(), &after);
  EXPECT_EQ(after.left, moved.left);
  EXPECT_EQ(after.top, moved.top);
  ExpectSaved({{"PosMode", "110"}});
}

TEST_F(OptionsDialogTest, InterfaceDialogRemembersItsPlace) {
  HWND dialog = Open(cmd::kInterfaceOptions);
  ASSERT_NE(dialog, nullptr);
  ASSERT_NE(dialog = MovedAndShownAgain(dialog, cmd::kInterfaceOptions, IDCANCEL, 25, 35), nullptr);
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  // Small dialogs keep their own place.
  ExpectSaved({{"BigDlgX", "25"}, {"BigDlgY", "35"}, {"DlgX", "60"}});
}

// Radio states of the colour count group of the Color Depth and Quantizing dialogs.
void ExpectCountChoice(HWND dialog, int checkedId) {
  using namespace color_depth;
  for (int id : {kCustom, k256, kWindows16, kBlackWhite}) EXPECT_EQ(Checked(dialog, id), id == checkedId) << id;
}
// The count group and its edit box wait while true colour is chosen.
void ExpectCountGroupDisabled(HWND dialog) {
  using namespace color_depth;
  for (int id : {kCustom, kCustomCount, k256, kWindows16, kBlackWhite}) EXPECT_FALSE(Enabled(dialog, id)) << id;
}

TEST_F(OptionsDialogTest, QuantizingOptionsRefuseBadCountsAndPersist) {
  using namespace color_depth;
  HWND dialog = Open(cmd::kQuantizing);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), "Quantizing Options");
  ExpectOffset(dialog, 60, 60);
  // True colour reading by default on this display: the count group waits.
  EXPECT_TRUE(Checked(dialog, kTrueColour));
  EXPECT_FALSE(Checked(dialog, kPalette));
  EXPECT_TRUE(Enabled(dialog, kTrueColour));
  ExpectCountChoice(dialog, k256);
  ExpectCountGroupDisabled(dialog);
  EXPECT_TRUE(Checked(dialog, kDither));
  EXPECT_EQ(WindowText(GetDlgItem(dialog, kCustomCount)), "256");
  Shot("defaults");

  ASSERT_TRUE(program_->Press(dialog, kPalette));
  for (int id : {kCustom, k256, kWindows16, kBlackWhite}) EXPECT_TRUE(Enabled(dialog, id)) << id;
  EXPECT_FALSE(Enabled(dialog, kCustomCount)) << "the edit box serves the custom count only";
  ASSERT_TRUE(program_->Press(dialog, kCustom));
  EXPECT_TRUE(Enabled(dialog, kCustomCount));

  // Out of range and not a number are refused; the dialog stays.
  for (const wchar_t* bad : {L"15", L"300", L"6x"}) {
    SetItemText(dialog, kCustomCount, bad);
    ASSERT_TRUE(Program::Click(dialog, IDOK));
    EXPECT_EQ(AnswerBox(IDOK, "refused", dialog), kCountRange) << Utf8(bad);
    EXPECT_TRUE(IsWindowVisible(dialog));
  }
  SetItemText(dialog, kCustomCount, L"64");
  ASSERT_TRUE(Program::Click(dialog, kDither));
  Shot("custom");
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  ExpectSaved({{"NeedQuantizeRead", "1"}, {"UseSysPalette", "0"}, {"NColorsCreatePal", "64"}, {"UseDithering", "0"}});

  ASSERT_NO_FATAL_FAILURE(Restart());
  ASSERT_NE(dialog = Open(cmd::kQuantizing), nullptr);
  EXPECT_TRUE(Checked(dialog, kPalette));
  ExpectCountChoice(dialog, kCustom);
  EXPECT_EQ(WindowText(GetDlgItem(dialog, kCustomCount)), "64");
  EXPECT_TRUE(Enabled(dialog, kCustomCount));
  EXPECT_FALSE(Checked(dialog, kDither));
  // The Windows colours; Cancel keeps what was stored.
  ASSERT_TRUE(program_->Press(dialog, kWindows16));
  EXPECT_FALSE(Enabled(dialog, kCustomCount));
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
  ASSERT_NE(dialog = Open(cmd::kQuantizing), nullptr);
  ExpectCountChoice(dialog, kCustom);
  ASSERT_TRUE(Program::Click(dialog, kWindows16));
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  ExpectSaved({{"UseSysPalette", "1"}, {"NColorsCreatePal", "16"}});
  // Back to true colour.
  ASSERT_NE(dialog = Open(cmd::kQuantizing), nullptr);
  ExpectCountChoice(dialog, kWindows16);
  ASSERT_TRUE(program_->Press(dialog, kTrueColour));
  ExpectCountGroupDisabled(dialog);
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  ExpectSaved({{"NeedQuantizeRead", "0"}, {"UseSysPalette", "0"}});
}

TEST_F(OptionsDialogTest, SwitchingAutoQuantizationOnChecksTheOptionsAgainstTheDisplay) {
  using interface_options::kAutoQuantize;
  const bool trueColor = !(ScreenCaps(RASTERCAPS) & RC_PALETTE) && ScreenCaps(BITSPIXEL) >= 8;
  if (!trueColor) GTEST_SKIP() << "written for a high or true colour display";
  // Palette reading does not suit this display.
  HWND dialog = Open(cmd::kQuantizing);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(Program::Click(dialog, color_depth::kPalette));
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  // Interface Options, OK with the box switched or left.
  auto pressOk = [&](bool switchBox) {
    ASSERT_NE(dialog = Open(cmd::kInterfaceOptions), nullptr);
    if (switchBox) {
      ASSERT_TRUE(Program::Click(dialog, kAutoQuantize));
    }
    ASSERT_TRUE(Program::Click(dialog, IDOK));
  };
  // Left on or switched off, nothing is asked.
  for (bool switchBox : {false, true}) {
    ASSERT_NO_FATAL_FAILURE(pressOk(switchBox));
    ASSERT_TRUE(Program::WaitClosed(dialog));
    ExpectNoDialog(*program_);
  }
  // Switched on again: the question; No keeps the options.
  ASSERT_NO_FATAL_FAILURE(pressOk(true));
  EXPECT_EQ(AnswerBox(IDNO, "question", dialog), kQuantizingQuestion);
  ASSERT_TRUE(Program::WaitClosed(dialog));
  ExpectSaved({{"AutoQuantize", "1"}, {"NeedQuantizeRead", "1"}});
  // Off and on again, and Yes: true-colour reading.
  ASSERT_NO_FATAL_FAILURE(pressOk(true));
  ASSERT_TRUE(Program::WaitClosed(dialog));
  ASSERT_NO_FATAL_FAILURE(pressOk(true));
  EXPECT_EQ(AnswerBox(IDYES, "question-yes", dialog), kQuantizingQuestion);
  ASSERT_TRUE(Program::WaitClosed(dialog));
  ExpectSaved({{"NeedQuantizeRead", "0"}, {"UseSysPalette", "0"}, {"NColorsCreatePal", "256"}});
}

TEST_F(OptionsDialogTest, ColorDepthReducesTheImageAndBringsItBack) {
  using namespace color_depth;
  const std::wstring image = Path(L"depth.bmp");
  ASSERT_TRUE(WriteTestBmp(image, 64, 48, Gradient));
  ASSERT_TRUE(program_->Close());
  auto title = [](const char* colours) { return ImageTitle("depth.bmp", 64, 48, colours); };
  ASSERT_NO_FATAL_FAILURE(StartOn(image, title("16.7 million")));
  // Presses the button and checks the colours the title shows afterwards.
  auto answerShowing = [&](HWND dialog, int button, const char* colours) {
    ASSERT_TRUE(Program::Answer(dialog, button));
    ASSERT_TRUE(program_->Settle());
    EXPECT_EQ(WindowText(Main()), title(colours));
  };

  // A true-colour image: the palette target, counts from the options, dithering on.
  HWND dialog = Open(cmd::kColorDepth);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), "Color Depth");
  EXPECT_TRUE(Checked(dialog, kPalette));
  EXPECT_FALSE(Enabled(dialog, kTrueColour)) << "it is true colour already";
  ExpectCountChoice(dialog, k256);
  EXPECT_TRUE(Checked(dialog, kDither));
  Shot("true-color");
  // Cancel leaves the image alone.
  ASSERT_NO_FATAL_FAILURE(answerShowing(dialog, IDCANCEL, "16.7 million"));

  // A custom count is refused outside 16..256; 16 gives the Windows colours.
  ASSERT_NE(dialog = Open(cmd::kColorDepth), nullptr);
  ASSERT_TRUE(Program::Click(dialog, kCustom));
  SetItemText(dialog, kCustomCount, L"300");
  ASSERT_TRUE(Program::Click(dialog, IDOK));
  EXPECT_EQ(AnswerBox(IDOK, "refused", dialog), kCountRange);
  SetItemText(dialog, kCustomCount, L"16");
  ASSERT_NO_FATAL_FAILURE(answerShowing(dialog, IDOK, "16"));
  EXPECT_EQ(program_->SendCommand(cmd::kImageSize), MAKELONG(64, 48));
  Shot("sixteen");

  // A palette image starts on true colour, with the count group waiting on 256.
  ASSERT_NE(dialog = Open(cmd::kColorDepth), nullptr);
  EXPECT_TRUE(Checked(dialog, kTrueColour));
  EXPECT_TRUE(Enabled(dialog, kTrueColour));
  ExpectCountChoice(dialog, k256);
  ExpectCountGroupDisabled(dialog);
  // More colours than it has: the count grows, the pixels stay.
  ASSERT_TRUE(Program::Click(dialog, kPalette));
  ASSERT_NO_FATAL_FAILURE(answerShowing(dialog, IDOK, "256"));
  // Black and white, then back to true colour.
  ASSERT_NE(dialog = Open(cmd::kColorDepth), nullptr);
  ASSERT_TRUE(Program::Click(dialog, kPalette));
  ASSERT_TRUE(Program::Click(dialog, kBlackWhite));
  ASSERT_NO_FATAL_FAILURE(answerShowing(dialog, IDOK, "2"));
  ASSERT_NE(dialog = Open(cmd::kColorDepth), nullptr);
  ASSERT_NO_FATAL_FAILURE(answerShowing(dialog, IDOK, "16.7 million"));
  // The dialog's dithering choice was for those runs only.
  ExpectSaved({{"UseDithering", "1"}, {"NColorsCreatePal", "256"}});
}

TEST_F(OptionsDialogTest, JpegOptionsShowOneSetAtATimeAndStoreOnOk) {
  using namespace jpeg_io;
  // Quality steps of the bar, each posted as the bar sends it.
  auto scroll = [](HWND dialog, WPARAM step, int times) {
    for (int i = 0; i < times; ++i) {
      PostMessageW(dialog, WM_HSCROLL, step, reinterpret_cast<LPARAM>(GetDlgItem(dialog, kQualityBar)));
    }
  };
  HWND dialog = Open(cmd::kJpegIo);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), "Jpeg I/O Options (Normal mode)");
  EXPECT_EQ(WindowText(GetDlgItem(dialog, kSwitchSet)), "S&witch to Preview setup");
  ExpectOffset(dialog, 40, 40);
  // Normal defaults: accurate DCT, 1:1, no flags; quality 75, entropy on, warn on.
  ExpectChecked(dialog, {kDctAccurate, kScale1, kEntropy, kWarnGrey}, true);
  ExpectChecked(dialog, {kLoadGrey, kFastUpsampling, kOnePass, kFastDither, kDctFast, kDctFloat, kScale2, kScale4,
                         kScale8, kSaveGrey}, false);
  EXPECT_EQ(WindowText(GetDlgItem(dialog, kQualityText)), "75");
  Shot("normal");

  // Normal: grey, 1:4, floating point. Then the Preview set.
  for (int id : {kLoadGrey, kScale4, kDctFloat}) ASSERT_TRUE(Program::Click(dialog, id));
  ASSERT_TRUE(program_->Press(dialog, kSwitchSet));
  EXPECT_EQ(WindowText(dialog), "Jpeg I/O Options (Preview mode)");
  EXPECT_EQ(WindowText(GetDlgItem(dialog, kSwitchSet)), "S&witch to Normal setup");
  // Preview defaults: fast upsampling, fast DCT, fast quantizing, one pass, 1:1.
  ExpectChecked(dialog, {kFastUpsampling, kDctFast, kOnePass, kFastDither, kScale1}, true);
  ExpectChecked(dialog, {kLoadGrey, kDctAccurate, kDctFloat, kScale4}, false);
  Shot("preview");
  ASSERT_TRUE(Program::Click(dialog, kScale8));
  ASSERT_TRUE(Program::Click(dialog, kFastDither));  // off
  // Back to Normal: what was set there is still shown.
  ASSERT_TRUE(program_->Press(dialog, kSwitchSet));
  EXPECT_EQ(WindowText(dialog), "Jpeg I/O Options (Normal mode)");
  ExpectChecked(dialog, {kLoadGrey, kScale4, kDctFloat}, true);
  // Quality: a page step to the right, then two arrow steps left.
  scroll(dialog, SB_PAGERIGHT, 1);
  scroll(dialog, SB_LINELEFT, 2);
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(WindowText(GetDlgItem(dialog, kQualityText)), "78");
  ASSERT_TRUE(Program::Click(dialog, kSaveGrey));
  ASSERT_TRUE(Program::Click(dialog, kEntropy));  // optimisation off
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  ExpectSaved({{"JpegDecompressionSetup", "0"}, {"LoadJpegGSNormal", "1"}, {"JpegDenomNormal", "4"},
               {"JpegDCTTypeNormal", "2"}, {"JpegDenomPreview", "8"}, {"JpegOptionFastQuantPreview", "0"},
               {"JpegDCTTypePreview", "1"}, {"JpegQuality", "78"}, {"SaveJpegGS", "1"}, {"JpegEntOpt", "0"}});

  // OK while Preview is shown makes it the active set; the bar stops at 95.
  ASSERT_NE(dialog = Open(cmd::kJpegIo), nullptr);
  EXPECT_TRUE(Checked(dialog, kScale4));
  ASSERT_TRUE(program_->Press(dialog, kSwitchSet));
  EXPECT_TRUE(Checked(dialog, kScale8));
  scroll(dialog, SB_PAGERIGHT, 5);
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(WindowText(GetDlgItem(dialog, kQualityText)), "95");
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  ExpectSaved({{"JpegDecompressionSetup", "1"}, {"JpegQuality", "95"}});

  // Cancel changes nothing, and the next opening shows the active set.
  ASSERT_NE(dialog = Open(cmd::kJpegIo), nullptr);
  EXPECT_EQ(WindowText(dialog), "Jpeg I/O Options (Preview mode)");
  ASSERT_TRUE(Program::Click(dialog, kScale1));
  ASSERT_TRUE(program_->Press(dialog, kSwitchSet));
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
  ExpectSaved({{"JpegDecompressionSetup", "1"}, {"JpegDenomPreview", "8"}});
}

TEST_F(OptionsDialogTest, MemoryOptionsNormaliseTheDirectory) {
  using namespace memory_options;
  struct Step {
    const wchar_t* typed;
    int choice, button;
    const char *useTmpFiles, *tmpPath;  // stored afterwards
  };
  const Step steps[] = {{L"C:\\temp\\\\\\", kMainOnly, IDOK, "0", "C:\\temp\\"},  // one separator at the end
                        {L"", kTmpFiles, IDOK, "1", ".\\"},                     // none is the current folder
                        {L"D:\\x", kMainOnly, IDCANCEL, "1", ".\\"}};           // Cancel changes nothing
  Step shown = {nullptr, 0, 0, "1", ".\\"};  // the defaults
  for (const Step& step : steps) {
    SCOPED_TRACE(Utf8(step.typed));
    HWND dialog = Open(cmd::kMemory);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(dialog), "Memory Options");
    ExpectOffset(dialog, 60, 60);  // the small-dialog place
    EXPECT_EQ(Checked(dialog, kTmpFiles), shown.useTmpFiles[0] == '1');
    EXPECT_EQ(Checked(dialog, kMainOnly), shown.useTmpFiles[0] == '0');
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kTmpPath)), shown.tmpPath);
    if (&step == steps) Shot("defaults");
    SetItemText(dialog, kTmpPath, step.typed);
    ASSERT_TRUE(Program::Click(dialog, step.choice));
    ASSERT_TRUE(Program::Answer(dialog, step.button));
    ExpectSaved({{"UseTmpFiles", step.useTmpFiles}, {"TmpPath", step.tmpPath}});
    shown = step;
  }
}

}  // namespace
}  // namespace quilla::gui
