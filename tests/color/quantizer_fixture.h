// Shared set-up for the colour tests: a scripted host, the process-wide quantizer, small
// images made from functions, and a plain reference of the nearest-colour rule.
#pragma once
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <vector>

#include "color/color_quantizer.h"
#include "color/windows16_palette.h"
#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "support/scripted_host.h"

namespace quilla {

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

inline RgbQuad Quad(Rgb c) { return RgbQuad{uint8_t(c.b), uint8_t(c.g), uint8_t(c.r), 0}; }
inline std::vector<RgbQuad> Quads(const std::vector<Rgb>& colors) {
  std::vector<RgbQuad> quads;
  for (const Rgb& c : colors) quads.push_back(Quad(c));
  return quads;
}
inline Rgb ToRgb(const RgbQuad& q) { return {q.red, q.green, q.blue}; }
inline std::vector<Rgb> Windows16Colors() {
  std::vector<Rgb> colors;
  for (const RgbQuad& q : Windows16Palette) colors.push_back(ToRgb(q));
  return colors;
}
// A true-colour row as stored: blue, green, red.
inline std::vector<uint8_t> RowBytes(const std::vector<Rgb>& row) {
  std::vector<uint8_t> bytes;
  for (const Rgb& c : row) bytes.insert(bytes.end(), {uint8_t(c.b), uint8_t(c.g), uint8_t(c.r)});
  return bytes;
}
inline std::ostream& operator<<(std::ostream& os, const Rgb& c) {
  return os << "(" << c.r << "," << c.g << "," << c.b << ")";
}

class QuantizerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgressState();
    ASSERT_EQ(InitializeColorQuantizer(), 1);
  }
  void TearDown() override {
    ShutdownColorQuantizer();
    ResetProgressState();
  }
  ColorQuantizer& q() { return TheColorQuantizer(); }
  // Cells of the shared histogram / cache storage that are not zero.
  int FilledCells() {
    int filled = 0;
    for (int r = 0; r < 32; ++r)
      for (int g = 0; g < 32; ++g)
        for (int b = 0; b < 32; ++b) filled += q().CellValue(r, g, b) != 0;
    return filled;
  }

  InstalledHost host;
};

inline void MakeTrueColor(DIBImage& doc, int width, int height, const std::function<Rgb(int, int)>& color) {
  ASSERT_EQ(doc.CreateImage(width, height, true, nullptr, 0, 0), 1);
  doc.Lock();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      Rgb c = color(x, y);
      uint8_t* p = doc.RowPointer(y) + 3 * x;
      p[0] = uint8_t(c.b), p[1] = uint8_t(c.g), p[2] = uint8_t(c.r);
    }
  doc.Unlock();
}

inline void MakePaletteImage(DIBImage& doc, int width, int height, const std::vector<Rgb>& table,
                             const std::function<int(int, int)>& index) {
  std::vector<RgbQuad> quads = Quads(table);
  ASSERT_EQ(doc.CreateImage(width, height, false, quads.data(), int(quads.size()), 0), 1);
  doc.Lock();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) doc.RowPointer(y)[x] = uint8_t(index(x, y));
  doc.Unlock();
}

inline Rgb PixelAt(DIBImage& doc, int x, int y) {
  doc.Lock();
  Rgb c;
  if (doc.IsTrueColor()) {
    const uint8_t* p = doc.RowPointer(y) + 3 * x;
    c = {p[2], p[1], p[0]};
  } else {
    c = ToRgb(doc.GetColors()[doc.RowPointer(y)[x]]);
  }
  doc.Unlock();
  return c;
}

inline int IndexAt(DIBImage& doc, int x, int y) {
  doc.Lock();
  int index = doc.RowPointer(y)[x];
  doc.Unlock();
  return index;
}

inline std::vector<Rgb> TableOf(DIBImage& doc) {
  std::vector<Rgb> table;
  std::array<RgbQuad, 256> all = doc.ColorTable();
  for (uint32_t i = 0; i < doc.ColorCount(); ++i) table.push_back(ToRgb(all[i]));
  return table;
}

inline std::vector<Rgb> MappingOf(ColorQuantizer& q) {
  std::vector<Rgb> table;
  for (int i = 0; i < q.GetMappingCount(); ++i) table.push_back(ToRgb(q.GetMappingPalette()[i]));
  return table;
}

// The nearest entry to the centre of a colour's cell, by brute force; the first wins ties.
inline int BruteNearest(const std::vector<Rgb>& palette, int r, int g, int b) {
  int cr = (r >> 3) * 8 + 4, cg = (g >> 3) * 8 + 4, cb = (b >> 3) * 8 + 4;
  int best = 0, bestDistance = INT_MAX;
  for (size_t i = 0; i < palette.size(); ++i) {
    int dr = palette[i].r - cr, dg = palette[i].g - cg, db = palette[i].b - cb;
    int d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) bestDistance = d, best = int(i);
  }
  return best;
}

// A repeatable pseudo-random source for test pictures.
class TestRandom {
 public:
  explicit TestRandom(uint32_t seed) : state(seed) {}
  int Next(int range) {
    state = state * 1664525u + 1013904223u;
    return int((state >> 8) % uint32_t(range));
  }

 private:
  uint32_t state;
};

}  // namespace quilla
