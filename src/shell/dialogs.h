// The shell's own dialogs and the colouring every dialog of the program shares.
#pragma once
#include <windows.h>

namespace quilla {

// Creates the dialog background brush (button face), kept until exit.
void CreateDialogBrush();
// Answers the colour queries of a dialog, its buttons and static controls; returns
// false for other messages.
bool HandleDialogColor(UINT message, WPARAM wParam, INT_PTR& result);

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK DevCapsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

void ShowAboutDialog();
void ShowDeviceCapsDialog();

}  // namespace quilla
