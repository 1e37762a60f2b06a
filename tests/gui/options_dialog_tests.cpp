// The settings file a first start leaves, and the option dialogs (Interface, Quantizing,
// Color Depth, Jpeg I/O, Memory) as a user drives them, run under Wine.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/commands.h"
#include "harness.h"

namespace quilla::gui {
namespace {

constexpr char kQuantizingQuestion[] =
    "The current set of quantizing options is not adequate for this graphics mode. Would you like it to be "
    "automatically changed ?";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

// Section -> key -> value of a settings file.
using Ini = std::map<std::string, std::map<std::string, std::string>>;
Ini ParseIni(const std::string& text) {
  Ini ini;
  std::string section;
  for (const std::string& line : Lines(text)) {
    if (line.front() == '[') {
      section = line.substr(1, line.find(']') - 1);
      continue;
    }
    size_t eq = line.find('=');
    if (eq != std::string::npos) ini[section][line.substr(0, eq)] = line.substr(eq + 1);
  }
  return ini;
}

bool Checked(HWND dialog, int id) {
  DWORD_PTR state = 0;
  SendMessageTimeoutW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
  return state == BST_CHECKED;
}
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != 0; }
void SetText(HWND dialog, int id, const std::wstring& text) {
  DWORD_PTR result;
  SendMessageTimeoutW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                      5000, &result);
}

class OptionsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    name_ = info->name();
    settings_ = Config().workDir + L"\\" + std::wstring(name_.begin(), name_.end()) + L".ini";
    DeleteFileW(settings_.c_str());
    ASSERT_TRUE(Start());
  }

  bool Start() {
    program_ = std::make_unique<Program>();
    if (!program_->Start(settings_) || !program_->Settle()) return false;
    // A display check at start-up may ask about the quantizing options: keep them.
    if (HWND box = program_->AnyDialog()) {
      if (Program::MessageText(box) == kQuantizingQuestion) Program::Answer(box, IDNO);
    }
    return true;
  }

  // Ends the program as a user does and starts it again on the same settings file.
  bool Restart() {
    PostMessageW(program_->MainWindow(), WM_CLOSE, 0, 0);
    if (!program_->WaitForExit(10000)) return false;
    return Start();
  }

  HWND Open(int command) {
    program_->PostMenuCommand(command);
    return program_->WaitForDialog(5000);
  }

  // Sent, so that the file is written when it returns.
  void SaveAll() { EXPECT_EQ(program_->SendCommand(cmd::kSaveAll), 1); }

  std::string Option(const std::string& key) { return ParseIni(ReadFileBytes(settings_))["Options"][key]; }

  void Shot(const std::string& what) { EXPECT_TRUE(program_->Screenshot(name_ + "-" + what)); }

  void ExpectOffset(HWND dialog, int dx, int dy) {
    RECT main, r;
    GetWindowRect(program_->MainWindow(), &main);
    GetWindowRect(dialog, &r);
    EXPECT_EQ(r.left - main.left, dx);
    EXPECT_EQ(r.top - main.top, dy);
  }

  // The newest dialog other than the one given: a message box over it.
  HWND WaitForBoxOver(HWND dialog, DWORD milliseconds) {
    HWND box = nullptr;
    WaitFor([&] {
      for (HWND window : program_->Windows(L"#32770")) {
        if (window != dialog) box = window;
      }
      return box != nullptr;
    }, milliseconds);
    return box;
  }

  std::unique_ptr<Program> program_;
  std::string name_;
  std::wstring settings_;
};

