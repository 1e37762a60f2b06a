#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "core/dib_image.h"

namespace quilla {

struct CubeCase {
  int n;
  int red, green, blue;
};

class ColorCubeLevels : public ::testing::TestWithParam<CubeCase> {};

TEST_P(ColorCubeLevels, GivesTheLevelsOfTheRules) {
  CubeCase c = GetParam();
  RgbQuad table[256];
  int levels[3];
  int entries = UniformColorCube(c.n, table, levels);
  EXPECT_EQ(levels[0], c.red) << "n = " << c.n;
  EXPECT_EQ(levels[1], c.green) << "n = " << c.n;
  EXPECT_EQ(levels[2], c.blue) << "n = " << c.n;
  EXPECT_EQ(entries, c.red * c.green * c.blue);
}

// Worked by hand: start levels from the table of small counts or 266k/256, 355k/256,
// 177k/256, then grow blue, green, red while (L + 1) * (product / L) <= n.
INSTANTIATE_TEST_SUITE_P(Counts, ColorCubeLevels,
                         ::testing::Values(CubeCase{256, 8, 8, 4},   // fixed
                                           CubeCase{2, 2, 2, 2},     // larger than n: 8 entries
                                           CubeCase{8, 2, 2, 2},
                                           CubeCase{12, 2, 3, 2},    // 12: (2,3,2) exactly
                                           CubeCase{16, 2, 4, 2},    // blue 3 -> 18 > 16, green 4 -> 16
                                           CubeCase{18, 3, 3, 2},
                                           CubeCase{24, 3, 4, 2},
                                           CubeCase{27, 3, 3, 3},
                                           CubeCase{35, 3, 3, 3},    // blue 4 -> 36 > 35
                                           CubeCase{36, 3, 4, 3},    // k=3: (3,4,2)=24, blue->3 =36
                                           CubeCase{64, 4, 5, 3},    // k=4: (4,5,2)=40, blue->3 =60
                                           CubeCase{100, 5, 6, 3},   // k=4: (4,5,2)=40, b3=60, g6=72, r5=90
                                           CubeCase{216, 6, 9, 4},   // k=6: (6,8,4)=192, green 9 -> 216
                                           CubeCase{255, 6, 8, 5}));  // k=6: 192, blue 5 -> 240

TEST(ColorCube, LevelIntensitiesSpreadFrom0To255) {
  RgbQuad table[256];
  UniformColorCube(256, table);
  std::set<int> reds, blues;
  for (int i = 0; i < 256; ++i) reds.insert(table[i].red), blues.insert(table[i].blue);
  EXPECT_EQ(reds, (std::set<int>{0, 36, 73, 109, 146, 182, 219, 255}));  // (j*255 + 3) / 7
  EXPECT_EQ(blues, (std::set<int>{0, 85, 170, 255}));                   // (j*255 + 1) / 3
}

TEST(ColorCube, EveryCombinationAppearsOnce) {
  RgbQuad table[256];
  int n = UniformColorCube(100, table);
  std::set<std::tuple<int, int, int>> seen;
  for (int i = 0; i < n; ++i) seen.insert({table[i].red, table[i].green, table[i].blue});
  EXPECT_EQ(int(seen.size()), n);
}

}  // namespace quilla
