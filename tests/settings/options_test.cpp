#include "settings/app_options.h"

#include <gtest/gtest.h>

#include <tuple>

#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "settings/list_defaults.h"
#include "support/scripted_host.h"

namespace quilla {
namespace {

class OptionsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetMainDocument(nullptr);
    SetGlobalFillRgb(0xFFFFFF);
  }
  InstalledHost host;
  AppOptions options;
};

TEST_F(OptionsTest, DefaultsFollowTheTable) {
  const std::pair<const char*, int> ints[] = {
      {"DlgX", 60}, {"BigDlgY", 40}, {"TBarRight", 1}, {"PosMode", 105}, {"ResizeOnLoad", 101}, {"DropTo", 111},
      {"CopyClipbdFmt", 140}, {"CombineMode", 502}, {"NColorsCreatePal", 256}, {"JpegQuality", 75},
      {"SSNSecondsDelay", 5}, {"ContaDim", 1}, {"PercentRowsPrint", 100}, {"PopupIcon", 0}, {"FullOnTop", 0},
      {"SaveGifInterlaced", 1}};
  for (auto [key, value] : ints) EXPECT_EQ(options.Int(FindIntOption(key).value()), value) << key;
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
    const TextStyle& s = options.Style(group);
    EXPECT_EQ(std::tie(s.points, s.face, s.foreground, s.background, s.text),
              std::make_tuple(10, std::string("system"), PackColor(255, 255, 255), 0u, std::string()));
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
  struct Row { IntOption option; int value, afterPartialReset; };
  const Row rows[] = {{IntOption::DlgX, 7, 7},      {IntOption::BigDlgY, -3, -3},    {IntOption::TBarCaption, 1, 1},
                      {IntOption::TBarRight, 0, 0}, {IntOption::LockRGBGamma, 0, 1}, {IntOption::JpegQuality, 20, 75}};
  for (Row row : rows) options.StoreInt(row.option, row.value);
  options.Functions().slots[0].text = "x*x";
  options.Filters()[3].name = "Mine";
  options.Macros().current = 5;
  options.SetCBackG(0);
  options.ResetToDefaults(false);
  for (Row row : rows) EXPECT_EQ(options.Int(row.option), row.afterPartialReset) << IntOptionKey(row.option);
  EXPECT_EQ(options.Functions().slots[0].text, "x*x");
  EXPECT_EQ(options.Filters()[3].name, "Mine");
  EXPECT_EQ(options.Macros().current, 5);
  EXPECT_EQ(options.CBackG(), 255);
  options.ResetToDefaults(true);
  for (Row row : rows)
    EXPECT_EQ(options.Int(row.option), AppOptions::DefaultInt(row.option, options.GetDisplayMode()))
        << IntOptionKey(row.option);
  EXPECT_EQ(options.Functions().slots[0].text, "x^2");
  EXPECT_EQ(options.Filters()[3].name, "Sharpen");
  EXPECT_EQ(options.Macros().current, 0);
}

TEST_F(OptionsTest, FilterTypeIndicesAreClamped) {
  struct Row { IntOption option; int value, stored; };
  for (Row row : {Row{IntOption::OpenType, 9, 9}, Row{IntOption::OpenType, 10, 1}, Row{IntOption::OpenType, 0, 1},
                  Row{IntOption::SaveType, 10, 10}, Row{IntOption::SaveType, 11, 1}, Row{IntOption::SaveType, -5, 1}}) {
    options.StoreInt(row.option, row.value);
    EXPECT_EQ(options.Int(row.option), row.stored) << IntOptionKey(row.option) << "=" << row.value;
  }
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
  const std::pair<const char*, const char*> rows[] = {
      {"c:\\temp\\\\\\", "c:\\temp\\"}, {"c:\\temp", "c:\\temp\\"}, {"", ".\\"}, {"\\\\", ".\\"}};
  for (auto [path, normalized] : rows) EXPECT_EQ(NormalizeTmpPath(path), normalized) << path;
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
  struct Row { DialogKind kind; ScreenPoint main; int x, y; };
  for (Row row : {Row{DialogKind::Small, main, 160, 110}, Row{DialogKind::Large, main, 140, 90},
                  Row{DialogKind::Small, {900, 700}, 824, 668}, Row{DialogKind::Small, {-300, -100}, 0, 0}}) {
    ScreenPoint origin = DialogOrigin(options, row.kind, row.main, 200, 100, 1024, 768);
    EXPECT_EQ(origin.x, row.x) << row.main.x;
    EXPECT_EQ(origin.y, row.y) << row.main.x;
  }

  RememberDialogOffset(options, DialogKind::Large, {90, 30}, main);
  EXPECT_EQ(options.BigDlgX(), -10);
  EXPECT_EQ(options.BigDlgY(), -20);
  EXPECT_EQ(options.DlgX(), 60) << "the small pair is separate";
}

}  // namespace
}  // namespace quilla
