#include "shell/screen_capture.h"

#include <algorithm>
#include <utility>

#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "shell/clipboard.h"
#include "shell/gdi.h"
#include "shell/selection_area.h"
#include "shell/shell_state.h"

namespace quilla {

namespace {

int pendingCapture = 0;

// The screen rectangle the command asks for; the client area's in screen coordinates.
RECT CaptureArea(int command, HWND foreground) {
  RECT area{};
  if (command == cmd::kCaptureDesktop) {
    GetWindowRect(GetDesktopWindow(), &area);
  } else if (command == cmd::kCaptureWindow) {
    GetWindowRect(foreground, &area);
  } else {
    GetClientRect(foreground, &area);
    MapWindowPoints(foreground, nullptr, reinterpret_cast<POINT*>(&area), 2);
  }
  if (area.right < area.left) std::swap(area.left, area.right);
  if (area.bottom < area.top) std::swap(area.top, area.bottom);
  return area;
}

bool HasNullDimension(const RECT& area) { return area.right == area.left || area.bottom == area.top; }

// The screen's pixels within the area, through a device bitmap.
PictureRead CopyScreen(const RECT& area, DibBlock& picture) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  WindowDC screen(nullptr);
  GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen, width, height));
  if (!bitmap) return PictureRead::NoMemory;
  {
    MemoryDC memory(screen);
    if (!memory) return PictureRead::NoMemory;
    SelectedBitmap selected(memory, bitmap.Get());
    if (!selected || !BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY))
      return PictureRead::NoMemory;
  }
  return ReadDeviceBitmap(bitmap.Get(), nullptr, picture);
}

void RestoreMainWindow() { ShowWindow(shell.mainWindow, SW_SHOWNORMAL); }

}  // namespace

void StartCapture(int command) {
  pendingCapture = command;
  ShowWindow(shell.mainWindow, SW_MINIMIZE);
  SetTimer(shell.mainWindow, kCaptureTimer, kCaptureDelayMs, nullptr);
}

void RunPendingCapture() {
  // An operation the user started meanwhile finishes first; the timer comes again.
  if (!IsInterfaceIdle()) return;
  KillTimer(shell.mainWindow, kCaptureTimer);
  HWND foreground = GetForegroundWindow();
  if (!foreground) {
    RestoreMainWindow();
    ShowWarning("Can't determine foreground window");
    return;
  }
  RECT area = CaptureArea(pendingCapture, foreground);
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  // A window wholly off the screen leaves nothing to capture either.
  if (HasNullDimension(area) || !IntersectRect(&area, &area, &screen)) {
    RestoreMainWindow();
    ShowWarning("Can't capture an area with NULL dimension.");
    return;
  }
  // Windows the main window uncovered repaint first.
  PollCancel();
  if (IsExiting()) return;
  DibBlock picture;
  const PictureRead read = CopyScreen(area, picture);
  if (read == PictureRead::Picture) PlaceNewPicture(std::move(picture));
  RestoreMainWindow();
  if (read == PictureRead::NoMemory) ShowNoMemory();
}

}  // namespace quilla