// Section "Options" of a file written by Save all, in the order it is written.
const std::vector<std::string>& OptionKeysInOrder() {
  static const std::vector<std::string> keys = [] {
    std::vector<std::string> k = {
        // the window state, written first
        "DlgX", "DlgY", "BigDlgX", "BigDlgY", "LockRGBGamma", "TBarCaption", "TBarRight", "CBackR", "CBackG", "CBackB",
        "AutoQuantize", "ImagePreview", "ImagePreviewGray", "OpenType", "SaveType", "C8Mask", "C8Black",
        // then the rest of the table
        "AutoResize", "PosMode", "ShowSBars", "ResizeOnLoad", "DropTo", "WarnAllSaves", "PopupIcon", "ThickAreaFrame",
        "AnimateAreaFrame", "CopyClipbdFmt", "ShowToolBarLegend", "ShowThumbsIcon", "FullOnTop", "CombineMode",
        "NColorsCreatePal", "UseDithering", "NeedQuantizeRead", "UseSysPalette", "JpegQuality", "SaveJpegGS",
        "JpegEntOpt", "WarnJpegGsSave", "JpegDecompressionSetup"};
    for (const char* set : {"Normal", "Preview"}) {
      for (const char* field : {"LoadJpegGS", "JpegDenom", "JpegFastUp", "JpegDCTType", "JpegOptionFastQuant",
                                "JpegOption1Pass"}) {
        k.push_back(std::string(field) + set);
      }
    }
    for (const char* key : {"SSCycle", "SSFullScreen", "SSAuto", "SSNSecondsDelay", "UseTmpFiles", "TmpPath", "EnableUndo"}) {
      k.push_back(key);
    }
    for (const char* group : {"Normal", "Contact"}) {
      const std::string g = group;
      if (g == "Normal") k.push_back(g + "Text");
      for (const char* field : {"Font", "Opaque", "Bold", "Italic", "Underline", "Strike", "Alignment"}) k.push_back(g + field);
      if (g == "Normal") k.push_back(g + "Direction");
      for (const char* field : {"Points", "ColorRFore", "ColorGFore", "ColorBFore", "ColorRBack", "ColorGBack", "ColorBBack"}) {
        k.push_back(g + field);
      }
    }
    for (const char* key : {"CenterPrinterPage", "FitPrinterPage", "PercentColsPrint", "PercentRowsPrint", "ContaDim",
                            "ContaBackR", "ContaBackG", "ContaBackB", "SaveGifInterlaced", "CTL3D32", "CTL3DV2",
                            "NFunctions"}) {
      k.push_back(key);
    }
    return k;
  }();
  return keys;
}

TEST_F(OptionsDialogTest, FirstStartLeavesACompleteSettingsFileInOrder) {
  const std::string written = ReadFileBytes(settings_);
  ASSERT_FALSE(written.empty()) << "no settings file at QUILLA_INI";

  // The sections, in order.
  std::vector<std::string> sections, optionKeys;
  std::string section;
  for (const std::string& line : Lines(written)) {
    if (line.front() == '[') {
      section = line.substr(1, line.find(']') - 1);
      sections.push_back(section);
    } else if (section == "Options") {
      optionKeys.push_back(line.substr(0, line.find('=')));
    }
  }
  EXPECT_EQ(sections, (std::vector<std::string>{"Quilla for Windows", "Options", "Functions", "Filters",
                                                "One keystroke retouch"}));
  EXPECT_EQ(optionKeys, OptionKeysInOrder());

  // The same file, line for line, as the command-line tool writes with the defaults.
  const std::wstring reference = Config().workDir + L"\\" + std::wstring(name_.begin(), name_.end()) + L"-cli.ini";
  DeleteFileW(reference.c_str());
  ASSERT_EQ(RunCli(L"settings --ini \"" + reference + L"\" --save").exitCode, 0u);
  EXPECT_EQ(Lines(written), Lines(ReadFileBytes(reference)));

  // Some defaults the dialogs below start from.
  Ini ini = ParseIni(written);
  EXPECT_EQ(ini["Options"]["BigDlgX"], "40");
  EXPECT_EQ(ini["Options"]["DlgX"], "60");
  EXPECT_EQ(ini["Options"]["TmpPath"], ".\\");
  EXPECT_EQ(ini["Options"]["NeedQuantizeRead"], "0") << "a true-colour display reads true colour";
  EXPECT_EQ(ini["Functions"]["Function0"], "x^2");
  EXPECT_EQ(ini["Filters"].count("Filter19Spec"), 1u);
  EXPECT_EQ(ini["One keystroke retouch"]["KSCurrent"], "0");
}

