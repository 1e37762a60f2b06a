// The colour choice dialogs: "Select 24-bit Color" (C24DlgProc) for any RGB colour and
// "Select Color Palette Entry" (C8DlgProc) for an entry of the main image's colour table.
// Both are modal; their "Dropper" ends them as Cancel and asks the main window to let the
// user pick the fill colour from the image.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>

namespace quilla {

struct ColourChoice {
  bool dropper = false;  // the "Dropper" button is offered (Background color, Palette entry)
  // Called with the colour after every completed slider change, while the dialog is open.
  std::function<void(uint32_t rgb)> live;
};

// colour is 0x00RRGGBB; on OK it holds the colour chosen and the answer is true.
bool SelectColor(HWND owner, uint32_t& colour, const ColourChoice& choice = {});
// index is an entry of the main image's colour table; on OK (or a double click on a cell)
// it holds the entry chosen and the answer is true.
bool SelectPaletteEntry(HWND owner, uint32_t& index, bool dropper = false);

INT_PTR CALLBACK C24DlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK C8DlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace quilla
