#include "shell/retouch_commands.h"

#include "core/dib_image.h"
#include "core/messages.h"
#include "retouch/colour_retouch.h"
#include "retouch/macro_retouch.h"
#include "settings/app_options.h"
#include "shell/dialogs.h"
#include "shell/display.h"
#include "shell/retouch_dialog.h"
#include "shell/selection_area.h"
#include "shell/shell_state.h"

namespace quilla {

namespace {

// The step keeps the undo state, marks the image changed and runs its pixel loop under the
// wait cursor; a palette image announces its new colours itself. Then the image is shown again.
LRESULT RunOneStep(int (*step)(DIBImage&)) {
  DIBImage& document = shell.mainDocument;
  if (!document.IsOperable() || !DropSelection(1)) return 0;
  if (!step(document)) {
    ShowNoMemory();
    return 0;
  }
  shell.iconDocument.FreeImage();
  Repaint(false);
  return 0;
}

}  // namespace

LRESULT OnGrayScale(LPARAM) { return RunOneStep(GrayScaleImage); }
LRESULT OnNegative(LPARAM) { return RunOneStep(NegativeImage); }

LRESULT OnContrastEnhance(LPARAM) { return ShowOneSliderRetouch(RetouchOp::ContrastEnhance), 0; }
LRESULT OnExpEnhance(LPARAM) { return ShowOneSliderRetouch(RetouchOp::ExpEnhance), 0; }
LRESULT OnLogEnhance(LPARAM) { return ShowOneSliderRetouch(RetouchOp::LogEnhance), 0; }
LRESULT OnSineHEnhance(LPARAM) { return ShowOneSliderRetouch(RetouchOp::SineHEnhance), 0; }
LRESULT OnImageFilters(LPARAM) { return ShowImageFilters(), 0; }

LRESULT OnGamma(LPARAM) { return ShowThreeSliderRetouch(RetouchOp::GammaCorrection), 0; }
LRESULT OnColorBalance(LPARAM) { return ShowThreeSliderRetouch(RetouchOp::ColorBalance), 0; }
LRESULT OnHsvAdjust(LPARAM) { return ShowThreeSliderRetouch(RetouchOp::HsvEnhance), 0; }
LRESULT OnYcbcrAdjust(LPARAM) { return ShowThreeSliderRetouch(RetouchOp::YcbcrEnhance), 0; }

LRESULT OnInteractiveRgb(LPARAM) { return ShowInteractiveRgb(), 0; }

void RunCurrentMacro() {
  DIBImage& document = shell.mainDocument;
  if (!document.IsOperable() || !DropSelection(1)) return;
  const MacroTable& macros = Options().Macros();
  const MacroRetouch& macro = macros.macros[size_t(macros.current)];
  const int filterSlot = LastFilterSlot(document, macro);
  if (RunMacro(document, macro, Options().Filters())) {
    if (filterSlot >= 0) SetCurrentFilter(filterSlot);
  } else {
    ShowNoMemory();
  }
  shell.iconDocument.FreeImage();
  Repaint(false);
}

LRESULT OnRunMacro(LPARAM) { return RunCurrentMacro(), 0; }
LRESULT OnMacroSetup(LPARAM) { return ShowMacroSetup(), 0; }

}  // namespace quilla
