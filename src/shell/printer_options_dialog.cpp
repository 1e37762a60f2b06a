// Printer Options (PrinterOptionsDlgProc, command 118): the two print percentages, fitting
// to the page and centring.
#include "resources/print_dialog_ids.h"
#include "resources/resource_ids.h"
#include "settings/app_options.h"
#include "shell/dialog_support.h"
#include "shell/printing.h"
#include "shell/scroll_control.h"
#include "shell/shell_state.h"

namespace quilla {

namespace {
constexpr int kHelpContext = 15;
constexpr int kMinimumPercent = 20, kMaximumPercent = 900, kPercentPage = 8;

ScrollControl cols, rows;  // of the dialog that is up

void Fill(HWND dialog, LPARAM) {
  cols = ScrollControl(dialog, IDC_PO_COLS_BAR, IDC_PO_COLS_VALUE, kMinimumPercent, kMaximumPercent, kPercentPage,
                       Options().PercentColsPrint());
  rows = ScrollControl(dialog, IDC_PO_ROWS_BAR, IDC_PO_ROWS_VALUE, kMinimumPercent, kMaximumPercent, kPercentPage,
                       Options().PercentRowsPrint());
  SetChecked(dialog, IDC_PO_FIT, Options().FitPrinterPage() != 0);
  SetChecked(dialog, IDC_PO_CENTER, Options().CenterPrinterPage() != 0);
}

bool CopyBack(HWND dialog) {
  Options().SetPercentColsPrint(cols.Value());
  Options().SetPercentRowsPrint(rows.Value());
  Options().SetFitPrinterPage(IsChecked(dialog, IDC_PO_FIT) ? 1 : 0);
  Options().SetCenterPrinterPage(IsChecked(dialog, IDC_PO_CENTER) ? 1 : 0);
  return true;
}
}  // namespace

INT_PTR CALLBACK PrinterOptionsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const DialogPattern pattern{DialogKind::Small, kHelpContext, Fill, CopyBack, nullptr};
  INT_PTR result = FALSE;
  if (HandleDialogPattern(pattern, dialog, message, wParam, lParam, result)) return result;
  if (message == WM_HSCROLL) {
    const HWND bar = reinterpret_cast<HWND>(lParam);
    ScrollControl& slider = bar == rows.Bar() ? rows : cols;
    if (bar == slider.Bar()) slider.OnScroll(LOWORD(wParam), short(HIWORD(wParam)));
    return TRUE;
  }
  return FALSE;
}

void ShowPrinterOptions() {
  DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_PRINTER_OPTIONS), shell.mainWindow, PrinterOptionsDlgProc, 0);
}

LRESULT OnPrinterOptions(LPARAM) {
  ShowPrinterOptions();
  return 0;
}

}  // namespace quilla
