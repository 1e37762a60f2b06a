#include "shell/jpeg_io_dialog_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "default_options.h"

namespace quilla {

using JpegIoDialogTest = DefaultOptionsTest;

TEST_F(JpegIoDialogTest, OptionsCopyTravelsBothSetsAndStoresTheShownIndex) {
  Options().SetJpegDenom(kJpegPreview, 4);
  Options().SetJpegQuality(100);
  JpegOptionsCopy copy = LoadJpegOptionsCopy();
  EXPECT_EQ(copy.shown, kJpegNormal);
  EXPECT_EQ(copy.setups[1].denominator, 4);
  EXPECT_EQ(copy.setups[1].fastUpsampling, 1);  // the Preview defaults
  EXPECT_EQ(copy.setups[0].dctType, 0);
  EXPECT_EQ(copy.quality, 95);  // the bar's range
  EXPECT_EQ(std::string(JpegDialogTitle(copy.shown)), "Jpeg I/O Options (Normal mode)");
  EXPECT_EQ(std::string(JpegSwitchButtonText(copy.shown)), "S&witch to Preview setup");

  JpegDecodeSetup edited = copy.setups[0];
  edited.grayscale = 1;
  SwitchJpegSetup(copy, edited);
  EXPECT_EQ(copy.shown, kJpegPreview);
  EXPECT_EQ(std::string(JpegDialogTitle(copy.shown)), "Jpeg I/O Options (Preview mode)");
  EXPECT_EQ(std::string(JpegSwitchButtonText(copy.shown)), "S&witch to Normal setup");
  copy.saveGrayscale = true;
  copy.warnGrayscaleSave = false;
  copy.quality = 10;
  StoreJpegOptionsCopy(copy);
  EXPECT_EQ(Options().JpegDecompressionSetup(), kJpegPreview);
  EXPECT_EQ(Options().LoadJpegGS(kJpegNormal), 1);
  EXPECT_EQ(Options().JpegQuality(), 20);
  EXPECT_EQ(Options().SaveJpegGS(), 1);
  EXPECT_EQ(Options().WarnJpegGsSave(), 0);
  EXPECT_EQ(ActiveJpegDecodeSetup().denominator, 4);
}

static bool CheckedIn(int id, void* context) {
  const std::vector<int>& on = *static_cast<std::vector<int>*>(context);
  return std::find(on.begin(), on.end(), id) != on.end();
}

TEST(JpegDialogButtons, RadioGroupsMapBothWays) {
  EXPECT_EQ(JpegDctButton(0), 108);
  EXPECT_EQ(JpegDctButton(2), 110);
  EXPECT_EQ(JpegDctButton(5), 108);
  EXPECT_EQ(JpegScaleButton(1), 130);
  EXPECT_EQ(JpegScaleButton(2), 131);
  EXPECT_EQ(JpegScaleButton(4), 133);
  EXPECT_EQ(JpegScaleButton(8), 137);
  EXPECT_EQ(JpegScaleButton(3), 130);
  std::vector<int> on = {109, 133};
  EXPECT_EQ(JpegDctTypeFromButtons(CheckedIn, &on, 0), 1);
  EXPECT_EQ(JpegDenominatorFromButtons(CheckedIn, &on), 4);
  on = {};
  EXPECT_EQ(JpegDctTypeFromButtons(CheckedIn, &on, 2), 2);  // none checked: unchanged
  EXPECT_EQ(JpegDenominatorFromButtons(CheckedIn, &on), 8);
}

}  // namespace quilla
