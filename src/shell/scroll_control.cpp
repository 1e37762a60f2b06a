#include "shell/scroll_control.h"

#include <algorithm>
#include <string>

namespace quilla {

ScrollControl::ScrollControl(HWND dialog, int barId, int readoutId, int minimum, int maximum, int page, int value)
    : bar(GetDlgItem(dialog, barId)),
      readout(readoutId ? GetDlgItem(dialog, readoutId) : nullptr),
      minimum(minimum),
      maximum(maximum),
      page(page),
      completed(value) {
  SetScrollRange(bar, SB_CTL, minimum, maximum, FALSE);
  SetValue(value);
}

void ScrollControl::SetValue(int newValue) {
  value = std::clamp(newValue, minimum, maximum);
  SetScrollPos(bar, SB_CTL, value, TRUE);
  if (readout) SetWindowTextW(readout, std::to_wstring(value).c_str());
}

bool ScrollControl::OnScroll(int code, int thumb) {
  switch (code) {
    case SB_LINELEFT: SetValue(value - 1); break;
    case SB_LINERIGHT: SetValue(value + 1); break;
    case SB_PAGELEFT: SetValue(value - page); break;
    case SB_PAGERIGHT: SetValue(value + page); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: SetValue(thumb); break;
    case SB_LEFT: SetValue(minimum); break;
    case SB_RIGHT: SetValue(maximum); break;
    case SB_ENDSCROLL:
      if (value == completed) return false;
      completed = value;
      return true;
  }
  return false;
}

}  // namespace quilla
