#include "shell/toolbar.h"

#include <windowsx.h>

#include <iterator>
#include <string>

#include "core/messages.h"
#include "resources/resource_ids.h"
#include "settings/app_options.h"
#include "shell/gdi.h"
#include "shell/shell_state.h"
#include "shell/toolbar_rules.h"
#include "shell/utf.h"

namespace quilla {

namespace {
constexpr wchar_t kToolClass[] = L"QuillaTools32";
constexpr wchar_t kLegendClass[] = L"QuillaToolBarLegend32";
constexpr UINT_PTR kLegendTimer = 1;
constexpr UINT kLegendTimerMs = 200;
constexpr int kGlyphWidth = 16, kGlyphHeight = 15;

// What the toolbar holds from the system, released by DestroyToolbar.
struct ToolbarHandles {
  HINSTANCE instance = nullptr;
  OwnedWindow toolWindow;
  GdiObject<HBITMAP> glyphs[kGlyphCount];
  GdiObject<HBRUSH> legendBrush;
};
ToolbarHandles handles;

struct ToolbarState {
  HWND legendWindow = nullptr;  // owned by the toolbar, destroyed with it
  bool pressed[kToolbarButtons] = {};
  bool disabled[kToolbarButtons] = {};
  bool collapsed = false;
  bool onLeft = false;
  bool ready = false;
  bool wanted = false;
  bool captionPressed = false;  // held down
  bool captionInside = false;   // and the mouse on it
  bool autoCollapsed = false;
  bool altGlyph29 = false;
  bool legendTimerOk = false;
  bool tracking = false;
  int trackedButton = kNoButton;
  bool trackedRight = false;
  HoverCount hover;
  bool legendShown = false;
  int legendButton = kNoButton;
  bool syncing = false;
};
ToolbarState toolbar;

HWND Tool() { return handles.toolWindow.Get(); }

void Fill(HDC dc, int x, int y, int width, int height, HBRUSH brush) {
  const RECT r{x, y, x + width, y + height};
  FillRect(dc, &r, brush);
}
HBRUSH SysBrush(int index) { return GetSysColorBrush(index); }
HBRUSH Black() { return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)); }
HBRUSH White() { return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)); }

void DrawGlyph(HDC dc, int glyph, int x, int y) {
  MemoryDC memory(dc);
  const SelectedBitmap selected(memory, handles.glyphs[glyph].Get());
  if (selected) BitBlt(dc, x, y, kGlyphWidth, kGlyphHeight, memory, 0, 0, SRCCOPY);
}

// One button at (x, y): outline, then raised or sunk edges, then the glyph.
void DrawButton(HDC dc, int x, int y, int glyph, bool pressed) {
  Fill(dc, x + 1, y + 1, kButtonWidth - 2, kButtonHeight - 2, SysBrush(COLOR_BTNFACE));
  Fill(dc, x, y + 1, 1, 21, Black());
  Fill(dc, x + 23, y + 1, 1, 21, Black());
  Fill(dc, x + 1, y, 22, 1, Black());
  Fill(dc, x + 1, y + 22, 22, 1, Black());
  if (pressed) {
    Fill(dc, x + 1, y + 1, 22, 1, SysBrush(COLOR_BTNSHADOW));
    Fill(dc, x + 1, y + 1, 1, 21, SysBrush(COLOR_BTNSHADOW));
    DrawGlyph(dc, glyph, x + 4, y + 5);
  } else {
    Fill(dc, x + 1, y + 1, 20, 1, White());
    Fill(dc, x + 1, y + 1, 1, 19, White());
    Fill(dc, x + 21, y + 1, 2, 21, SysBrush(COLOR_BTNSHADOW));
    Fill(dc, x + 1, y + 20, 22, 2, SysBrush(COLOR_BTNSHADOW));
    DrawGlyph(dc, glyph, x + 3, y + 4);
  }
}

