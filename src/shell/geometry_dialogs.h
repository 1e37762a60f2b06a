// The size dialogs of the geometry commands: Resize, and New Image for File > New and
// Redimension. Each starts from a size and, on OK, gives the size chosen; the command does
// the work.
#pragma once
#include <windows.h>

#include "shell/size_dialog_rules.h"

namespace quilla {

// The presets of both dialogs, with the desktop and the largest client area as the system
// tells them now.
inline std::array<PixelSize, kSizePresetCount> ScreenSizePresets() {
  const PixelSize desktop{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const PixelSize maxClient{GetSystemMetrics(SM_CXFULLSCREEN),
                            GetSystemMetrics(SM_CYFULLSCREEN) - GetSystemMetrics(SM_CYMENU)};
  return SizePresets(desktop, maxClient);
}

// The preset buttons are numbered from first in the order of the presets. Typing a size
// unchecks them all.
inline void UncheckPresets(HWND dialog, int first) {
  for (int i = 0; i < kSizePresetCount; ++i) CheckDlgButton(dialog, first + i, BST_UNCHECKED);
}
// The preset a WM_COMMAND chose; null when it is not a click of one.
inline const PixelSize* ChosenPreset(const std::array<PixelSize, kSizePresetCount>& presets, int first, int id,
                                     int code) {
  const bool preset = id >= first && id < first + kSizePresetCount && code == BN_CLICKED;
  return preset ? &presets[size_t(id - first)] : nullptr;
}

// Resize on an image (or the selection area's, which the title then names) of the current
// size. True on OK, with the new size.
bool RunResizeDialog(PixelSize current, bool area, PixelSize& chosen);
INT_PTR CALLBACK ResizeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

enum class NewImageUse { NewImage, Redimension };
// New Image, starting at start. True on OK, with the size chosen.
bool RunNewImageDialog(NewImageUse use, bool area, PixelSize start, PixelSize& chosen);
INT_PTR CALLBACK NewDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace quilla
