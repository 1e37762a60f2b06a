#include "shell/size_dialog_rules.h"

#include <gtest/gtest.h>

namespace quilla {

TEST(SizeDialogRulesTest, PresetsKeepTheAspectRatioInsideTheBox) {
  const PixelSize current{100, 50};
  const auto presets = SizePresets({1280, 1024}, {1272, 970});
  EXPECT_EQ(KeepAspect(current, presets[0]), (PixelSize{640, 320})) << "640 x 480";
  EXPECT_EQ(KeepAspect(current, {100, 100}), (PixelSize{100, 50}));
  EXPECT_EQ(KeepAspect(current, {1000, 60}), (PixelSize{120, 60})) << "the height limits";
  EXPECT_EQ(KeepAspect(current, {300, 150}), (PixelSize{300, 150})) << "the same ratio";
  EXPECT_EQ(presets[4], (PixelSize{1280, 1024}));
  EXPECT_EQ(presets[5], (PixelSize{1272, 970}));
  // Rounded: 3 x 2 to width 5 is 3.33 rows high.
  EXPECT_EQ(KeepAspect({3, 2}, {5, 100}), (PixelSize{5, 3}));
}

TEST(SizeDialogRulesTest, AnEditedDimensionCarriesTheOtherWithTheAspect) {
  const PixelSize current{64, 48}, shown{64, 48};
  EXPECT_EQ(TakeEditedDimension(current, shown, true, 128, true), (PixelSize{128, 96}));
  EXPECT_EQ(TakeEditedDimension(current, shown, false, 24, true), (PixelSize{32, 24}));
  EXPECT_EQ(TakeEditedDimension(current, shown, true, 10, false), (PixelSize{10, 48}));
  EXPECT_EQ(TakeEditedDimension(current, {10, 48}, false, 7, false), (PixelSize{10, 7}));
}

TEST(SizeDialogRulesTest, SlidersScaleByHundredthsBelowAndTenthsAbove) {
  EXPECT_EQ(DimensionFromSlider(101, 50), 51) << "halved, rounded";
  EXPECT_EQ(DimensionFromSlider(64, 110), 128) << "doubled";
  EXPECT_EQ(DimensionFromSlider(64, 200), 704) << "eleven times";
  EXPECT_EQ(DimensionFromSlider(7, 105), 10) << "7 x 1.5, truncated";
  EXPECT_EQ(DimensionFromSlider(64, 0), 0);
  // And back from the ratio to the position.
  EXPECT_EQ(RatioSliderPosition(51, 101), 50);
  EXPECT_EQ(RatioSliderPosition(128, 64), 110);
  EXPECT_EQ(RatioSliderPosition(96, 64), 105);
  EXPECT_EQ(RatioSliderPosition(65, 64), 100) << "1.016 rounds to the current size";
  EXPECT_EQ(RatioSliderPosition(640, 64), 190);
  EXPECT_EQ(RatioSliderPosition(641, 64), 200);
  EXPECT_EQ(RatioReadout(32, 64), "   0.50");
  EXPECT_EQ(RatioReadout(640, 64), "  10.00");
}

TEST(SizeDialogRulesTest, OnlyWholeNumbersFromOneAreSizes) {
  EXPECT_EQ(ParseDimension("640"), 640);
  EXPECT_EQ(ParseDimension(" 12 "), 12);
  for (const char* text : {"", "0", "-5", "12a", "1.5", "99999999999"}) EXPECT_FALSE(ParseDimension(text)) << text;
}

}  // namespace quilla
