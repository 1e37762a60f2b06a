// The 3-D controls library, which systems older than version 3.90 need for dialogs
// drawn in relief.
#pragma once

namespace quilla {

// Loads and registers the library where the system needs it. Shows the failure message
// and returns false when it is needed but missing.
bool LoadCtl3dWhereNeeded();
bool Ctl3dLoaded();
void UnloadCtl3d();

}  // namespace quilla
