// The Color Depth dialog (CDepthDlgProc), command 141 on the main document; the Options
// menu opens the same dialog as "Quantizing Options".
#include "color/color_depth.h"
#include "resources/options_dialog_ids.h"
#include "resources/resource_ids.h"
#include "settings/app_options.h"
#include "shell/dialog_support.h"
#include "shell/dialogs.h"
#include "shell/selection_area.h"
#include "shell/shell_state.h"

namespace quilla {

namespace {
constexpr int kCountButtons[] = {IDC_CD_256, IDC_CD_WINDOWS16, IDC_CD_BLACK_WHITE, IDC_CD_CUSTOM};

struct Run {
  bool quantizing = false;
  ColorDepthChoice* choice = nullptr;
  int count = 0;
};
Run* current = nullptr;  // the dialog is modal: one run at a time

// The colour group follows the target; the edit box only serves the custom count.
void UpdateEnabled(HWND dialog) {
  const bool palette = IsChecked(dialog, IDC_CD_PALETTE);
  for (int button : kCountButtons) EnableControl(dialog, button, palette);
  EnableControl(dialog, IDC_CD_CUSTOM_COUNT, palette && IsChecked(dialog, IDC_CD_CUSTOM));
}

void Fill(HWND dialog, LPARAM init) {
  current = reinterpret_cast<Run*>(init);
  const ColorDepthChoice& choice = *current->choice;
  if (current->quantizing) SetWindowTextW(dialog, L"Quantizing Options");
  SetChecked(dialog, IDC_CD_TRUE_COLOR, !choice.paletteTarget);
  SetChecked(dialog, IDC_CD_PALETTE, choice.paletteTarget);
  EnableControl(dialog, IDC_CD_TRUE_COLOR, choice.trueColorEnabled);
  for (int button : kCountButtons) SetChecked(dialog, button, button == choice.countChoice);
  SetControlText(dialog, IDC_CD_CUSTOM_COUNT, std::to_string(choice.customCount));
  SetChecked(dialog, IDC_CD_DITHER, choice.dither);
  UpdateEnabled(dialog);
}

bool CopyBack(HWND dialog) {
  ColorDepthChoice choice = *current->choice;
  choice.paletteTarget = IsChecked(dialog, IDC_CD_PALETTE);
  for (int button : kCountButtons) {
    if (IsChecked(dialog, button)) choice.countChoice = button;
  }
  choice.dither = IsChecked(dialog, IDC_CD_DITHER);
  const std::string text = ControlText(dialog, IDC_CD_CUSTOM_COUNT);
  const int count = ChosenColorCount(choice, text);
  if (count < 0) {  // refused with a message: the user corrects the number
    HWND edit = GetDlgItem(dialog, IDC_CD_CUSTOM_COUNT);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    return false;
  }
  if (choice.countChoice == kCustomColors) choice.customCount = count;
  *current->choice = choice;
  current->count = count;
  return true;
}

void ControlClicked(HWND dialog, int control) {
  switch (control) {
    case IDC_CD_TRUE_COLOR:
    case IDC_CD_PALETTE:
    case IDC_CD_256:
    case IDC_CD_WINDOWS16:
    case IDC_CD_BLACK_WHITE:
      UpdateEnabled(dialog);
      break;
    case IDC_CD_CUSTOM:
      UpdateEnabled(dialog);
      SetFocus(GetDlgItem(dialog, IDC_CD_CUSTOM_COUNT));
      break;
  }
}
}  // namespace

INT_PTR CALLBACK CDepthDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const DialogPattern colorDepth{DialogKind::Small, 42, Fill, CopyBack, nullptr};
  static const DialogPattern quantizing{DialogKind::Small, 55, Fill, CopyBack, nullptr};
  const bool forQuantizing = message == WM_INITDIALOG ? reinterpret_cast<Run*>(lParam)->quantizing
                                                      : current && current->quantizing;
  INT_PTR result = FALSE;
  if (HandleDialogPattern(forQuantizing ? quantizing : colorDepth, dialog, message, wParam, lParam, result)) {
    return result;
  }
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    ControlClicked(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

bool RunColorDepthDialog(bool quantizing, ColorDepthChoice& choice, int& count) {
  Run run{quantizing, &choice, 0};
  const INT_PTR answer = DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_COLOR_DEPTH), shell.mainWindow,
                                         CDepthDlgProc, reinterpret_cast<LPARAM>(&run));
  current = nullptr;
  if (answer != IDOK) return false;
  count = run.count;
  return true;
}

void ShowColorDepth() {
  DIBImage& document = shell.mainDocument;
  if (!document.IsOperable() || !DropSelection(1)) return;
  ColorDepthChoice choice = InitialColorDepthChoice(document.IsTrueColor(), CurrentQuantizeOptions());
  int count = 0;
  if (!RunColorDepthDialog(false, choice, count)) return;
  // The dithering choice serves this conversion only.
  if (ApplyColorDepth(document, count, choice.dither)) {
    InvalidateRect(shell.mainWindow, nullptr, FALSE);
    UpdateWindow(shell.mainWindow);
  }
}

}  // namespace quilla
