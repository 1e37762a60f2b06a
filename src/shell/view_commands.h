// Handlers of the commands that act on the view, undo and help, in the form the command
// table takes them.
#pragma once
#include <windows.h>

#include "shell/scrolling.h"
#include "shell/window_layout.h"

namespace quilla {

// 159: swaps the undo image in; a new size lays the window out again.
LRESULT OnUndo(LPARAM);
// 127 and F1 (998): the help index.
LRESULT OnHelpContents(LPARAM);
// 129: the advice on the quantizing options for this display.
LRESULT OnDiagnosis(LPARAM);
// 197: the quarters of a band too large to paint at once.
LRESULT OnPaintQuartersCommand(LPARAM rectangle);

template <int kPosMode>
LRESULT PosModeCommand(LPARAM) {
  return OnPosModeCommand(kPosMode);
}
template <int kScroll>
LRESULT ScrollCommand(LPARAM) {
  return OnScrollCommand(kScroll);
}

}  // namespace quilla
