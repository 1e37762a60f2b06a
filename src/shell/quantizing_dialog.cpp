// Quantizing Options (command 149): the Color Depth dialog over the reading options, and
// the check of those options against the display.
#include "color/color_depth.h"
#include "color/display_check.h"
#include "settings/app_options.h"
#include "shell/dialogs.h"

namespace quilla {

QuantizeOptions CurrentQuantizeOptions() {
  const AppOptions& o = Options();
  QuantizeOptions q;
  q.nColorsCreatePal = o.NColorsCreatePal();
  q.useDithering = o.UseDithering() != 0;
  q.needQuantizeRead = o.NeedQuantizeRead() != 0;
  q.useSysPalette = o.UseSysPalette() != 0;
  q.combineMode = o.CombineMode();
  q.autoQuantize = o.AutoQuantize() != 0;
  return q;
}

// The four options the dialog and the display check decide.
void StoreQuantizeOptions(const QuantizeOptions& q) {
  AppOptions& o = Options();
  o.SetNColorsCreatePal(q.nColorsCreatePal);
  o.SetUseDithering(q.useDithering ? 1 : 0);
  o.SetNeedQuantizeRead(q.needQuantizeRead ? 1 : 0);
  o.SetUseSysPalette(q.useSysPalette ? 1 : 0);
}

bool CheckQuantizingAgainstDisplay() {
  const QuantizeOptions before = CurrentQuantizeOptions();
  const QuantizeOptions after = CheckQuantizingOptions(Options().GetDisplayMode(), before);
  if (after == before) return false;
  StoreQuantizeOptions(after);
  return true;
}

void ShowQuantizingOptions() {
  const QuantizeOptions options = CurrentQuantizeOptions();
  ColorDepthChoice choice = InitialQuantizingChoice(options);
  int count = 0;
  if (RunColorDepthDialog(true, choice, count)) StoreQuantizeOptions(ApplyQuantizingChoice(choice, count, options));
}

}  // namespace quilla
