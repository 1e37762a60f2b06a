// Fitting the main window to the image, placing it by "PosMode", and the menu titles
// that follow the window's width.
#pragma once
#include <windows.h>

namespace quilla {

// Lays the window out for the main image: size, place, scroll ranges, menu titles.
void FitWindow();
// Computes display.targetX / targetY for a window of that size by "PosMode".
void PlaceWindow(int width, int height);
// At start-up, once the menu exists: the widths at which the full and the short menu
// titles stay on one line.
void CalibrateMenuWidths();
// The five top-level titles in full ("&File", ...) or short ("&F", ...).
void SetMenuTitles(bool full);

// Commands 105..110: "PosMode" becomes the number and the window is laid out again.
LRESULT OnPosModeCommand(int command);

}  // namespace quilla
