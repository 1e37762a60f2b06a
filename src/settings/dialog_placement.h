// Remembered dialog positions: small and large dialogs each keep their top-left corner's
// offset from the main window's, in screen pixels ("DlgX"/"DlgY", "BigDlgX"/"BigDlgY").
// The Win32 dialogs move themselves with these at initialisation and on every move.
#pragma once
#include "settings/app_options.h"

namespace quilla {

enum class DialogKind { Small, Large };

struct ScreenPoint {
  int x = 0, y = 0;
};

// Where a dialog of the given size goes: the main window's corner plus the remembered
// offset, kept on a screen of the given size (left and top edges win over right and bottom).
ScreenPoint DialogOrigin(const AppOptions& options, DialogKind kind, ScreenPoint mainWindowCorner, int dialogWidth,
                         int dialogHeight, int screenWidth, int screenHeight);
// Stores the dialog's offset after it moved.
void RememberDialogOffset(AppOptions& options, DialogKind kind, ScreenPoint dialogCorner, ScreenPoint mainWindowCorner);

}  // namespace quilla
