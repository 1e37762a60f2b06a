// New Image (NewDlgProc, dialog 63): the size of a new image for File > New, or the new
// canvas for Redimension, typed or chosen from the presets.
#include "resources/geometry_dialog_ids.h"
#include "shell/dialog_support.h"
#include "shell/geometry_dialogs.h"
#include "shell/shell_state.h"

namespace quilla {

namespace {
constexpr int kNewHelpTopic = 7, kRedimensionHelpTopic = 28;

// Of the dialog that is up; it is modal.
struct NewImageRun {
  NewImageUse use = NewImageUse::NewImage;
  bool area = false;
  PixelSize start, chosen;
  std::array<PixelSize, kSizePresetCount> presets{};
  bool showing = false;  // the dialog is writing its edits, which are not the user's typing
};
NewImageRun run;

void ShowDimension(HWND dialog, int id, int value) {
  run.showing = true;
  SetDlgItemInt(dialog, id, UINT(value), FALSE);
  run.showing = false;
}

void ShowSize(HWND dialog, PixelSize size) {
  ShowDimension(dialog, IDC_NI_WIDTH, size.width);
  ShowDimension(dialog, IDC_NI_HEIGHT, size.height);
}

void Fill(HWND dialog, LPARAM) {
  if (run.use == NewImageUse::Redimension)
    SetWindowTextW(dialog, run.area ? L"Redimension Area" : L"Redimension Image");
  ShowSize(dialog, run.start);
}

// OK: an edit without a whole number from 1 gets its opening value back and the dialog stays.
bool CopyBack(HWND dialog) {
  const std::optional<int> width = ParseDimension(ControlText(dialog, IDC_NI_WIDTH));
  const std::optional<int> height = ParseDimension(ControlText(dialog, IDC_NI_HEIGHT));
  if (!width) ShowDimension(dialog, IDC_NI_WIDTH, run.start.width);
  if (!height) ShowDimension(dialog, IDC_NI_HEIGHT, run.start.height);
  if (!width || !height) return false;
  run.chosen = {*width, *height};
  return true;
}

bool OnCommand(HWND dialog, int id, int code) {
  if (id == IDC_NI_WIDTH || id == IDC_NI_HEIGHT) {
    if (code == EN_CHANGE && !run.showing) UncheckPresets(dialog, IDC_NI_PRESET_FIRST);
    return true;
  }
  const PixelSize* preset = ChosenPreset(run.presets, IDC_NI_PRESET_FIRST, id, code);
  if (preset) ShowSize(dialog, *preset);
  return preset != nullptr;
}
}  // namespace

INT_PTR CALLBACK NewDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const DialogPattern forNew{DialogKind::Small, kNewHelpTopic, Fill, CopyBack, nullptr};
  static const DialogPattern forRedimension{DialogKind::Small, kRedimensionHelpTopic, Fill, CopyBack, nullptr};
  const DialogPattern& pattern = run.use == NewImageUse::Redimension ? forRedimension : forNew;
  INT_PTR result = FALSE;
  if (HandleDialogPattern(pattern, dialog, message, wParam, lParam, result)) return result;
  if (message == WM_COMMAND) return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
  return FALSE;
}

bool RunNewImageDialog(NewImageUse use, bool area, PixelSize start, PixelSize& chosen) {
  run = NewImageRun{};
  run.use = use;
  run.area = area;
  run.start = start;
  run.presets = ScreenSizePresets();
  if (DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_NEW_IMAGE), shell.mainWindow, NewDlgProc, 0) != IDOK)
    return false;
  chosen = run.chosen;
  return true;
}

}  // namespace quilla
