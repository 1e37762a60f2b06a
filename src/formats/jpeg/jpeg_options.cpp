#include "formats/jpeg/jpeg_options.h"

#include <algorithm>

#include "settings/app_options.h"

namespace quilla {

JpegDecodeSetup LoadJpegDecodeSetup(int index) {
  const AppOptions& o = Options();
  int set = index == kJpegPreview ? kJpegPreview : kJpegNormal;
  return {o.LoadJpegGS(set),  o.JpegDenom(set),           o.JpegFastUp(set),
          o.JpegDCTType(set), o.JpegOptionFastQuant(set), o.JpegOption1Pass(set)};
}

void StoreJpegDecodeSetup(int index, const JpegDecodeSetup& setup) {
  AppOptions& o = Options();
  int set = index == kJpegPreview ? kJpegPreview : kJpegNormal;
  o.SetLoadJpegGS(set, setup.grayscale);
  o.SetJpegDenom(set, setup.denominator);
  o.SetJpegFastUp(set, setup.fastUpsampling);
  o.SetJpegDCTType(set, setup.dctType);
  o.SetJpegOptionFastQuant(set, setup.fastQuantizing);
  o.SetJpegOption1Pass(set, setup.onePass);
}

int ActiveJpegSetupIndex() { return Options().JpegDecompressionSetup() == kJpegPreview ? kJpegPreview : kJpegNormal; }

JpegDecodeSetup ActiveJpegDecodeSetup() { return LoadJpegDecodeSetup(ActiveJpegSetupIndex()); }

JpegReadColorOptions JpegReadColorOptionsFor(const QuantizeOptions& reduction) {
  JpegReadColorOptions read;
  read.quantize = reduction.needQuantizeRead;
  read.systemPalette = reduction.useSysPalette;
  read.colors = std::clamp(reduction.nColorsCreatePal, 2, 256);
  read.dither = reduction.useDithering;
  read.previewGray = Options().ImagePreviewGray() != 0;
  return read;
}

JpegWriteOptions CurrentJpegWriteOptions() {
  const AppOptions& o = Options();
  return {o.JpegQuality(), o.JpegEntOpt() != 0, o.SaveJpegGS() != 0};
}

}  // namespace quilla
