#include "shell/view_commands.h"

#include "color/display_check.h"
#include "color/quantize_options.h"
#include "core/dib_image.h"
#include "settings/app_options.h"
#include "shell/dialogs.h"
#include "shell/gdi.h"
#include "shell/display.h"
#include "shell/help.h"
#include "shell/selection_area.h"
#include "shell/shell_state.h"

namespace quilla {

LRESULT OnUndo(LPARAM) {
  DIBImage& document = shell.mainDocument;
  // The selection belongs to the picture being undone.
  DropSelection(0);
  const int width = document.Width(), height = document.Height();
  document.Undo();
  imageChanged = true;
  shell.iconDocument.FreeImage();
  if (document.Width() != width || document.Height() != height) FitWindow();
  else Repaint(false);
  return 0;
}

LRESULT OnHelpContents(LPARAM) {
  ShowHelpTopic(kHelpIndex);
  return 0;
}

LRESULT OnDiagnosis(LPARAM) {
  WindowDC screen(nullptr);
  ShowQuantizingDiagnosis(Options().GetDisplayMode(), GetDeviceCaps(screen, BITSPIXEL), CurrentQuantizeOptions());
  return 0;
}

LRESULT OnPaintQuartersCommand(LPARAM rectangle) { return OnPaintQuarters(rectangle); }

}  // namespace quilla
