#include "shell/slideshow_dialog.h"

#include <string>

#include "core/messages.h"
#include "resources/resource_ids.h"
#include "resources/slideshow_dialog_ids.h"
#include "settings/app_options.h"
#include "shell/dialog_support.h"
#include "shell/shell_state.h"
#include "shell/slideshow_rules.h"

namespace quilla {

namespace {
constexpr int kHelpContext = 27;

// The delay matters only to an automatic slideshow.
void EnableDelay(HWND dialog) { EnableControl(dialog, IDC_SS_DELAY, IsChecked(dialog, IDC_SS_AUTOMATIC)); }

void FocusDelay(HWND dialog) {
  SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_SS_DELAY)), TRUE);
}

void Fill(HWND dialog, LPARAM) {
  const AppOptions& options = Options();
  SetChecked(dialog, IDC_SS_CYCLE, options.SSCycle());
  SetChecked(dialog, IDC_SS_FULL_SCREEN, options.SSFullScreen());
  SetChecked(dialog, IDC_SS_AUTOMATIC, options.SSAuto());
  SetChecked(dialog, IDC_SS_INTERACTIVE, !options.SSAuto());
  SetControlText(dialog, IDC_SS_DELAY, std::to_string(options.SSNSecondsDelay()));
  EnableDelay(dialog);
}

bool CopyBack(HWND dialog) {
  const SlideshowChoice choice{IsChecked(dialog, IDC_SS_CYCLE), IsChecked(dialog, IDC_SS_FULL_SCREEN),
                               IsChecked(dialog, IDC_SS_AUTOMATIC)};
  if (StoreSlideshowOptions(choice, ControlText(dialog, IDC_SS_DELAY))) return true;
  ShowWarningOwned(dialog, "Please enter a non-negative number.");
  FocusDelay(dialog);
  return false;
}
}  // namespace

INT_PTR CALLBACK SlideDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const DialogPattern pattern{DialogKind::Small, kHelpContext, Fill, CopyBack, nullptr};
  INT_PTR result = FALSE;
  if (HandleDialogPattern(pattern, dialog, message, wParam, lParam, result)) return result;
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    const int control = LOWORD(wParam);
    if (control == IDC_SS_AUTOMATIC || control == IDC_SS_INTERACTIVE) EnableDelay(dialog);
    if (control == IDC_SS_AUTOMATIC) FocusDelay(dialog);
    return TRUE;
  }
  return FALSE;
}

void ShowSlideshowOptions(HWND owner) {
  DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_SLIDESHOW_OPTIONS), owner ? owner : shell.mainWindow,
                  SlideDlgProc, 0);
}

LRESULT OnSlideshowOptions(LPARAM) {
  ShowSlideshowOptions();
  return 0;
}

}  // namespace quilla
