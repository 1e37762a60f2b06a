#include "shell/scrolling.h"

#include <algorithm>

#include "core/commands.h"
#include "shell/display.h"
#include "shell/selection_area.h"
#include "shell/shell_state.h"

namespace quilla {

namespace {
struct Axis {
  int bar;  // SB_HORZ or SB_VERT
  int& pos;
  int max;
  int page;
};
Axis Horizontal() { return {SB_HORZ, display.scroll.posX, display.scroll.maxX, display.scroll.pageX}; }
Axis Vertical() { return {SB_VERT, display.scroll.posY, display.scroll.maxY, display.scroll.pageY}; }

// Stores a new position, clamped by the bar or by the record; returns how far it moved.
int Move(Axis axis, int code, int position) {
  const int old = axis.pos;
  int next = old;
  switch (code) {
    case SB_LINEUP: next = old - 1; break;
    case SB_LINEDOWN: next = old + 1; break;
    case SB_PAGEUP: next = old - axis.page; break;
    case SB_PAGEDOWN: next = old + axis.page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: next = position; break;
    case SB_TOP: next = 0; break;
    case SB_BOTTOM: next = axis.max; break;
    default: return 0;
  }
  next = std::clamp(next, 0, axis.max);
  if (display.scroll.barsShown) {
    SetScrollPos(shell.mainWindow, axis.bar, next, TRUE);
    next = GetScrollPos(shell.mainWindow, axis.bar);
  }
  axis.pos = next;
  return old - next;
}

// Moves what is on screen and paints only the strip that comes into view.
void ScrollContents(int dx, int dy) {
  if (dx == 0 && dy == 0) return;
  // The frame is drawn over the image in window coordinates: it must not move with it.
  EraseFrame();
  UpdateWindow(shell.mainWindow);
  ScrollWindowEx(shell.mainWindow, dx, dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  UpdateWindow(shell.mainWindow);
  DrawFrame();
}
}  // namespace

void ScrollVertical(int code, int position) { ScrollContents(0, Move(Vertical(), code, position)); }
void ScrollHorizontal(int code, int position) { ScrollContents(Move(Horizontal(), code, position), 0); }

void ScrollBy(int dx, int dy) {
  const int movedX = Move(Horizontal(), SB_THUMBPOSITION, display.scroll.posX + dx);
  const int movedY = Move(Vertical(), SB_THUMBPOSITION, display.scroll.posY + dy);
  ScrollContents(movedX, movedY);
}

POINT WindowToImage(POINT point) { return {point.x + display.scroll.posX, point.y + display.scroll.posY}; }

void SetScrollRanges(int rangeX, int rangeY, int pageX, int pageY) {
  ScrollState& s = display.scroll;
  s.posX = s.posY = 0;
  s.maxX = std::max(rangeX, 0);
  s.maxY = std::max(rangeY, 0);
  s.pageX = pageX;
  s.pageY = pageY;
  if (!s.barsShown || !shell.mainWindow) return;
  SetScrollRange(shell.mainWindow, SB_HORZ, 0, s.maxX, FALSE);
  SetScrollPos(shell.mainWindow, SB_HORZ, 0, TRUE);
  SetScrollRange(shell.mainWindow, SB_VERT, 0, s.maxY, FALSE);
  SetScrollPos(shell.mainWindow, SB_VERT, 0, TRUE);
}

void ShowScrollBars(bool shown) {
  display.scroll.barsShown = shown;
  if (!shell.mainWindow) return;
  if (!shown) {
    SetScrollRange(shell.mainWindow, SB_HORZ, 0, 0, TRUE);
    SetScrollRange(shell.mainWindow, SB_VERT, 0, 0, TRUE);
  }
}

LRESULT OnScrollCommand(int command) {
  switch (command) {
    case cmd::kPageUp: ScrollVertical(SB_PAGEUP, 0); break;
    case cmd::kPageDown: ScrollVertical(SB_PAGEDOWN, 0); break;
    case cmd::kPageLeft: ScrollHorizontal(SB_PAGEUP, 0); break;
    case cmd::kPageRight: ScrollHorizontal(SB_PAGEDOWN, 0); break;
    case cmd::kLineUp: ScrollVertical(SB_LINEUP, 0); break;
    case cmd::kLineDown: ScrollVertical(SB_LINEDOWN, 0); break;
    case cmd::kLineLeft: ScrollHorizontal(SB_LINEUP, 0); break;
    case cmd::kLineRight: ScrollHorizontal(SB_LINEDOWN, 0); break;
    default: break;
  }
  return 0;
}

}  // namespace quilla
