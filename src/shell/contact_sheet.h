// Contact sheets: a new true-colour image on which a list of files is laid out as a grid
// of thumbnails, each with its file title underneath, after a preview in which the user can
// move and resize the boxes. The arithmetic is shell/contact_sheet_rules.h.
#pragma once
#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "shell/contact_sheet_rules.h"

namespace quilla {

// Drop destination 114: one sheet of the files, inside the running batch.
void BuildContactSheet(const std::vector<std::string>& names);

// Measures each file's title in the label font (on the main window's screen) and lays the
// items out on the sheet.
void LayoutContactSheet(std::span<ContactItem> items, std::span<const std::string> names, HFONT font, BoxSize sheet);

// The preview of the layout, in which the boxes can be moved and resized; true on OK.
bool PreviewContactSheet(std::span<ContactItem> items, std::span<const std::string> names, BoxSize sheet);
INT_PTR CALLBACK CPreviewDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Command 119, and Multiple open's Setup button (with its dialog as owner).
void ShowContactOptions(HWND owner = nullptr);
INT_PTR CALLBACK ContaDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace quilla