int GlyphOf(int button) {
  if (toolbar.disabled[button]) return kDisabledGlyph;
  if (button == kJpegSetupButton && toolbar.altGlyph29) return kAltSetupGlyph;
  return button;
}

void DrawToolButton(HDC dc, int button) {
  const ToolPoint o = ButtonOrigin(button);
  DrawButton(dc, o.x, o.y, GlyphOf(button), toolbar.pressed[button]);
}

void RedrawButton(int button) {
  if (!Tool() || toolbar.collapsed) return;
  WindowDC dc(Tool());
  DrawToolButton(dc, button);
}

void PaintFull(HDC dc) {
  RECT client;
  GetClientRect(Tool(), &client);
  FillRect(dc, &client, SysBrush(COLOR_ACTIVECAPTION));
  FrameRect(dc, &client, SysBrush(COLOR_WINDOWFRAME));
  // The collapse box in the strip's corner.
  const RECT box{0, 0, 14, 9};
  FrameRect(dc, &box, SysBrush(COLOR_WINDOWFRAME));
  Fill(dc, 1, 1, 12, 7, SysBrush(COLOR_SCROLLBAR));
  Fill(dc, 5, 3, 4, 3, SysBrush(COLOR_BTNSHADOW));
  Fill(dc, 5, 3, 3, 2, SysBrush(COLOR_WINDOW));
  for (int i = 0; i < kToolbarButtons; ++i) DrawToolButton(dc, i);
}

void PaintCollapsed(HDC dc) {
  const bool pressed = toolbar.captionPressed && toolbar.captionInside;
  DrawButton(dc, 0, 0, shell.toolbarBusy && !pressed ? kDisabledGlyph : kCaptionGlyph, pressed);
}

ScreenRect WindowRectOf(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return {r.left, r.top, r.right, r.bottom};
}

FrameMetrics SystemFrameMetrics() {
  return {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME), GetSystemMetrics(SM_CYCAPTION),
          GetSystemMetrics(SM_CYMENU), GetSystemMetrics(SM_CXSIZE)};
}

// Shows the toolbar, full or collapsed, at its place by the main window.
void PlaceToolbar() {
  const ScreenRect main = WindowRectOf(shell.mainWindow);
  const FrameMetrics metrics = SystemFrameMetrics();
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW;
  if (toolbar.collapsed) {
    const DWORD version = GetVersion();
    const int buttons = CaptionButtonCount(LOBYTE(LOWORD(version)), HIBYTE(LOWORD(version)));
    const ToolPoint at = CollapsedToolbarOrigin(main, metrics, buttons);
    SetWindowPos(Tool(), nullptr, at.x, at.y, kButtonWidth, kButtonHeight, flags);
  } else {
    const ToolPoint at = FullToolbarOrigin(main, WindowRectOf(GetDesktopWindow()), metrics, toolbar.onLeft);
    SetWindowPos(Tool(), nullptr, at.x, at.y, kToolbarWidth, kToolbarHeight, flags);
  }
  InvalidateRect(Tool(), nullptr, TRUE);
  UpdateWindow(Tool());
  SyncButtonStates();
}

// A toolbar shown again while the interface is busy comes back folded, like one that was
// shown when it turned busy.
void ShowAgain() {
  if (!toolbar.wanted || !toolbar.ready || !Tool() || IsIconic(shell.mainWindow)) return;
  if (shell.toolbarBusy && !toolbar.collapsed) toolbar.collapsed = toolbar.autoCollapsed = true;
  PlaceToolbar();
}

void HideLegend() {
  toolbar.hover = HoverCount{};
  if (!toolbar.legendShown) return;
  toolbar.legendShown = false;
  toolbar.legendButton = kNoButton;
  ShowWindow(toolbar.legendWindow, SW_HIDE);
}

