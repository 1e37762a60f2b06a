// The colour choice commands on the main document: an entry of a palette image's colour
// table edited with a live preview, the fill colour chosen, or picked from the image.
#pragma once
#include <windows.h>

namespace quilla {

// 185: an entry chosen from the colour table and edited; OK keeps it with one undo step.
LRESULT OnPaletteEntry(LPARAM);
// 115: the fill colour (true colour) or fill index (palette image).
LRESULT OnBackgroundColor(LPARAM);
// 207, posted by the Dropper: the next left click on the image picks the fill colour.
LRESULT OnPickColor(LPARAM);
// That click, at a point of the main window's client area; pick mode ends.
void PickFillColour(POINT client);

}  // namespace quilla