// Check boxes of the Interface Options dialog and their defaults.
const std::map<int, std::pair<const char*, bool>> kInterfaceBoxes = {
    {150, {"EnableUndo", true}},       {191, {"AutoQuantize", true}},     {187, {"AutoResize", true}},
    {188, {"ShowSBars", true}},        {189, {"ThickAreaFrame", true}},   {193, {"AnimateAreaFrame", true}},
    {198, {"ShowToolBarLegend", true}}, {122, {"WarnAllSaves", true}},    {123, {"PopupIcon", false}},
    {204, {"ShowThumbsIcon", true}},   {208, {"FullOnTop", false}},
};

TEST_F(OptionsDialogTest, InterfaceOptionsShowDefaultsAndPersistThroughSaveAllAndARestart) {
  HWND dialog = Open(cmd::kInterfaceOptions);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), "Interface Options");
  EXPECT_EQ(WindowText(GetDlgItem(dialog, 150)), "Enable &undo");
  EXPECT_EQ(WindowText(GetDlgItem(dialog, 105)), "Same position");
  EXPECT_EQ(WindowText(GetDlgItem(dialog, 106)), "Left&&Top corner");
  ExpectOffset(dialog, 40, 40);  // the large-dialog place
  EXPECT_TRUE(Enabled(dialog, 998)) << "Help opens its page";
  for (const auto& [id, box] : kInterfaceBoxes) EXPECT_EQ(Checked(dialog, id), box.second) << box.first;
  for (int id : {111, 101, 105, 140}) EXPECT_TRUE(Checked(dialog, id)) << id;
  for (int id : {112, 113, 114, 102, 103, 104, 106, 107, 108, 109, 110, 139}) EXPECT_FALSE(Checked(dialog, id)) << id;
  Shot("defaults");

  // Switch four boxes and one button of three groups, then OK.
  for (int id : {150, 193, 123, 208, 113, 103, 139}) ASSERT_TRUE(Program::Click(dialog, id));
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  SaveAll();
  EXPECT_EQ(Option("EnableUndo"), "0");
  EXPECT_EQ(Option("AnimateAreaFrame"), "0");
  EXPECT_EQ(Option("PopupIcon"), "1");
  EXPECT_EQ(Option("FullOnTop"), "1");
  EXPECT_EQ(Option("DropTo"), "113");
  EXPECT_EQ(Option("ResizeOnLoad"), "103");
  EXPECT_EQ(Option("CopyClipbdFmt"), "139");
  EXPECT_EQ(Option("ShowSBars"), "1");
  EXPECT_EQ(Option("PosMode"), "105");

  ASSERT_TRUE(Restart());
  dialog = Open(cmd::kInterfaceOptions);
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(Checked(dialog, 150));
  EXPECT_FALSE(Checked(dialog, 193));
  EXPECT_TRUE(Checked(dialog, 123));
  EXPECT_TRUE(Checked(dialog, 208));
  EXPECT_TRUE(Checked(dialog, 191));
  for (int id : {113, 103, 139}) EXPECT_TRUE(Checked(dialog, id)) << id;
  for (int id : {111, 101, 140}) EXPECT_FALSE(Checked(dialog, id)) << id;
  Shot("after-restart");
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
}

