#include "settings/app_options.h"

#include <gtest/gtest.h>

#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "settings/list_defaults.h"
#include "support/scripted_host.h"

namespace quilla {
namespace {

class OptionsTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallHost(&host); }
  void TearDown() override {
    SetMainDocument(nullptr);
    InstallHost(nullptr);
    SetGlobalFillRgb(0xFFFFFF);
  }
  ScriptedHost host;
  AppOptions options;
};

TEST_F(OptionsTest, DefaultsFollowTheTable) {
  EXPECT_EQ(options.DlgX(), 60);
  EXPECT_EQ(options.BigDlgY(), 40);
  EXPECT_EQ(options.TBarRight(), 1);
  EXPECT_EQ(options.PosMode(), 105);
  EXPECT_EQ(options.ResizeOnLoad(), 101);
  EXPECT_EQ(options.DropTo(), 111);
  EXPECT_EQ(options.CopyClipbdFmt(), 140);
  EXPECT_EQ(options.CombineMode(), 502);
  EXPECT_EQ(options.NColorsCreatePal(), 256);
  EXPECT_EQ(options.JpegQuality(), 75);
  EXPECT_EQ(options.SSNSecondsDelay(), 5);
  EXPECT_EQ(options.ContaDim(), 1);
  EXPECT_EQ(options.PercentRowsPrint(), 100);
  EXPECT_EQ(options.PopupIcon(), 0);
  EXPECT_EQ(options.FullOnTop(), 0);
  EXPECT_EQ(options.SaveGifInterlaced(), 1);
  EXPECT_EQ(options.TmpPath(), ".\\");
  EXPECT_EQ(options.CTL3D32(), "CTL3D32.DLL");
  EXPECT_EQ(options.CTL3DV2(), "CTL3DV2.DLL");
  EXPECT_EQ(options.ContaBack(), 0u);
  EXPECT_EQ(GlobalFillRgb(), 0xFFFFFFu);
  int normal[] = {0, 1, 0, 0, 0, 0}, preview[] = {0, 1, 1, 1, 1, 1};
  for (int field = 0; field < kJpegSetupFieldCount; ++field) {
    EXPECT_EQ(options.JpegField(kJpegNormal, field), normal[field]) << field;
    EXPECT_EQ(options.JpegField(kJpegPreview, field), preview[field]) << field;
  }
  for (TextStyleGroup group : {TextStyleGroup::Normal, TextStyleGroup::Contact}) {
    const TextStyle& style = options.Style(group);
    EXPECT_EQ(style.points, 10);
    EXPECT_EQ(style.face, "system");
    EXPECT_EQ(style.foreground, PackColor(255, 255, 255));
    EXPECT_EQ(style.background, 0u);
    EXPECT_EQ(style.text, "");
  }
}

TEST_F(OptionsTest, QuantizingDefaultsDependOnTheDisplay) {
  struct Case { DisplayMode mode; int needQuantize, useSysPalette; };
  for (Case c : {Case{DisplayMode::TrueColor, 0, 0}, Case{DisplayMode::Palette, 1, 0},
                 Case{DisplayMode::SixteenColor, 1, 1}}) {
    options.SetDisplayMode(c.mode);
    options.ResetToDefaults(false);
    EXPECT_EQ(options.NeedQuantizeRead(), c.needQuantize);
    EXPECT_EQ(options.UseSysPalette(), c.useSysPalette);
  }
}

