#include "color/error_limiter.h"
#include "color/range_table.h"
#include "color/windows16_palette.h"
#include "quantizer_fixture.h"

namespace quilla {
namespace {

TEST(ColorTables, RangeTableClampsEverySumFromMinus256To511) {
  EXPECT_EQ(kRangeTable.size(), 768u);
  EXPECT_EQ(RangeLimit()[-256], 0);
  EXPECT_EQ(RangeLimit()[-1], 0);
  EXPECT_EQ(RangeLimit()[0], 0);
  EXPECT_EQ(RangeLimit()[137], 137);
  EXPECT_EQ(RangeLimit()[255], 255);
  EXPECT_EQ(RangeLimit()[256], 255);
  EXPECT_EQ(RangeLimit()[511], 255);
}

TEST(ColorTables, ErrorLimiterPassesSmallHalvesMediumAndCapsLargeErrors) {
  ErrorLimiter limit;
  EXPECT_EQ(limit(0), 0);
  EXPECT_EQ(limit(15), 15);
  EXPECT_EQ(limit(16), 16);
  EXPECT_EQ(limit(17), 16);
  EXPECT_EQ(limit(18), 17);
  EXPECT_EQ(limit(47), 31);
  EXPECT_EQ(limit(48), 32);
  EXPECT_EQ(limit(100), 32);
  EXPECT_EQ(limit(255), 32);
  for (int e = 1; e <= 255; ++e) ASSERT_EQ(limit(-e), -limit(e));
}

TEST(ColorTables, Windows16PaletteHoldsTheStandardColours) {
  const int expected[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                               {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {128, 128, 128},
                               {192, 192, 192}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                               {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(ToRgb(Windows16Palette[size_t(i)]), (Rgb{expected[i][0], expected[i][1], expected[i][2]})) << i;
}

using ColorTablesTest = QuantizerTest;

TEST_F(ColorTablesTest, EachWindowsColourMapsToItsOwnEntry) {
  EXPECT_EQ(q().UseWindows16(), 16);
  EXPECT_EQ(q().GetMappingCount(), 16);
  std::vector<uint8_t> row;
  for (const RgbQuad& c : Windows16Palette) row.insert(row.end(), {c.blue, c.green, c.red});
  uint8_t out[16];
  q().MapTrueColorRow(row.data(), out, 16);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(out[i], i);
}

TEST_F(ColorTablesTest, TranslationTableRewritesIndicesInPlace) {
  uint8_t table[256];
  for (int i = 0; i < 256; ++i) table[i] = uint8_t(255 - i);
  q().SetTranslationTable(table);
  table[0] = 7;  // the quantizer keeps its own copy
  uint8_t row[4] = {0, 1, 128, 255};
  q().TranslateRow(row, row, 4);
  EXPECT_EQ(row[0], 255);
  EXPECT_EQ(row[1], 254);
  EXPECT_EQ(row[2], 127);
  EXPECT_EQ(row[3], 0);
}

TEST(ColorQuantizerLifetime, InitializeShutdownAndStateOnStart) {
  EXPECT_FALSE(ColorQuantizerReady());
  ASSERT_EQ(InitializeColorQuantizer(), 1);
  EXPECT_TRUE(ColorQuantizerReady());
  ColorQuantizer& q = TheColorQuantizer();
  EXPECT_EQ(q.GetMappingCount(), 0);
  EXPECT_EQ(q.DitherCapacity(), ColorQuantizer::kInitialDitherWidth);
  EXPECT_TRUE(q.NextRowLeftToRight());
  ShutdownColorQuantizer();
  EXPECT_FALSE(ColorQuantizerReady());
}

}  // namespace
}  // namespace quilla
