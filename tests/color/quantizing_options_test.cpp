#include <string>

#include "color/color_depth.h"
#include "color/display_check.h"
#include "quantizer_fixture.h"

namespace quilla {
namespace {

const char kQuestion[] =
    "The current set of quantizing options is not adequate for this graphics mode. Would you like it to be "
    "automatically changed ?";

QuantizeOptions Options(bool needQuantizeRead, bool useSysPalette, int colors = 256) {
  QuantizeOptions options;
  options.needQuantizeRead = needQuantizeRead;
  options.useSysPalette = useSysPalette;
  options.nColorsCreatePal = colors;
  return options;
}

using QuantizingOptionsTest = QuantizerTest;

TEST(DisplayModeTest, ComesFromPaletteCapabilityAndDepth) {
  EXPECT_EQ(DecideDisplayMode(true, 8), DisplayMode::Palette);
  EXPECT_EQ(DecideDisplayMode(false, 4), DisplayMode::SixteenColor);
  EXPECT_EQ(DecideDisplayMode(false, 8), DisplayMode::TrueColor);
  EXPECT_EQ(DecideDisplayMode(false, 24), DisplayMode::TrueColor);
  EXPECT_EQ(DefaultQuantizeOptions(DisplayMode::Palette), Options(true, false));
  EXPECT_EQ(DefaultQuantizeOptions(DisplayMode::SixteenColor), Options(true, true));
  QuantizeOptions high = DefaultQuantizeOptions(DisplayMode::TrueColor);
  EXPECT_EQ(high, Options(false, false));
  EXPECT_EQ(high.combineMode, 502);
  EXPECT_TRUE(high.useDithering);
  EXPECT_TRUE(high.autoQuantize);
}

TEST_F(QuantizingOptionsTest, FittingOptionsAskNothing) {
  EXPECT_EQ(CheckQuantizingOptions(DisplayMode::Palette, Options(true, false, 64)), Options(true, false, 64));
  EXPECT_EQ(CheckQuantizingOptions(DisplayMode::SixteenColor, Options(true, true, 16)), Options(true, true, 16));
  EXPECT_EQ(CheckQuantizingOptions(DisplayMode::TrueColor, Options(false, true, 16)), Options(false, true, 16));
  EXPECT_TRUE(host.messages.empty());
  QuantizeOptions off = Options(true, true);
  off.autoQuantize = false;
  EXPECT_EQ(CheckQuantizingOptions(DisplayMode::TrueColor, off), off);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(QuantizingOptionsTest, UnfittingOptionsAreChangedOnYesOnly) {
  QuantizeOptions result = CheckQuantizingOptions(DisplayMode::TrueColor, Options(true, true, 16));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.LastMessage(), kQuestion);
  EXPECT_EQ(host.messages[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(result, Options(false, false, 256));

  EXPECT_EQ(CheckQuantizingOptions(DisplayMode::Palette, Options(false, false, 2)), Options(true, false, 256));
  EXPECT_EQ(CheckQuantizingOptions(DisplayMode::Palette, Options(true, true, 16)), Options(true, false, 256));
  EXPECT_EQ(CheckQuantizingOptions(DisplayMode::SixteenColor, Options(true, false)), Options(true, true, 16));
  EXPECT_EQ(CheckQuantizingOptions(DisplayMode::SixteenColor, Options(false, true)), Options(true, true, 16));

  host.answers.push_back(MsgResult::No);
  EXPECT_EQ(CheckQuantizingOptions(DisplayMode::SixteenColor, Options(false, false)), Options(false, false));
  EXPECT_EQ(host.messages.size(), 6u);
}

TEST_F(QuantizingOptionsTest, DiagnosisTellsTheModeAndTheOptionState) {
  const std::string trueColour =
      " color mode. You can set the Quantizing options to TRUE color. This option is currently ";
  const std::string palette =
      "Device is in palette mode. You should set the Quantizing options to Palette. This option is currently ";
  struct Row { DisplayMode mode; int bits; bool needQuantizeRead; std::string text; };
  const Row rows[] = {
      {DisplayMode::TrueColor, 24, false, "Device is in TRUE" + trueColour + "CHECKED."},
      {DisplayMode::TrueColor, 16, true, "Device is in HIGH" + trueColour + "UNCHECKED."},
      {DisplayMode::Palette, 8, true, palette + "CHECKED."},
      {DisplayMode::Palette, 8, false, palette + "UNCHECKED."},
      {DisplayMode::SixteenColor, 4, true,
       "Device is in 16 color mode. Set Quantizing options to Palette and Windows' 16 colors. These are currently "
       "CHECKED and UNCHECKED."}};
  for (const Row& row : rows) {
    ShowQuantizingDiagnosis(row.mode, row.bits, Options(row.needQuantizeRead, false));
    EXPECT_EQ(host.LastMessage(), row.text);
    EXPECT_EQ(host.messages.back().icon, MsgIcon::Information);
  }
}

TEST_F(QuantizingOptionsTest, ColorDepthStartsFromTheImageAndTheOptions) {
  ColorDepthChoice choice = InitialColorDepthChoice(true, Options(true, false, 64));
  EXPECT_TRUE(choice.paletteTarget);
  EXPECT_FALSE(choice.trueColorEnabled);
  EXPECT_EQ(choice.countChoice, kCustomColors);
  EXPECT_EQ(choice.customCount, 64);
  EXPECT_EQ(InitialColorDepthChoice(true, Options(false, true)).countChoice, kColorsWindows16);
  EXPECT_EQ(InitialColorDepthChoice(true, Options(false, false, 2)).countChoice, kColorsBlackWhite);
  EXPECT_EQ(InitialColorDepthChoice(true, Options(false, false, 256)).countChoice, kColors256);

  choice = InitialColorDepthChoice(false, Options(true, true, 16));
  EXPECT_FALSE(choice.paletteTarget);
  EXPECT_TRUE(choice.trueColorEnabled);
  EXPECT_EQ(choice.countChoice, kColors256);

  choice = InitialQuantizingChoice(Options(true, true, 16));
  EXPECT_TRUE(choice.paletteTarget);
  EXPECT_EQ(choice.countChoice, kColorsWindows16);
  choice = InitialQuantizingChoice(Options(false, true, 16));
  EXPECT_FALSE(choice.paletteTarget);
  EXPECT_EQ(choice.countChoice, kColors256);
}

TEST_F(QuantizingOptionsTest, CustomCountMustBeAnIntegerFrom16To256) {
  ColorDepthChoice custom;
  custom.countChoice = kCustomColors;
  for (const char* bad : {"15", "300", "257", "", "abc", "-20", "20x", "99999999999"}) {
    EXPECT_EQ(ChosenColorCount(custom, bad), -1) << bad;
    EXPECT_EQ(host.LastMessage(), "Use an integer between 16 and 256.");
  }
  EXPECT_EQ(ChosenColorCount(custom, "16"), 16);
  EXPECT_EQ(ChosenColorCount(custom, " 256 "), 256);
  custom.countChoice = kColorsBlackWhite;
  EXPECT_EQ(ChosenColorCount(custom, "nonsense"), 2);
  custom.countChoice = kColorsWindows16;
  EXPECT_EQ(ChosenColorCount(custom, ""), 16);
  custom.paletteTarget = false;
  EXPECT_EQ(ChosenColorCount(custom, ""), 0);
}

TEST_F(QuantizingOptionsTest, QuantizingOptionsOkStoresTheChoice) {
  ColorDepthChoice choice;
  choice.dither = false;
  choice.countChoice = kColorsWindows16;
  QuantizeOptions result = ApplyQuantizingChoice(choice, 16, Options(false, false));
  EXPECT_EQ(result, [] { QuantizeOptions o = Options(true, true, 16); o.useDithering = false; return o; }());
  choice.countChoice = kCustomColors;
  EXPECT_EQ(ApplyQuantizingChoice(choice, 40, Options(false, true)).nColorsCreatePal, 40);
  EXPECT_FALSE(ApplyQuantizingChoice(choice, 40, Options(false, true)).useSysPalette);
  choice.paletteTarget = false;
  result = ApplyQuantizingChoice(choice, 0, Options(true, true, 16));
  EXPECT_FALSE(result.needQuantizeRead);
  EXPECT_FALSE(result.useSysPalette);
  EXPECT_EQ(result.nColorsCreatePal, 16);
}

TEST_F(QuantizingOptionsTest, ColorDepthRunMarksTheImageChangedAndKeepsUndo) {
  DIBImage doc;
  MakeTrueColor(doc, 4, 4, [](int x, int y) { return Rgb{x * 60, y * 60, 90}; });
  imageChanged = false;
  ASSERT_EQ(ApplyColorDepth(doc, 16, false), 1);  // 16 means the Windows colours
  EXPECT_TRUE(imageChanged);
  EXPECT_TRUE(doc.HasUndo());
  EXPECT_EQ(ToRgb(doc.ColorTable()[8]), Windows16Colors()[8]);
  EXPECT_NE(std::count(host.events.begin(), host.events.end(), EngineEvent::PaletteChanged), 0);

  imageChanged = false;
  ASSERT_EQ(ApplyColorDepth(doc, 16, false), 1);  // again the same palette
  ASSERT_EQ(ApplyColorDepth(doc, 0, false), 1);
  EXPECT_TRUE(doc.IsTrueColor());
  EXPECT_TRUE(imageChanged);
  imageChanged = false;
  EXPECT_EQ(ApplyColorDepth(doc, 0, false), 1);  // already true colour: nothing, no message
  EXPECT_FALSE(imageChanged);
  EXPECT_TRUE(host.messages.empty());

  EXPECT_EQ(ApplyColorDepth(doc, 300, false), 0);
  EXPECT_EQ(host.LastMessage(), "Not enough memory !");
}

}  // namespace
}  // namespace quilla