TEST_F(OptionsTest, PartialResetKeepsPositionsToolbarAndLists) {
  options.SetDlgX(7);
  options.SetBigDlgY(-3);
  options.SetTBarCaption(1);
  options.SetTBarRight(0);
  options.Functions().slots[0].text = "x*x";
  options.Filters()[3].name = "Mine";
  options.Macros().current = 5;
  options.SetJpegQuality(20);
  options.SetCBackG(0);
  options.SetLockRGBGamma(0);
  options.ResetToDefaults(false);
  EXPECT_EQ(options.LockRGBGamma(), 1);  // a scalar option, not a position
  EXPECT_EQ(options.DlgX(), 7);
  EXPECT_EQ(options.BigDlgY(), -3);
  EXPECT_EQ(options.TBarCaption(), 1);
  EXPECT_EQ(options.TBarRight(), 0);
  EXPECT_EQ(options.Functions().slots[0].text, "x*x");
  EXPECT_EQ(options.Filters()[3].name, "Mine");
  EXPECT_EQ(options.Macros().current, 5);
  EXPECT_EQ(options.JpegQuality(), 75);
  EXPECT_EQ(options.CBackG(), 255);
  options.ResetToDefaults(true);
  EXPECT_EQ(options.DlgX(), 60);
  EXPECT_EQ(options.TBarCaption(), 0);
  EXPECT_EQ(options.Functions().slots[0].text, "x^2");
  EXPECT_EQ(options.Filters()[3].name, "Sharpen");
  EXPECT_EQ(options.Macros().current, 0);
}

TEST_F(OptionsTest, FilterTypeIndicesAreClamped) {
  options.SetOpenType(9);
  EXPECT_EQ(options.OpenType(), 9);
  options.SetOpenType(10);
  EXPECT_EQ(options.OpenType(), 1);
  options.SetOpenType(0);
  EXPECT_EQ(options.OpenType(), 1);
  options.SetSaveType(10);
  EXPECT_EQ(options.SaveType(), 10);
  options.SetSaveType(11);
  EXPECT_EQ(options.SaveType(), 1);
  options.SetSaveType(-5);
  EXPECT_EQ(options.SaveType(), 1);
}

TEST_F(OptionsTest, BackgroundColourLivesInTheCoreFillColour) {
  options.SetCBackR(0x12);
  options.SetCBackG(0x134);  // only the low byte is kept
  options.SetCBackB(0x56);
  EXPECT_EQ(GlobalFillRgb(), 0x123456u);
  EXPECT_EQ(options.CBackG(), 0x34);
  SetGlobalFillRgb(0xABCDEF);
  EXPECT_EQ(options.CBackR(), 0xAB);
  EXPECT_EQ(options.CBackB(), 0xEF);
  options.SetContaBackR(1);
  options.SetContaBackG(2);
  options.SetContaBackB(0x103);
  EXPECT_EQ(options.ContaBack(), 0x030201u) << "red in the low byte";
}

TEST_F(OptionsTest, TemporaryPathEndsInExactlyOneBackslash) {
  EXPECT_EQ(NormalizeTmpPath("c:\\temp\\\\\\"), "c:\\temp\\");
  EXPECT_EQ(NormalizeTmpPath("c:\\temp"), "c:\\temp\\");
  EXPECT_EQ(NormalizeTmpPath(""), ".\\");
  EXPECT_EQ(NormalizeTmpPath("\\\\"), ".\\");
  std::string longPath = NormalizeTmpPath(std::string(600, 'a'));
  EXPECT_EQ(longPath.size(), kMaxTmpPath);
  EXPECT_EQ(longPath.back(), '\\');
  options.SetTmpPath("d:\\x\\\\");
  EXPECT_EQ(options.TmpPath(), "d:\\x\\");
  options.SetCTL3D32(std::string(80, 'c'));
  EXPECT_EQ(options.CTL3D32().size(), kMaxLibraryName);
}

TEST_F(OptionsTest, TextStylesAreCutToTheirFields) {
  TextStyle style;
  style.face = std::string(40, 'f');
  style.text = std::string(300, 't');
  style.bold = 1;
  options.SetStyle(TextStyleGroup::Contact, style);
  EXPECT_EQ(options.Style(TextStyleGroup::Contact).face.size(), kMaxFaceName);
  EXPECT_EQ(options.Style(TextStyleGroup::Contact).text.size(), kMaxStyleText);
  EXPECT_EQ(options.Style(TextStyleGroup::Contact).bold, 1);
  EXPECT_EQ(options.Style(TextStyleGroup::Normal).bold, 0);
}

