// The Image Filter Control Panel (FilterDlgProc) and its Rename Filter dialog,
// command 186 on the main document. Every Exec filters the image as it was when
// the dialog opened; OK keeps the last result with one undo step, Cancel puts
// the image back.
#include <string>

#include "core/messages.h"
#include "resources/resource_ids.h"
#include "resources/retouch_dialog_ids.h"
#include "retouch/filter_command.h"
#include "settings/app_options.h"
#include "settings/list_defaults.h"
#include "settings/settings_store.h"
#include "shell/dialog_support.h"
#include "shell/dialogs.h"
#include "shell/display.h"
#include "shell/selection_area.h"
#include "shell/shell_state.h"
#include "shell/utf.h"

namespace quilla {

namespace {

constexpr int kHelpTopic = 49;
constexpr int kCells = 25;

FilterSession* session = nullptr;  // the dialog is modal: one run at a time
int currentFilter = 0;             // kept between uses of the dialog

FilterSpec& Current() { return Options().Filters()[size_t(currentFilter)]; }

// The value boxes: the 25 cells, the divisor and the bias, each with its range
// and field.
struct ValueBox {
  int control;
  int minimum, maximum;
};

ValueBox BoxAt(int index) {
  if (index < kCells) return {IDC_FLT_CELL0 + index, -255, 255};
  return index == kCells ? ValueBox{IDC_FLT_DIVISOR, 1, 999} : ValueBox{IDC_FLT_BIAS, -255, 255};
}
constexpr int kValueBoxes = kCells + 2;

int& FieldOf(FilterSpec& filter, int index) {
  if (index < kCells) return filter.kernel[size_t(index)];
  return index == kCells ? filter.divisor : filter.bias;
}

int BoxIndexOf(int control) {
  for (int index = 0; index < kValueBoxes; ++index) {
    if (BoxAt(index).control == control) return index;
  }
  return -1;
}

// A box holding an integer in range stores it; anything else brings the stored
// value back.
void CheckBox(HWND dialog, int index) {
  const ValueBox box = BoxAt(index);
  int& field = FieldOf(Current(), index);
  BOOL ok = FALSE;
  const int value = int(GetDlgItemInt(dialog, box.control, &ok, TRUE));
  if (ok && value >= box.minimum && value <= box.maximum) {
    field = value;
  } else {
    SetDlgItemInt(dialog, box.control, UINT(field), TRUE);
  }
}

void Commit(HWND dialog) {
  for (int index = 0; index < kValueBoxes; ++index) CheckBox(dialog, index);
}

void ShowFilter(HWND dialog) {
  for (int index = 0; index < kValueBoxes; ++index) {
    SetDlgItemInt(dialog, BoxAt(index).control, UINT(FieldOf(Current(), index)), TRUE);
  }
  SetChecked(dialog, IDC_FLT_RED, Current().red);
  SetChecked(dialog, IDC_FLT_GREEN, Current().green);
  SetChecked(dialog, IDC_FLT_BLUE, Current().blue);
}

void SetListEntry(HWND dialog, int index) {
  const std::wstring name = Widen(Options().Filters()[size_t(index)].name);
  SendDlgItemMessageW(dialog, IDC_FLT_LIST, LB_DELETESTRING, WPARAM(index), 0);
  SendDlgItemMessageW(dialog, IDC_FLT_LIST, LB_INSERTSTRING, WPARAM(index), LPARAM(name.c_str()));
}

void ShowList(HWND dialog) {
  SendDlgItemMessageW(dialog, IDC_FLT_LIST, LB_RESETCONTENT, 0, 0);
  for (const FilterSpec& filter : Options().Filters()) {
    SendDlgItemMessageW(dialog, IDC_FLT_LIST, LB_ADDSTRING, 0, LPARAM(Widen(filter.name).c_str()));
  }
  SendDlgItemMessageW(dialog, IDC_FLT_LIST, LB_SETCURSEL, WPARAM(currentFilter), 0);
  ShowFilter(dialog);
}

// Commits the shown values and filters the image. When memory runs out the user
// is told and the dialog ends as a Cancel, which puts the image back.
bool Exec(HWND dialog) {
  Commit(dialog);
  if (!session->Apply(Current())) {
    ShowNoMemory(dialog);
    EndDialog(dialog, IDCANCEL);
    return false;
  }
  shell.iconDocument.FreeImage();
  Repaint(false);
  return true;
}

std::string* renamed = nullptr;  // the Rename Filter dialog's answer

void FillRename(HWND dialog, LPARAM) {
  SetControlText(dialog, IDC_RN_OLD_NAME, Current().name);
  SendDlgItemMessageW(dialog, IDC_RN_NEW_NAME, EM_LIMITTEXT, kMaxFilterName, 0);
}

// An empty name is refused: the dialog stays open.
bool CopyBackRename(HWND dialog) {
  *renamed = ControlText(dialog, IDC_RN_NEW_NAME);
  return !renamed->empty();
}

INT_PTR CALLBACK RenameFilterDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const DialogPattern pattern{DialogKind::Small, kHelpTopic, FillRename, CopyBackRename, nullptr};
  INT_PTR result = FALSE;
  return HandleDialogPattern(pattern, dialog, message, wParam, lParam, result) ? result : FALSE;
}

void Rename(HWND dialog) {
  std::string name;
  renamed = &name;
  const INT_PTR answer =
      DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_RENAME_FILTER), dialog, RenameFilterDlgProc, 0);
  renamed = nullptr;
  if (answer != IDOK) return;
  Current().name = name;
  SetListEntry(dialog, currentFilter);
  SendDlgItemMessageW(dialog, IDC_FLT_LIST, LB_SETCURSEL, WPARAM(currentFilter), 0);
}

