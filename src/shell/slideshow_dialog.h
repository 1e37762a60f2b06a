// Slideshow Options (SlideDlgProc, command 117, also Multiple open's Setup for the
// slideshow): interactive or automatic after a delay, cycling, full screen.
#pragma once
#include <windows.h>

namespace quilla {

// Owned by the main window unless an owner is given.
void ShowSlideshowOptions(HWND owner = nullptr);
INT_PTR CALLBACK SlideDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Command 117.
LRESULT OnSlideshowOptions(LPARAM);

}  // namespace quilla