TEST_F(OptionsTest, SettersThatActCallTheirHooks) {
  int quantizeChecks = 0, resizes = 0, frame = -1, scrollBars = -1;
  bool timerAvailable = true;
  options.SetHooks({[&] { ++quantizeChecks; }, [&] { ++resizes; }, [&](int v) { frame = v; },
                    [&](int v) { scrollBars = v; }, [&] { return timerAvailable; }});
  options.SetAutoQuantize(0);
  options.SetAutoQuantize(1);
  EXPECT_EQ(quantizeChecks, 1) << "only switching on checks";
  options.SetAutoResize(0);
  options.SetAutoResize(1);
  EXPECT_EQ(resizes, 1);
  options.SetThickAreaFrame(0);
  EXPECT_EQ(frame, 0);
  EXPECT_EQ(options.ThickAreaFrame(), 0);
  options.SetShowSBars(0);
  EXPECT_EQ(scrollBars, 0);
  options.SetShowToolBarLegend(1);
  EXPECT_TRUE(host.messages.empty());
  timerAvailable = false;
  options.SetShowToolBarLegend(0);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.LastMessage(), "Toolbar timer is not available, toolbar legends will not be displayed");
  EXPECT_EQ(options.ShowToolBarLegend(), 0) << "stored after the warning";

  options.SetHooks({});
  options.SetAutoQuantize(1);  // no hooks: only stores
  EXPECT_EQ(options.AutoQuantize(), 1);
}

TEST_F(OptionsTest, EnableUndoSwitchesTheMainDocument) {
  DIBImage document;
  SetMainDocument(&document);
  options.SetEnableUndo(0);
  EXPECT_FALSE(document.UndoEnabled());
  EXPECT_EQ(options.EnableUndo(), 0);
  options.SetEnableUndo(1);
  EXPECT_TRUE(document.UndoEnabled());
  SetMainDocument(nullptr);
  options.SetEnableUndo(0);  // no document: only stores
  EXPECT_EQ(options.EnableUndo(), 0);
}

TEST_F(OptionsTest, KeysNameTheIntegerOptions) {
  EXPECT_STREQ(IntOptionKey(IntOption::JpegOptionFastQuantPreview), "JpegOptionFastQuantPreview");
  for (int i = 0; i < kIntOptionCount; ++i) EXPECT_EQ(FindIntOption(IntOptionKey(static_cast<IntOption>(i))), static_cast<IntOption>(i));
  EXPECT_FALSE(FindIntOption("CBackR"));
}

TEST_F(OptionsTest, ListBuffersReserveTheirFieldWidths) {
  ASSERT_TRUE(options.ReserveListBuffers());
  for (const UserFunction& function : options.Functions().slots) EXPECT_GE(function.text.capacity(), kMaxFunctionText);
  options.ResetToDefaults(true);
  for (const FilterSpec& filter : options.Filters()) EXPECT_GE(filter.name.capacity(), kMaxFilterName);
  options.ReleaseListBuffers();
  EXPECT_EQ(options.Filters()[0].name, "Smooth");
}

}  // namespace
}  // namespace quilla

#include "settings/dialog_placement.h"

namespace quilla {
namespace {

TEST(DialogPlacementTest, OffsetsFromTheMainWindowAreKeptOnScreen) {
  AppOptions options;
  ScreenPoint main{100, 50};
  ScreenPoint small = DialogOrigin(options, DialogKind::Small, main, 200, 100, 1024, 768);
  EXPECT_EQ(small.x, 160);
  EXPECT_EQ(small.y, 110);
  ScreenPoint large = DialogOrigin(options, DialogKind::Large, main, 200, 100, 1024, 768);
  EXPECT_EQ(large.x, 140);
  EXPECT_EQ(large.y, 90);
  ScreenPoint right = DialogOrigin(options, DialogKind::Small, {900, 700}, 200, 100, 1024, 768);
  EXPECT_EQ(right.x, 824);
  EXPECT_EQ(right.y, 668);
  ScreenPoint left = DialogOrigin(options, DialogKind::Small, {-300, -100}, 200, 100, 1024, 768);
  EXPECT_EQ(left.x, 0);
  EXPECT_EQ(left.y, 0);

  RememberDialogOffset(options, DialogKind::Large, {90, 30}, main);
  EXPECT_EQ(options.BigDlgX(), -10);
  EXPECT_EQ(options.BigDlgY(), -20);
  EXPECT_EQ(options.DlgX(), 60) << "the small pair is separate";
}

}  // namespace
}  // namespace quilla
