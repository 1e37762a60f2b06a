#include "formats/jpeg/jpeg_options.h"

#include <algorithm>

#include "settings/app_options.h"
#include "settings/text_bounds.h"

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

JpegMemoryOptions CurrentJpegMemoryOptions() { return {Options().TmpPath(), Options().UseTmpFiles() != 0}; }

JpegOptionsCopy LoadJpegOptionsCopy() {
  const AppOptions& o = Options();
  JpegOptionsCopy copy;
  copy.setups = {LoadJpegDecodeSetup(kJpegNormal), LoadJpegDecodeSetup(kJpegPreview)};
  copy.shown = ActiveJpegSetupIndex();
  copy.saveGrayscale = o.SaveJpegGS() != 0;
  copy.optimizeEntropy = o.JpegEntOpt() != 0;
  copy.quality = ClampJpegQuality(o.JpegQuality());
  copy.warnGrayscaleSave = o.WarnJpegGsSave() != 0;
  return copy;
}

void StoreJpegOptionsCopy(const JpegOptionsCopy& copy) {
  AppOptions& o = Options();
  StoreJpegDecodeSetup(kJpegNormal, copy.setups[0]);
  StoreJpegDecodeSetup(kJpegPreview, copy.setups[1]);
  o.SetJpegDecompressionSetup(copy.shown == kJpegPreview ? kJpegPreview : kJpegNormal);
  o.SetSaveJpegGS(copy.saveGrayscale ? 1 : 0);
  o.SetJpegEntOpt(copy.optimizeEntropy ? 1 : 0);
  o.SetJpegQuality(ClampJpegQuality(copy.quality));
  o.SetWarnJpegGsSave(copy.warnGrayscaleSave ? 1 : 0);
}

const char* JpegDialogTitle(int shown) {
  return shown == kJpegPreview ? "Jpeg I/O Options (Preview mode)" : "Jpeg I/O Options (Normal mode)";
}

const char* JpegSwitchButtonText(int shown) {
  return shown == kJpegPreview ? "S&witch to Normal setup" : "S&witch to Preview setup";
}

int JpegDctButton(int dctType) { return kJpegDctFirstButton + (dctType >= 0 && dctType <= 2 ? dctType : 0); }

int JpegScaleButton(int denominator) {
  bool known = denominator == 1 || denominator == 2 || denominator == 4 || denominator == 8;
  return kJpegScaleBase + (known ? denominator : 1);
}

int JpegDctTypeFromButtons(bool (*checked)(int, void*), void* context, int current) {
  for (int type = 0; type <= 2; ++type)
    if (checked(kJpegDctFirstButton + type, context)) return type;
  return current;
}

int JpegDenominatorFromButtons(bool (*checked)(int, void*), void* context) {
  for (int denominator : {1, 2, 4})
    if (checked(kJpegScaleBase + denominator, context)) return denominator;
  return 8;
}

void SwitchJpegSetup(JpegOptionsCopy& copy, const JpegDecodeSetup& shownAsRead) {
  int shown = copy.shown == kJpegPreview ? kJpegPreview : kJpegNormal;
  copy.setups[size_t(shown)] = shownAsRead;
  copy.shown = 1 - shown;
}

int ClampJpegQuality(int quality) { return std::clamp(quality, kJpegQualityMin, kJpegQualityMax); }

void StoreMemoryOptions(bool useTmpFiles, std::string_view editText) {
  Options().SetUseTmpFiles(useTmpFiles ? 1 : 0);
  Options().SetTmpPath(TruncateUtf8(editText, kMemoryTmpPathChars));
}

}  // namespace quilla
