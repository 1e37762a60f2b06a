// The main window's face: the image painted at its natural size through its palette, the
// scroll state, the window fitted to the image and placed by "PosMode", the menu titles,
// the title and the thumbnail of the minimised window.
#pragma once
#include <windows.h>

namespace quilla {

struct ScrollState {
  int pageX = 0, pageY = 0;  // page steps
  int posX = 0, posY = 0;    // image pixel at the client's left and top edge
  int maxX = 0, maxY = 0;    // largest positions (0: no scrolling that way)
  bool barsShown = true;     // "ShowSBars": positions and ranges then live in the bars
};

struct DisplayState {
  ScrollState scroll;
  bool paintSuspended = false;  // while the layout runs
  bool layoutRunning = false;
  int fullMenuWidth = 0;        // window width from which the full titles fit on one line
  int shortMenuWidth = 0;       // the same for the short titles
  bool fullTitlesShown = true;
  int targetX = 0, targetY = 0; // where PlaceWindow puts the window
  int titleSuspendDepth = 0;    // painting leaves the title alone while above 0
};
extern DisplayState display;

// The device maps colours through a system palette (256 colours or fewer).
bool PaletteDevice(HDC dc);
// The platform's palette object for a logical palette; null for none or when it can't be made.
struct LogicalPalette;
HPALETTE MakePlatformPalette(const LogicalPalette* logical);

// Start-up: the palette-index table of the painting header.
void InitPaintHeaders();

// WM_PAINT of the main window.
void PaintMainWindow(HWND window);
// Draws another document (the detached selection area) with its top-left corner at origin,
// within clip, in the palette the main image is painted with.
class DIBImage;
void PaintDocumentAt(HDC dc, DIBImage& document, POINT origin, const RECT& clip);
// Paints the main document stretched onto target, through its palette: by the device's own
// stretching or, when the device refuses, through a true-colour copy of the target's size.
// False only when memory for that copy runs out.
bool PaintMainImageStretched(HDC dc, const RECT& target);
// Realises the given palette, or the main document's; true when any entry changed.
bool RealizeImagePalette(HWND window, HPALETTE palette = nullptr);
// The main document's palette object, kept by the display; null without one.
HPALETTE MainImagePalette();
// Invalidates the whole client area and paints it now.
void Repaint(bool erase);
// Command 197: the quarters of a band too large to paint at once, or the program icon.
LRESULT OnPaintQuarters(LPARAM rectangle);
// The minimised window's face into a device context of the given size.
void PaintIcon(HDC dc, int width, int height);
// WM_SIZE for minimising: the next thumbnail is made at the current size.
void OnMinimized();

}  // namespace quilla
