// Macro Retouch Setup (OneKeyDlgProc) and its rename dialog (KeyNameDlgProc), command 200.
// The dialog edits the macro table in memory, one macro shown at a time; OK makes the macro
// shown last the current one and saves the table, Exec (or a double click) also runs it.
#include <cstdlib>
#include <string>

#include "resources/macro_dialog_ids.h"
#include "resources/resource_ids.h"
#include "settings/app_options.h"
#include "settings/list_defaults.h"
#include "settings/settings_store.h"
#include "shell/dialog_support.h"
#include "shell/dialogs.h"
#include "shell/retouch_commands.h"
#include "shell/shell_state.h"
#include "shell/toolbar.h"
#include "shell/utf.h"

namespace quilla {

namespace {

constexpr int kHelpTopic = 94;
constexpr char kUnusedParameter[] = " ---";
constexpr size_t kMaxTypedName = 24;

// The dialog is modal: one run at a time.
struct SetupRun {
  int shown = 0;     // the macro the slots show
  bool run = false;  // run the current macro once the dialog has ended
} setup;

MacroTable& Macros() { return Options().Macros(); }

int OperationList(int slot) { return IDC_MACRO_OPERATION0 + slot; }
int ParameterField(int slot, int parameter) { return IDC_MACRO_PARAMETER0 + 3 * slot + parameter; }

int SelectedCode(HWND dialog, int slot) {
  const LRESULT code = SendDlgItemMessageW(dialog, OperationList(slot), CB_GETCURSEL, 0, 0);
  return code >= 0 && code < kRetouchOpCount ? int(code) : 0;
}

// The fields of the parameters the operation uses, read as signed integers; text that is no
// number, and a value outside the operation's range, count as 0. Unused parameters are 0.
std::array<int32_t, 3> ReadParameters(HWND dialog, int slot, int code) {
  const RetouchOpInfo& info = RetouchOpInfoOf(code);
  std::array<int32_t, 3> values{0, 0, 0};
  for (int j = 0; j < info.parameterCount; ++j) {
    const long value = std::strtol(ControlText(dialog, ParameterField(slot, j)).c_str(), nullptr, 10);
    if (value >= info.minimum[size_t(j)] && value <= info.maximum[size_t(j)]) values[size_t(j)] = int32_t(value);
  }
  return values;
}

// The used fields show their values and are enabled, the others show " ---" and are disabled.
void ShowParameters(HWND dialog, int slot, int code, const std::array<int32_t, 3>& values) {
  const int used = RetouchOpInfoOf(code).parameterCount;
  for (int j = 0; j < 3; ++j) {
    SetControlText(dialog, ParameterField(slot, j), j < used ? std::to_string(values[size_t(j)]) : kUnusedParameter);
    EnableControl(dialog, ParameterField(slot, j), j < used);
  }
}

void ShowMacro(HWND dialog, int index) {
  setup.shown = index;
  SendDlgItemMessageW(dialog, IDC_MACRO_LIST, LB_SETCURSEL, WPARAM(index), 0);
  const MacroRetouch& macro = Macros().macros[size_t(index)];
  for (int slot = 0; slot < kMacroSlots; ++slot) {
    const MacroStep& step = macro.steps[size_t(slot)];
    SendDlgItemMessageW(dialog, OperationList(slot), CB_SETCURSEL, WPARAM(step.code), 0);
    ShowParameters(dialog, slot, step.code, step.parameters);
  }
}

void StoreShownMacro(HWND dialog) {
  MacroRetouch& macro = Macros().macros[size_t(setup.shown)];
  for (int slot = 0; slot < kMacroSlots; ++slot) {
    MacroStep& step = macro.steps[size_t(slot)];
    step.code = uint8_t(SelectedCode(dialog, slot));
    step.parameters = ReadParameters(dialog, slot, step.code);
  }
}

void OperationChanged(HWND dialog, int slot) {
  const int code = SelectedCode(dialog, slot);
  ShowParameters(dialog, slot, code, ReadParameters(dialog, slot, code));
}

void FillList(HWND dialog) {
  SendDlgItemMessageW(dialog, IDC_MACRO_LIST, LB_RESETCONTENT, 0, 0);
  for (const MacroRetouch& macro : Macros().macros)
    SendDlgItemMessageW(dialog, IDC_MACRO_LIST, LB_ADDSTRING, 0, LPARAM(Widen(macro.name).c_str()));
}

void SetListEntry(HWND dialog, int index) {
  const std::wstring name = Widen(Macros().macros[size_t(index)].name);
  SendDlgItemMessageW(dialog, IDC_MACRO_LIST, LB_DELETESTRING, WPARAM(index), 0);
  SendDlgItemMessageW(dialog, IDC_MACRO_LIST, LB_INSERTSTRING, WPARAM(index), LPARAM(name.c_str()));
  SendDlgItemMessageW(dialog, IDC_MACRO_LIST, LB_SETCURSEL, WPARAM(index), 0);
}

std::string* renamed = nullptr;  // the rename dialog's answer

void FillRename(HWND dialog, LPARAM) {
  const std::string& name = Macros().macros[size_t(setup.shown)].name;
  SetControlText(dialog, IDC_KN_OLD_NAME, name);
  SetControlText(dialog, IDC_KN_NEW_NAME, name);
  SendDlgItemMessageW(dialog, IDC_KN_NEW_NAME, EM_LIMITTEXT, kMaxTypedName, 0);
}

// At most 24 characters, even of a text put there from outside; an empty name is refused:
// the dialog stays open.
bool CopyBackRename(HWND dialog) {
  *renamed = Narrow(Widen(ControlText(dialog, IDC_KN_NEW_NAME)).substr(0, kMaxTypedName));
  return !renamed->empty();
}

void Rename(HWND dialog) {
  std::string name;
  renamed = &name;
  const INT_PTR answer =
      DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_RENAME_MACRO), dialog, KeyNameDlgProc, 0);
  renamed = nullptr;
  if (answer != IDOK) return;
  Macros().macros[size_t(setup.shown)].name = name;
  SetListEntry(dialog, setup.shown);
}

