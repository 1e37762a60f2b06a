// Ending the selection area before a command works on the whole image.
#pragma once

namespace quilla {

// Mode 1 asks first whether a detached area is to be applied, and answers 0
// when the user cancels, which cancels the command; mode 0 drops the area
// without asking. 1: go on.
int DropSelection(int mode);

} // namespace quilla
