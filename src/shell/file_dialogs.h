// The open and save common dialogs with the program's filter lists, and the hook that
// keeps the extension of the typed name in step with the chosen file type.
#pragma once
#include <windows.h>

#include <string>

namespace quilla {

inline constexpr int kNameChars = 501;  // name and title buffers, with the terminator

// Both return true on OK, with the chosen filter index written back through filterIndex.
// The name buffer starts as the current name; the open dialog empties it, the save
// dialog keeps its file title (lower-cased) in the name field.
bool OpenFileDialog(HWND owner, wchar_t* name, const wchar_t* title, const std::wstring& filters, int* filterIndex,
                    const char (*extensions)[5], wchar_t* fileTitle, const std::wstring& initialDirectory);
bool SaveFileDialog(HWND owner, wchar_t* name, const wchar_t* title, const std::wstring& filters, int* filterIndex,
                    const char (*extensions)[5], wchar_t* fileTitle, const std::wstring& initialDirectory);

// The hook of both dialogs.
UINT_PTR CALLBACK FileDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Reports the extended error of a failed common dialog; nothing for a cancel.
void ShowCommDlgError();

// The registered message "commdlg_help" the dialogs' Help buttons send to the main window.
UINT CommDlgHelpMessage();
// Answers it: the help of the dialog that is up.
void OnCommDlgHelp();

}  // namespace quilla
