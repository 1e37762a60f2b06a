// The full-screen view: the main image alone on a black screen, centred, shrunk to fit
// when it is larger than the screen. A double click, a right click, Esc or Enter leave it;
// afterwards the main window is laid out again.
#pragma once
#include <windows.h>

namespace quilla {

// Shows the view (making its window when there is none); quietly nothing when the window
// can't be made.
void EnterFullScreen();
// Hides and destroys the view's window; the main window gets its menu back (unless a batch
// of files runs) and is laid out again shortly after.
void LeaveFullScreen();
bool IsFullScreen();
// Paints the view again now, after the main image changed under it.
void RepaintFullScreen();
// The view's window while it is shown, else null.
HWND FullScreenWindow();

LRESULT CALLBACK FullWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The main window's timer that lays it out after the view was left.
inline constexpr UINT_PTR kLayoutAfterFullScreenTimer = 11;
// Command 144: the view, when the interface is idle.
LRESULT OnFullScreenCommand(LPARAM);
// Command 209: starts the layout timer.
LRESULT OnLayoutAfterFullScreen(LPARAM);
// The layout timer fired.
void LayOutAfterFullScreen();

}  // namespace quilla
