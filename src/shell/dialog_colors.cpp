#include "shell/dialogs.h"
#include "shell/ctl3d.h"
#include "shell/shell_state.h"

namespace quilla {

void CreateDialogBrush() { shell.dialogBrush.Reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE))); }

bool HandleDialogColor(UINT message, WPARAM wParam, INT_PTR& result) {
  if (message != WM_CTLCOLORBTN && message != WM_CTLCOLORDLG && message != WM_CTLCOLORSTATIC) return false;
  // Where the 3-D controls library is loaded, it colours the dialogs itself.
  if (!shell.dialogBrush || Ctl3dLoaded()) return false;
  HDC dc = reinterpret_cast<HDC>(wParam);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  result = reinterpret_cast<INT_PTR>(shell.dialogBrush.Get());
  return true;
}

}  // namespace quilla
