// The shell's own dialogs and the colouring every dialog of the program shares.
#pragma once
#include <windows.h>

#include "settings/list_records.h"

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

// The option dialogs.
INT_PTR CALLBACK InterfaceDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK CDepthDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK JODlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK MemOptionsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

void ShowInterfaceOptions();   // 194
void ShowColorDepth();         // 141, on the main document
// 182, 177, 176, 178: Contrast, Exp, Log or SineH Enhancement on the main document.
void ShowOneSliderRetouch(RetouchOp op);
INT_PTR CALLBACK ContrastDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// 186: the Image Filter Control Panel on the main document.
void ShowImageFilters();
INT_PTR CALLBACK FilterDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The filter the panel shows next; a macro's filter step makes its slot current.
void SetCurrentFilter(int slot);
void ShowQuantizingOptions();  // 149
// 116; owned by the main window unless an owner is given; the dialog's result less one
// (0 after OK).
int ShowJpegOptions(HWND owner = nullptr);
void ShowMemoryOptions();      // 120
// 190: Multiple File Open; on OK its list goes to the file queue and command 801 is posted.
void ShowMultipleOpen();
INT_PTR CALLBACK MultOpenDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The Color Depth dialog from a starting choice, titled "Quantizing Options" for 149. On OK
// true, with the choice as the user left it and the colour count (0: true colour).
struct ColorDepthChoice;
bool RunColorDepthDialog(bool quantizing, ColorDepthChoice& choice, int& count);

// The quantizing options as the settings hold them, and storing them back.
struct QuantizeOptions;
QuantizeOptions CurrentQuantizeOptions();
void StoreQuantizeOptions(const QuantizeOptions& options);
// Checks the quantizing options against the display and, on the user's Yes, changes them;
// true when they changed.
bool CheckQuantizingAgainstDisplay();

// 175: Interactive RGB on the main document.
void ShowInteractiveRgb();
INT_PTR CALLBACK IRGBDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// 169: Add Text, into a detached copy of the selection or of the top-left corner.
void ShowAddText();
INT_PTR CALLBACK TAddTextDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// 200: Macro Retouch Setup, then the current macro when the dialog asked for it.
void ShowMacroSetup();
INT_PTR CALLBACK OneKeyDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK KeyNameDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace quilla
