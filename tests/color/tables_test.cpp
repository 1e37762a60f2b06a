#include "color/error_limiter.h"
#include "color/range_table.h"
#include "quantizer_fixture.h"

namespace quilla {
namespace {

TEST(ColorTables, RangeTableClampsEverySumFromMinus256To511) {
  EXPECT_EQ(kRangeTable.size(), 768u);
  for (auto [sum, limited] : {std::pair{-256, 0}, {-1, 0}, {0, 0}, {137, 137}, {255, 255}, {256, 255}, {511, 255}})
    EXPECT_EQ(RangeLimit()[sum], limited) << sum;
}

TEST(ColorTables, ErrorLimiterPassesSmallHalvesMediumAndCapsLargeErrors) {
  ErrorLimiter limit;
  for (auto [error, limited] : {std::pair{0, 0}, {15, 15}, {16, 16}, {17, 16}, {18, 17}, {47, 31}, {48, 32}, {100, 32},
                                {255, 32}})
    EXPECT_EQ(limit(error), limited) << error;
  for (int e = 1; e <= 255; ++e) ASSERT_EQ(limit(-e), -limit(e));
}

TEST(ColorTables, Windows16PaletteHoldsTheStandardColours) {
  EXPECT_EQ(Windows16Colors(), (std::vector<Rgb>{{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                                {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {128, 128, 128},
                                                {192, 192, 192}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                                {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}}));
}

using ColorTablesTest = QuantizerTest;

TEST_F(ColorTablesTest, TranslationTableRewritesIndicesInPlace) {
  uint8_t table[256];
  for (int i = 0; i < 256; ++i) table[i] = uint8_t(255 - i);
  q().SetTranslationTable(table);
  table[0] = 7;  // the quantizer keeps its own copy
  std::vector<uint8_t> row = {0, 1, 128, 255};
  q().TranslateRow(row.data(), row.data(), 4);
  EXPECT_EQ(row, (std::vector<uint8_t>{255, 254, 127, 0}));
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
