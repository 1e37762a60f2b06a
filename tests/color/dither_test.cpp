#include <algorithm>
#include <array>
#include <vector>

#include "color/error_limiter.h"
#include "quantizer_fixture.h"

namespace quilla {
namespace {

using Picture = std::vector<std::vector<Rgb>>;

// Floyd-Steinberg as the textbook states it, keeping the whole previous row of errors:
// pixel x takes 7/16 of the error of the pixel before it in its row, and 5/16, 3/16 and
// 1/16 of the errors above it, above-ahead and above-behind in the direction the previous
// row ran. Rows alternate direction, starting left to right.
std::vector<std::vector<int>> ReferenceDither(const Picture& picture, const std::vector<Rgb>& palette, bool limit) {
  const int width = int(picture[0].size());
  std::vector<std::array<int, 3>> previous(size_t(width), {0, 0, 0});
  std::vector<std::vector<int>> out;
  for (size_t y = 0; y < picture.size(); ++y) {
    const int dir = y % 2 == 0 ? 1 : -1, previousDir = -dir;
    std::vector<std::array<int, 3>> current(size_t(width), {0, 0, 0});
    std::vector<int> indices(static_cast<size_t>(width));
    std::array<int, 3> carry = {0, 0, 0};
    auto above = [&](int x, int c) { return x < 0 || x >= width ? 0 : previous[size_t(x)][size_t(c)]; };
    for (int n = 0; n < width; ++n) {
      const int x = dir > 0 ? n : width - 1 - n;
      const Rgb& p = picture[y][size_t(x)];
      const int in[3] = {p.r, p.g, p.b};
      int v[3];
      for (int c = 0; c < 3; ++c) {
        int sum = carry[size_t(c)] + 5 * above(x, c) + 3 * above(x + previousDir, c) + above(x - previousDir, c);
        int e = (sum + 8) >> 4;
        if (limit) e = LimitError(e);
        v[c] = std::clamp(in[c] + e, 0, 255);
      }
      int index = BruteNearest(palette, v[0], v[1], v[2]);
      indices[size_t(x)] = index;
      const int chosen[3] = {palette[size_t(index)].r, palette[size_t(index)].g, palette[size_t(index)].b};
      for (int c = 0; c < 3; ++c) {
        current[size_t(x)][size_t(c)] = v[c] - chosen[c];
        carry[size_t(c)] = 7 * (v[c] - chosen[c]);
      }
    }
    out.push_back(indices);
    previous = current;
  }
  return out;
}

Picture NoisyGradient(int width, int height, uint32_t seed) {
  TestRandom random(seed);
  Picture picture(static_cast<size_t>(height), std::vector<Rgb>(static_cast<size_t>(width)));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      picture[size_t(y)][size_t(x)] = {std::clamp(x * 255 / std::max(width - 1, 1) + random.Next(61) - 30, 0, 255),
                                       std::clamp(y * 60 + random.Next(121) - 60, 0, 255), random.Next(256)};
  return picture;
}

class DitherTest : public QuantizerTest {
 protected:
  std::vector<std::vector<int>> Dither(const Picture& picture) {
    std::vector<std::vector<int>> out;
    for (const auto& row : picture) {
      std::vector<uint8_t> bytes = RowBytes(row), indices(row.size());
      EXPECT_EQ(q().DitherTrueColorRow(bytes.data(), indices.data(), int(row.size())), 1);
      out.emplace_back(indices.begin(), indices.end());
    }
    return out;
  }
  void SelectFrom(const Picture& picture, int colors) {
    q().ClearHistogram();
    for (const auto& row : picture) q().CountTrueColorRow(RowBytes(row).data(), int(row.size()));
    q().SelectColors(colors);
  }
  // Black and white, no errors carried yet.
  void StartBlackAndWhite() {
    q().ClearHistogram();
    q().SelectColors(2);
    q().ResetDither();
  }
  // A grey row through the palette, one index per pixel.
  std::vector<int> GreyRow(std::vector<int> greys) {
    std::vector<Rgb> row;
    for (int g : greys) row.push_back({g, g, g});
    return Dither({row})[0];
  }
};

TEST_F(DitherTest, MatchesTheTextbookAtEveryWidthAndPaletteSize) {
  for (int width : {1, 2, 7, 4001, 5000}) {
    for (int colors : {2, 16, 17, 256}) {
      Picture picture = NoisyGradient(width, 5, uint32_t(width * 31 + colors));
      SelectFrom(picture, colors);
      ASSERT_EQ(q().ResetDither(width), 1);
      auto expected = ReferenceDither(picture, MappingOf(q()), colors > 16);
      ASSERT_EQ(Dither(picture), expected) << "width " << width << ", colours " << colors;
    }
  }
}

TEST_F(DitherTest, ErrorsAreLimitedOnlyAboveSixteenColours) {
  Picture picture = NoisyGradient(64, 6, 99);
  SelectFrom(picture, 17);
  q().ResetDither();
  auto actual = Dither(picture);
  EXPECT_EQ(actual, ReferenceDither(picture, MappingOf(q()), true));
  EXPECT_NE(actual, ReferenceDither(picture, MappingOf(q()), false));

  // With the 16 Windows colours errors arrive whole.
  q().UseWindows16();
  q().ResetDither();
  actual = Dither(picture);
  EXPECT_EQ(actual, ReferenceDither(picture, MappingOf(q()), false));
  EXPECT_NE(actual, ReferenceDither(picture, MappingOf(q()), true));
}

TEST_F(DitherTest, SevenSixteenthsGoToTheNextPixelInTheRow) {
  StartBlackAndWhite();
  // 100 maps to black (error 100); the next pixel gets (700 + 8) >> 4 = 44.
  EXPECT_EQ(GreyRow({100, 84}), (std::vector<int>{0, 1}));
  q().ResetDither();
  EXPECT_EQ(GreyRow({100, 83}), (std::vector<int>{0, 0}));
}

TEST_F(DitherTest, RowsAlternateDirectionStartingLeftToRight) {
  StartBlackAndWhite();
  EXPECT_TRUE(q().NextRowLeftToRight());
  EXPECT_EQ(GreyRow({0, 0}), (std::vector<int>{0, 0}));
  EXPECT_FALSE(q().NextRowLeftToRight());
  // Right to left: the error of the right pixel reaches the left one.
  EXPECT_EQ(GreyRow({84, 100}), (std::vector<int>{1, 0}));
  EXPECT_TRUE(q().NextRowLeftToRight());
  q().ResetDither();
  EXPECT_EQ(GreyRow({84, 100}), (std::vector<int>{0, 1}));
}

TEST_F(DitherTest, OnePixelColumnTakesOnlyFiveSixteenthsFromAbove) {
  StartBlackAndWhite();
  // Error 100 above: (500 + 8) >> 4 = 31, so 97 reaches 128 (white) and 96 does not.
  EXPECT_EQ(Dither({{{100, 100, 100}}, {{97, 97, 97}}}), (std::vector<std::vector<int>>{{0}, {1}}));
  q().ResetDither();
  EXPECT_EQ(Dither({{{100, 100, 100}}, {{96, 96, 96}}}), (std::vector<std::vector<int>>{{0}, {0}}));
}

TEST_F(DitherTest, ResetForgetsErrorsOfThePreviousImage) {
  StartBlackAndWhite();
  GreyRow({100});
  q().ResetDither();
  EXPECT_EQ(Dither({{{96, 96, 96}}}), (std::vector<std::vector<int>>{{0}}));
}

TEST_F(DitherTest, RowsWiderThanAnyBeforeGrowTheErrorStorage) {
  Picture picture = NoisyGradient(6000, 3, 5);
  SelectFrom(picture, 256);
  q().ResetDither();  // the start-up width only
  EXPECT_EQ(q().DitherCapacity(), ColorQuantizer::kInitialDitherWidth);
  EXPECT_EQ(Dither(picture), ReferenceDither(picture, MappingOf(q()), true));
  EXPECT_GE(q().DitherCapacity(), 6000);
}

TEST_F(DitherTest, PaletteRowsDitherThroughTheInputPaletteInPlace) {
  Picture picture = NoisyGradient(40, 4, 11);
  std::vector<RgbQuad> input;
  std::vector<std::vector<uint8_t>> rows;
  Picture throughTable(picture.size(), std::vector<Rgb>(40));
  for (size_t y = 0; y < picture.size(); ++y) {
    rows.emplace_back();
    for (size_t x = 0; x < 40; ++x) {
      if (input.size() < 256) input.push_back(Quad(picture[y][x]));
      uint8_t index = uint8_t((y * 40 + x) % input.size());
      rows.back().push_back(index);
      throughTable[y][x] = ToRgb(input[index]);
    }
  }
  q().SetInputPalette(input.data(), int(input.size()));
  q().UseWindows16();
  q().ResetDither();
  auto expected = ReferenceDither(throughTable, MappingOf(q()), false);
  for (size_t y = 0; y < rows.size(); ++y) {
    ASSERT_EQ(q().DitherPaletteRow(rows[y].data(), rows[y].data(), 40), 1);
    EXPECT_EQ(std::vector<int>(rows[y].begin(), rows[y].end()), expected[y]);
  }
}

}  // namespace
}  // namespace quilla