void ShowLegend(int button) {
  // The legend's text is its window's text, which its painting draws.
  const std::wstring legend = Widen(button == kCaptionButton ? kCaptionLegend : kToolbarButtonTable[button].legend);
  SetWindowTextW(toolbar.legendWindow, legend.c_str());
  SIZE text{};
  {
    WindowDC dc(toolbar.legendWindow);
    GetTextExtentPoint32W(dc, legend.c_str(), int(legend.size()), &text);
  }
  const ScreenRect tool = WindowRectOf(Tool());
  ToolPoint origin{tool.left, tool.top};
  if (button != kCaptionButton) {
    const ToolPoint o = ButtonOrigin(button);
    origin = {tool.left + o.x, tool.top + o.y};
  }
  const ScreenRect at = LegendPlacement(button, origin, text.cx, text.cy, GetSystemMetrics(SM_CXSCREEN));
  SetWindowPos(toolbar.legendWindow, HWND_TOP, at.left, at.top, at.Width(), at.Height(),
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(toolbar.legendWindow, nullptr, TRUE);
  UpdateWindow(toolbar.legendWindow);
  toolbar.legendShown = true;
  toolbar.legendButton = button;
}

// The button under the mouse a legend may name: the caption button, or an enabled one.
int LegendButtonUnder(POINT cursor) {
  const ScreenRect tool = WindowRectOf(Tool());
  if (cursor.x < tool.left || cursor.x >= tool.right || cursor.y < tool.top || cursor.y >= tool.bottom) {
    return kNoButton;
  }
  if (toolbar.collapsed) return kCaptionButton;
  const int button = ButtonAt(cursor.x - tool.left, cursor.y - tool.top);
  return button != kNoButton && !toolbar.disabled[button] ? button : kNoButton;
}

bool OverToolbar(POINT cursor) {
  const ScreenRect tool = WindowRectOf(Tool());
  return cursor.x >= tool.left && cursor.x < tool.right && cursor.y >= tool.top && cursor.y < tool.bottom;
}

void StopTracking() {
  toolbar.tracking = false;
  if (toolbar.trackedButton != kNoButton) {
    toolbar.pressed[toolbar.trackedButton] = false;
    RedrawButton(toolbar.trackedButton);
  }
  toolbar.trackedButton = kNoButton;
}

void LegendTick() {
  if (GetCapture() == Tool()) return;
  // A press whose release went elsewhere.
  if (toolbar.captionPressed) {
    toolbar.captionPressed = toolbar.captionInside = false;
    InvalidateRect(Tool(), nullptr, FALSE);
  }
  if (toolbar.tracking) StopTracking();
  if (!toolbar.ready || shell.toolbarBusy || !IsWindowVisible(Tool()) || !Options().ShowToolBarLegend()) return;
  POINT cursor;
  GetCursorPos(&cursor);
  const int under = LegendButtonUnder(cursor);
  if (toolbar.legendShown) {
    if (!OverToolbar(cursor)) HideLegend();
    else if (under != kNoButton && under != toolbar.legendButton) ShowLegend(under);
    return;
  }
  if (toolbar.hover.Tick(under)) ShowLegend(under);
}

void FlipJpegSetup() {
  const bool preview = Options().JpegDecompressionSetup() != kJpegPreview;
  Options().SetJpegDecompressionSetup(preview ? kJpegPreview : kJpegNormal);
  SetAltGlyph29(preview);
}

void Collapse(bool collapsed) {
  toolbar.collapsed = collapsed;
  PlaceToolbar();
}

void OnPress(int x, int y, bool right) {
  HideLegend();
  if (shell.toolbarBusy || toolbar.tracking) return;
  if (toolbar.collapsed) {
    if (right) return;
    toolbar.captionPressed = toolbar.captionInside = true;
    SetCapture(Tool());
    InvalidateRect(Tool(), nullptr, FALSE);
    return;
  }
  const Press press = PressAt(x, y);
  switch (press.target) {
    case PressTarget::Nothing:
      return;
    case PressTarget::Collapse:
      if (!right) Collapse(true);
      return;
    case PressTarget::FlipSide:
      if (!right) {
        toolbar.onLeft = !toolbar.onLeft;
        PlaceToolbar();
      }
      return;
    case PressTarget::Button:
      if (toolbar.disabled[press.button] || (right && !TakesRightButton(press.button))) return;
      toolbar.tracking = true;
      toolbar.trackedButton = press.button;
      toolbar.trackedRight = right;
      toolbar.pressed[press.button] = true;
      SetCapture(Tool());
      RedrawButton(press.button);
      return;
  }
}

void OnMove(int x, int y) {
  if (toolbar.captionPressed) {
    const bool inside = x >= 0 && x < kButtonWidth && y >= 0 && y < kButtonHeight;
    if (inside != toolbar.captionInside) {
      toolbar.captionInside = inside;
      InvalidateRect(Tool(), nullptr, FALSE);
    }
  } else if (toolbar.tracking) {
    const bool on = ButtonAt(x, y) == toolbar.trackedButton;
    if (on != toolbar.pressed[toolbar.trackedButton]) {
      toolbar.pressed[toolbar.trackedButton] = on;
      RedrawButton(toolbar.trackedButton);
    }
  }
}

void OnRelease(int x, int y, bool right) {
  if (toolbar.captionPressed && !right) {
    const bool inside = toolbar.captionInside;
    toolbar.captionPressed = toolbar.captionInside = false;
    ReleaseCapture();
    if (inside) Collapse(false);
    else InvalidateRect(Tool(), nullptr, FALSE);
    return;
  }
  if (!toolbar.tracking || toolbar.trackedRight != right) return;
  const int button = toolbar.trackedButton;
  StopTracking();
  ReleaseCapture();
  if (ButtonAt(x, y) != button) return;
  if (!right) PostCommand(kToolbarButtonTable[button].command);
  else if (button == kJpegSetupButton) FlipJpegSetup();
  else PostCommand(RightButtonCommand(button));
}

bool RegisterClasses(HINSTANCE instance) {
  WNDCLASSW wc{};
  if (!GetClassInfoW(instance, kToolClass, &wc)) {
    wc = WNDCLASSW{};
    wc.lpfnWndProc = ToolBarWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kToolClass;
    if (!RegisterClassW(&wc)) return false;
  }
  if (!GetClassInfoW(instance, kLegendClass, &wc)) {
    wc = WNDCLASSW{};
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = LegendWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = handles.legendBrush.Get();
    wc.lpszClassName = kLegendClass;
    if (!RegisterClassW(&wc)) return false;
  }
  return true;
}

// All glyphs or none; their greys and white become the system's button colours.
bool LoadGlyphs(HINSTANCE instance) {
  for (int i = 0; i < kGlyphCount; ++i) {
    handles.glyphs[i].Reset(static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDB_TOOLBAR_GLYPH0 + i), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
    if (!handles.glyphs[i]) return false;
  }
  return true;
}

bool CreateWindows(HINSTANCE instance) {
  handles.toolWindow.Reset(CreateWindowExW(0, kToolClass, L"", WS_POPUP, 0, 0, kToolbarWidth, kToolbarHeight,
                                           shell.mainWindow, nullptr, instance, nullptr));
  if (!Tool()) return false;
  toolbar.legendWindow = CreateWindowExW(0, kLegendClass, L"", WS_POPUP | WS_BORDER, 0, 0, 8, 4, Tool(), nullptr,
                                         instance, nullptr);
  return toolbar.legendWindow != nullptr;
}
}  // namespace

