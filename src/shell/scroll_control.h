// The slider of the value dialogs: a scroll bar with its limits, page step and a read-out
// showing the value as a signed number.
#pragma once
#include <windows.h>

namespace quilla {

class ScrollControl {
 public:
  ScrollControl() = default;
  // readoutId 0: no read-out, the dialog shows the value its own way.
  ScrollControl(HWND dialog, int barId, int readoutId, int minimum, int maximum, int page, int value);

  int Value() const { return value; }
  void SetValue(int newValue);
  // A WM_HSCROLL of this bar: line and page steps move by 1 and by the page step, the thumb
  // is followed while tracked, top and bottom jump to the limits. True when the scroll
  // action ended with a value other than at the last completed change.
  bool OnScroll(int code, int thumb);
  HWND Bar() const { return bar; }

 private:
  HWND bar = nullptr, readout = nullptr;
  int minimum = 0, maximum = 0, page = 1;
  int value = 0, completed = 0;
};

}  // namespace quilla
