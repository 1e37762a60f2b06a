#include "shell/selection_hook.h"

namespace quilla {

// The program has no selection area yet, so there is never one to drop.
int DropSelection(int) { return 1; }

} // namespace quilla
