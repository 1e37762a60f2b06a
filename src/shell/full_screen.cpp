#include "shell/full_screen.h"

#include <shellapi.h>

#include "core/commands.h"
#include "core/messages.h"
#include "core/progress.h"
#include "settings/app_options.h"
#include "shell/display.h"
#include "shell/drop_handling.h"
#include "shell/file_commands.h"
#include "shell/full_screen_rules.h"
#include "shell/gdi.h"
#include "shell/main_window.h"
#include "shell/shell_state.h"
#include "shell/window_layout.h"

namespace quilla {

namespace {
constexpr UINT kLayoutDelayMs = 100;

OwnedWindow fullWindow;
// Hiding and destroying the window send messages that could ask to leave again.
bool leaving = false;

POINT CursorIn(HWND window) {
  POINT point{};
  GetCursorPos(&point);
  ScreenToClient(window, &point);
  return point;
}

// The image on the class's black background. False when memory ran out.
bool PaintFullScreen(HDC dc) {
  // A paint can come before the flag is set.
  if (!shell.fullScreenActive && !leaving) EnterFullScreen();
  if (!shell.mainDocument.IsOperable()) return true;
  const ScreenPlacement place = FullScreenPlacement(shell.mainDocument.Width(), shell.mainDocument.Height(),
                                                    GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  return PaintMainImageStretched(dc, {place.x, place.y, place.x + place.width, place.y + place.height});
}

// Realises the image's palette in the view; true when any entry changed.
bool RealizeInView(HWND window) { return shell.fullScreenActive && RealizeImagePalette(window); }
}  // namespace

void EnterFullScreen() {
  if (!fullWindow) {
    fullWindow.Reset(CreateWindowW(kFullScreenClass, L"", WS_POPUP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                   GetSystemMetrics(SM_CYSCREEN), shell.mainWindow, nullptr, shell.instance, nullptr));
    if (!fullWindow) return;
    DragAcceptFiles(fullWindow.Get(), TRUE);
  }
  // Set first: showing the view must not start the paint that enters it again.
  shell.fullScreenActive = true;
  ShowWindow(fullWindow.Get(), SW_SHOWNORMAL);
  SetWindowPos(fullWindow.Get(), Options().FullOnTop() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE);
}

void LeaveFullScreen() {
  if (leaving || !shell.fullScreenActive) return;
  leaving = true;
  shell.fullScreenActive = false;
  ShowWindow(fullWindow.Get(), SW_HIDE);
  fullWindow.Reset();
  if (!IsBatchRunning()) RestoreMenu();
  PostCommand(cmd::kLayoutAfterFullScreen);
  leaving = false;
}

bool IsFullScreen() { return shell.fullScreenActive; }

void RepaintFullScreen() {
  if (!shell.fullScreenActive || !fullWindow) return;
  InvalidateRect(fullWindow.Get(), nullptr, TRUE);
  UpdateWindow(fullWindow.Get());
}

HWND FullScreenWindow() { return fullWindow.Get(); }

LRESULT CALLBACK FullWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return 0;
    case WM_DESTROY:
      shell.fullScreenActive = false;
      return 0;
    case WM_PAINT: {
      bool painted;
      {
        WindowPaint paint(window);
        painted = PaintFullScreen(paint);
      }
      // The paint ends before the window goes.
      if (!painted) {
        LeaveFullScreen();
        ShowNoMemory();
      }
      return 0;
    }
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, IDC_ARROW));
      return TRUE;
    case WM_CHAR: {
      // Esc acts as a double click, Enter as a right click.
      const POINT at = CursorIn(window);
      if (wParam == VK_ESCAPE) PostMessageW(window, WM_LBUTTONDBLCLK, 0, MAKELPARAM(at.x, at.y));
      else if (wParam == VK_RETURN) PostMessageW(window, WM_RBUTTONDOWN, 0, MAKELPARAM(at.x, at.y));
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      LeaveFullScreen();
      return 0;
    case WM_RBUTTONDOWN:
      // During a batch of files the click ends the wait, and the batch goes on to the next one.
      if (IsBatchRunning()) SetBatchWaiting(false);
      else LeaveFullScreen();
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      RepaintFullScreen();
      return 0;
    case WM_QUERYNEWPALETTE:
      return RealizeInView(window);
    case WM_PALETTECHANGED:
      if (reinterpret_cast<HWND>(wParam) != window) RealizeInView(window);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT OnFullScreenCommand(LPARAM) {
  if (IsInterfaceIdle()) EnterFullScreen();
  return 0;
}

LRESULT OnLayoutAfterFullScreen(LPARAM) {
  SetTimer(shell.mainWindow, kLayoutAfterFullScreenTimer, kLayoutDelayMs, nullptr);
  return 0;
}

void LayOutAfterFullScreen() {
  KillTimer(shell.mainWindow, kLayoutAfterFullScreenTimer);
  FitWindow();
}

}  // namespace quilla
