#include "shell/jpeg_io_dialog_rules.h"

#include <algorithm>

#include "settings/app_options.h"

namespace quilla {

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

int JpegDctButton(int dctType) { return kJpegDctButtons[dctType >= 0 && dctType <= 2 ? dctType : 0]; }

int JpegScaleButton(int denominator) {
  for (int i = 0; i < 4; ++i)
    if (denominator == 1 << i) return kJpegScaleButtons[i];
  return kJpegScaleButtons[0];
}

int JpegDctTypeFromButtons(bool (*checked)(int, void*), void* context, int current) {
  for (int type = 0; type <= 2; ++type)
    if (checked(kJpegDctButtons[type], context)) return type;
  return current;
}

int JpegDenominatorFromButtons(bool (*checked)(int, void*), void* context) {
  for (int i = 0; i < 3; ++i)
    if (checked(kJpegScaleButtons[i], context)) return 1 << i;
  return 8;
}

void SwitchJpegSetup(JpegOptionsCopy& copy, const JpegDecodeSetup& shownAsRead) {
  int shown = copy.shown == kJpegPreview ? kJpegPreview : kJpegNormal;
  copy.setups[size_t(shown)] = shownAsRead;
  copy.shown = 1 - shown;
}

int ClampJpegQuality(int quality) { return std::clamp(quality, kJpegQualityMin, kJpegQualityMax); }

}  // namespace quilla
