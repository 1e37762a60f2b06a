// Pixels as the GUI tests make and see them, each as 0x00RRGGBB: test pictures written as
// BMP files, and what the screen shows.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace quilla::gui {

// Writes a 24-bit BMP of the pixels, given row by row from the top.
bool WriteBmp(const std::wstring& path, int width, int height, const std::vector<unsigned>& pixels);
// The picture whose pixel (x, y) is colour(x, y), row by row from the top.
std::vector<unsigned> Picture(int width, int height, unsigned (*colour)(int x, int y));
// Writes the picture as a 24-bit BMP.
bool WriteTestBmp(const std::wstring& path, int width, int height, unsigned (*colour)(int x, int y));

// A binary PPM all of one grey: its reader reports progress and polls for a cancel row by row.
bool WriteGreyPpm(const std::wstring& path, int width, int height);

// Many colours: no two neighbouring pixels alike.
unsigned Gradient(int x, int y);

// The screen's pixels within the area, row by row from the top; empty when they can't be read.
std::vector<unsigned> CaptureScreen(const RECT& area);
unsigned ScreenPixel(int x, int y);
// GetDeviceCaps of the screen.
int ScreenCaps(int index);

}  // namespace quilla::gui
