#include "shell/file_dialogs.h"

#include <commdlg.h>

#include "app/file_session.h"
#include "formats/file_types.h"
#include "shell/help.h"
#include "shell/utf.h"

namespace quilla {

namespace {
constexpr int kTypeCombo = 1136, kNameEdit = 1152;
constexpr int kApplyFilter = 1000;  // posted to itself once the combo box has settled

bool openDialogUp = false;  // which dialog's help the Help command shows
const char (*hookExtensions)[5] = nullptr;  // of the dialog that is up (one at a time)
// The name typed before the file type changed: some dialogs put the type's pattern in the
// name field when the type changes, and the hook gives the name back with the new extension.
std::string nameBeforeTypeChange;

bool HasWildcard(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }
OPENFILENAMEW dialogRecord;

// The name field with the extension of the selected file type.
void ApplyFilterExtension(HWND dialog) {
  const LRESULT selected = SendDlgItemMessageW(dialog, kTypeCombo, CB_GETCURSEL, 0, 0);
  const auto* extensions = hookExtensions;
  if (selected == CB_ERR || !extensions) return;
  wchar_t text[kNameChars] = L"";
  GetDlgItemTextW(dialog, kNameEdit, text, kNameChars - 1);
  const std::string current = Narrow(text);
  std::string base = current;
  if (HasWildcard(current) && !nameBeforeTypeChange.empty() && !HasWildcard(nameBeforeTypeChange)) {
    base = nameBeforeTypeChange;
  }
  nameBeforeTypeChange.clear();
  const std::string changed = NameWithFilterExtension(base, extensions, int(selected));
  if (changed != current) SetDlgItemTextW(dialog, kNameEdit, Widen(changed).c_str());
}

// The file title of a path, lower-cased, in place.
void ReduceToFileTitle(wchar_t* name) {
  std::wstring path(name);
  const size_t slash = path.find_last_of(L"\\/:");
  std::wstring title = slash == std::wstring::npos ? path : path.substr(slash + 1);
  if (!title.empty()) CharLowerBuffW(title.data(), DWORD(title.size()));
  lstrcpynW(name, title.c_str(), kNameChars);
}

bool RunDialog(bool open, HWND owner, wchar_t* name, const wchar_t* title, const std::wstring& filters,
               int* filterIndex, const char (*extensions)[5], wchar_t* fileTitle, const std::wstring& initialDirectory) {
  OPENFILENAMEW& ofn = dialogRecord;
  ofn = OPENFILENAMEW{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filters.c_str();
  ofn.nFilterIndex = filterIndex ? DWORD(*filterIndex) : 1;
  if (!initialDirectory.empty()) {
    ReduceToFileTitle(name);
    if (open) name[0] = L'\0';
    ofn.lpstrInitialDir = initialDirectory.c_str();
  }
  ofn.lpstrFile = name;
  ofn.nMaxFile = kNameChars;
  ofn.lpstrFileTitle = fileTitle;
  ofn.nMaxFileTitle = kNameChars;
  ofn.lpstrTitle = title;
  ofn.lpfnHook = FileDlgProc;
  hookExtensions = extensions;
  nameBeforeTypeChange.clear();
  ofn.Flags = OFN_SHOWHELP | OFN_ENABLEHOOK | OFN_HIDEREADONLY |
              (open ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN);
  openDialogUp = open;
  const BOOL ok = open ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
  if (ok && filterIndex) *filterIndex = int(ofn.nFilterIndex);
  return ok != FALSE;
}
}  // namespace

bool OpenFileDialog(HWND owner, wchar_t* name, const wchar_t* title, const std::wstring& filters, int* filterIndex,
                    const char (*extensions)[5], wchar_t* fileTitle, const std::wstring& initialDirectory) {
  if (RunDialog(true, owner, name, title, filters, filterIndex, extensions, fileTitle, initialDirectory)) return true;
  ShowCommDlgError();
  return false;
}

bool SaveFileDialog(HWND owner, wchar_t* name, const wchar_t* title, const std::wstring& filters, int* filterIndex,
                    const char (*extensions)[5], wchar_t* fileTitle, const std::wstring& initialDirectory) {
  return RunDialog(false, owner, name, title, filters, filterIndex, extensions, fileTitle, initialDirectory);
}

UINT_PTR CALLBACK FileDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      ApplyFilterExtension(dialog);
      return 1;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kApplyFilter:
          ApplyFilterExtension(dialog);
          return 1;
        case kTypeCombo:
          // Applied once the combo box has taken the new selection.
          if (HIWORD(wParam) == CBN_SELCHANGE) {
            wchar_t text[kNameChars] = L"";
            GetDlgItemTextW(dialog, kNameEdit, text, kNameChars - 1);
            nameBeforeTypeChange = Narrow(text);
            PostMessageW(dialog, WM_COMMAND, kApplyFilter, 0);
          }
          return 0;
        case kHelpDialogCommand:
          ShowHelpTopic(openDialogUp ? kHelpOpenDialog : kHelpSaveDialog);
          return 1;
      }
      return 0;
  }
  return 0;
}

void ShowCommDlgError() { ShowCommonDialogError(CommDlgExtendedError()); }

UINT CommDlgHelpMessage() {
  static const UINT message = RegisterWindowMessageW(L"commdlg_help");
  return message;
}

void OnCommDlgHelp() { ShowHelpTopic(openDialogUp ? kHelpOpenDialog : kHelpSaveDialog); }

}  // namespace quilla
