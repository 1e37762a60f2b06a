#include <vector>

#include "color/color_depth.h"
#include "color/color_reduction.h"
#include "color/copy_rect.h"
#include "quantizer_fixture.h"

namespace quilla {
namespace {

class ColorReductionTest : public QuantizerTest {
 protected:
  // Four flat quarters: red, green, blue, grey.
  void MakeQuarters(DIBImage& doc, int width = 8, int height = 8) {
    MakeTrueColor(doc, width, height, [=](int x, int y) {
      bool left = x < width / 2, top = y < height / 2;
      return top ? (left ? Rgb{200, 20, 20} : Rgb{20, 200, 20}) : (left ? Rgb{20, 20, 200} : Rgb{100, 100, 100});
    });
  }
  void MakeGradient(DIBImage& doc, int width, int height) {
    MakeTrueColor(doc, width, height, [](int x, int y) { return Rgb{(x * 7) & 255, (y * 13) & 255, (x + y) & 255}; });
  }
  QuantizeOptions ReadOptions() {
    QuantizeOptions options;
    options.needQuantizeRead = true;
    return options;
  }
};

TEST_F(ColorReductionTest, TrueColourToFewColoursKeepsTheOldImageForUndo) {
  DIBImage doc;
  MakeQuarters(doc);
  DibBlock before = doc.Block();
  ASSERT_EQ(ChangeColorDepth(doc, 20, false, false), 1);
  EXPECT_EQ(doc.ColorCount(), 20u);
  EXPECT_EQ(PixelAt(doc, 0, 0), (Rgb{204, 20, 20}));  // the centre of the colour's cell
  EXPECT_EQ(PixelAt(doc, 7, 0), (Rgb{20, 204, 20}));
  EXPECT_EQ(PixelAt(doc, 0, 7), (Rgb{20, 20, 204}));
  EXPECT_EQ(PixelAt(doc, 7, 7), (Rgb{100, 100, 100}));
  ASSERT_EQ(doc.UndoKind(), 1u);
  doc.Undo();
  EXPECT_EQ(doc.Block(), before);
}

TEST_F(ColorReductionTest, WindowsSixteenMapsOntoTheFixedTable) {
  DIBImage doc;
  MakeTrueColor(doc, 16, 1, [](int x, int) { return Windows16Colors()[size_t(x)]; });
  ASSERT_EQ(ChangeColorDepth(doc, 256, true, true), 1);
  EXPECT_EQ(TableOf(doc), Windows16Colors());
  for (int i = 0; i < 16; ++i) EXPECT_EQ(IndexAt(doc, i, 0), i);
  // Color Depth with 16 colours means the Windows table, even for a 16-colour palette image.
  DIBImage sixteen;
  MakePaletteImage(sixteen, 16, 1, std::vector<Rgb>(16, Rgb{90, 30, 200}), [](int x, int) { return x; });
  ASSERT_EQ(ApplyColorDepth(sixteen, 16, false), 1);
  EXPECT_EQ(TableOf(sixteen), Windows16Colors());
}

TEST_F(ColorReductionTest, TrueColourCannotBecomeTrueColourAndBadCountsAreRefused) {
  DIBImage doc, empty;
  MakeQuarters(doc);
  DibBlock before = doc.Block();
  for (int colors : {0, 1, 257, -3}) EXPECT_EQ(ChangeColorDepth(doc, colors, false, false), 0) << colors;
  EXPECT_EQ(doc.Block(), before);
  EXPECT_FALSE(doc.HasUndo());
  EXPECT_EQ(ChangeColorDepth(empty, 16, false, false), 0);
}

TEST_F(ColorReductionTest, PaletteImageConversions) {
  const std::vector<Rgb> table = {{10, 20, 30}, {200, 100, 0}, {0, 0, 255}, {255, 255, 255}};
  DIBImage doc;
  MakePaletteImage(doc, 5, 3, table, [](int x, int y) { return (x + y) % 4; });

  // The same count changes nothing.
  uint32_t serial = doc.PaletteSerial();
  EXPECT_EQ(ChangeColorDepth(doc, 4, true, false), 1);
  EXPECT_EQ(doc.PaletteSerial(), serial);

  // More colours only raise the count.
  ASSERT_EQ(ChangeColorDepth(doc, 9, false, false), 1);
  EXPECT_EQ(doc.ColorCount(), 9u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ToRgb(doc.ColorTable()[size_t(i)]), table[size_t(i)]);
  EXPECT_EQ(IndexAt(doc, 4, 2), 2);
  doc.Undo();
  EXPECT_EQ(doc.ColorCount(), 4u);

  // Zero expands to true colour through the table.
  ASSERT_EQ(ChangeColorDepth(doc, 0, false, false), 1);
  ASSERT_TRUE(doc.IsTrueColor());
  EXPECT_EQ(PixelAt(doc, 1, 0), (Rgb{200, 100, 0}));
  EXPECT_EQ(PixelAt(doc, 3, 2), (Rgb{200, 100, 0}));
  doc.Undo();

  // Fewer colours reduce through the table: two gives black and white.
  ASSERT_EQ(ChangeColorDepth(doc, 2, false, false), 1);
  EXPECT_EQ(TableOf(doc), (std::vector<Rgb>{{0, 0, 0}, {255, 255, 255}}));
  EXPECT_EQ(IndexAt(doc, 0, 0), 0);
  EXPECT_EQ(IndexAt(doc, 3, 0), 1);
}

TEST_F(ColorReductionTest, DitheredReductionWorksAtAnyWidth) {
  DIBImage doc;
  MakeGradient(doc, 5000, 4);
  ASSERT_EQ(ChangeColorDepth(doc, 256, true, false), 1);
  EXPECT_EQ(doc.ColorCount(), 256u);
  EXPECT_EQ(doc.Width(), 5000);
  // The right end received diffused errors like the left end did.
  int differingFromPlainMapping = 0;
  DIBImage plain;
  MakeGradient(plain, 5000, 4);
  ASSERT_EQ(ChangeColorDepth(plain, 256, false, false), 1);
  for (int x = 4500; x < 5000; ++x) differingFromPlainMapping += IndexAt(doc, x, 3) != IndexAt(plain, x, 3);
  EXPECT_GT(differingFromPlainMapping, 0);
}

TEST_F(ColorReductionTest, QuantizeAfterReadFollowsTheOptions) {
  DIBImage doc;
  MakeQuarters(doc);
  QuantizeOptions options;  // NeedQuantizeRead off
  EXPECT_EQ(QuantizeAfterRead(doc, options, false), kQuantizeNothing);
  EXPECT_TRUE(doc.IsTrueColor());

  options = ReadOptions();
  options.useSysPalette = true;
  EXPECT_EQ(QuantizeAfterRead(doc, options, false), kQuantizeReduced);
  EXPECT_EQ(doc.ColorCount(), 16u);
  EXPECT_FALSE(doc.HasUndo());

  // A palette image with no more colours than asked for stays.
  options.useSysPalette = false;
  options.nColorsCreatePal = 16;
  DibBlock before = doc.Block();
  EXPECT_EQ(QuantizeAfterRead(doc, options, false), kQuantizeNothing);
  EXPECT_EQ(doc.Block(), before);
  options.nColorsCreatePal = 4;
  EXPECT_EQ(QuantizeAfterRead(doc, options, false), kQuantizeReduced);
  EXPECT_EQ(doc.ColorCount(), 4u);
}

TEST_F(ColorReductionTest, ProgressIsReportedEveryThirtySecondRowOfBothPasses) {
  DIBImage doc;
  MakeGradient(doc, 10, 100);
  SetProgressName("c:\\pics\\photo.ppm");
  ASSERT_EQ(QuantizeAfterRead(doc, ReadOptions(), true), kQuantizeReduced);
  // Rows 0, 32, 64, 96 of 200 in the counting pass, then 100, 132, 164, 196.
  EXPECT_EQ(host.titles, (std::vector<std::string>{"photo.ppm-00%", "photo.ppm-16%", "photo.ppm-32%", "photo.ppm-48%",
                                                   "photo.ppm-50%", "photo.ppm-66%", "photo.ppm-82%", "photo.ppm-98%"}));
}

TEST_F(ColorReductionTest, CancelDuringReductionKeepsTheImageAsRead) {
  for (int cancelAtPump : {1, 3, 6, 8}) {
    DIBImage doc;
    MakeGradient(doc, 10, 100);
    DibBlock before = doc.Block();
    host.CancelAtPump(cancelAtPump);
    EXPECT_EQ(QuantizeAfterRead(doc, ReadOptions(), true), kQuantizeCancelled) << cancelAtPump;
    EXPECT_EQ(host.pumps, cancelAtPump);
    EXPECT_EQ(doc.Block(), before);
    EXPECT_TRUE(doc.IsTrueColor());
  }
  // Without progress there is no way to cancel.
  DIBImage doc;
  MakeGradient(doc, 10, 100);
  RequestCancel();
  EXPECT_EQ(QuantizeAfterRead(doc, ReadOptions(), false), kQuantizeReduced);
}

TEST_F(ColorReductionTest, MapToPaletteHandlesBothKindsAndLeavesEqualTablesAlone) {
  const std::vector<RgbQuad> target = Quads({{0, 0, 0}, {255, 0, 0}, {0, 0, 255}});
  DIBImage doc;
  MakeTrueColor(doc, 3, 1, [](int x, int) { return x == 0 ? Rgb{250, 10, 10} : x == 1 ? Rgb{5, 5, 240} : Rgb{9, 9, 9}; });
  ASSERT_EQ(MapToPalette(doc, 3, false, target.data()), 1);
  EXPECT_EQ(doc.ColorCount(), 3u);
  EXPECT_EQ(IndexAt(doc, 0, 0), 1);
  EXPECT_EQ(IndexAt(doc, 1, 0), 2);
  EXPECT_EQ(IndexAt(doc, 2, 0), 0);

  uint32_t serial = doc.PaletteSerial();
  ASSERT_EQ(MapToPalette(doc, 3, false, target.data()), 1);
  EXPECT_EQ(doc.PaletteSerial(), serial);

  // In place onto another table: the indices follow their colours.
  const std::vector<RgbQuad> reordered = Quads({{0, 0, 255}, {0, 0, 0}, {255, 0, 0}, {0, 255, 0}});
  ASSERT_EQ(MapToPalette(doc, 4, true, reordered.data()), 1);
  EXPECT_EQ(doc.ColorCount(), 4u);
  EXPECT_EQ(PixelAt(doc, 0, 0), (Rgb{255, 0, 0}));
  EXPECT_EQ(PixelAt(doc, 1, 0), (Rgb{0, 0, 255}));
  EXPECT_EQ(doc.Palette()->entries.size(), 4u);

  ASSERT_EQ(MapToPalette(doc, 0, false, nullptr), 1);
  EXPECT_TRUE(doc.IsTrueColor());
  EXPECT_EQ(PixelAt(doc, 1, 0), (Rgb{0, 0, 255}));
  EXPECT_EQ(MapToPalette(doc, 3, false, nullptr), 0);
  EXPECT_EQ(MapToPalette(doc, 300, false, target.data()), 0);
}

TEST_F(ColorReductionTest, DitheringStartsAtTheBottomLineOfThePicture) {
  // A grey column onto black and white: the first row dithered becomes black and pushes
  // 5/16 of its error into the next, which becomes white. The bottom line comes first.
  const std::vector<RgbQuad> blackWhite = Quads({{0, 0, 0}, {255, 255, 255}});
  auto grey = [](int, int) { return Rgb{100, 100, 100}; };
  auto expectBottomFirst = [](DIBImage& doc, const char* path) {
    EXPECT_EQ(PixelAt(doc, 0, 1), (Rgb{0, 0, 0})) << path;
    EXPECT_EQ(PixelAt(doc, 0, 0), (Rgb{255, 255, 255})) << path;
  };
  DIBImage trueColor, palette, dest, source;
  MakeTrueColor(trueColor, 1, 2, grey);
  ASSERT_EQ(MapToPalette(trueColor, 2, true, blackWhite.data()), 1);
  expectBottomFirst(trueColor, "true colour onto a table");

  MakePaletteImage(palette, 1, 2, {{100, 100, 100}, {7, 7, 7}}, [](int, int) { return 0; });
  ASSERT_EQ(MapToPalette(palette, 2, true, blackWhite.data()), 1);
  expectBottomFirst(palette, "palette re-mapped in place");

  MakePaletteImage(dest, 1, 2, {{0, 0, 0}, {255, 255, 255}}, [](int, int) { return 0; });
  MakeTrueColor(source, 1, 2, grey);
  QuantizeOptions options;
  options.combineMode = kCombineKeepDest;
  options.useDithering = true;
  ASSERT_EQ(CopyRect(dest, 0, 0, source, 0, 0, 0, 1, options), 1);
  expectBottomFirst(dest, "copied rectangle");
}

TEST_F(ColorReductionTest, QuantizeIntoLeavesTheSourceUntouched) {
  DIBImage source, dest, palette;
  MakeQuarters(source);
  DibBlock before = source.Block();
  ASSERT_EQ(QuantizeInto(dest, source, 256, true, false), 1);
  EXPECT_EQ(source.Block(), before);
  EXPECT_EQ(dest.ColorCount(), 256u);
  EXPECT_EQ(dest.Width(), 8);
  EXPECT_EQ(PixelAt(dest, 7, 7), (Rgb{100, 100, 100}));
  ASSERT_EQ(QuantizeInto(dest, source, 256, false, true), 1);
  EXPECT_EQ(dest.ColorCount(), 16u);

  MakePaletteImage(palette, 2, 2, {{1, 2, 3}}, [](int, int) { return 0; });
  EXPECT_EQ(QuantizeInto(dest, palette, 256, false, false), 0);
  EXPECT_EQ(QuantizeInto(source, source, 256, false, false), 0);
  EXPECT_EQ(QuantizeInto(dest, source, 0, false, false), 0);
}

}  // namespace
}  // namespace quilla