// The built-in macros; the current index stays.
void RestoreDefaults(HWND dialog) {
  StoreShownMacro(dialog);
  const int current = Macros().current;
  Macros() = DefaultMacros();
  Macros().current = current;
  FillList(dialog);
  ShowMacro(dialog, current);
}

void FillSetup(HWND dialog, LPARAM) {
  setup.run = false;
  EnableControl(dialog, IDC_MACRO_EXEC, shell.mainDocument.IsOperable());
  FillList(dialog);
  for (int slot = 0; slot < kMacroSlots; ++slot) {
    for (int code = 0; code < kRetouchOpCount; ++code)
      SendDlgItemMessageW(dialog, OperationList(slot), CB_ADDSTRING, 0, LPARAM(Widen(RetouchOpInfoOf(code).name).c_str()));
  }
  ShowMacro(dialog, Macros().current);
}

bool CopyBackSetup(HWND dialog) {
  StoreShownMacro(dialog);
  return true;
}

void ListNotified(HWND dialog, int code) {
  const int chosen = int(SendDlgItemMessageW(dialog, IDC_MACRO_LIST, LB_GETCURSEL, 0, 0));
  if (chosen < 0 || chosen >= kMacroCount) return;
  if (code == LBN_SELCHANGE) {
    StoreShownMacro(dialog);
    ShowMacro(dialog, chosen);
  } else if (code == LBN_DBLCLK) {
    StoreShownMacro(dialog);
    if (!shell.mainDocument.IsOperable()) {
      ShowMacro(dialog, chosen);
      return;
    }
    setup.run = true;
    EndDialog(dialog, IDOK);
  }
}

// The list, the operation lists and the buttons; false for other controls.
bool OnControl(HWND dialog, int control, int code) {
  if (control == IDC_MACRO_LIST) return ListNotified(dialog, code), true;
  if (control >= OperationList(0) && control < OperationList(kMacroSlots)) {
    if (code == CBN_SELCHANGE) OperationChanged(dialog, control - OperationList(0));
    return true;
  }
  switch (control) {
    case IDC_MACRO_RENAME:
      Rename(dialog);
      return true;
    case IDC_MACRO_DEFAULTS:
      RestoreDefaults(dialog);
      return true;
    case IDC_MACRO_EXEC:
      setup.run = true;
      StoreShownMacro(dialog);
      EndDialog(dialog, IDOK);
      return true;
  }
  return false;
}

}  // namespace

INT_PTR CALLBACK KeyNameDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const DialogPattern pattern{DialogKind::Small, kHelpTopic, FillRename, CopyBackRename, nullptr};
  INT_PTR result = FALSE;
  return HandleDialogPattern(pattern, dialog, message, wParam, lParam, result) ? result : FALSE;
}

INT_PTR CALLBACK OneKeyDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const DialogPattern pattern{DialogKind::Large, kHelpTopic, FillSetup, CopyBackSetup, nullptr};
  INT_PTR result = FALSE;
  if (HandleDialogPattern(pattern, dialog, message, wParam, lParam, result)) return result;
  if (message == WM_COMMAND) return OnControl(dialog, LOWORD(wParam), HIWORD(wParam));
  return FALSE;
}

void ShowMacroSetup() {
  if (shell.fullScreenActive) return;
  HideToolbarLegend();
  // Edits that were not saved by OK are dropped at each opening.
  LoadMacros();
  const INT_PTR answer =
      DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_MACRO_SETUP), shell.mainWindow, OneKeyDlgProc, 0);
  if (answer == IDOK) {
    Macros().current = setup.shown;
    SaveMacros();
  }
  if (setup.run) RunCurrentMacro();
}

}  // namespace quilla
