#include "retouch/image_filter.h"

#include <cstring>

#include "color/windows16_palette.h"
#include "formats/formats_test_support.h"
#include "retouch/filter_command.h"
#include "settings/list_defaults.h"

namespace quilla {

namespace {

// A true-colour picture whose pixel (x, y from the top) is colour(x, y), 0xRRGGBB.
void MakePicture(DIBImage& picture, int width, int height, const std::function<uint32_t(int, int)>& colour) {
  ASSERT_TRUE(picture.CreateImage(width, height, true, nullptr, 0, 0));
  ImageLock lock(picture);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = picture.RowPointer(y) + 3 * x;
      uint32_t c = colour(x, y);
      p[0] = uint8_t(c), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c >> 16);
    }
}

// A filter of the given weights (kernel index, weight); all channels.
FilterSpec Kernel(std::initializer_list<std::pair<int, int>> weights, int divisor = 1, int bias = 0) {
  FilterSpec spec;
  for (auto [index, weight] : weights) spec.kernel[size_t(index)] = weight;
  spec.divisor = divisor, spec.bias = bias;
  return spec;
}

DibBlock Filtered(DIBImage& picture, const FilterSpec& filter) {
  EXPECT_TRUE(FilterImage(picture, filter, DisplayMode::TrueColor));
  return picture.Duplicate();
}

uint32_t Flat(int, int) { return 0x404040; }
uint32_t WhiteDot(int x, int y) { return x == 3 && y == 3 ? 0xFFFFFF : 0; }

}  // namespace

using ImageFilterTest = FormatsTest;

