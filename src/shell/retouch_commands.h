// Handlers of the Retouch commands that run without a dialog, in the form the command table
// takes them.
#pragma once
#include <windows.h>

namespace quilla {

// 183 and 184: the one-step colour retouches on the main document, with one undo step.
LRESULT OnGrayScale(LPARAM);
LRESULT OnNegative(LPARAM);

}  // namespace quilla
