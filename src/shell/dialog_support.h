// The pattern the program's dialogs share: each moves to its remembered offset from the
// main window (small or large dialogs) and keeps it when moved, fills itself from the
// options, copies back on OK, changes nothing on Cancel or the close box, opens its help
// topic from the Help button (998), and takes the dialog colouring.
#pragma once
#include <windows.h>

#include <span>
#include <string>

#include "settings/dialog_placement.h"

namespace quilla {

// At initialisation: to the main window's corner plus the remembered offset, on screen.
void PlaceDialog(HWND dialog, DialogKind kind);
// On a move after placement: the offset from the main window is remembered.
void RememberDialogPosition(HWND dialog, DialogKind kind);

struct DialogPattern {
  DialogKind kind = DialogKind::Small;
  int helpTopic = 0;
  void (*fill)(HWND dialog, LPARAM init) = nullptr;  // after placement
  bool (*copyBack)(HWND dialog) = nullptr;           // OK; false keeps the dialog open
  void (*cancel)(HWND dialog) = nullptr;             // Cancel and the close box: undo what acted at once
};

// Runs the shared part of a dialog procedure. True when the message was handled, with the
// procedure's answer in result; other messages (the controls' own) are the caller's.
bool HandleDialogPattern(const DialogPattern& pattern, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                         INT_PTR& result);

// Buttons and texts.
bool IsChecked(HWND dialog, int control);
// The position in ids of the first checked button (a radio group stored by value); fallback
// when none is.
int CheckedIndex(HWND dialog, std::span<const int> ids, int fallback = 0);
void SetChecked(HWND dialog, int control, bool on);
void EnableControl(HWND dialog, int control, bool on);
std::string ControlText(HWND dialog, int control);  // UTF-8
void SetControlText(HWND dialog, int control, const std::string& text);

}  // namespace quilla