TEST_F(ImageFilterTest, BuiltInFiltersOnKnownPictures) {
  const FilterSpec contour = DefaultNamedFilter(8), findEdges = DefaultNamedFilter(7);
  FilterSpec redContour = contour;
  redContour.green = redContour.blue = 0;
  struct Case {
    const char* name;
    const FilterSpec& filter;
    uint32_t (*colour)(int, int);
    std::vector<Pixel> expect;  // on 7 x 7
  } cases[] = {
      {"contour on a flat area is white", contour, Flat, {{3, 3, 0xFFFFFF}, {2, 4, 0xFFFFFF}, {1, 3, 0x404040}}},
      {"find edges on a flat area is black", findEdges, Flat, {{3, 3, 0}, {4, 2, 0}, {6, 6, 0x404040}}},
      {"find edges keeps a lone dot, clamps around it", findEdges, WhiteDot,
       {{3, 3, 0xFFFFFF}, {2, 3, 0}, {4, 4, 0}, {3, 2, 0}}},
      {"only the red channel", redContour, Flat, {{3, 3, 0xFF4040}, {0, 3, 0x404040}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DIBImage picture;
    MakePicture(picture, 7, 7, c.colour);
    ASSERT_TRUE(FilterImage(picture, c.filter, DisplayMode::TrueColor));
    ExpectPixels(picture, c.expect);
  }
}

TEST_F(ImageFilterTest, IdentityKeepsThePictureAndUndoBringsBackTheOriginal) {
  DIBImage picture, original;
  MakeTestImage(picture, 9, 8, 0);
  MakeTestImage(original, 9, 8, 0);
  imageChanged = false;
  ASSERT_TRUE(FilterImage(picture, FilterSpec::Identity(), DisplayMode::TrueColor));
  EXPECT_TRUE(SamePixels(picture, original));
  EXPECT_TRUE(imageChanged);

  ASSERT_TRUE(FilterImage(picture, DefaultNamedFilter(3), DisplayMode::TrueColor));
  EXPECT_FALSE(SamePixels(picture, original));
  picture.Undo();
  EXPECT_TRUE(SamePixels(picture, original));
}

TEST_F(ImageFilterTest, OnlyPixelsTwoInsideTheEdgesChange) {
  for (int side : {4, 5}) {
    DIBImage picture;
    MakePicture(picture, side, side, Flat);
    ASSERT_TRUE(FilterImage(picture, DefaultNamedFilter(8), DisplayMode::TrueColor));
    for (int y = 0; y < side; ++y)
      for (int x = 0; x < side; ++x)
        EXPECT_EQ(PixelRgb(picture, x, y), side == 5 && x == 2 && y == 2 ? 0xFFFFFFu : 0x404040u) << side << ": " << x << ", " << y;
  }
}

TEST_F(ImageFilterTest, KernelRowZeroWeightsTheRowTwoBelow) {
  DIBImage picture, original;
  // Wide enough for rows to be summed in more than one piece.
  auto colour = [](int x, int y) { return uint32_t(y * 0x0A0B0C + x * 0x030507); };
  MakePicture(picture, 1100, 9, colour);
  MakePicture(original, 1100, 9, colour);
  ASSERT_TRUE(FilterImage(picture, Kernel({{2, 1}}), DisplayMode::TrueColor));
  const PixelRows before = Rows(original), after = Rows(picture);
  for (int y = 2; y < 7; ++y)
    for (int x = 2; x < 1098; ++x) ASSERT_EQ(after[size_t(y)][size_t(x)], before[size_t(y + 2)][size_t(x)]) << x << ", " << y;
  EXPECT_EQ(after[7], before[7]);
}

TEST_F(ImageFilterTest, DivisionTruncatesTowardZeroThenBiasThenClamp) {
  struct Case {
    int weight, divisor, bias, value, expect;
  } cases[] = {
      {-7, 2, 10, 1, 7},     // -7 / 2 = -3, not -4
      {7, 2, 0, 1, 3},
      {-1, 1, 0, 9, 0},      // negative results clamp to 0
      {2, 1, 0, 200, 255},   // and large ones to 255
      {255, 1, -255, 255, 255},  // a sum past 16 bits
      {1, 999, -255, 255, 0},
  };
  for (const Case& c : cases) {
    DIBImage picture;
    MakePicture(picture, 5, 5, [&c](int, int) { return uint32_t(c.value) * 0x010101u; });
    ASSERT_TRUE(FilterImage(picture, Kernel({{12, c.weight}}, c.divisor, c.bias), DisplayMode::TrueColor));
    EXPECT_EQ(PixelRgb(picture, 2, 2), uint32_t(c.expect) * 0x010101u) << c.weight << "/" << c.divisor << "+" << c.bias;
  }
}

TEST_F(ImageFilterTest, ThreeByThreeGivesTheSameBytesAsTheFullSum) {
  // On a picture whose rows are each one colour, outer weights that pair up across a row
  // add nothing; they also make the sums 32 bits wide.
  FilterSpec inner = DefaultNamedFilter(3);
  FilterSpec full = inner;
  full.kernel[0] = 200, full.kernel[4] = -200, full.kernel[20] = -255, full.kernel[24] = 255;
  full.kernel[10] = 90, full.kernel[14] = -90;
  auto rows = [](int, int y) { return uint32_t((y * 37) % 256) * 0x010203u; };
  DIBImage a, b;
  MakePicture(a, 11, 10, rows);
  MakePicture(b, 11, 10, rows);
  EXPECT_EQ(Filtered(a, inner), Filtered(b, full));
}

TEST_F(ImageFilterTest, PaletteImagesComeBackWithTheirColourCount) {
  for (DisplayMode display : {DisplayMode::TrueColor, DisplayMode::SixteenColor}) {
    DIBImage picture, original;
    MakeTestImage(picture, 12, 10, 40);
    MakeTestImage(original, 12, 10, 40);
    ASSERT_TRUE(FilterImage(picture, DefaultNamedFilter(2), display));
    ASSERT_FALSE(picture.IsTrueColor());
    if (display == DisplayMode::SixteenColor) {
      EXPECT_EQ(picture.ColorCount(), 16u);
      EXPECT_EQ(std::memcmp(picture.ColorTable().data(), Windows16Palette.data(), sizeof Windows16Palette), 0);
    } else {
      EXPECT_EQ(picture.ColorCount(), 40u);
    }
    EXPECT_FALSE(SamePixels(picture, original));
    picture.Undo();
    EXPECT_EQ(picture.ColorCount(), 40u);
    EXPECT_TRUE(SamePixels(picture, original));
  }
}

}  // namespace quilla
