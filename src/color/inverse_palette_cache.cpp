// The InversePaletteCache: the nearest MappingPalette entry per 8 x 8 x 8 colour cell,
// worked out 4 x 4 x 4 cells at a time. Only entries that could be nearest to some point of
// the block are tried: those whose closest distance to the block does not exceed the
// smallest farthest distance of any entry.
#include <array>
#include <climits>

#include "color/color_quantizer.h"

namespace quilla {

namespace {
constexpr int kBlockCells = 4;
constexpr int kBlockSpan = (kBlockCells - 1) * 8;  // from the first to the last cell centre
}

void ColorQuantizer::FillCacheBlock(int redCell, int greenCell, int blueCell) {
  const int start[3] = {redCell & ~3, greenCell & ~3, blueCell & ~3};
  int corner[3], centre[3];
  for (int c = 0; c < 3; ++c) {
    corner[c] = start[c] * 8 + 4;
    centre[c] = (corner[c] + corner[c] + kBlockSpan) / 2;
  }

  std::array<uint8_t, 256> candidates;
  int candidateCount = 0;
  const int count = int(mapping.count);
  std::array<int, 256> minDistance;
  int smallestMax = INT_MAX;
  for (int i = 0; i < count; ++i) {
    const RgbQuad& e = mapping.entries[size_t(i)];
    const int value[3] = {e.red, e.green, e.blue};
    int nearest = 0, farthest = 0;
    for (int c = 0; c < 3; ++c) {
      int lo = corner[c], hi = corner[c] + kBlockSpan, v = value[c];
      int near = v < lo ? lo - v : v > hi ? v - hi : 0;
      int far = (v < lo || v <= centre[c]) ? hi - v : v - lo;
      nearest += near * near;
      farthest += far * far;
    }
    minDistance[size_t(i)] = nearest;
    if (farthest < smallestMax) smallestMax = farthest;
  }
  for (int i = 0; i < count; ++i)
    if (minDistance[size_t(i)] <= smallestMax) candidates[size_t(candidateCount++)] = uint8_t(i);

  std::array<int, 64> bestDistance;
  std::array<uint8_t, 64> bestIndex{};
  bestDistance.fill(INT_MAX);
  for (int k = 0; k < candidateCount; ++k) {
    const RgbQuad& e = mapping.entries[candidates[size_t(k)]];
    int cell = 0;
    int dr = corner[0] - e.red, distR = dr * dr;
    for (int r = 0; r < kBlockCells; ++r) {
      int dg = corner[1] - e.green, distRG = distR + dg * dg;
      for (int g = 0; g < kBlockCells; ++g) {
        int db = corner[2] - e.blue, dist = distRG + db * db;
        for (int b = 0; b < kBlockCells; ++b, ++cell) {
          if (dist < bestDistance[size_t(cell)]) bestDistance[size_t(cell)] = dist, bestIndex[size_t(cell)] = candidates[size_t(k)];
          dist += 2 * db * 8 + 64;
          db += 8;
        }
        distRG += 2 * dg * 8 + 64;
        dg += 8;
      }
      distR += 2 * dr * 8 + 64;
      dr += 8;
    }
  }

  int cell = 0;
  for (int r = 0; r < kBlockCells; ++r)
    for (int g = 0; g < kBlockCells; ++g)
      for (int b = 0; b < kBlockCells; ++b, ++cell) {
        const size_t at = size_t(CellIndex(start[0] + r, start[1] + g, start[2] + b));
        const uint8_t index = bestIndex[size_t(cell)];
        const RgbQuad& e = mapping.entries[index];
        cells[at] = uint16_t(index + 1);
        uint8_t* entry = &cellEntries[4 * at];
        entry[0] = e.red, entry[1] = e.green, entry[2] = e.blue, entry[3] = index;
      }
}

}  // namespace quilla
