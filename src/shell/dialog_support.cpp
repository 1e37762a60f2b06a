#include "shell/dialog_support.h"

#include "resources/resource_ids.h"
#include "settings/app_options.h"
#include "shell/dialogs.h"
#include "shell/help.h"
#include "shell/shell_state.h"
#include "shell/utf.h"

namespace quilla {

namespace {
// Set once a dialog has been placed: moves before that are not the user's.
constexpr wchar_t kPlacedProperty[] = L"QuillaDialogPlaced";

ScreenPoint CornerOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left, r.top};
}
}  // namespace

void PlaceDialog(HWND dialog, DialogKind kind) {
  RECT r;
  GetWindowRect(dialog, &r);
  ScreenPoint origin = DialogOrigin(Options(), kind, CornerOf(shell.mainWindow), r.right - r.left, r.bottom - r.top,
                                    GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  SetWindowPos(dialog, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetPropW(dialog, kPlacedProperty, reinterpret_cast<HANDLE>(1));
}

void RememberDialogPosition(HWND dialog, DialogKind kind) {
  if (GetPropW(dialog, kPlacedProperty)) RememberDialogOffset(Options(), kind, CornerOf(dialog), CornerOf(shell.mainWindow));
}

bool HandleDialogPattern(const DialogPattern& pattern, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                         INT_PTR& result) {
  if (HandleDialogColor(message, wParam, result)) return true;
  result = TRUE;
  switch (message) {
    case WM_INITDIALOG:
      PlaceDialog(dialog, pattern.kind);
      if (pattern.fill) pattern.fill(dialog, lParam);
      return true;
    case WM_MOVE:
      RememberDialogPosition(dialog, pattern.kind);
      result = FALSE;
      return true;
    case WM_CLOSE:
      if (pattern.cancel) pattern.cancel(dialog);
      EndDialog(dialog, IDCANCEL);
      return true;
    case WM_DESTROY:
      RemovePropW(dialog, kPlacedProperty);
      result = FALSE;
      return true;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          if (!pattern.copyBack || pattern.copyBack(dialog)) EndDialog(dialog, IDOK);
          return true;
        case IDCANCEL:
          if (pattern.cancel) pattern.cancel(dialog);
          EndDialog(dialog, IDCANCEL);
          return true;
        case IDC_HELP_BUTTON:
          ShowHelpTopic(pattern.helpTopic);
          return true;
      }
      return false;
  }
  result = FALSE;
  return false;
}

bool IsChecked(HWND dialog, int control) { return IsDlgButtonChecked(dialog, control) == BST_CHECKED; }

int CheckedIndex(HWND dialog, std::span<const int> ids, int fallback) {
  for (size_t i = 0; i < ids.size(); ++i) {
    if (IsChecked(dialog, ids[i])) return int(i);
  }
  return fallback;
}

void SetChecked(HWND dialog, int control, bool on) { CheckDlgButton(dialog, control, on ? BST_CHECKED : BST_UNCHECKED); }

void EnableControl(HWND dialog, int control, bool on) {
  if (HWND item = GetDlgItem(dialog, control)) EnableWindow(item, on);
}

std::string ControlText(HWND dialog, int control) {
  HWND item = GetDlgItem(dialog, control);
  if (!item) return {};
  std::wstring text(size_t(GetWindowTextLengthW(item)) + 1, L'\0');
  text.resize(size_t(GetWindowTextW(item, text.data(), int(text.size()))));
  return Narrow(text);
}

void SetControlText(HWND dialog, int control, const std::string& text) {
  SetDlgItemTextW(dialog, control, Widen(text).c_str());
}

}  // namespace quilla
