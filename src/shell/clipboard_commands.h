// Handlers of the Edit menu's clipboard commands, in the form the command table takes them.
// Each works on the selection when there is one and on the whole image otherwise.
#pragma once
#include <windows.h>

namespace quilla {

LRESULT OnCut(LPARAM);         // 160: copy, then delete
LRESULT OnCopy(LPARAM);        // 161
LRESULT OnPaste(LPARAM);       // 162: the clipboard's picture as a detached area, or as the image
LRESULT OnDeleteArea(LPARAM);  // 163: the selection ends; without one the image goes

}  // namespace quilla