bool CreateToolbar(HINSTANCE instance, bool collapsed, bool onLeft) {
  DestroyToolbar();
  handles.instance = instance;
  handles.legendBrush.Reset(CreateSolidBrush(RGB(255, 255, 0)));
  if (!handles.legendBrush || !RegisterClasses(instance) || !LoadGlyphs(instance) || !CreateWindows(instance)) {
    DestroyToolbar();
    return false;
  }
  toolbar.legendTimerOk = SetTimer(Tool(), kLegendTimer, kLegendTimerMs, nullptr) != 0;
  if (!toolbar.legendTimerOk && Options().ShowToolBarLegend()) ShowWarning("%s", kToolbarTimerMissingText);
  toolbar.collapsed = collapsed;
  toolbar.onLeft = onLeft;
  return true;
}

void DestroyToolbar() {
  handles.toolWindow.Reset();  // and the legend with it
  toolbar.legendWindow = nullptr;
  for (GdiObject<HBITMAP>& glyph : handles.glyphs) glyph.Reset();
  const bool collapsed = toolbar.collapsed, onLeft = toolbar.onLeft;
  toolbar = ToolbarState{};
  toolbar.collapsed = collapsed;
  toolbar.onLeft = onLeft;
}

void MarkToolbarReady() { toolbar.ready = true; }

