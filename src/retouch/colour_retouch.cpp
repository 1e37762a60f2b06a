#include "retouch/colour_retouch.h"

#include <algorithm>
#include <cstring>

#include "color/range_table.h"
#include "core/messages.h"
#include "retouch/colour_spaces.h"
#include "retouch/transfer_curves.h"

namespace quilla {

namespace {

int Wrap360(int h) { return h < 0 ? h + 360 : h >= 360 ? h - 360 : h; }

}  // namespace

ColourRetouch::ColourRetouch(DIBImage& document, bool keepSource) : document(document), keepUndo(keepSource) {
  if (!document.HasImage()) return;
  trueColor = document.IsTrueColor();
  inPlace = trueColor && !keepSource;
  if (trueColor && !inPlace) {
    source = document.Duplicate();
    if (source.empty()) return;
    ImageLock lock(document);
    bitsOffset = size_t(document.GetBits() - reinterpret_cast<const uint8_t*>(document.GetHeader()));
  } else if (!trueColor) {
    sourceColors = document.ColorTable();
  }
  active = true;
}

ColourRetouch::~ColourRetouch() { Cancel(); }

// The document's colours computed from the source by map(r, g, b) -> Rgb.
template <class Map>
void ColourRetouch::MapColours(Map map) {
  if (!active) return;
  if (!trueColor) {
    std::array<RgbQuad, 256> table = sourceColors;
    for (uint32_t i = 0, n = std::min<uint32_t>(document.ColorCount(), 256); i < n; ++i) {
      RgbQuad& entry = table[i];
      const Rgb c = map(entry.red, entry.green, entry.blue);
      entry.red = uint8_t(c.r), entry.green = uint8_t(c.g), entry.blue = uint8_t(c.b);
    }
    document.SetColors(table.data());
    return;
  }
  WaitCursor wait;
  ImageLock lock(document);
  const size_t stride = document.RowStride(), width = size_t(document.Width());
  const int height = document.Height();
  uint8_t* to = document.GetBits();
  const uint8_t* from = inPlace ? to : source.data() + bitsOffset;
  for (int y = 0; y < height; ++y, from += stride, to += stride) {
    const uint8_t* s = from;
    uint8_t* d = to;
    for (size_t x = 0; x < width; ++x, s += 3, d += 3) {
      const Rgb c = map(s[2], s[1], s[0]);
      d[0] = uint8_t(c.b), d[1] = uint8_t(c.g), d[2] = uint8_t(c.r);
    }
  }
}

bool ColourRetouch::Apply(RetouchOp op, const std::array<int, 3>& parameters) {
  const RetouchOpInfo& info = RetouchOpInfoOf(int(op));
  std::array<int, 3> p{};
  for (int i = 0; i < info.parameterCount; ++i)
    p[size_t(i)] = std::clamp(parameters[size_t(i)], info.minimum[size_t(i)], info.maximum[size_t(i)]);
  const uint8_t* clamp = RangeLimit();
  TransferTables& curves = SharedTransferTables();
  switch (op) {
    case RetouchOp::GammaCorrection:
      // A colour table is computed entry by entry, without the tables.
      if (!trueColor) {
        MapColours([&p](int r, int g, int b) {
          return Rgb{GammaEntry(p[0], r), GammaEntry(p[1], g), GammaEntry(p[2], b)};
        });
        return true;
      }
      curves = {GammaCurve(p[0]), GammaCurve(p[1]), GammaCurve(p[2])};
      break;
    case RetouchOp::ColorBalance:
      MapColours([&p, clamp](int r, int g, int b) {
        return Rgb{clamp[r + p[0]], clamp[g + p[1]], clamp[b + p[2]]};
      });
      return true;
    case RetouchOp::HsvEnhance:
      MapColours([&p, clamp](int r, int g, int b) {
        const Hsv hsv = RgbToHsv(r, g, b);
        return HsvToRgb(Wrap360(hsv.h + p[0]), clamp[hsv.s + p[1]], clamp[hsv.v + p[2]]);
      });
      return true;
    case RetouchOp::YcbcrEnhance:
      MapColours([&p, clamp](int r, int g, int b) {
        const YCbCr c = RgbToYCbCr(r, g, b);
        return YCbCrToRgb(clamp[c.y + p[0]], clamp[c.cb + p[1]], clamp[c.cr + p[2]]);
      });
      return true;
    case RetouchOp::ContrastEnhance: curves.red = ContrastCurve(p[0]); break;
    case RetouchOp::ExpEnhance: curves.red = ExpCurve(p[0]); break;
    case RetouchOp::LogEnhance: curves.red = LogCurve(p[0]); break;
    case RetouchOp::SineHEnhance: curves.red = SineHCurve(p[0]); break;
    default: return false;
  }
  // The single-curve operations use their curve for all three channels.
  if (op != RetouchOp::GammaCorrection) curves.green = curves.blue = curves.red;
  ApplyCurves(curves);
  return true;
}

void ColourRetouch::ApplyCurves(const TransferTables& curves) {
  MapColours([&curves](int r, int g, int b) {
    return Rgb{curves.red[size_t(r)] & 255, curves.green[size_t(g)] & 255, curves.blue[size_t(b)] & 255};
  });
}

void ColourRetouch::ApplyGrayScale() {
  MapColours([](int r, int g, int b) {
    const int y = Luminance(r, g, b);
    return Rgb{y, y, y};
  });
}

void ColourRetouch::ApplyNegative() {
  MapColours([](int r, int g, int b) {
    const YCbCr c = RgbToYCbCr(r, g, b);
    return YCbCrToRgb(255 - c.y, c.cb, c.cr);
  });
}

void ColourRetouch::Ok() {
  if (!active) return;
  if (keepUndo && !trueColor)
    document.SetUndoColors(sourceColors.data());
  else if (keepUndo)
    document.SetUndoImage(std::move(source));
  imageChanged = true;
  active = false;
}

void ColourRetouch::Cancel() {
  if (!active || inPlace) return;
  if (trueColor) {
    ImageLock lock(document);
    std::memcpy(document.GetBits(), source.data() + bitsOffset, size_t(document.ImageBytes()));
    source = DibBlock();
  } else {
    document.SetColors(sourceColors.data());
  }
  active = false;
}

namespace {

// Without undo there is nothing to keep the image for, so it changes in place.
template <class Step>
int RunOneStep(DIBImage& document, Step step) {
  ColourRetouch retouch(document, document.UndoEnabled());
  if (!retouch || !step(retouch)) return 0;
  retouch.Ok();
  return 1;
}

}  // namespace

int GrayScaleImage(DIBImage& document) {
  return RunOneStep(document, [](ColourRetouch& r) { return r.ApplyGrayScale(), true; });
}

int NegativeImage(DIBImage& document) {
  return RunOneStep(document, [](ColourRetouch& r) { return r.ApplyNegative(), true; });
}

int ApplyColourRetouch(DIBImage& document, RetouchOp op, const std::array<int, 3>& parameters) {
  return RunOneStep(document, [&](ColourRetouch& r) { return r.Apply(op, parameters); });
}

int ApplyTransferCurves(DIBImage& document, const TransferTables& curves) {
  return RunOneStep(document, [&](ColourRetouch& r) { return r.ApplyCurves(curves), true; });
}

}  // namespace quilla
