// Resize (ResizeDlgProc, template "Resize"): the new size by its edits, by the column and row
// ratio sliders or by a preset, with the aspect ratio kept while "Preserve aspect ratio" is
// checked.
#include "resources/geometry_dialog_ids.h"
#include "shell/dialog_support.h"
#include "shell/geometry_dialogs.h"
#include "shell/scroll_control.h"
#include "shell/shell_state.h"

namespace quilla {

namespace {
constexpr int kHelpTopic = 25;

// Of the dialog that is up; it is modal.
struct ResizeRun {
  PixelSize current, size;
  bool area = false;
  std::array<PixelSize, kSizePresetCount> presets{};
  bool showing = false;  // the dialog is writing its edits, which are not the user's typing
  ScrollControl cols, rows;
};
ResizeRun run;

bool KeepsAspect(HWND dialog) { return IsChecked(dialog, IDC_RS_ASPECT); }

void ShowSize(HWND dialog) {
  run.showing = true;
  SetDlgItemInt(dialog, IDC_RS_WIDTH, UINT(run.size.width), FALSE);
  SetDlgItemInt(dialog, IDC_RS_HEIGHT, UINT(run.size.height), FALSE);
  run.showing = false;
  run.cols.SetValue(RatioSliderPosition(run.size.width, run.current.width));
  run.rows.SetValue(RatioSliderPosition(run.size.height, run.current.height));
  SetControlText(dialog, IDC_RS_COLS_RATIO, RatioReadout(run.size.width, run.current.width));
  SetControlText(dialog, IDC_RS_ROWS_RATIO, RatioReadout(run.size.height, run.current.height));
}

void SetSize(HWND dialog, PixelSize wanted) {
  run.size = KeepsAspect(dialog) ? KeepAspect(run.current, wanted) : wanted;
  ShowSize(dialog);
}

void TakeDimension(HWND dialog, bool width, int value) {
  run.size = TakeEditedDimension(run.current, run.size, width, value, KeepsAspect(dialog));
  ShowSize(dialog);
}

// An edit left with a new whole number; anything else is ignored.
void TakeEdit(HWND dialog, bool width) {
  const std::optional<int> value = ParseDimension(ControlText(dialog, width ? IDC_RS_WIDTH : IDC_RS_HEIGHT));
  if (value && *value != (width ? run.size.width : run.size.height)) TakeDimension(dialog, width, *value);
}

void Fill(HWND dialog, LPARAM) {
  SetWindowTextW(dialog, run.area ? L"Resize Area" : L"Resize Image");
  SetDlgItemInt(dialog, IDC_RS_CURRENT_WIDTH, UINT(run.current.width), FALSE);
  SetDlgItemInt(dialog, IDC_RS_CURRENT_HEIGHT, UINT(run.current.height), FALSE);
  SetChecked(dialog, IDC_RS_ASPECT, true);
  run.cols = ScrollControl(dialog, IDC_RS_COLS_SLIDER, 0, kRatioSliderMin, kRatioSliderMax, kRatioSliderPage, 100);
  run.rows = ScrollControl(dialog, IDC_RS_ROWS_SLIDER, 0, kRatioSliderMin, kRatioSliderMax, kRatioSliderPage, 100);
  ShowSize(dialog);
}

// OK: an edit typed into and confirmed with Enter is taken first; sizes that are not whole
// numbers from 1 go back to the current size and the dialog stays.
bool CopyBack(HWND dialog) {
  TakeEdit(dialog, true);
  TakeEdit(dialog, false);
  if (!ParseDimension(ControlText(dialog, IDC_RS_WIDTH)) || !ParseDimension(ControlText(dialog, IDC_RS_HEIGHT))) {
    run.size = run.current;
    ShowSize(dialog);
    return false;
  }
  return true;
}

// A completed slider move asks for the dimension its position stands for.
void OnScroll(HWND dialog, HWND bar, int code, int thumb) {
  const bool cols = bar == run.cols.Bar();
  if (!cols && bar != run.rows.Bar()) return;
  ScrollControl& slider = cols ? run.cols : run.rows;
  slider.OnScroll(code, thumb);
  if (code != SB_ENDSCROLL) return;
  const int shown = cols ? run.size.width : run.size.height, base = cols ? run.current.width : run.current.height;
  if (slider.Value() != RatioSliderPosition(shown, base))
    TakeDimension(dialog, cols, DimensionFromSlider(base, slider.Value()));
}

bool OnCommand(HWND dialog, int id, int code) {
  if (id == IDC_RS_WIDTH || id == IDC_RS_HEIGHT) {
    if (code == EN_KILLFOCUS) TakeEdit(dialog, id == IDC_RS_WIDTH);
    if (code == EN_CHANGE && !run.showing) UncheckPresets(dialog, IDC_RS_PRESET_FIRST);
    return true;
  }
  const PixelSize* preset = ChosenPreset(run.presets, IDC_RS_PRESET_FIRST, id, code);
  if (preset) SetSize(dialog, *preset);
  return preset != nullptr;
}
}  // namespace

INT_PTR CALLBACK ResizeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const DialogPattern pattern{DialogKind::Small, kHelpTopic, Fill, CopyBack, nullptr};
  INT_PTR result = FALSE;
  if (HandleDialogPattern(pattern, dialog, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_HSCROLL:
      OnScroll(dialog, reinterpret_cast<HWND>(lParam), LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_COMMAND:
      return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
  }
  return FALSE;
}

bool RunResizeDialog(PixelSize current, bool area, PixelSize& chosen) {
  run = ResizeRun{};
  run.current = run.size = current;
  run.area = area;
  run.presets = ScreenSizePresets();
  if (DialogBoxParamW(shell.instance, L"Resize", shell.mainWindow, ResizeDlgProc, 0) != IDOK) return false;
  chosen = run.size;
  return true;
}

}  // namespace quilla
