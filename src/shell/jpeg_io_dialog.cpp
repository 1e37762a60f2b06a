// Jpeg I/O Options (JODlgProc, command 116): the Normal and Preview decompression sets, one
// shown at a time, and the compression options, over a working copy stored on OK.
#include "resources/options_dialog_ids.h"
#include "resources/resource_ids.h"
#include "shell/dialog_support.h"
#include "shell/dialogs.h"
#include "shell/jpeg_io_dialog_rules.h"
#include "shell/shell_state.h"
#include "shell/toolbar.h"
#include "shell/utf.h"

namespace quilla {

namespace {
constexpr int kHelpContext = 65;
constexpr int kQualityLineStep = 1, kQualityPageStep = 5;

JpegOptionsCopy copy;  // the dialog is modal: one working copy

bool Checked(int control, void* dialog) { return IsChecked(static_cast<HWND>(dialog), control); }

void ShowSet(HWND dialog) {
  const JpegDecodeSetup& set = copy.setups[size_t(copy.shown)];
  SetWindowTextW(dialog, Widen(JpegDialogTitle(copy.shown)).c_str());
  SetControlText(dialog, IDC_JO_SWITCH, JpegSwitchButtonText(copy.shown));
  SetChecked(dialog, IDC_JO_LOAD_GRAY, set.grayscale);
  SetChecked(dialog, IDC_JO_FAST_UPSAMPLING, set.fastUpsampling);
  SetChecked(dialog, IDC_JO_ONE_PASS, set.onePass);
  SetChecked(dialog, IDC_JO_FAST_DITHER, set.fastQuantizing);
  for (int button : kJpegDctButtons) SetChecked(dialog, button, button == JpegDctButton(set.dctType));
  for (int button : kJpegScaleButtons) SetChecked(dialog, button, button == JpegScaleButton(set.denominator));
}

JpegDecodeSetup ReadSet(HWND dialog) {
  JpegDecodeSetup set = copy.setups[size_t(copy.shown)];
  set.grayscale = IsChecked(dialog, IDC_JO_LOAD_GRAY);
  set.fastUpsampling = IsChecked(dialog, IDC_JO_FAST_UPSAMPLING);
  set.onePass = IsChecked(dialog, IDC_JO_ONE_PASS);
  set.fastQuantizing = IsChecked(dialog, IDC_JO_FAST_DITHER);
  set.dctType = JpegDctTypeFromButtons(Checked, dialog, set.dctType);
  set.denominator = JpegDenominatorFromButtons(Checked, dialog);
  return set;
}

void ShowQuality(HWND dialog) {
  SetScrollPos(GetDlgItem(dialog, IDC_JO_QUALITY_BAR), SB_CTL, copy.quality, TRUE);
  SetDlgItemInt(dialog, IDC_JO_QUALITY_TEXT, UINT(copy.quality), FALSE);
}

void Fill(HWND dialog, LPARAM) {
  copy = LoadJpegOptionsCopy();
  ShowSet(dialog);
  SetScrollRange(GetDlgItem(dialog, IDC_JO_QUALITY_BAR), SB_CTL, kJpegQualityMin, kJpegQualityMax, FALSE);
  ShowQuality(dialog);
  SetChecked(dialog, IDC_JO_ENTROPY, copy.optimizeEntropy);
  SetChecked(dialog, IDC_JO_SAVE_GRAY, copy.saveGrayscale);
  SetChecked(dialog, IDC_JO_WARN_GRAY, copy.warnGrayscaleSave);
}

bool CopyBack(HWND dialog) {
  copy.setups[size_t(copy.shown)] = ReadSet(dialog);
  copy.optimizeEntropy = IsChecked(dialog, IDC_JO_ENTROPY);
  copy.saveGrayscale = IsChecked(dialog, IDC_JO_SAVE_GRAY);
  copy.warnGrayscaleSave = IsChecked(dialog, IDC_JO_WARN_GRAY);
  StoreJpegOptionsCopy(copy);
  return true;
}

// The quality bar: arrows step 1, the page 5, the thumb tracks.
void Scroll(HWND dialog, WPARAM wParam) {
  int quality = copy.quality;
  switch (LOWORD(wParam)) {
    case SB_LINELEFT: quality -= kQualityLineStep; break;
    case SB_LINERIGHT: quality += kQualityLineStep; break;
    case SB_PAGELEFT: quality -= kQualityPageStep; break;
    case SB_PAGERIGHT: quality += kQualityPageStep; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: quality = HIWORD(wParam); break;
    case SB_LEFT: quality = kJpegQualityMin; break;
    case SB_RIGHT: quality = kJpegQualityMax; break;
    default: return;
  }
  copy.quality = ClampJpegQuality(quality);
  ShowQuality(dialog);
}
}  // namespace

INT_PTR CALLBACK JODlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const DialogPattern pattern{DialogKind::Large, kHelpContext, Fill, CopyBack, nullptr};
  INT_PTR result = FALSE;
  if (HandleDialogPattern(pattern, dialog, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, IDC_JO_QUALITY_BAR)) Scroll(dialog, wParam);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) != IDC_JO_SWITCH || HIWORD(wParam) != BN_CLICKED) return FALSE;
      SwitchJpegSetup(copy, ReadSet(dialog));
      ShowSet(dialog);
      return TRUE;
  }
  return FALSE;
}

int ShowJpegOptions(HWND owner) {
  const INT_PTR answer = DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_JPEG_OPTIONS),
                                         owner ? owner : shell.mainWindow, JODlgProc, 0);
  // The toolbar's JPEG button shows which decompression set is current.
  SetAltGlyph29(Options().JpegDecompressionSetup() == kJpegPreview);
  return int(answer) - 1;
}

}  // namespace quilla
