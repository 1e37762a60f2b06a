// Lists of files dropped on the window or handed over by Multiple open and the command
// line: each list is one batch, sent to the destination "DropTo" names.
#pragma once
#include <windows.h>
#include <shellapi.h>

namespace quilla {

// Files are dropped on the main window and on the full-screen view.
void AcceptDroppedFiles(bool accept);

// WM_DROPFILES on either window; ignored while a batch runs.
void OnDropFiles(HDROP drop);
// Command 801: the file queue, handled as if its names had been dropped.
LRESULT OnDropList(LPARAM);

}  // namespace quilla
