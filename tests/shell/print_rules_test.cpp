#include "shell/print_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quilla {
namespace {

constexpr PrinterPage kSquarePixels{1, 1, 2400, 3300};

TEST(PrintRulesTest, UnfittedImagesKeepTheirPixelsScaledByThePercentages) {
  const PrintScale plain{100, 100, false, false};
  EXPECT_EQ(PlaceOnPage(640, 480, kSquarePixels, plain), (PrintPlacement{0, 0, 640, 480}));
  const PrintScale wider{200, 100, false, false};
  EXPECT_EQ(PlaceOnPage(640, 480, kSquarePixels, wider), (PrintPlacement{0, 0, 1280, 480}));
  // Centred without fitting: the middle of the page.
  const PrintScale centred{100, 100, false, true};
  EXPECT_EQ(PlaceOnPage(640, 480, kSquarePixels, centred), (PrintPlacement{880, 1410, 640, 480}));
  // Too large for the page: nothing is cut here, the caller asks first.
  const PrintScale huge{900, 900, false, true};
  const PrintPlacement placed = PlaceOnPage(640, 480, kSquarePixels, huge);
  EXPECT_EQ(placed.width, 5760);
  EXPECT_TRUE(placed.Overflows(kSquarePixels));
  EXPECT_LT(placed.x, 0);
}

TEST(PrintRulesTest, FittingFillsThePageWidthAndCentresVertically) {
  const PrintScale fitted{100, 100, true, true};
  EXPECT_EQ(PlaceOnPage(640, 480, kSquarePixels, fitted), (PrintPlacement{0, 750, 2400, 1800}));
  const PrintScale corner{100, 100, true, false};
  EXPECT_EQ(PlaceOnPage(640, 480, kSquarePixels, corner), (PrintPlacement{0, 0, 2400, 1800}));
  // A tall image fills the height instead.
  EXPECT_EQ(PlaceOnPage(100, 400, kSquarePixels, fitted), (PrintPlacement{787, 0, 825, 3300}));
}

TEST(PrintRulesTest, NonSquarePrinterPixelsCorrectTheAspect) {
  // Pixels twice as tall as wide (ASPECTX 2, ASPECTY 1): the width halves, the height doubles.
  const PrinterPage tallPixels{2, 1, 1200, 3300};
  const PrintScale plain{100, 100, false, false};
  EXPECT_EQ(PlaceOnPage(640, 480, tallPixels, plain), (PrintPlacement{0, 0, 320, 960}));
  // Fitted, the corrected 320 x 960 fills the page's height.
  const PrintScale fitted{100, 100, true, true};
  EXPECT_EQ(PlaceOnPage(640, 480, tallPixels, fitted), (PrintPlacement{50, 0, 1100, 3300}));
}

TEST(PrintRulesTest, EmptySizesAndBrokenDevicesGiveNothingToPrint) {
  const PrintScale fitted{100, 100, true, true};
  EXPECT_TRUE(PlaceOnPage(1, 1, kSquarePixels, PrintScale{20, 20, false, false}).Empty());
  EXPECT_TRUE(PlaceOnPage(640, 480, PrinterPage{0, 1, 2400, 3300}, fitted).Empty());
  // A page of no size fits nothing: the image overflows it, which the caller asks about.
  EXPECT_TRUE(PlaceOnPage(640, 480, PrinterPage{1, 1, 0, 0}, fitted).Overflows(PrinterPage{1, 1, 0, 0}));
}

TEST(PrintRulesTest, PrinterCaptionAndDriverFile) {
  EXPECT_EQ(PrinterCaption("PDF", "CUPS:PDF", true), "Default Printer (PDF on CUPS:PDF)");
  EXPECT_EQ(PrinterCaption("PDF", "LPT1:", false), "PDF on LPT1:");
  EXPECT_EQ(DriverFileName("wineps"), "wineps.drv");
  EXPECT_EQ(DriverFileName("wineps.drv"), "wineps.drv");
}

TEST(PrintRulesTest, QualityLevelsListTheFourNames) {
  const std::vector<std::string> levels{"High", "Medium", "Low", "Draft"};
  for (int quality = -4; quality <= -1; ++quality) {
    const QualityList list = MakeQualityList({quality, 0}, {{300, 300}});
    EXPECT_EQ(list.entries, levels);
    EXPECT_EQ(list.selected, quality + 4);
    EXPECT_FALSE(list.writeBack);
  }
  PrintQuality chosen{-2, 77};
  ASSERT_TRUE(QualityOfEntry(true, 0, "High", chosen));
  EXPECT_EQ(chosen, (PrintQuality{-4, 77}));
  EXPECT_FALSE(QualityOfEntry(true, 4, "", chosen));
  EXPECT_FALSE(IsQualityLevel(-5));
  EXPECT_FALSE(IsQualityLevel(0));
}

TEST(PrintRulesTest, ResolutionsListTheirPairsAndSelectTheDeviceModes) {
  const std::vector<Resolution> resolutions{{150, 150}, {300, 300}, {600, 300}};
  QualityList list = MakeQualityList({600, 300}, resolutions);
  EXPECT_EQ(list.entries, (std::vector<std::string>{"150x150 dpi", "300x300 dpi", "600x300 dpi"}));
  EXPECT_EQ(list.selected, 2);
  EXPECT_FALSE(list.writeBack);
  // No pair matches (600 x 600): the first entry, written back.
  list = MakeQualityList({600, 600}, resolutions);
  EXPECT_EQ(list.selected, 0);
  EXPECT_TRUE(list.writeBack);
  EXPECT_EQ(list.chosen, (PrintQuality{150, 150}));
  list = MakeQualityList({300, 300}, {});
  EXPECT_TRUE(list.entries.empty());
  EXPECT_EQ(list.selected, -1);
  EXPECT_FALSE(list.writeBack);

  PrintQuality chosen;
  ASSERT_TRUE(QualityOfEntry(false, 2, "600x300 dpi", chosen));
  EXPECT_EQ(chosen, (PrintQuality{600, 300}));
  EXPECT_FALSE(QualityOfEntry(false, 0, "dpi", chosen));
}

}  // namespace
}  // namespace quilla
