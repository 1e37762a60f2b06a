#include <gtest/gtest.h>

#include <set>
#include <vector>
#include <tuple>

#include "core/dib_image.h"

namespace quilla {

TEST(ColorCube, GivesTheLevelsOfTheRules) {
  // Worked by hand: start levels from the table of small counts or 266k/256, 355k/256,
  // 177k/256, then grow blue, green, red while (L + 1) * (product / L) <= n.
  struct Row { int n, red, green, blue; };
  const Row rows[] = {{256, 8, 8, 4},  // fixed
                      {2, 2, 2, 2},    // larger than n: 8 entries
                      {8, 2, 2, 2},
                      {12, 2, 3, 2},   // 12: (2,3,2) exactly
                      {16, 2, 4, 2},   // blue 3 -> 18 > 16, green 4 -> 16
                      {18, 3, 3, 2},
                      {24, 3, 4, 2},
                      {27, 3, 3, 3},
                      {35, 3, 3, 3},   // blue 4 -> 36 > 35
                      {36, 3, 4, 3},   // k=3: (3,4,2)=24, blue->3 =36
                      {64, 4, 5, 3},   // k=4: (4,5,2)=40, blue->3 =60
                      {100, 5, 6, 3},  // k=4: (4,5,2)=40, b3=60, g6=72, r5=90
                      {216, 6, 9, 4},  // k=6: (6,8,4)=192, green 9 -> 216
                      {255, 6, 8, 5}};  // k=6: 192, blue 5 -> 240
  for (Row row : rows) {
    RgbQuad table[256];
    int levels[3];
    int entries = UniformColorCube(row.n, table, levels);
    EXPECT_EQ(std::vector<int>(levels, levels + 3), (std::vector<int>{row.red, row.green, row.blue})) << row.n;
    EXPECT_EQ(entries, row.red * row.green * row.blue) << row.n;
  }
}

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
