// Screen capture: the desktop, the foreground window or its client area, taken a moment
// after the main window got out of the way and placed in the image like a pasted picture.
#pragma once
#include <windows.h>

#include "core/commands.h"

namespace quilla {

// The wait between minimising the main window and the capture.
inline constexpr UINT_PTR kCaptureTimer = 10;
inline constexpr UINT kCaptureDelayMs = 3000;

// Remembers what to capture (cmd::kCaptureDesktop, kCaptureWindow or kCaptureClient),
// minimises the main window and starts the timer.
void StartCapture(int command);
// Timer 10: stops it and takes the capture.
void RunPendingCapture();

template <int kCommand>
LRESULT CaptureCommand(LPARAM) {
  StartCapture(kCommand);
  return 0;
}

}  // namespace quilla
