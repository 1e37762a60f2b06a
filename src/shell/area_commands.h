// Handlers of the selection area's Edit commands, in the form the command table takes them.
#pragma once
#include <windows.h>

namespace quilla {

LRESULT OnCrop(LPARAM);          // 166: the area becomes the image
LRESULT OnUndefine(LPARAM);      // 167: the selection ends; a detached area is dropped
LRESULT OnApplyArea(LPARAM);     // 168: the detached area goes back into the image

}  // namespace quilla
