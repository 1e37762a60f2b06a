// Small owners of GDI resources, so every exit path gives them back.
#pragma once
#include <windows.h>

namespace quilla {

// A window's (or the screen's, for nullptr) device context, released on scope exit.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  operator HDC() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A window's paint: BeginPaint on construction, EndPaint on scope exit.
class WindowPaint {
 public:
  explicit WindowPaint(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~WindowPaint() { EndPaint(window_, &paint_); }
  WindowPaint(const WindowPaint&) = delete;
  WindowPaint& operator=(const WindowPaint&) = delete;
  operator HDC() const { return dc_; }
  // The part of the window to paint.
  const RECT& Area() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_;
  HDC dc_;
};

// A palette selected into a device context for a scope (nothing is selected for nullptr);
// the previous one is selected back, as a background palette, on exit.
class SelectedPalette {
 public:
  SelectedPalette(HDC dc, HPALETTE palette)
      : dc_(dc), palette_(palette), previous_(palette ? SelectPalette(dc, palette, FALSE) : nullptr) {}
  ~SelectedPalette() {
    if (previous_) SelectPalette(dc_, previous_, TRUE);
  }
  SelectedPalette(const SelectedPalette&) = delete;
  SelectedPalette& operator=(const SelectedPalette&) = delete;
  // Maps the selected palette into the system palette: the number of entries that changed.
  UINT Realize() const { return palette_ ? RealizePalette(dc_) : 0; }

 private:
  HDC dc_;
  HPALETTE palette_;
  HPALETTE previous_;
};

// A pen, brush, font or bitmap selected into a device context for a scope; the previous one
// is selected back on exit, before the object itself can be deleted.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (previous_) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A pen, brush, font, bitmap or palette, deleted with its owner.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() { Reset(); }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  void Reset(Handle handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }
  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  Handle handle_ = nullptr;
};

}  // namespace quilla
