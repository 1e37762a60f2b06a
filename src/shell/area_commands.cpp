#include "shell/area_commands.h"

#include <utility>

#include "core/dib_image.h"
#include "shell/selection_area.h"
#include "shell/shell_state.h"
#include "shell/window_layout.h"

namespace quilla {

LRESULT OnCrop(LPARAM) {
  static bool running = false;  // a second request while one runs is ignored
  if (running || !HasSelection()) return 0;
  running = true;
  if (EnsureDetached()) {
    DIBImage& document = shell.mainDocument;
    DibBlock area = AreaDocument().DetachDib();
    DropSelection(0);
    DibBlock old = document.DetachDib();
    document.ReplaceDib(std::move(area));
    document.SetUndoImage(std::move(old));
    imageChanged = true;
    shell.iconDocument.FreeImage();
    FitWindow();
  }
  running = false;
  return 0;
}

LRESULT OnUndefine(LPARAM) { return DropSelection(0), 0; }

LRESULT OnApplyArea(LPARAM) { return ApplyArea(), 0; }

}  // namespace quilla