TEST_F(OptionsDialogTest, InterfaceOptionsCancelPutsBackRadioChoicesAndIgnoresBoxes) {
  HWND dialog = Open(cmd::kInterfaceOptions);
  ASSERT_NE(dialog, nullptr);
  // Radio buttons act at once; the boxes wait for OK.
  for (int id : {112, 104, 139, 150, 208}) ASSERT_TRUE(program_->Press(dialog, id));
  EXPECT_TRUE(Checked(dialog, 112));
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
  dialog = Open(cmd::kInterfaceOptions);
  ASSERT_NE(dialog, nullptr);
  for (int id : {111, 101, 140, 150}) EXPECT_TRUE(Checked(dialog, id)) << id;
  for (int id : {112, 104, 139, 208}) EXPECT_FALSE(Checked(dialog, id)) << id;
  // The close box is a Cancel too.
  ASSERT_TRUE(program_->Press(dialog, 114));
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Program::WaitClosed(dialog, 5000));
  SaveAll();
  EXPECT_EQ(Option("DropTo"), "111");
  EXPECT_EQ(Option("ResizeOnLoad"), "101");
  EXPECT_EQ(Option("CopyClipbdFmt"), "140");
  EXPECT_EQ(Option("EnableUndo"), "1");
  EXPECT_EQ(Option("FullOnTop"), "0");
}

TEST_F(OptionsDialogTest, InterfacePositionChoiceMovesTheWindowAndCancelPutsItBack) {
  RECT before, moved, after;
  GetWindowRect(program_->MainWindow(), &before);
  HWND dialog = Open(cmd::kInterfaceOptions);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(program_->Press(dialog, 110));  // "Center", at once
  GetWindowRect(program_->MainWindow(), &moved);
  EXPECT_TRUE(moved.left != before.left || moved.top != before.top) << "the window stays at the left and top";
  EXPECT_TRUE(IsWindowVisible(dialog));
  Shot("centered");
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
  ASSERT_TRUE(program_->Settle());
  GetWindowRect(program_->MainWindow(), &after);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  SaveAll();
  EXPECT_EQ(Option("PosMode"), "105");
  // OK keeps the new place and the choice.
  dialog = Open(cmd::kInterfaceOptions);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(program_->Press(dialog, 110));
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  ASSERT_TRUE(program_->Settle());
  GetWindowRect(program_->MainWindow(), &after);
  EXPECT_EQ(after.left, moved.left);
  EXPECT_EQ(after.top, moved.top);
  SaveAll();
  EXPECT_EQ(Option("PosMode"), "110");
}

