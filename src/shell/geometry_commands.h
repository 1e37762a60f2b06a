// Handlers of the geometry commands, in the form the command table takes them: File > New and
// the Edit menu's Resize, Redimension, flips and rotations.
#pragma once
#include <windows.h>

namespace quilla {

LRESULT OnNewImage(LPARAM);      // 151
LRESULT OnResize(LPARAM);        // 164
LRESULT OnRedimension(LPARAM);   // 165
LRESULT OnFlipHorizontal(LPARAM);  // 170
LRESULT OnFlipVertical(LPARAM);    // 171
LRESULT OnRotateLeft(LPARAM);      // 172
LRESULT OnRotateRight(LPARAM);     // 173

}  // namespace quilla
