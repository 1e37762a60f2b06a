#include "resources/resource_ids.h"
#include "settings/dialog_placement.h"
#include "shell/dialogs.h"
#include "shell/gdi.h"
#include "shell/shell_state.h"

namespace quilla {

namespace {
bool placed = false;  // moves before placement are not the user's

ScreenPoint CornerOf(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return {r.left, r.top};
}

void SetYesNo(HWND dialog, int control, bool yes) { SetDlgItemTextW(dialog, control, yes ? L"YES" : L"NO"); }

void FillCaps(HWND dialog) {
  WindowDC screen(nullptr);
  auto number = [&](int control, int index) { SetDlgItemInt(dialog, control, UINT(GetDeviceCaps(screen, index)), TRUE); };
  number(IDC_CAPS_DRIVER, DRIVERVERSION);
  number(IDC_CAPS_HORZRES, HORZRES);
  number(IDC_CAPS_VERTRES, VERTRES);
  number(IDC_CAPS_BITSPIXEL, BITSPIXEL);
  number(IDC_CAPS_PLANES, PLANES);
  number(IDC_CAPS_NUMCOLORS, NUMCOLORS);
  const int raster = GetDeviceCaps(screen, RASTERCAPS);
  const bool palette = raster & RC_PALETTE;
  SetYesNo(dialog, IDC_CAPS_PALETTE, palette);
  if (palette) {
    number(IDC_CAPS_SIZEPALETTE, SIZEPALETTE);
    number(IDC_CAPS_NUMRESERVED, NUMRESERVED);
    number(IDC_CAPS_COLORRES, COLORRES);
  } else {
    for (int control : {IDC_CAPS_SIZEPALETTE, IDC_CAPS_NUMRESERVED, IDC_CAPS_COLORRES}) SetDlgItemTextW(dialog, control, L"-----");
  }
  const wchar_t* const clipNames[] = {L"NO CLIP", L"RECTS", L"REGNS"};
  const int clip = GetDeviceCaps(screen, CLIPCAPS);
  if (clip >= 0 && clip <= 2) SetDlgItemTextW(dialog, IDC_CAPS_CLIP, clipNames[clip]);
  else SetDlgItemInt(dialog, IDC_CAPS_CLIP, UINT(clip), TRUE);
  SetYesNo(dialog, IDC_CAPS_DIB, raster & RC_DI_BITMAP);
  SetYesNo(dialog, IDC_CAPS_BITMAP64, raster & RC_BITMAP64);
}

// At the remembered large-dialog offset from the main window.
void Place(HWND dialog) {
  RECT r;
  GetWindowRect(dialog, &r);
  ScreenPoint origin = DialogOrigin(Options(), DialogKind::Large, CornerOf(shell.mainWindow), r.right - r.left,
                                    r.bottom - r.top, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  SetWindowPos(dialog, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  placed = true;
}
}  // namespace

INT_PTR CALLBACK DevCapsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  INT_PTR colorResult;
  if (HandleDialogColor(message, wParam, colorResult)) return colorResult;
  switch (message) {
    case WM_INITDIALOG:
      placed = false;
      Place(dialog);
      FillCaps(dialog);
      // The help pages are not shipped with the program yet.
      EnableWindow(GetDlgItem(dialog, IDC_HELP_BUTTON), FALSE);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDOK);
      return TRUE;
    case WM_MOVE:
      if (placed) RememberDialogOffset(Options(), DialogKind::Large, CornerOf(dialog), CornerOf(shell.mainWindow));
      return FALSE;
    case WM_CLOSE:
      EndDialog(dialog, IDOK);
      return TRUE;
  }
  return FALSE;
}

void ShowDeviceCapsDialog() {
  DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_DEVCAPS), shell.mainWindow, DevCapsDlgProc, 0);
}

}  // namespace quilla
