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

JpegReadColorOptions CurrentJpegReadColorOptions() {
  const AppOptions& o = Options();
  JpegReadColorOptions read;
  read.quantize = o.NeedQuantizeRead() != 0;
  read.systemPalette = o.UseSysPalette() != 0;
  read.colors = std::clamp(o.NColorsCreatePal(), 2, 256);
  read.dither = o.UseDithering() != 0;
  read.previewGray = o.ImagePreviewGray() != 0;
  return read;
}

JpegWriteOptions CurrentJpegWriteOptions() {
  const AppOptions& o = Options();
  return {o.JpegQuality(), o.JpegEntOpt() != 0, o.SaveJpegGS() != 0};
}

}  // namespace quilla
