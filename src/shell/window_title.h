// The main window's title: the program title alone, or the file title with the image's
// size and colours.
#pragma once
#include <string>

namespace quilla {

// The current file's title with the image, or the program title without one.
void UpdateTitle();
// The current file becomes "UNTITLED".
void SetUntitled();
// While a selection is drawn: "x, y: WxH" in image coordinates.
void ShowSelectionInTitle(int left, int top, int right, int bottom);

}  // namespace quilla
