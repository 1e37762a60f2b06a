// The font face and point size lists of the dialogs that style text (Add Text, the contact
// sheet's labels): filled the same way and read back the same way.
#pragma once
#include <windows.h>

#include <string>

namespace quilla {

// Every font family of the screen, sorted by the list; the face given selected, else the first.
void FillFaceList(HWND dialog, int list, const std::string& face);
// The point sizes the text drawing takes, the entry for points selected.
void FillPointList(HWND dialog, int list, int points);
// The text of the list's selected entry (UTF-8); empty without one.
std::string SelectedEntry(HWND dialog, int list);

}  // namespace quilla
