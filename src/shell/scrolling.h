// Scrolling the image in the main window, by the bars, the keys and the selection.
#pragma once
#include <windows.h>

namespace quilla {

// Codes as the scroll bars send them: 0 line up/left, 1 line down/right, 2 page up/left,
// 3 page down/right, 4 and 5 thumb position and track, 6 top/left end, 7 bottom/right end.
void ScrollVertical(int code, int position);
void ScrollHorizontal(int code, int position);
// Both ways at once.
void ScrollBy(int dx, int dy);
POINT WindowToImage(POINT point);

// The layout sets the ranges (at position 0) and page steps.
void SetScrollRanges(int rangeX, int rangeY, int pageX, int pageY);
// "ShowSBars" changed: the positions move between the bars and the record.
void ShowScrollBars(bool shown);

// Commands 131, 205, 133, 134 and 135..138.
LRESULT OnScrollCommand(int command);

}  // namespace quilla
