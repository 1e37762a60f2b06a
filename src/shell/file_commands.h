// The File menu's commands, the command line and dropped files: the dialogs and the
// window around the portable open and save flows.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace quilla {

// Opens a file into the main document and lays the window out for it. A failed open
// leaves the image shown, its name and its changed state as they were.
int OpenMainImage(const std::string& name);

// Asks to save a changed image. False when the user cancelled, or when the save asked
// for did not happen (the changes would otherwise be lost).
bool AskSaveChanges();

LRESULT OnFileOpen(LPARAM);
LRESULT OnFileReopen(LPARAM);
LRESULT OnFileSave(LPARAM);
LRESULT OnFileSaveAs(LPARAM);
LRESULT OnFileDelete(LPARAM);

// Start-up keeps the command line; command 143 opens it.
void KeepCommandLine(const wchar_t* commandLine);
bool HasPendingCommandLine();
LRESULT OnCommandLine(LPARAM);
// One name opens at once; several (list files expanded) are queued for the slideshow and
// handed to the drop handling.
void StartFromCommandLine(const std::string& text);

}  // namespace quilla
