// Interface Options (command 194): eleven switches stored on OK through their setters, and
// four radio groups stored at once, which Cancel puts back.
#include "core/commands.h"
#include "resources/options_dialog_ids.h"
#include "resources/resource_ids.h"
#include "settings/app_options.h"
#include "shell/command_table.h"
#include "shell/dialog_support.h"
#include "shell/dialogs.h"
#include "shell/shell_state.h"

namespace quilla {

namespace {
struct Switch {
  int control;
  IntOption option;
  void (AppOptions::*set)(int);
};

// In the order OK stores them: the setters with side effects act in this order.
constexpr Switch kSwitches[] = {
    {IDC_IF_AUTO_QUANTIZE, IntOption::AutoQuantize, &AppOptions::SetAutoQuantize},
    {IDC_IF_ENABLE_UNDO, IntOption::EnableUndo, &AppOptions::SetEnableUndo},
    {IDC_IF_THICK_FRAME, IntOption::ThickAreaFrame, &AppOptions::SetThickAreaFrame},
    {IDC_IF_SCROLL_BARS, IntOption::ShowSBars, &AppOptions::SetShowSBars},
    {IDC_IF_AUTO_RESIZE, IntOption::AutoResize, &AppOptions::SetAutoResize},
    {IDC_IF_CONFIRM_SAVES, IntOption::WarnAllSaves, &AppOptions::SetWarnAllSaves},
    {IDC_IF_ANIMATE_FRAME, IntOption::AnimateAreaFrame, &AppOptions::SetAnimateAreaFrame},
    {IDC_IF_POPUP_ICON, IntOption::PopupIcon, &AppOptions::SetPopupIcon},
    {IDC_IF_TOOLBAR_LEGENDS, IntOption::ShowToolBarLegend, &AppOptions::SetShowToolBarLegend},
    {IDC_IF_THUMBS_ICON, IntOption::ShowThumbsIcon, &AppOptions::SetShowThumbsIcon},
    {IDC_IF_FULL_ON_TOP, IntOption::FullOnTop, &AppOptions::SetFullOnTop},
};

// A radio group whose buttons are numbered first..last; the option holds the number.
struct RadioGroup {
  int first, last;
  IntOption option;
};
constexpr RadioGroup kGroups[] = {
    {IDC_IF_DROP_SLIDESHOW, IDC_IF_DROP_CONTACT, IntOption::DropTo},
    {IDC_IF_RESIZE_NEVER, IDC_IF_RESIZE_ALWAYS, IntOption::ResizeOnLoad},
    {IDC_IF_POS_SAME, IDC_IF_POS_CENTER, IntOption::PosMode},
    {IDC_IF_CLIP_DDB, IDC_IF_CLIP_DIB, IntOption::CopyClipbdFmt},
};
constexpr size_t kGroupCount = sizeof kGroups / sizeof kGroups[0];

// What Cancel puts back (the dialog is modal: one at a time).
struct Remembered {
  int values[kGroupCount] = {};
  RECT mainWindow{};
  bool moved = false;
} remembered;

const RadioGroup* GroupOf(int control) {
  for (const RadioGroup& group : kGroups) {
    if (control >= group.first && control <= group.last) return &group;
  }
  return nullptr;
}

void Fill(HWND dialog, LPARAM) {
  const AppOptions& options = Options();
  for (const Switch& s : kSwitches) SetChecked(dialog, s.control, options.Int(s.option) != 0);
  for (size_t i = 0; i < kGroupCount; ++i) {
    const RadioGroup& group = kGroups[i];
    const int value = options.Int(group.option);
    remembered.values[i] = value;
    if (value >= group.first && value <= group.last) CheckRadioButton(dialog, group.first, group.last, value);
  }
  GetWindowRect(shell.mainWindow, &remembered.mainWindow);
  remembered.moved = false;
}

bool CopyBack(HWND dialog) {
  AppOptions& options = Options();
  for (const Switch& s : kSwitches) {
    const int value = IsChecked(dialog, s.control) ? 1 : 0;
    // The display check belongs to switching automatic setup on, not to every OK.
    if (s.option == IntOption::AutoQuantize && value == options.AutoQuantize()) continue;
    (options.*s.set)(value);
  }
  return true;
}

void Cancel(HWND) {
  for (size_t i = 0; i < kGroupCount; ++i) Options().StoreInt(kGroups[i].option, remembered.values[i]);
  if (remembered.moved) {
    const RECT& r = remembered.mainWindow;
    SetWindowPos(shell.mainWindow, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// A radio button is stored at once; a new position also moves the main window now.
void RadioClicked(HWND dialog, int control) {
  const RadioGroup* group = GroupOf(control);
  if (!group || !IsChecked(dialog, control)) return;
  Options().StoreInt(group->option, control);
  if (group->option != IntOption::PosMode) return;
  remembered.moved = true;
  DispatchCommand(control, 0);
  SetActiveWindow(dialog);
  SetFocus(GetDlgItem(dialog, control));
}
}  // namespace

INT_PTR CALLBACK InterfaceDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const DialogPattern pattern{DialogKind::Large, 76, Fill, CopyBack, Cancel};
  INT_PTR result = FALSE;
  if (HandleDialogPattern(pattern, dialog, message, wParam, lParam, result)) return result;
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    RadioClicked(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

void ShowInterfaceOptions() {
  // Switching automatic quantizing setup on checks the options against the display now.
  OptionHooks hooks = Options().Hooks();
  if (!hooks.autoQuantizeSwitchedOn) {
    hooks.autoQuantizeSwitchedOn = [] { CheckQuantizingAgainstDisplay(); };
    Options().SetHooks(hooks);
  }
  DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_INTERFACE_OPTIONS), shell.mainWindow, InterfaceDlgProc, 0);
}

}  // namespace quilla
