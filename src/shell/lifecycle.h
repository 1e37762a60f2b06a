// Whether the program may close, and the tear-down at exit.
#pragma once

namespace quilla {

// True when the program may close now. During an operation it asks whether to cancel it
// and, on Yes, arranges the exit through command 158 once the operation has unwound.
bool QueryClose();
// Releases everything and destroys the main window, which ends the message loop.
void Exit();

}  // namespace quilla
