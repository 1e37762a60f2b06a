#include "retouch/colour_retouch.h"

#include <cstring>
#include <vector>

#include "formats/formats_test_support.h"
#include "retouch/colour_spaces.h"
#include "retouch/expr_evaluator.h"
#include "retouch/function_curve.h"
#include "retouch/transfer_curves.h"

namespace quilla {

namespace {

// A one-row true-colour image of the given colours 0xRRGGBB.
void MakeRow(DIBImage& document, const std::vector<uint32_t>& colours) {
  ASSERT_TRUE(document.CreateImage(int(colours.size()), 1, true, nullptr, 0, 0));
  ImageLock lock(document);
  uint8_t* p = document.RowPointer(0);
  for (uint32_t c : colours) *p++ = uint8_t(c), *p++ = uint8_t(c >> 8), *p++ = uint8_t(c >> 16);
}

std::vector<uint32_t> RowOf(DIBImage& document) { return Rows(document)[0]; }

DibBlock BytesOf(const DIBImage& document) { return document.Block(); }

}  // namespace

TEST(TransferCurvesTest, EntriesMatchTheFormulas) {
  struct Case {
    const char* curve;
    TransferTable table;
    int index, value;
  } cases[] = {
      {"gamma 100", GammaCurve(100), 64, 128},     {"gamma 300", GammaCurve(300), 64, 180},
      {"gamma -50", GammaCurve(-50), 128, 64},     {"gamma -99", GammaCurve(-99), 128, 0},
      {"contrast -64", ContrastCurve(-64), 0, 128}, {"contrast -64", ContrastCurve(-64), 255, 128},
      {"contrast 64", ContrastCurve(64), 127, 0},  {"contrast 64", ContrastCurve(64), 128, 255},
      {"contrast -32", ContrastCurve(-32), 0, 64}, {"contrast -32", ContrastCurve(-32), 100, 114},
      {"contrast -32", ContrastCurve(-32), 255, 191}, {"contrast 32", ContrastCurve(32), 63, 0},
      {"contrast 32", ContrastCurve(32), 64, 2},   {"contrast 32", ContrastCurve(32), 100, 74},
      {"contrast 32", ContrastCurve(32), 191, 255}, {"log 10", LogCurve(10), 64, 82},
      {"log 10", LogCurve(10), 128, 149},          {"log 10", LogCurve(10), 255, 255},
      {"log 200", LogCurve(200), 64, 150},         {"exp 1", ExpCurve(1), 0, 93},
      {"exp 1", ExpCurve(1), 128, 154},            {"exp 5", ExpCurve(5), 200, 213},
      {"exp 5 clamped", ExpCurve(5), 255, 255},    {"sineh 50", SineHCurve(50), 1, 14},
      {"sineh 50", SineHCurve(50), 128, 170},      {"sineh 99", SineHCurve(99), 1, 240},
      {"sineh keeps white", SineHCurve(50), 255, 255},
  };
  for (const Case& c : cases) EXPECT_EQ(c.table[size_t(c.index)], c.value) << c.curve << " at " << c.index;
  for (const TransferTable& zero : {GammaCurve(0), ContrastCurve(0), LogCurve(0), ExpCurve(0), SineHCurve(0)})
    EXPECT_EQ(zero, IdentityCurve());
}

// A function's curve is computed whole; one that fails to compile leaves the curve, one that
// fails at any x makes it the identity, with the evaluator's error either way.
TEST(TransferCurvesTest, CurvesFromFunctions) {
  TransferTable curve = GammaCurve(100);
  auto compute = [&](std::string text) { return ComputeFunctionCurve(text, curve); };
  std::string spaced = "x ^ 2";
  EXPECT_EQ(ComputeFunctionCurve(spaced, curve).outcome, CurveOutcome::Computed);
  EXPECT_EQ(spaced, "x^2") << "the text to keep is the compiled one";
  EXPECT_EQ(curve[128], 64);
  EXPECT_EQ(compute("x*2-0.5").outcome, CurveOutcome::Computed);
  EXPECT_EQ(curve[0], 0);
  EXPECT_EQ(curve[255], 255);
  EXPECT_EQ(curve[128], 128);
  CurveResult bad = compute("x+");
  EXPECT_EQ(bad.outcome, CurveOutcome::NotCompiled);
  EXPECT_STREQ(ExprEvaluator::ErrorText(bad.error), "Syntax Error");
  EXPECT_EQ(curve[128], 128);
  CurveResult failed = compute("1/x");
  EXPECT_EQ(failed.outcome, CurveOutcome::NotEvaluated);
  EXPECT_STREQ(ExprEvaluator::ErrorText(failed.error), "Division by Zero");
  EXPECT_EQ(curve, IdentityCurve());
}

// Each channel that uses its function gets its own curve, the others keep theirs; a failing
// channel does not stop the ones after it, and the first failure is the one reported.
TEST(TransferCurvesTest, ChannelCurvesFromTheirFunctions) {
  UserFunctionList functions;
  functions.slots[0].text = "x+";
  functions.slots[1].text = "x^2";
  functions.slots[2].text = "1/x";
  functions.selected = {1, 0, 2};
  functions.use = {1, 0, 1};
  const TransferTable kept = GammaCurve(100);
  TransferTables curves{kept, kept, kept};
  EXPECT_EQ(ComputeChannelCurves(functions, curves).outcome, CurveOutcome::NotEvaluated);
  EXPECT_EQ(curves.red[128], 64);
  EXPECT_EQ(curves.green, kept);
  EXPECT_EQ(curves.blue, IdentityCurve());
  functions.use = {1, 1, 1};
  EXPECT_EQ(ComputeChannelCurves(functions, curves).outcome, CurveOutcome::NotCompiled);
}

TEST(ColourSpacesTest, HsvKnownColoursAndTies) {
  struct Case {
    Rgb rgb;
    Hsv hsv;
  } cases[] = {
      {{77, 77, 77}, {0, 0, 77}},        {{255, 0, 0}, {0, 255, 255}},     {{0, 255, 0}, {120, 255, 255}},
      {{0, 0, 255}, {240, 255, 255}},    {{255, 255, 0}, {60, 255, 255}},  // green wins the tie with red
      {{0, 255, 255}, {180, 255, 255}},  {{255, 0, 255}, {300, 255, 255}},  // blue wins both ties
      {{200, 100, 50}, {20, 192, 200}},  {{200, 50, 100}, {340, 192, 200}},
      {{200, 50, 51}, {0, 192, 200}},  // 360 - 0.4 truncates to 360, which wraps to 0
  };
  for (const Case& c : cases) {
    Hsv hsv = RgbToHsv(c.rgb.r, c.rgb.g, c.rgb.b);
    EXPECT_EQ((std::array{hsv.h, hsv.s, hsv.v}), (std::array{c.hsv.h, c.hsv.s, c.hsv.v}))
        << c.rgb.r << "," << c.rgb.g << "," << c.rgb.b;
  }
  struct Back {
    Hsv hsv;
    Rgb rgb;
  } backs[] = {
      {{0, 0, 77}, {77, 77, 77}},     {{120, 255, 255}, {1, 255, 1}},     {{60, 255, 255}, {255, 255, 1}},
      {{359, 255, 255}, {255, 1, 5}}, {{30, 128, 200}, {200, 150, 100}},
  };
  for (const Back& c : backs) {
    Rgb rgb = HsvToRgb(c.hsv.h, c.hsv.s, c.hsv.v);
    EXPECT_EQ((std::array{rgb.r, rgb.g, rgb.b}), (std::array{c.rgb.r, c.rgb.g, c.rgb.b})) << c.hsv.h;
  }
}

TEST(ColourRetouchTest, OperationsOnTrueColourPixels) {
  struct Case {
    const char* name;
    RetouchOp op;
    std::array<int, 3> parameters;
    std::vector<uint32_t> before, after;
  } cases[] = {
      {"gamma 0 is the identity", RetouchOp::GammaCorrection, {0, 0, 0}, {0x123456, 0xfedcba}, {0x123456, 0xfedcba}},
      {"gamma per channel", RetouchOp::GammaCorrection, {100, 0, -50}, {0x408080}, {0x808040}},
      {"balance clamps", RetouchOp::ColorBalance, {10, -20, 255}, {0xfa1001}, {0xff00ff}},
      {"contrast -64 is uniform", RetouchOp::ContrastEnhance, {-64}, {0x000000, 0xff10ee}, {0x808080, 0x808080}},
      {"contrast 64 is two-level", RetouchOp::ContrastEnhance, {64}, {0x7f8001}, {0x00ff00}},
      {"hue -1 on red", RetouchOp::HsvEnhance, {-1, 0, 0}, {0xff0000}, {0xff0105}},
      {"ycbcr y -255 on white", RetouchOp::YcbcrEnhance, {-255, 0, 0}, {0xffffff}, {0x010001}},
      {"parameters held to range", RetouchOp::ContrastEnhance, {-1000}, {0x123456}, {0x808080}},
  };
  for (const Case& c : cases) {
    DIBImage document;
    MakeRow(document, c.before);
    ASSERT_TRUE(ApplyColourRetouch(document, c.op, c.parameters)) << c.name;
    EXPECT_EQ(RowOf(document), c.after) << c.name;
  }
}

TEST(ColourRetouchTest, GrayScaleAndNegativeKeepOneUndoStep) {
  DIBImage document;
  MakeRow(document, {0x000000, 0xffffff, 0x0ac81e});
  DibBlock original = BytesOf(document);
  imageChanged = false;
  ASSERT_TRUE(NegativeImage(document));
  // Only the luminance is inverted, through the fixed-point tables.
  EXPECT_EQ(RowOf(document)[0], 0xfffeffu);
  EXPECT_EQ(RowOf(document)[1], 0x010001u);
  EXPECT_TRUE(imageChanged);
  document.Undo();
  EXPECT_EQ(BytesOf(document), original);

  ASSERT_TRUE(GrayScaleImage(document));
  const std::vector<uint32_t> gray{0, 0xffffff, 0x7c7c7c};  // (10,200,30) -> 124
  EXPECT_EQ(RowOf(document), gray);
  document.Undo();
  EXPECT_EQ(BytesOf(document), original);

  // Without undo the image changes in place, to the same result.
  document.SetUndoEnabled(false);
  ASSERT_TRUE(GrayScaleImage(document));
  EXPECT_EQ(RowOf(document), gray);
  EXPECT_FALSE(document.HasUndo());
}

TEST(ColourRetouchTest, PaletteImagesChangeOnlyTheirColourTable) {
  DIBImage document;
  MakeTestImage(document, 5, 3, 4);
  std::vector<uint8_t> indices = Indices(document);
  std::array<RgbQuad, 256> table = document.ColorTable();
  ColourRetouch retouch(document);
  ASSERT_TRUE(retouch);
  ASSERT_TRUE(retouch.Apply(RetouchOp::GammaCorrection, {100, 0, 300}));
  EXPECT_EQ(Indices(document), indices);
  EXPECT_EQ(document.ColorCount(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    const RgbQuad entry = document.ColorTable()[i];
    EXPECT_EQ(entry.red, GammaEntry(100, table[i].red));
    EXPECT_EQ(entry.green, table[i].green);
    EXPECT_EQ(entry.blue, GammaEntry(300, table[i].blue));
    EXPECT_EQ(document.Palette()->entries[i].red, entry.red);  // the logical palette follows
  }
  // Interactive RGB's Exec: each channel through its own curve.
  retouch.ApplyCurves({GammaCurve(100), IdentityCurve(), ContrastCurve(-64)});
  for (size_t i = 0; i < 4; ++i) {
    const RgbQuad entry = document.ColorTable()[i];
    EXPECT_EQ((std::array{entry.red, entry.green, entry.blue}),
              (std::array{uint8_t(GammaCurve(100)[table[i].red]), table[i].green, uint8_t(128)}));
  }
  retouch.Cancel();
  EXPECT_EQ(std::memcmp(document.ColorTable().data(), table.data(), sizeof table), 0);
}

TEST(ColourRetouchTest, ApplicationsStartFromTheSourceAndEndAsChosen) {
  for (int colors : {0, 16}) {
    DIBImage document, once;
    MakeTestImage(document, 7, 5, colors);
    MakeTestImage(once, 7, 5, colors);
    ASSERT_TRUE(ApplyColourRetouch(once, RetouchOp::ColorBalance, {40, -40, 90}));
    DibBlock original = BytesOf(document);
    {
      ColourRetouch retouch(document);
      ASSERT_TRUE(retouch);
      retouch.Apply(RetouchOp::LogEnhance, {120});
      retouch.Apply(RetouchOp::ColorBalance, {40, -40, 90});
      retouch.Apply(RetouchOp::ColorBalance, {40, -40, 90});
      EXPECT_TRUE(SamePixels(document, once)) << colors;
      retouch.Cancel();
      EXPECT_EQ(BytesOf(document), original) << colors;
      EXPECT_FALSE(document.HasUndo());
    }
    {
      ColourRetouch retouch(document);  // closing without Ok cancels
      retouch.Apply(RetouchOp::SineHEnhance, {40});
    }
    EXPECT_EQ(BytesOf(document), original) << colors;

    imageChanged = false;
    ColourRetouch retouch(document);
    retouch.Apply(RetouchOp::ExpEnhance, {3});
    DibBlock result = BytesOf(document);
    retouch.Ok();
    EXPECT_TRUE(imageChanged);
    EXPECT_EQ(BytesOf(document), result) << colors;
    document.Undo();
    EXPECT_EQ(BytesOf(document), original) << colors;
  }
}

TEST(ColourRetouchTest, NothingWithoutAnImageOrForOtherOperations) {
  DIBImage document;
  EXPECT_FALSE(ColourRetouch(document));
  EXPECT_FALSE(GrayScaleImage(document));
  MakeRow(document, {0x102030});
  EXPECT_FALSE(ApplyColourRetouch(document, RetouchOp::ImageFilter, {1, 0, 0}));
  EXPECT_EQ(RowOf(document)[0], 0x102030u);
  EXPECT_FALSE(document.HasUndo());
}

}  // namespace quilla