TEST_F(OptionsDialogTest, InterfaceDialogRemembersItsPlace) {
  HWND dialog = Open(cmd::kInterfaceOptions);
  ASSERT_NE(dialog, nullptr);
  RECT main;
  GetWindowRect(program_->MainWindow(), &main);
  SetWindowPos(dialog, nullptr, main.left + 25, main.top + 35, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ASSERT_TRUE(program_->Settle());
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
  dialog = Open(cmd::kInterfaceOptions);
  ASSERT_NE(dialog, nullptr);
  ExpectOffset(dialog, 25, 35);
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  SaveAll();
  EXPECT_EQ(Option("BigDlgX"), "25");
  EXPECT_EQ(Option("BigDlgY"), "35");
  EXPECT_EQ(Option("DlgX"), "60") << "small dialogs keep their own place";
}

// Radio states of the colour count group of the Color Depth dialog.
void ExpectCountChoice(HWND dialog, int checkedId) {
  for (int id : {103, 105, 106, 107}) EXPECT_EQ(Checked(dialog, id), id == checkedId) << id;
}

TEST_F(OptionsDialogTest, QuantizingOptionsRefuseBadCountsAndPersist) {
  HWND dialog = Open(cmd::kQuantizing);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), "Quantizing Options");
  ExpectOffset(dialog, 60, 60);
  // True colour reading by default on this display: the count group waits.
  EXPECT_TRUE(Checked(dialog, 101));
  EXPECT_FALSE(Checked(dialog, 102));
  EXPECT_TRUE(Enabled(dialog, 101));
  ExpectCountChoice(dialog, 105);
  for (int id : {103, 104, 105, 106, 107}) EXPECT_FALSE(Enabled(dialog, id)) << id;
  EXPECT_TRUE(Checked(dialog, 108));
  EXPECT_EQ(WindowText(GetDlgItem(dialog, 104)), "256");
  Shot("defaults");

  ASSERT_TRUE(program_->Press(dialog, 102));
  for (int id : {103, 105, 106, 107}) EXPECT_TRUE(Enabled(dialog, id)) << id;
  EXPECT_FALSE(Enabled(dialog, 104)) << "the edit box serves the custom count only";
  ASSERT_TRUE(program_->Press(dialog, 103));
  EXPECT_TRUE(Enabled(dialog, 104));

  // Out of range and not a number are refused; the dialog stays.
  for (const wchar_t* bad : {L"15", L"300", L"6x"}) {
    SetText(dialog, 104, bad);
    ASSERT_TRUE(Program::Click(dialog, IDOK));
    HWND box = WaitForBoxOver(dialog, 5000);
    ASSERT_NE(box, nullptr) << Utf8(bad);
    EXPECT_EQ(Program::MessageText(box), "Use an integer between 16 and 256.");
    ASSERT_TRUE(Program::Answer(box, IDOK));
    EXPECT_TRUE(IsWindowVisible(dialog));
  }
  SetText(dialog, 104, L"64");
  ASSERT_TRUE(Program::Click(dialog, 108));
  Shot("custom");
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  SaveAll();
  EXPECT_EQ(Option("NeedQuantizeRead"), "1");
  EXPECT_EQ(Option("UseSysPalette"), "0");
  EXPECT_EQ(Option("NColorsCreatePal"), "64");
  EXPECT_EQ(Option("UseDithering"), "0");

  ASSERT_TRUE(Restart());
  dialog = Open(cmd::kQuantizing);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(Checked(dialog, 102));
  ExpectCountChoice(dialog, 103);
  EXPECT_EQ(WindowText(GetDlgItem(dialog, 104)), "64");
  EXPECT_TRUE(Enabled(dialog, 104));
  EXPECT_FALSE(Checked(dialog, 108));
  // The Windows colours; Cancel keeps what was stored.
  ASSERT_TRUE(program_->Press(dialog, 106));
  EXPECT_FALSE(Enabled(dialog, 104));
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
  dialog = Open(cmd::kQuantizing);
  ASSERT_NE(dialog, nullptr);
  ExpectCountChoice(dialog, 103);
  ASSERT_TRUE(Program::Click(dialog, 106));
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  SaveAll();
  EXPECT_EQ(Option("UseSysPalette"), "1");
  EXPECT_EQ(Option("NColorsCreatePal"), "16");
  // Back to true colour.
  dialog = Open(cmd::kQuantizing);
  ASSERT_NE(dialog, nullptr);
  ExpectCountChoice(dialog, 106);
  ASSERT_TRUE(program_->Press(dialog, 101));
  for (int id : {103, 104, 105, 106, 107}) EXPECT_FALSE(Enabled(dialog, id)) << id;
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  SaveAll();
  EXPECT_EQ(Option("NeedQuantizeRead"), "0");
  EXPECT_EQ(Option("UseSysPalette"), "0");
}

