// The three-slider retouch dialog (CBalDlgProc) of Gamma Correction, Color Balance, HSV and
// YCbCr Adjustment. A palette image shows every completed change at once, since only its
// colour table changes; a true-colour image waits for Exec, except Gamma with its lock on.
#include <iterator>

#include "resources/retouch_dialog_ids.h"
#include "settings/app_options.h"
#include "shell/dialog_support.h"
#include "shell/retouch_dialog.h"

namespace quilla {

namespace {

constexpr RetouchDialogKind kKinds[] = {
    {RetouchOp::GammaCorrection, IDD_GAMMA, L"Gamma Correction", {L"R", L"G", L"B"}, 8, 48},
    {RetouchOp::ColorBalance, IDD_COLOR_BALANCE, L"Color Balance", {L"R", L"G", L"B"}, 8, 44},
    {RetouchOp::HsvEnhance, IDD_COLOR_BALANCE, L"HSV Adjustment", {L"H", L"S", L"V"}, 8, 62},
    {RetouchOp::YcbcrEnhance, IDD_COLOR_BALANCE, L"YCbCr Adjustment", {L"Y", L"Cb", L"Cr"}, 8, 63},
};

constexpr int kLabelIds[] = {IDC_CB_LABEL1, IDC_CB_LABEL2, IDC_CB_LABEL3};
constexpr int kSliderIds[] = {IDC_CB_SLIDER1, IDC_CB_SLIDER2, IDC_CB_SLIDER3};
constexpr int kValueIds[] = {IDC_CB_VALUE1, IDC_CB_VALUE2, IDC_CB_VALUE3};

// Of the dialog that is up.
std::array<ScrollControl, 3> sliders;
std::array<int, 3> shown{};  // the values the picture shows

std::array<int, 3> Values() { return {sliders[0].Value(), sliders[1].Value(), sliders[2].Value()}; }

bool IsGamma() { return CurrentRetouchDialog()->kind.op == RetouchOp::GammaCorrection; }
bool Locked(HWND dialog) { return IsGamma() && IsChecked(dialog, IDC_CB_LOCK); }

void Show(const std::array<int, 3>& values) {
  ApplyRetouch(values);
  shown = values;
}

// A completed change shows at once when that is cheap (a colour table) or asked for (the
// lock).
void ChangeCompleted(HWND dialog) {
  if ((CurrentRetouchDialog()->palette || Locked(dialog)) && Values() != shown) Show(Values());
}

void SetAllTo(int value) {
  for (ScrollControl& slider : sliders) slider.SetValue(value);
}

void Fill(HWND dialog) {
  for (size_t i = 0; i < sliders.size(); ++i)
    sliders[i] = RetouchSlider(dialog, i, kLabelIds[i], kSliderIds[i], kValueIds[i]);
  shown = {};
  EnableControl(dialog, IDC_CB_EXEC, !CurrentRetouchDialog()->palette);
  if (IsGamma()) SetChecked(dialog, IDC_CB_LOCK, Options().LockRGBGamma() != 0);
}

bool Keep(HWND dialog) {
  if (IsGamma()) Options().SetLockRGBGamma(IsChecked(dialog, IDC_CB_LOCK) ? 1 : 0);
  return true;
}

void OnScroll(HWND dialog, HWND bar, int code, int thumb) {
  for (ScrollControl& slider : sliders) {
    if (slider.Bar() != bar) continue;
    slider.OnScroll(code, thumb);
    if (Locked(dialog)) SetAllTo(slider.Value());
    // The values are compared with the picture rather than taken from the slider's own
    // completed change, since the lock moves the others behind their backs.
    if (code == SB_ENDSCROLL) ChangeCompleted(dialog);
  }
}

}  // namespace

INT_PTR CALLBACK CBalDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  INT_PTR result = FALSE;
  if (HandleRetouchDialog(dialog, message, wParam, lParam, Fill, Keep, result)) return result;
  switch (message) {
    case WM_HSCROLL:
      // The thumb position is a signed 16-bit number for the negative values.
      OnScroll(dialog, reinterpret_cast<HWND>(lParam), LOWORD(wParam), short(HIWORD(wParam)));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_CB_EXEC) {
        Show(Values());
        return TRUE;
      }
      if (LOWORD(wParam) == IDC_CB_LOCK && HIWORD(wParam) == BN_CLICKED) {
        if (Locked(dialog)) SetAllTo(sliders[0].Value());
        ChangeCompleted(dialog);
        return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

void ShowThreeSliderRetouch(RetouchOp op) { ShowRetouchDialog(kKinds, std::size(kKinds), op, CBalDlgProc); }

}  // namespace quilla
