#include <vector>

#include "quantizer_fixture.h"

namespace quilla {
namespace {

class InverseCacheTest : public QuantizerTest {
 protected:
  void SetPalette(const std::vector<Rgb>& palette) {
    q().SetMappingPalette(Quads(palette).data(), int(palette.size()));
  }
  // Every cell's cached answer against a brute-force search.
  void ExpectCacheMatchesBruteForce(const std::vector<Rgb>& palette) {
    for (int r = 0; r < 256; r += 8)
      for (int g = 0; g < 256; g += 8)
        for (int b = 0; b < 256; b += 8)
          ASSERT_EQ(q().NearestIndex(r, g, b), BruteNearest(palette, r, g, b)) << r << "," << g << "," << b;
  }
};

TEST_F(InverseCacheTest, PrunedBlockSearchAgreesWithBruteForce) {
  TestRandom random(7);
  for (int size : {1, 2, 5, 17, 64, 256}) {
    std::vector<Rgb> palette;
    for (int i = 0; i < size; ++i) palette.push_back({random.Next(256), random.Next(256), random.Next(256)});
    SetPalette(palette);
    ExpectCacheMatchesBruteForce(palette);
  }
  EXPECT_EQ(q().UseWindows16(), 16);
  ExpectCacheMatchesBruteForce(Windows16Colors());
}

TEST_F(InverseCacheTest, BlocksOfSixtyFourCellsAreFilledOnDemand) {
  SetPalette({{0, 0, 0}, {255, 255, 255}});
  EXPECT_EQ(FilledCells(), 0);
  EXPECT_EQ(q().NearestIndex(200, 10, 100), 0);
  EXPECT_EQ(FilledCells(), 64);
  // The block of cell (25, 1, 12) starts at (24, 0, 12).
  EXPECT_NE(q().CellValue(24, 0, 12), 0);
  EXPECT_NE(q().CellValue(27, 3, 15), 0);
  EXPECT_EQ(q().CellValue(28, 0, 12), 0);
  q().NearestIndex(201, 11, 101);
  EXPECT_EQ(FilledCells(), 64);
}

TEST_F(InverseCacheTest, AllColoursOfOneCellShareTheIndexNearestItsCentre) {
  // Cell (0, 0, 0) has its centre at (4, 4, 4), nearer entry 1 than entry 0.
  SetPalette({{1, 1, 1}, {6, 6, 6}});
  EXPECT_EQ(q().NearestIndex(1, 1, 1), 1);
  EXPECT_EQ(q().NearestIndex(7, 7, 7), 1);
  EXPECT_EQ(q().NearestIndex(0, 0, 0), 1);
}

TEST_F(InverseCacheTest, EqualDistancesGoToTheFirstEntry) {
  SetPalette({{100, 100, 100}, {100, 100, 100}, {0, 0, 0}});
  EXPECT_EQ(q().NearestIndex(96, 96, 96), 0);
  SetPalette({{0, 0, 0}, {8, 8, 8}});  // centre (4, 4, 4) lies midway
  EXPECT_EQ(q().NearestIndex(3, 3, 3), 0);
}

TEST_F(InverseCacheTest, SamePaletteKeepsTheCacheAndAnotherClearsIt) {
  SetPalette({{0, 0, 0}, {255, 255, 255}});
  q().NearestIndex(10, 10, 10);
  ASSERT_EQ(FilledCells(), 64);
  RgbQuad sameColours[2] = {Quad({0, 0, 0}), Quad({255, 255, 255})};
  sameColours[0].reserved = 9;  // only red, green and blue count
  q().SetMappingPalette(sameColours, 2);
  EXPECT_EQ(FilledCells(), 64);
  SetPalette({{0, 0, 0}, {255, 255, 254}});
  EXPECT_EQ(FilledCells(), 0);
  SetPalette({{0, 0, 0}});
  q().NearestIndex(10, 10, 10);
  SetPalette({{0, 0, 0}, {5, 5, 5}});  // same first entry, longer table
  EXPECT_EQ(FilledCells(), 0);
}

TEST_F(InverseCacheTest, CountsLeftInTheStorageAreNeverTakenForCacheEntries) {
  q().UseWindows16();
  q().ClearHistogram();
  std::vector<uint8_t> row(3 * 5, 250);  // counts 5 in cell (31, 31, 31): would read as index 4
  q().CountTrueColorRow(row.data(), 5);
  q().UseWindows16();  // an unchanged palette, but the storage holds counts
  EXPECT_EQ(q().NearestIndex(250, 250, 250), 15);
  q().ClearHistogram();
  q().CountTrueColorRow(row.data(), 5);
  uint8_t out[5];
  q().MapTrueColorRow(row.data(), out, 5);
  EXPECT_EQ(out[0], 15);
}

// Rows long enough for the sixteen-pixel steps, with a tail after them.
TEST_F(InverseCacheTest, TrueColourRowsCountAndMapEveryPixelByItsOwnCell) {
  TestRandom random(11);
  std::vector<Rgb> pixels;
  for (int i = 0; i < 37; ++i) pixels.push_back({random.Next(256), random.Next(256), random.Next(256)});
  const std::vector<uint8_t> row = RowBytes(pixels);
  q().ClearHistogram();
  q().CountTrueColorRow(row.data(), int(pixels.size()));
  auto cellOf = [](const Rgb& c) { return Rgb{c.r >> 3, c.g >> 3, c.b >> 3}; };
  for (const Rgb& p : pixels) {
    int same = 0;
    for (const Rgb& o : pixels) same += cellOf(o) == cellOf(p);
    ASSERT_EQ(q().CellValue(p.r >> 3, p.g >> 3, p.b >> 3), same);
  }
  const std::vector<Rgb> palette = Windows16Colors();
  SetPalette(palette);
  std::vector<uint8_t> out(pixels.size());
  q().MapTrueColorRow(row.data(), out.data(), int(pixels.size()));
  for (size_t i = 0; i < pixels.size(); ++i)
    EXPECT_EQ(out[i], BruteNearest(palette, pixels[i].r, pixels[i].g, pixels[i].b)) << i;
}

TEST_F(InverseCacheTest, PaletteRowsMapThroughTheInputPaletteEvenInPlace) {
  q().UseWindows16();
  std::vector<RgbQuad> input = Quads({{250, 5, 5}, {5, 5, 250}, {190, 190, 190}});
  q().SetInputPalette(input.data(), 3);
  uint8_t row[4] = {0, 1, 2, 0};
  q().MapPaletteRow(row, row, 4);
  EXPECT_EQ(row[0], 9);
  EXPECT_EQ(row[1], 12);
  EXPECT_EQ(row[2], 8);
  EXPECT_EQ(row[3], 9);
}

TEST_F(InverseCacheTest, EmptyMappingPaletteAnswersIndexZero) {
  EXPECT_EQ(q().GetMappingCount(), 0);
  EXPECT_EQ(q().NearestIndex(123, 45, 67), 0);
}

}  // namespace
}  // namespace quilla
