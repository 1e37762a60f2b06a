#include "shell/window_layout.h"

#include "core/dib_image.h"
#include "resources/resource_ids.h"
#include "settings/app_options.h"
#include "shell/display.h"
#include "shell/layout_rules.h"
#include "shell/scrolling.h"
#include "shell/shell_state.h"
#include "shell/toolbar.h"

namespace quilla {

namespace {
constexpr int kUntitledWidth = 320, kUntitledHeight = 400;
const wchar_t* const kFullTitles[] = {L"&File", L"&Edit", L"&Retouch", L"&Options", L"&Help"};
const wchar_t* const kShortTitles[] = {L"&F", L"&E", L"&R", L"&O", L"&H"};

// Window size minus client size with the menu bar on one line, as measured at start-up.
SIZE measuredFrame{0, 0};

LayoutMetrics SystemLayoutMetrics() {
  LayoutMetrics m;
  if (measuredFrame.cx > 0) {
    m.frameW = measuredFrame.cx;
    m.frameH = measuredFrame.cy;
  } else {
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, TRUE, 0);
    m.frameW = r.right - r.left;
    m.frameH = r.bottom - r.top;
  }
  m.menuH = GetSystemMetrics(SM_CYMENU);
  m.availW = GetSystemMetrics(SM_CXFULLSCREEN);
  m.availH = GetSystemMetrics(SM_CYFULLSCREEN) - m.menuH;
  m.barW = GetSystemMetrics(SM_CXVSCROLL);
  m.barH = GetSystemMetrics(SM_CYHSCROLL);
  return m;
}

int WindowWidth() {
  RECT r;
  GetWindowRect(shell.mainWindow, &r);
  return r.right - r.left;
}

void MoveTo(int width, int height) {
  SetWindowPos(shell.mainWindow, nullptr, display.targetX, display.targetY, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

int ClientHeightAt(int width) {
  SetWindowPos(shell.mainWindow, nullptr, 0, 0, width, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client;
  GetClientRect(shell.mainWindow, &client);
  return client.bottom;
}

// The smallest width in lo+1 .. hi at which the menu bar stays on one line (the client is
// as tall as with a one-line bar), found by bisection; 0 when it never wraps at lo.
int OneLineWidth(int lo, int hi, int oneLineHeight) {
  if (hi <= lo || ClientHeightAt(lo) == oneLineHeight) return 0;
  while (hi - lo > 1) {
    const int mid = lo + (hi - lo) / 2;
    if (ClientHeightAt(mid) == oneLineHeight) hi = mid;
    else lo = mid;
  }
  return hi;
}
}  // namespace

void SetMenuTitles(bool full) {
  if (full == display.fullTitlesShown || !shell.mainMenu) return;
  display.fullTitlesShown = full;
  for (int i = 0; i < 5; ++i) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING;
    item.dwTypeData = const_cast<wchar_t*>(full ? kFullTitles[i] : kShortTitles[i]);
    SetMenuItemInfoW(shell.mainMenu, UINT(i), TRUE, &item);
  }
  if (GetMenu(shell.mainWindow) == shell.mainMenu) DrawMenuBar(shell.mainWindow);
}

void PlaceWindow(int width, int height) {
  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  RECT work = desktop;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const DesktopInfo info{desktop.right - desktop.left, desktop.bottom - desktop.top, GetSystemMetrics(SM_CXFRAME),
                         GetSystemMetrics(SM_CYFRAME), work.right, work.bottom};
  RECT window;
  GetWindowRect(shell.mainWindow, &window);
  const Point2 at = PlaceFor(Options().PosMode(), width, height, {window.left, window.top}, info);
  display.targetX = at.x;
  display.targetY = at.y;
}

void FitWindow() {
  HWND window = shell.mainWindow;
  if (display.layoutRunning || !window) return;
  display.layoutRunning = true;
  RECT rect;
  GetWindowRect(window, &rect);
  display.targetX = rect.left;
  display.targetY = rect.top;
  display.paintSuspended = true;
  const DIBImage& document = shell.mainDocument;
  bool laidOut = true;
  if (IsIconic(window)) {
    if (Options().PopupIcon()) {
      ShowWindow(window, SW_RESTORE);
    } else {
      if (document.IsOperable()) shell.iconDocument.FreeImage();
      laidOut = false;
    }
  }
  if (laidOut) {
    SetScrollRanges(0, 0, 0, 0);
    const bool maximized = IsZoomed(window);
    if (document.IsOperable()) {
      const LayoutMetrics metrics = SystemLayoutMetrics();
      LayoutInput in;
      in.imageW = document.Width();
      in.imageH = document.Height();
      in.shape = maximized ? WindowShape::Maximized
                           : Options().AutoResize() ? WindowShape::AutoResize : WindowShape::KeepSize;
      in.barsShown = display.scroll.barsShown;
      in.windowW = rect.right - rect.left;
      in.windowH = rect.bottom - rect.top;
      in.shortMenuWidth = display.shortMenuWidth;
      const LayoutResult out = LayOut(in, metrics);
      SetMenuTitles(UseFullMenuTitles(maximized ? in.windowW : out.windowW, display.fullMenuWidth));
      if (!maximized) {
        PlaceWindow(out.windowW, out.windowH);
        MoveTo(out.windowW, out.windowH);
      }
      SetScrollRanges(out.rangeX, out.rangeY, out.rangeX ? out.clientW / 4 : 0, out.rangeY ? out.clientH / 4 : 0);
    } else {
      if (!maximized && Options().AutoResize()) {
        PlaceWindow(kUntitledWidth, kUntitledHeight);
        MoveTo(kUntitledWidth, kUntitledHeight);
      }
      SetMenuTitles(UseFullMenuTitles(WindowWidth(), display.fullMenuWidth));
    }
  }
  display.paintSuspended = false;
  InvalidateRect(window, nullptr, TRUE);
  ShowToolbar();
  display.layoutRunning = false;
}

void CalibrateMenuWidths() {
  HWND window = shell.mainWindow;
  const int minWidth = GetSystemMetrics(SM_CXMIN), maxWidth = GetSystemMetrics(SM_CXFULLSCREEN);
  display.fullMenuWidth = display.shortMenuWidth = 0;
  if (maxWidth > minWidth) {
    const int oneLine = ClientHeightAt(maxWidth);
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    measuredFrame = {(outer.right - outer.left) - client.right, (outer.bottom - outer.top) - client.bottom};
    display.fullMenuWidth = OneLineWidth(minWidth, maxWidth, oneLine);
    if (display.fullMenuWidth > 0) {
      if (HMENU shortMenu = LoadMenuW(shell.instance, MAKEINTRESOURCEW(IDM_SHORT))) {
        SetMenu(window, shortMenu);
        display.shortMenuWidth = OneLineWidth(minWidth, display.fullMenuWidth - 1, oneLine);
        SetMenu(window, shell.mainMenu);
        DestroyMenu(shortMenu);
      }
    }
  }
  SetWindowPos(window, nullptr, 0, 0, kUntitledWidth, kUntitledHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT OnPosModeCommand(int command) {
  Options().SetPosMode(command);
  FitWindow();
  return 0;
}

}  // namespace quilla