void ShowToolbar() {
  toolbar.wanted = true;
  ShowAgain();
}

void HideToolbar() {
  HideLegend();
  toolbar.wanted = false;
  if (Tool()) ShowWindow(Tool(), SW_HIDE);
}

void FollowMainWindow() { ShowAgain(); }

void HideToolbarLegend() {
  if (Tool()) HideLegend();
}

void SetToolbarBusy(bool busy) {
  shell.toolbarBusy = busy;
  if (!Tool()) return;
  // The fold a busy interface made is undone even while the toolbar is hidden, so that it
  // never outlasts the operation.
  if (!busy && toolbar.autoCollapsed) toolbar.collapsed = toolbar.autoCollapsed = false;
  if (!toolbar.wanted) return;
  if (busy) HideLegend();
  ShowAgain();
}

void SyncButtonStates() {
  if (toolbar.syncing || toolbar.collapsed || !Tool() || !shell.mainMenu) return;
  toolbar.syncing = true;
  for (int i = 0; i < kToolbarButtons; ++i) {
    const UINT state = GetMenuState(shell.mainMenu, UINT(kToolbarButtonTable[i].command), MF_BYCOMMAND);
    const bool disabled = state == UINT(-1) || (state & (MF_DISABLED | MF_GRAYED)) != 0;
    if (disabled == toolbar.disabled[i]) continue;
    toolbar.disabled[i] = disabled;
    RedrawButton(i);
  }
  toolbar.syncing = false;
}

void SetAltGlyph29(bool on) {
  if (toolbar.altGlyph29 == on) return;
  toolbar.altGlyph29 = on;
  RedrawButton(kJpegSetupButton);
}

bool ToolbarCollapsed() { return toolbar.collapsed && !toolbar.autoCollapsed; }
bool ToolbarOnLeft() { return toolbar.onLeft; }
bool ToolbarTimerAvailable() { return toolbar.legendTimerOk; }

LRESULT OnToolbarShowCommand(LPARAM lParam) {
  if (lParam) ShowToolbar();
  else HideToolbar();
  return 0;
}

LRESULT CALLBACK ToolBarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      WindowPaint paint(window);
      if (toolbar.collapsed) PaintCollapsed(paint);
      else PaintFull(paint);
      return 0;
    }
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      OnPress(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), message == WM_RBUTTONDOWN);
      return 0;
    case WM_MOUSEMOVE:
      OnMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      OnRelease(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), message == WM_RBUTTONUP);
      return 0;
    case WM_TIMER:
      if (wParam == kLegendTimer) LegendTick();
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK LegendWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      WindowPaint paint(window);
      wchar_t legend[64] = L"";
      const int length = GetWindowTextW(window, legend, int(std::size(legend)));
      RECT client;
      GetClientRect(window, &client);
      SetTextColor(paint, RGB(0, 0, 255));
      SetBkMode(paint, TRANSPARENT);
      DrawTextW(paint, legend, length, &client,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      return 0;
    }
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_DESTROY:
      if (HWND owner = GetWindow(window, GW_OWNER)) KillTimer(owner, kLegendTimer);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace quilla
