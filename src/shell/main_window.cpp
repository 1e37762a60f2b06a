#include "shell/main_window.h"

#include <shellapi.h>
#include <windowsx.h>

#include "core/commands.h"
#include "core/messages.h"
#include "core/progress.h"
#include "core/version.h"
#include "resources/resource_ids.h"
#include "shell/colour_commands.h"
#include "shell/command_table.h"
#include "shell/display.h"
#include "shell/drop_handling.h"
#include "shell/file_commands.h"
#include "shell/file_dialogs.h"
#include "shell/full_screen.h"
#include "shell/lifecycle.h"
#include "shell/screen_capture.h"
#include "shell/scrolling.h"
#include "shell/selection_area.h"
#include "shell/shell_state.h"
#include "shell/slideshow.h"
#include "shell/toolbar.h"
#include "shell/utf.h"
#include "shell/window_layout.h"

namespace quilla {

namespace {
// The thumb's 32-bit position, which the message's 16 bits cannot carry for tall images.
int TrackPosition(HWND window, int bar) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_TRACKPOS;
  GetScrollInfo(window, bar, &info);
  return info.nTrackPos;
}

HCURSOR ClientCursor() {
  HCURSOR cursor = nullptr;
  if (WaitCursorShown()) cursor = LoadCursorW(nullptr, IDC_WAIT);
  else cursor = shell.pickMode ? shell.pickCursor : shell.mainCursor;
  return cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
}
}  // namespace

bool RegisterMainClass() {
  WNDCLASSW wc{};
  wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = MainWndProc;
  wc.hInstance = shell.instance;
  wc.hIcon = LoadIconW(shell.instance, MAKEINTRESOURCEW(IDI_APP));
  wc.lpszMenuName = MAKEINTRESOURCEW(IDM_MAIN);
  wc.lpszClassName = kMainClass;
  return RegisterClassW(&wc) != 0;
}

// Registered at start-up, so that start-up fails early when the system refuses it.
bool RegisterFullScreenClass() {
  WNDCLASSW wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = FullWndProc;
  wc.hInstance = shell.instance;
  wc.hIcon = LoadIconW(shell.instance, MAKEINTRESOURCEW(IDI_APP));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kFullScreenClass;
  return RegisterClassW(&wc) != 0;
}

HWND CreateMainWindow() {
  return CreateWindowW(kMainClass, Widen(kProgramTitle).c_str(), WS_OVERLAPPEDWINDOW, 10, 10, 300, 300, nullptr,
                       nullptr, shell.instance, nullptr);
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      shell.mainWindow = window;
      shell.mainMenu = GetMenu(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_MOVE:
      if (!shell.startingUp) FollowMainWindow();
      return 0;
    case WM_ACTIVATE:
      // Posted: the toolbar follows once the activation has settled.
      if (!shell.startingUp && !HIWORD(wParam) && !IsExiting()) {
        PostCommand(cmd::kToolbarShow, LOWORD(wParam) != WA_INACTIVE ? 1 : 0);
      }
      break;
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED) {
        HideToolbar();
        OnMinimized();
      } else if (!shell.startingUp) FitWindow();
      return 0;
    case WM_PAINT:
      if (shell.fullScreenActive) break;
      PaintMainWindow(window);
      return 0;
    case WM_HSCROLL:
      ScrollHorizontal(LOWORD(wParam), TrackPosition(window, SB_HORZ));
      return 0;
    case WM_VSCROLL:
      ScrollVertical(LOWORD(wParam), TrackPosition(window, SB_VERT));
      return 0;
    case WM_SYSCOLORCHANGE:
      RealizeImagePalette(window);
      return 0;
    case WM_QUERYNEWPALETTE:
      if (shell.fullScreenActive) return FALSE;
      return RealizeImagePalette(window);
    case WM_PALETTECHANGED:
      if (!shell.fullScreenActive && reinterpret_cast<HWND>(wParam) != window) RealizeImagePalette(window);
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_CLOSE:
      if (QueryClose()) Exit();
      return 0;
    case WM_QUERYENDSESSION:
      return QueryClose();
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR:
      if (LOWORD(lParam) != HTCLIENT) break;
      SetCursor(ClientCursor());
      return TRUE;
    case WM_MOUSEACTIVATE:
      return LOWORD(lParam) == HTCLIENT ? MA_ACTIVATEANDEAT : MA_ACTIVATE;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<LRESULT>(shell.appIcon);
    case WM_LBUTTONDOWN:
      if (shell.fullScreenActive) {
        LeaveFullScreen();
        return 0;
      }
      if (shell.pickMode) {
        PickFillColour({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        SetCursor(ClientCursor());
        break;
      }
      // A click during a batch of files offers to cancel it.
      if (IsBatchRunning()) PostCommand(kCancelOperationCommand);
      else SelectionMouseDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, true);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (IsInterfaceIdle() && shell.mainDocument.IsOperable()) EnterFullScreen();
      return 0;
    case WM_RBUTTONDOWN:
      // During a batch of files the click ends the wait, and the batch goes on to the next one.
      if (IsBatchRunning()) SetBatchWaiting(false);
      else if (!shell.fullScreenActive) SelectionMouseDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, false);
      return 0;
    case WM_MOUSEMOVE:
      SelectionMouseMove();
      return 0;
    case WM_LBUTTONUP:
      SelectionMouseUp();
      return 0;
    case WM_RBUTTONUP:
      if (!shell.fullScreenActive) SelectionMouseUp();
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != window) SelectionCaptureLost();
      return 0;
    case WM_TIMER:
      if (wParam == kSelectionTimer) SelectionTick();
      else if (wParam == kCaptureTimer) RunPendingCapture();
      else if (wParam == kSlidePauseTimer) EndSlidePauseByTimer();
      else if (wParam == kLayoutAfterFullScreenTimer) LayOutAfterFullScreen();
      return 0;
    case WM_COMMAND:
    case WM_USER:
      return DispatchCommand(LOWORD(wParam), lParam);
  }
  if (message == CommDlgHelpMessage() && message != 0) {
    OnCommDlgHelp();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace quilla
