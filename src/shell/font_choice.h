// The font controls of the dialogs that style text (Add Text, the contact sheet's labels):
// the face and point size lists and the four style flags, filled from a style and read
// back into it the same way.
#pragma once
#include <windows.h>

#include <string>

#include "settings/text_style.h"

namespace quilla {

struct FontControls {
  int face, points, bold, italic, underline, strikeout;
};
void ShowFontChoice(HWND dialog, const FontControls& ids, const TextStyle& style);
// Face, points and flags as the dialog shows them.
void ReadFontChoice(HWND dialog, const FontControls& ids, TextStyle& style);

}  // namespace quilla