TEST_F(OptionsDialogTest, SwitchingAutoQuantizationOnChecksTheOptionsAgainstTheDisplay) {
  HDC screen = GetDC(nullptr);
  const bool trueColor = !(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) && GetDeviceCaps(screen, BITSPIXEL) >= 8;
  ReleaseDC(nullptr, screen);
  if (!trueColor) GTEST_SKIP() << "written for a high or true colour display";
  // Palette reading does not suit this display.
  HWND dialog = Open(cmd::kQuantizing);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(Program::Click(dialog, 102));
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  // OK with the box left on asks nothing; switched off, nothing either.
  dialog = Open(cmd::kInterfaceOptions);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  ExpectNoDialog(*program_);
  dialog = Open(cmd::kInterfaceOptions);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(Program::Click(dialog, 191));
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  ExpectNoDialog(*program_);
  // Switched on: the question; No keeps the options.
  dialog = Open(cmd::kInterfaceOptions);
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(Checked(dialog, 191));
  ASSERT_TRUE(Program::Click(dialog, 191));
  ASSERT_TRUE(Program::Click(dialog, IDOK));
  HWND box = WaitForBoxOver(dialog, 5000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(Program::MessageText(box), kQuantizingQuestion);
  Shot("question");
  ASSERT_TRUE(Program::Answer(box, IDNO));
  ASSERT_TRUE(Program::WaitClosed(dialog, 5000));
  SaveAll();
  EXPECT_EQ(Option("AutoQuantize"), "1");
  EXPECT_EQ(Option("NeedQuantizeRead"), "1");
  // Off and on again, and Yes: true-colour reading.
  dialog = Open(cmd::kInterfaceOptions);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(Program::Click(dialog, 191));
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  dialog = Open(cmd::kInterfaceOptions);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(Program::Click(dialog, 191));
  ASSERT_TRUE(Program::Click(dialog, IDOK));
  box = WaitForBoxOver(dialog, 5000);
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(Program::Answer(box, IDYES));
  ASSERT_TRUE(Program::WaitClosed(dialog, 5000));
  SaveAll();
  EXPECT_EQ(Option("NeedQuantizeRead"), "0");
  EXPECT_EQ(Option("UseSysPalette"), "0");
  EXPECT_EQ(Option("NColorsCreatePal"), "256");
}

TEST_F(OptionsDialogTest, ColorDepthNeedsAnImage) {
  // Greyed without an image: posted anyway, it shows nothing.
  program_->PostMenuCommand(cmd::kColorDepth);
  ExpectNoDialog(*program_);
}

// A true-colour picture of many colours.
unsigned Gradient(int x, int y) { return unsigned(x * 4) << 16 | unsigned(y * 5) << 8 | unsigned((x + y) * 2); }

TEST_F(OptionsDialogTest, ColorDepthReducesTheImageAndBringsItBack) {
  const std::wstring image = Config().workDir + L"\\depth.bmp";
  ASSERT_TRUE(WriteTestBmp(image, 64, 48, Gradient));
  PostMessageW(program_->MainWindow(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(program_->WaitForExit(10000));
  program_ = std::make_unique<Program>();
  ASSERT_TRUE(program_->Start(settings_, L"\"" + image + L"\""));
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(WindowText(program_->MainWindow()), "depth.bmp (64x48x16.7 million) - Quilla 1.0/32");

  // A true-colour image: the palette target, counts from the options, dithering on.
  HWND dialog = Open(cmd::kColorDepth);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), "Color Depth");
  EXPECT_TRUE(Checked(dialog, 102));
  EXPECT_FALSE(Enabled(dialog, 101)) << "it is true colour already";
  ExpectCountChoice(dialog, 105);
  EXPECT_TRUE(Checked(dialog, 108));
  Shot("true-color");
  // Cancel leaves the image alone.
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(WindowText(program_->MainWindow()), "depth.bmp (64x48x16.7 million) - Quilla 1.0/32");

  // A custom count is refused outside 16..256; 16 gives the Windows colours.
  dialog = Open(cmd::kColorDepth);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(Program::Click(dialog, 103));
  SetText(dialog, 104, L"300");
  ASSERT_TRUE(Program::Click(dialog, IDOK));
  HWND box = WaitForBoxOver(dialog, 5000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(Program::MessageText(box), "Use an integer between 16 and 256.");
  ASSERT_TRUE(Program::Answer(box, IDOK));
  SetText(dialog, 104, L"16");
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(WindowText(program_->MainWindow()), "depth.bmp (64x48x16) - Quilla 1.0/32");
  EXPECT_EQ(program_->SendCommand(cmd::kImageSize), MAKELONG(64, 48));
  Shot("sixteen");

  // A palette image starts on true colour, with the count group waiting on 256.
  dialog = Open(cmd::kColorDepth);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(Checked(dialog, 101));
  EXPECT_TRUE(Enabled(dialog, 101));
  ExpectCountChoice(dialog, 105);
  for (int id : {103, 104, 105, 106, 107}) EXPECT_FALSE(Enabled(dialog, id)) << id;
  // More colours than it has: the count grows, the pixels stay.
  ASSERT_TRUE(Program::Click(dialog, 102));
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(WindowText(program_->MainWindow()), "depth.bmp (64x48x256) - Quilla 1.0/32");
  // Black and white, then back to true colour.
  dialog = Open(cmd::kColorDepth);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(Program::Click(dialog, 102));
  ASSERT_TRUE(Program::Click(dialog, 107));
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(WindowText(program_->MainWindow()), "depth.bmp (64x48x2) - Quilla 1.0/32");
  dialog = Open(cmd::kColorDepth);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(WindowText(program_->MainWindow()), "depth.bmp (64x48x16.7 million) - Quilla 1.0/32");
  // The dialog's dithering choice was for those runs only.
  SaveAll();
  EXPECT_EQ(Option("UseDithering"), "1");
  EXPECT_EQ(Option("NColorsCreatePal"), "256");
}

TEST_F(OptionsDialogTest, JpegOptionsShowOneSetAtATimeAndStoreOnOk) {
  HWND dialog = Open(cmd::kJpegIo);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), "Jpeg I/O Options (Normal mode)");
  EXPECT_EQ(WindowText(GetDlgItem(dialog, 106)), "S&witch to Preview setup");
  ExpectOffset(dialog, 40, 40);
  // Normal defaults: accurate DCT, 1:1, no flags; quality 75, entropy on, warn on.
  for (int id : {108, 130, 102, 121}) EXPECT_TRUE(Checked(dialog, id)) << id;
  for (int id : {101, 107, 111, 112, 109, 110, 131, 133, 137, 105}) EXPECT_FALSE(Checked(dialog, id)) << id;
  EXPECT_EQ(WindowText(GetDlgItem(dialog, 103)), "75");
  Shot("normal");

  // Normal: grey, 1:4, floating point. Then the Preview set.
  for (int id : {101, 133, 110}) ASSERT_TRUE(Program::Click(dialog, id));
  ASSERT_TRUE(program_->Press(dialog, 106));
  EXPECT_EQ(WindowText(dialog), "Jpeg I/O Options (Preview mode)");
  EXPECT_EQ(WindowText(GetDlgItem(dialog, 106)), "S&witch to Normal setup");
  // Preview defaults: fast upsampling, fast DCT, fast quantizing, one pass, 1:1.
  for (int id : {107, 109, 111, 112, 130}) EXPECT_TRUE(Checked(dialog, id)) << id;
  for (int id : {101, 108, 110, 133}) EXPECT_FALSE(Checked(dialog, id)) << id;
  Shot("preview");
  ASSERT_TRUE(Program::Click(dialog, 137));  // 1:8
  ASSERT_TRUE(Program::Click(dialog, 112));  // fast dithering off
  // Back to Normal: what was set there is still shown.
  ASSERT_TRUE(program_->Press(dialog, 106));
  EXPECT_EQ(WindowText(dialog), "Jpeg I/O Options (Normal mode)");
  for (int id : {101, 133, 110}) EXPECT_TRUE(Checked(dialog, id)) << id;
  // Quality: a page step to the right, then two arrow steps left.
  HWND bar = GetDlgItem(dialog, 104);
  PostMessageW(dialog, WM_HSCROLL, SB_PAGERIGHT, reinterpret_cast<LPARAM>(bar));
  PostMessageW(dialog, WM_HSCROLL, SB_LINELEFT, reinterpret_cast<LPARAM>(bar));
  PostMessageW(dialog, WM_HSCROLL, SB_LINELEFT, reinterpret_cast<LPARAM>(bar));
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(WindowText(GetDlgItem(dialog, 103)), "78");
  ASSERT_TRUE(Program::Click(dialog, 105));  // save grayscale
  ASSERT_TRUE(Program::Click(dialog, 102));  // entropy optimisation off
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  SaveAll();
  EXPECT_EQ(Option("JpegDecompressionSetup"), "0");
  EXPECT_EQ(Option("LoadJpegGSNormal"), "1");
  EXPECT_EQ(Option("JpegDenomNormal"), "4");
  EXPECT_EQ(Option("JpegDCTTypeNormal"), "2");
  EXPECT_EQ(Option("JpegDenomPreview"), "8");
  EXPECT_EQ(Option("JpegOptionFastQuantPreview"), "0");
  EXPECT_EQ(Option("JpegDCTTypePreview"), "1");
  EXPECT_EQ(Option("JpegQuality"), "78");
  EXPECT_EQ(Option("SaveJpegGS"), "1");
  EXPECT_EQ(Option("JpegEntOpt"), "0");

  // OK while Preview is shown makes it the active set; the bar stops at 95.
  dialog = Open(cmd::kJpegIo);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(Checked(dialog, 133));
  ASSERT_TRUE(program_->Press(dialog, 106));
  EXPECT_TRUE(Checked(dialog, 137));
  bar = GetDlgItem(dialog, 104);
  for (int i = 0; i < 5; ++i) PostMessageW(dialog, WM_HSCROLL, SB_PAGERIGHT, reinterpret_cast<LPARAM>(bar));
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(WindowText(GetDlgItem(dialog, 103)), "95");
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  SaveAll();
  EXPECT_EQ(Option("JpegDecompressionSetup"), "1");
  EXPECT_EQ(Option("JpegQuality"), "95");

  // Cancel changes nothing, and the next opening shows the active set.
  dialog = Open(cmd::kJpegIo);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), "Jpeg I/O Options (Preview mode)");
  ASSERT_TRUE(Program::Click(dialog, 130));
  ASSERT_TRUE(program_->Press(dialog, 106));
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
  SaveAll();
  EXPECT_EQ(Option("JpegDecompressionSetup"), "1");
  EXPECT_EQ(Option("JpegDenomPreview"), "8");
}

