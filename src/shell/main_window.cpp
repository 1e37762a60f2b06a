#include "shell/main_window.h"

#include "core/messages.h"
#include "core/progress.h"
#include "core/version.h"
#include "resources/resource_ids.h"
#include "shell/command_table.h"
#include "shell/lifecycle.h"
#include "shell/shell_state.h"
#include "shell/utf.h"

namespace quilla {

namespace {
// Without an operable image the client area is plain light grey.
void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  EndPaint(window, &paint);
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

// The full-screen view gives the class its own procedure when it is built; the class is
// registered at start-up so that start-up fails early when the system refuses it.
bool RegisterFullScreenClass() {
  WNDCLASSW wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = DefWindowProcW;
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
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED) shell.iconDocument.FreeImage();
      return 0;
    case WM_PAINT:
      Paint(window);
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
      // A click during a batch of files offers to cancel it.
      if (IsBatchRunning()) PostCommand(kCancelOperationCommand);
      return 0;
    case WM_COMMAND:
    case WM_USER:
      return DispatchCommand(LOWORD(wParam), lParam);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace quilla
