// The single-slider retouch dialog (ContrastDlgProc) of Contrast, Exp, Log and SineH
// Enhancement: every completed slider change is applied at once, for both image kinds.
#include <iterator>

#include "resources/retouch_dialog_ids.h"
#include "shell/dialogs.h"
#include "shell/retouch_dialog.h"

namespace quilla {

namespace {

constexpr RetouchDialogKind kKinds[] = {
    {RetouchOp::ContrastEnhance, IDD_ONE_SLIDER, L"Contrast Enhancement", {L"C"}, 4, 43},
    {RetouchOp::ExpEnhance, IDD_ONE_SLIDER, L"Exp Enhancement", {L"E"}, 2, 47},
    {RetouchOp::LogEnhance, IDD_ONE_SLIDER, L"Log Enhancement", {L"L"}, 10, 51},
    {RetouchOp::SineHEnhance, IDD_ONE_SLIDER, L"SineH Enhancement", {L"S"}, 5, 50},
};

ScrollControl slider;  // of the dialog that is up

void Fill(HWND dialog) { slider = RetouchSlider(dialog, 0, IDC_RT_LABEL, IDC_RT_SLIDER, IDC_RT_VALUE); }

}  // namespace

INT_PTR CALLBACK ContrastDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  INT_PTR result = FALSE;
  if (HandleRetouchDialog(dialog, message, wParam, lParam, Fill, nullptr, result)) return result;
  if (message == WM_HSCROLL && reinterpret_cast<HWND>(lParam) == slider.Bar()) {
    // The thumb position is a signed 16-bit number for the negative contrasts.
    if (slider.OnScroll(LOWORD(wParam), short(HIWORD(wParam)))) ApplyRetouch({slider.Value(), 0, 0});
    return TRUE;
  }
  return FALSE;
}

void ShowOneSliderRetouch(RetouchOp op) { ShowRetouchDialog(kKinds, std::size(kKinds), op, ContrastDlgProc); }

}  // namespace quilla
