#include "resources/resource_ids.h"
#include "shell/dialog_support.h"
#include "shell/dialogs.h"
#include "shell/gdi.h"
#include "shell/shell_state.h"

namespace quilla {

namespace {
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

}  // namespace

// Shows and closes only; it is placed at, and remembers, the large-dialog position.
INT_PTR CALLBACK DevCapsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const DialogPattern pattern{DialogKind::Large, 68, [](HWND d, LPARAM) { FillCaps(d); }, nullptr, nullptr};
  INT_PTR result = FALSE;
  HandleDialogPattern(pattern, dialog, message, wParam, lParam, result);
  return result;
}

void ShowDeviceCapsDialog() {
  DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_DEVCAPS), shell.mainWindow, DevCapsDlgProc, 0);
}

}  // namespace quilla
