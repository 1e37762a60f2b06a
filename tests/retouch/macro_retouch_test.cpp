#include "retouch/macro_retouch.h"

#include "formats/formats_test_support.h"
#include "retouch/colour_retouch.h"
#include "retouch/filter_command.h"
#include "settings/list_defaults.h"

namespace quilla {

namespace {

MacroRetouch MacroOf(std::initializer_list<MacroStep> steps) {
  MacroRetouch macro;
  std::copy(steps.begin(), steps.end(), macro.steps.begin());
  return macro;
}

MacroStep Step(RetouchOp op, std::array<int32_t, 3> parameters) { return {uint8_t(op), parameters}; }

void Copy(DIBImage& from, DIBImage& to) {
  to.ReplaceDib(from.Duplicate());
  to.SetUndoEnabled(false);
}

}  // namespace

// Every slot works on the result of the one before, and Undo brings back the image as it was
// before the whole macro, for both pixel kinds.
TEST(MacroRetouchTest, DarkYellowishChainsLogThenGammaAsOneUndoStep) {
  const MacroRetouch& darkYellowish = DefaultMacros().macros[4];
  ASSERT_EQ(darkYellowish.name, "dark+yellowish");
  for (int colors : {0, 16}) {
    DIBImage document, expected, original;
    MakeTestImage(document, 9, 7, colors);
    Copy(document, expected);
    Copy(document, original);
    ASSERT_EQ(ApplyColourRetouch(expected, RetouchOp::LogEnhance, {30, 0, 0}), 1);
    ASSERT_EQ(ApplyColourRetouch(expected, RetouchOp::GammaCorrection, {16, 0, 8}), 1);

    imageChanged = false;
    ASSERT_EQ(RunMacro(document, darkYellowish, DefaultFilters()), 1);
    EXPECT_TRUE(imageChanged);
    EXPECT_EQ(Rows(document), Rows(expected)) << colors << " colours";
    ASSERT_TRUE(document.HasUndo());
    document.Undo();
    EXPECT_EQ(Rows(document), Rows(original)) << colors << " colours";
  }
}

// HSV takes -359 as its hue but holds saturation to 255; codes outside 1..9 and the
// parameters of No operation do nothing.
TEST(MacroRetouchTest, ParametersHeldToTheirOperationsRanges) {
  const MacroRetouch macro =
      MacroOf({Step(RetouchOp::NoOperation, {50, 50, 50}), {12, {1, 2, 3}}, Step(RetouchOp::HsvEnhance, {-359, 300, 0})});
  DIBImage document, expected, clampedHue;
  MakeTestImage(document, 9, 7, 0);
  Copy(document, expected);
  Copy(document, clampedHue);
  ASSERT_EQ(ApplyColourRetouch(expected, RetouchOp::HsvEnhance, {-359, 255, 0}), 1);
  ASSERT_EQ(ApplyColourRetouch(clampedHue, RetouchOp::HsvEnhance, {-255, 255, 0}), 1);
  ASSERT_EQ(RunMacro(document, macro, DefaultFilters()), 1);
  EXPECT_EQ(Rows(document), Rows(expected));
  EXPECT_NE(Rows(document), Rows(clampedHue));
}

// The filter step filters what the slots before it made, with its slot held to 0..19; on a
// palette image it does nothing. Without undo nothing is kept.
TEST(MacroRetouchTest, FilterStepOnlyOnTrueColour) {
  const auto filters = DefaultFilters();
  const MacroRetouch macro = MacroOf({Step(RetouchOp::ContrastEnhance, {20, 0, 0}), Step(RetouchOp::ImageFilter, {8, 0, 0}),
                                      Step(RetouchOp::ImageFilter, {30, 0, 0})});
  DIBImage document, expected;
  MakeTestImage(document, 9, 7, 0);
  document.SetUndoEnabled(false);
  Copy(document, expected);
  ASSERT_EQ(ApplyColourRetouch(expected, RetouchOp::ContrastEnhance, {20, 0, 0}), 1);
  ASSERT_EQ(FilterImage(expected, filters[8], DisplayMode::TrueColor), 1);
  ASSERT_EQ(FilterImage(expected, filters[19], DisplayMode::TrueColor), 1);
  EXPECT_EQ(LastFilterSlot(document, macro), 19);
  ASSERT_EQ(RunMacro(document, macro, filters), 1);
  EXPECT_EQ(Rows(document), Rows(expected));
  EXPECT_FALSE(document.HasUndo());

  DIBImage palette;
  MakeTestImage(palette, 9, 7, 16);
  const MacroRetouch filterOnly = MacroOf({Step(RetouchOp::ImageFilter, {8, 0, 0})});
  const PixelRows before = Rows(palette);
  EXPECT_EQ(LastFilterSlot(palette, filterOnly), -1);
  ASSERT_EQ(RunMacro(palette, filterOnly, filters), 1);
  EXPECT_EQ(Rows(palette), before);
}

}  // namespace quilla
