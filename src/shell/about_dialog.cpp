#include "core/version.h"
#include "resources/resource_ids.h"
#include "shell/dialogs.h"
#include "shell/shell_state.h"
#include "shell/utf.h"

namespace quilla {

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  INT_PTR colorResult;
  if (HandleDialogColor(message, wParam, colorResult)) return colorResult;
  switch (message) {
    case WM_INITDIALOG:
      SetDlgItemTextW(dialog, IDC_ABOUT_TITLE, Widen(kProgramTitle).c_str());
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDOK);
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, IDOK);
      return TRUE;
  }
  return FALSE;
}

void ShowAboutDialog() { DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_ABOUT), shell.mainWindow, AboutDlgProc, 0); }

}  // namespace quilla
