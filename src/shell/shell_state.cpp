#include "shell/shell_state.h"

namespace quilla {

ShellState shell;

void PostCommand(int number, LPARAM lParam) { PostMessageW(shell.mainWindow, WM_USER, WPARAM(number), lParam); }

}  // namespace quilla