void RestoreDefaults(HWND dialog) {
  if (AskYesNo("Replace the initial 9 filter specifications with defaults?") != MsgResult::Yes) return;
  for (int slot = 0; slot < kNamedFilterCount; ++slot) Options().Filters()[size_t(slot)] = DefaultNamedFilter(slot);
  ShowList(dialog);
}

void FillFilters(HWND dialog, LPARAM) { ShowList(dialog); }

bool CopyBackFilters(HWND dialog) {
  Commit(dialog);
  return true;
}

// The list, the channel flags and the buttons of the panel; false for other
// controls.
bool OnControl(HWND dialog, int control, int code) {
  if (control == IDC_FLT_LIST) {
    const int chosen = int(SendDlgItemMessageW(dialog, IDC_FLT_LIST, LB_GETCURSEL, 0, 0));
    if (code == LBN_SELCHANGE && chosen >= 0 && chosen < kFilterSlots) {
      Commit(dialog);
      currentFilter = chosen;
      ShowFilter(dialog);
    } else if (code == LBN_DBLCLK && Exec(dialog)) {
      EndDialog(dialog, IDOK);
    }
    return true;
  }
  if (code == EN_KILLFOCUS) {
    const int index = BoxIndexOf(control);
    if (index >= 0) CheckBox(dialog, index);
    return index >= 0;
  }
  switch (control) {
    case IDC_FLT_RED:
      Current().red = IsChecked(dialog, control);
      return true;
    case IDC_FLT_GREEN:
      Current().green = IsChecked(dialog, control);
      return true;
    case IDC_FLT_BLUE:
      Current().blue = IsChecked(dialog, control);
      return true;
    case IDC_FLT_RENAME:
      Rename(dialog);
      return true;
    case IDC_FLT_DEFAULTS:
      RestoreDefaults(dialog);
      return true;
    case IDC_FLT_EXEC:
      Exec(dialog);
      return true;
    case IDC_FLT_SAVE:
      if (AskYesNo("Save current filter specifications?") == MsgResult::Yes) SaveFilterSpecs();
      return true;
  }
  return false;
}

}  // namespace

INT_PTR CALLBACK FilterDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const DialogPattern pattern{DialogKind::Small, kHelpTopic, FillFilters, CopyBackFilters, nullptr};
  INT_PTR result = FALSE;
  if (HandleDialogPattern(pattern, dialog, message, wParam, lParam, result)) return result;
  if (message == WM_COMMAND) return OnControl(dialog, LOWORD(wParam), HIWORD(wParam));
  return FALSE;
}

void SetCurrentFilter(int slot) {
  if (slot >= 0 && slot < kFilterSlots) currentFilter = slot;
}

void ShowImageFilters() {
  DIBImage& document = shell.mainDocument;
  if (!IsFilterable(document) || !DropSelection(1)) return;
  // Edits that were not saved are dropped at each opening.
  LoadFilterSpecs();
  FilterSession run;
  if (!run.Begin(document, Options().GetDisplayMode())) {
    ShowNoMemory();
    return;
  }
  session = &run;
  const INT_PTR answer =
      DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_IMAGE_FILTERS), shell.mainWindow, FilterDlgProc, 0);
  session = nullptr;
  if (answer == IDOK) {
    run.Keep();
  } else {
    run.Restore();
  }
  shell.iconDocument.FreeImage();
  Repaint(false);
}

}  // namespace quilla