TEST_F(OptionsDialogTest, MemoryOptionsNormaliseTheDirectory) {
  HWND dialog = Open(cmd::kMemory);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), "Memory Options");
  ExpectOffset(dialog, 60, 60);  // the small-dialog place
  EXPECT_TRUE(Checked(dialog, 102));
  EXPECT_FALSE(Checked(dialog, 101));
  EXPECT_EQ(WindowText(GetDlgItem(dialog, 103)), ".\\");
  Shot("defaults");
  SetText(dialog, 103, L"C:\\temp\\\\\\");
  ASSERT_TRUE(Program::Click(dialog, 101));
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  SaveAll();
  EXPECT_EQ(Option("UseTmpFiles"), "0");
  EXPECT_EQ(Option("TmpPath"), "C:\\temp\\");

  dialog = Open(cmd::kMemory);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(Checked(dialog, 101));
  EXPECT_EQ(WindowText(GetDlgItem(dialog, 103)), "C:\\temp\\");
  SetText(dialog, 103, L"");
  ASSERT_TRUE(Program::Click(dialog, 102));
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  SaveAll();
  EXPECT_EQ(Option("UseTmpFiles"), "1");
  EXPECT_EQ(Option("TmpPath"), ".\\");

  // Cancel changes nothing.
  dialog = Open(cmd::kMemory);
  ASSERT_NE(dialog, nullptr);
  SetText(dialog, 103, L"D:\\x");
  ASSERT_TRUE(Program::Click(dialog, 101));
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
  SaveAll();
  EXPECT_EQ(Option("UseTmpFiles"), "1");
  EXPECT_EQ(Option("TmpPath"), ".\\");
}

}  // namespace
}  // namespace quilla::gui
