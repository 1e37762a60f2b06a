#include <vector>

#include "quantizer_fixture.h"

namespace quilla {
namespace {

class MedianCutTest : public QuantizerTest {
 protected:
  void Count(const std::vector<Rgb>& pixels) { q().CountTrueColorRow(RowBytes(pixels).data(), int(pixels.size())); }
  // Four neighbouring cells near black and two far red/yellow cells.
  void CountClusters() {
    q().ClearHistogram();
    Count({{0, 0, 0}, {8, 0, 0}, {0, 8, 0}, {8, 8, 0}, {248, 0, 0}, {248, 248, 0}});
  }
  Rgb Entry(int i) { return ToRgb(q().GetMappingPalette()[i]); }
  // A selection of 17 or more: the computed colours between the two halves of the Windows colours.
  static std::vector<Rgb> BetweenWindowsHalves(const std::vector<Rgb>& computed) {
    std::vector<Rgb> all = Windows16Colors();
    all.insert(all.begin() + 8, computed.begin(), computed.end());
    return all;
  }
};

TEST_F(MedianCutTest, FewerThanThreeColoursAreBlackAndWhite) {
  for (int n : {2, 1, 0, -5}) {
    CountClusters();
    q().SelectColors(n);
    EXPECT_EQ(MappingOf(q()), (std::vector<Rgb>{{0, 0, 0}, {255, 255, 255}})) << n;
  }
}

TEST_F(MedianCutTest, SixteenColoursAreTheWindowsPaletteInOrder) {
  CountClusters();
  q().SelectColors(16);
  EXPECT_EQ(MappingOf(q()), Windows16Colors());
}

TEST_F(MedianCutTest, SeventeenColoursPutOneComputedColourBetweenTheWindowsHalves) {
  q().ClearHistogram();
  Count(std::vector<Rgb>(10, Rgb{200, 100, 50}));
  q().SelectColors(17);
  EXPECT_EQ(MappingOf(q()), BetweenWindowsHalves({{204, 100, 52}})) << "the centre of the colour's cell";
}

TEST_F(MedianCutTest, OneColourImageStopsAfterTheFirstBoxAndLeavesOtherEntriesBlack) {
  // A richer selection first, so stale entries would show.
  q().ClearHistogram();
  for (int r = 0; r < 256; r += 8) Count({{r, 255 - r, r / 2}});
  q().SelectColors(256);
  ASSERT_NE(Entry(9), (Rgb{0, 0, 0}));

  q().ClearHistogram();
  Count(std::vector<Rgb>(3, Rgb{200, 100, 50}));
  q().SelectColors(256);
  std::vector<Rgb> computed(240, Rgb{0, 0, 0});
  computed[0] = {204, 100, 52};
  EXPECT_EQ(MappingOf(q()), BetweenWindowsHalves(computed));
}

TEST_F(MedianCutTest, BoxColourIsTheCountWeightedMeanOfCellCentres) {
  q().ClearHistogram();
  Count({{16, 0, 0}, {17, 1, 2}, {23, 7, 7}, {24, 0, 0}});  // three in red cell 2, one in cell 3
  q().SelectColors(17);
  // red (3 * 20 + 28 + 2) / 4 = 22; green and blue centre 4.
  EXPECT_EQ(Entry(8), (Rgb{22, 4, 4}));
}

TEST_F(MedianCutTest, FirstSplitsFollowCellCountThenExtent) {
  // Two boxes: the full box is split once across red.
  CountClusters();
  q().SelectColors(18);
  EXPECT_EQ(MappingOf(q()), BetweenWindowsHalves({{8, 8, 4}, {252, 128, 4}}));

  // Three boxes: the second split takes the far pair (largest extent), not the four
  // neighbouring cells (most cells).
  CountClusters();
  q().SelectColors(19);
  EXPECT_EQ(MappingOf(q()), BetweenWindowsHalves({{8, 8, 4}, {252, 4, 4}, {252, 252, 4}}));
}

TEST_F(MedianCutTest, EqualCandidatesSplitTheEarliestBox) {
  // Two pairs of cells, equal in count and extent: after the first cut the earlier box
  // (near black) is the one split again.
  q().ClearHistogram();
  Count({{0, 0, 0}, {0, 0, 16}, {248, 0, 0}, {248, 0, 16}});
  q().SelectColors(19);
  EXPECT_EQ(MappingOf(q()), BetweenWindowsHalves({{4, 4, 4}, {252, 4, 12}, {4, 4, 20}}));
}

TEST_F(MedianCutTest, SmallPalettesKeepBlackFirstAndWhiteLast) {
  CountClusters();
  q().SelectColors(4);
  EXPECT_EQ(MappingOf(q()), (std::vector<Rgb>{{0, 0, 0}, {8, 8, 4}, {252, 128, 4}, {255, 255, 255}}));
}

TEST_F(MedianCutTest, EmptyHistogramSelectsOnlyTheFixedColours) {
  q().ClearHistogram();
  q().SelectColors(256);
  EXPECT_EQ(MappingOf(q()), BetweenWindowsHalves(std::vector<Rgb>(240, Rgb{0, 0, 0})));
  q().ClearHistogram();
  q().SelectColors(5);
  EXPECT_EQ(MappingOf(q()), (std::vector<Rgb>{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}}));
}

TEST_F(MedianCutTest, CountersSaturateAtTheTopOfSixteenBits) {
  q().ClearHistogram();
  std::vector<uint8_t> row(3 * 70000, 10);  // every pixel in cell (1, 1, 1)
  q().CountTrueColorRow(row.data(), 70000);
  EXPECT_EQ(q().CellValue(1, 1, 1), 65535);
  q().CountTrueColorRow(row.data(), 1);
  EXPECT_EQ(q().CellValue(1, 1, 1), 65535);
  EXPECT_EQ(q().CellValue(1, 1, 2), 0);
}

TEST_F(MedianCutTest, PaletteRowsAreCountedThroughTheInputPalette) {
  std::vector<RgbQuad> input = Quads({{200, 100, 50}, {8, 16, 24}});
  q().SetInputPalette(input.data(), 2);
  q().ClearHistogram();
  std::vector<uint8_t> row = {0, 0, 1, 0, 7};  // index 7 lies past the table: reads black
  q().CountPaletteRow(row.data(), int(row.size()));
  EXPECT_EQ(q().CellValue(25, 12, 6), 3);
  EXPECT_EQ(q().CellValue(1, 2, 3), 1);
  EXPECT_EQ(q().CellValue(0, 0, 0), 1);
}

TEST_F(MedianCutTest, SelectingEmptiesTheStorageForTheCache) {
  CountClusters();
  q().SelectColors(256);
  EXPECT_EQ(FilledCells(), 0);
}

}  // namespace
}  // namespace quilla
