#include "shell/win32_host.h"

#include <windows.h>

#include "shell/display.h"
#include "shell/full_screen.h"
#include "shell/shell_state.h"
#include "shell/toolbar.h"
#include "shell/utf.h"
#include "shell/window_layout.h"
#include "shell/window_title.h"

// <windows.h> renames MessageBox; the Host's member keeps its own name.
#undef MessageBox

namespace quilla {

namespace {
UINT ButtonFlags(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok: return MB_OK;
    case MsgButtons::OkCancel: return MB_OKCANCEL;
    case MsgButtons::YesNo: return MB_YESNO;
    case MsgButtons::YesNoCancel: return MB_YESNOCANCEL;
  }
  return MB_OK;
}

UINT IconFlags(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Information: return MB_ICONINFORMATION;
    case MsgIcon::Exclamation: return MB_ICONEXCLAMATION;
    case MsgIcon::Question: return MB_ICONQUESTION;
  }
  return 0;
}

MsgResult ResultOf(int button) {
  switch (button) {
    case IDYES: return MsgResult::Yes;
    case IDNO: return MsgResult::No;
    case IDCANCEL: return MsgResult::Cancel;
    default: return MsgResult::Ok;
  }
}

// A quit taken by a nested loop is posted again, so the main loop ends too once the
// operation that pumped has unwound.
bool TakeMessage(MSG& msg, bool wait) {
  if (wait) {
    if (GetMessageW(&msg, nullptr, 0, 0) == -1) msg = MSG{nullptr, WM_QUIT, 0, 0, 0, {}};
  } else if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    msg.message = WM_NULL;
    return false;
  }
  return true;
}

// False on a quit message.
bool Dispatch(MSG& msg) {
  if (msg.message == WM_QUIT) {
    PostQuitMessage(int(msg.wParam));
    return false;
  }
  if (!shell.accelerators || !TranslateAcceleratorW(shell.mainWindow, shell.accelerators, &msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}
}  // namespace

MsgResult Win32Host::MessageBox(OwnerWindow owner, const std::string& text, const std::string& caption,
                                MsgButtons buttons, MsgIcon icon) {
  // The full-screen view, when there is one, is left first: the box stands on the main
  // window.
  LeaveFullScreen();
  HWND window = owner ? static_cast<HWND>(owner) : shell.mainWindow;
  return ResultOf(MessageBoxW(window, Widen(text).c_str(), Widen(caption).c_str(), ButtonFlags(buttons) | IconFlags(icon)));
}

void Win32Host::SetWindowTitle(const std::string& title) {
  if (shell.mainWindow) SetWindowTextW(shell.mainWindow, Widen(title).c_str());
}

bool Win32Host::PumpPendingMessages(const std::function<bool()>& stopEarly) {
  MSG msg;
  while (!stopEarly() && TakeMessage(msg, false)) {
    if (!Dispatch(msg)) return false;
  }
  return true;
}

bool Win32Host::WaitAndDispatchOneMessage() {
  MSG msg;
  TakeMessage(msg, true);
  return Dispatch(msg);
}

void Win32Host::ShowWaitCursor() { SetCursor(LoadCursorW(nullptr, IDC_WAIT)); }

void Win32Host::RestoreCursor() {
  POINT point;
  GetCursorPos(&point);
  HWND under = WindowFromPoint(point);
  HCURSOR cursor = nullptr;
  if (under && under == shell.mainWindow) {
    cursor = shell.pickMode ? shell.pickCursor : shell.mainCursor;
  } else if (under) {
    cursor = reinterpret_cast<HCURSOR>(GetClassLongPtrW(under, GCLP_HCURSOR));
  }
  SetCursor(cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW));
}

void Win32Host::ShowBusyMenu(int menuNumber) {
  HMENU busy = LoadMenuW(shell.instance, MAKEINTRESOURCEW(menuNumber));
  if (!busy || !shell.mainWindow) return;
  HMENU previous = GetMenu(shell.mainWindow);
  SetMenu(shell.mainWindow, busy);
  DrawMenuBar(shell.mainWindow);
  if (previous && previous != shell.mainMenu) DestroyMenu(previous);
}

void Win32Host::RestoreMainMenu() {
  if (!shell.mainWindow) return;
  HMENU current = GetMenu(shell.mainWindow);
  if (current == shell.mainMenu) return;
  SetMenu(shell.mainWindow, shell.mainMenu);
  DrawMenuBar(shell.mainWindow);
  if (current) DestroyMenu(current);
}

// The toolbar collapses while the interface is busy.
void Win32Host::SetBusy(bool busy) { SetToolbarBusy(busy); }

void Win32Host::OnEngineEvent(EngineEvent event) {
  if (!shell.mainWindow) return;
  switch (event) {
    case EngineEvent::PaletteChanged:
      // A palette device takes the new palette; every device repaints with the new colours.
      if (!RealizeImagePalette(shell.mainWindow)) InvalidateRect(shell.mainWindow, nullptr, FALSE);
      break;
    case EngineEvent::BatchEnded:
      // The full-screen view keeps its own menu-less view until it is left.
      if (shell.fullScreenActive) break;
      RestoreMainMenu();
      FitWindow();
      UpdateTitle();
      break;
  }
}

ScreenRect Win32Host::WorkArea() {
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return {area.left, area.top, area.right, area.bottom};
}

}  // namespace quilla
