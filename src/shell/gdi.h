// Small owners of GDI and window resources, so every exit path gives them back.
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
  // Handed on by the function that made it (a font).
  GdiObject(GdiObject&& other) noexcept : handle_(other.Release()) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  void Reset(Handle handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }
  Handle Get() const { return handle_; }
  // Gives the object up to a new owner (the clipboard).
  Handle Release() {
    Handle handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  Handle handle_ = nullptr;
};

// A memory device context compatible with another one, deleted on scope exit.
class MemoryDC {
 public:
  explicit MemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  ~MemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  operator HDC() const { return dc_; }

 private:
  HDC dc_;
};

// A bitmap selected into a device context for a scope; the previous one comes back on exit.
class SelectedBitmap {
 public:
  SelectedBitmap(HDC dc, HBITMAP bitmap) : dc_(dc), previous_(SelectObject(dc, bitmap)) {}
  ~SelectedBitmap() {
    if (previous_) SelectObject(dc_, previous_);
  }
  SelectedBitmap(const SelectedBitmap&) = delete;
  SelectedBitmap& operator=(const SelectedBitmap&) = delete;
  explicit operator bool() const { return previous_ != nullptr; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// The clipboard, open for a scope.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != 0) {}
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  explicit operator bool() const { return open_; }

 private:
  bool open_;
};

// A movable global memory block, freed unless given up to a new owner (the clipboard).
class GlobalBlock {
 public:
  GlobalBlock() = default;
  explicit GlobalBlock(SIZE_T bytes) : handle_(GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
  ~GlobalBlock() { Reset(); }
  // Takes over a block another function made (a common dialog's).
  void Reset(HGLOBAL handle = nullptr) {
    if (handle_ && handle_ != handle) GlobalFree(handle_);
    handle_ = handle;
  }
  GlobalBlock(const GlobalBlock&) = delete;
  GlobalBlock& operator=(const GlobalBlock&) = delete;
  HGLOBAL Get() const { return handle_; }
  HGLOBAL Release() {
    HGLOBAL handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HGLOBAL handle_ = nullptr;
};

// A device context the program created (a printer's), deleted with its owner.
class CreatedDC {
 public:
  CreatedDC() = default;
  ~CreatedDC() { Reset(); }
  CreatedDC(const CreatedDC&) = delete;
  CreatedDC& operator=(const CreatedDC&) = delete;
  void Reset(HDC dc = nullptr) {
    if (dc_ && dc_ != dc) DeleteDC(dc_);
    dc_ = dc;
  }
  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_ = nullptr;
};

// A global memory block locked for a scope: its bytes and their number.
class GlobalLockView {
 public:
  explicit GlobalLockView(HGLOBAL memory)
      : memory_(memory), bytes_(memory ? static_cast<BYTE*>(GlobalLock(memory)) : nullptr),
        size_(bytes_ ? GlobalSize(memory) : 0) {}
  ~GlobalLockView() {
    if (bytes_) GlobalUnlock(memory_);
  }
  GlobalLockView(const GlobalLockView&) = delete;
  GlobalLockView& operator=(const GlobalLockView&) = delete;
  BYTE* Bytes() const { return bytes_; }
  SIZE_T Size() const { return size_; }
  explicit operator bool() const { return bytes_ != nullptr; }

 private:
  HGLOBAL memory_;
  BYTE* bytes_;
  SIZE_T size_;
};

// A window the program made and destroys itself (not a child, whose parent takes it along).
class OwnedWindow {
 public:
  OwnedWindow() = default;
  ~OwnedWindow() { Reset(); }
  OwnedWindow(const OwnedWindow&) = delete;
  OwnedWindow& operator=(const OwnedWindow&) = delete;
  void Reset(HWND window = nullptr) {
    // Cleared before the destruction, whose messages may ask for the window again.
    HWND old = window_;
    window_ = window;
    if (old && IsWindow(old)) DestroyWindow(old);
  }
  HWND Get() const { return window_; }
  explicit operator bool() const { return window_ != nullptr; }

 private:
  HWND window_ = nullptr;
};

// The mouse, held by a window from a press until the button is let go.
class MouseCapture {
 public:
  MouseCapture() = default;
  ~MouseCapture() { Release(); }
  MouseCapture(const MouseCapture&) = delete;
  MouseCapture& operator=(const MouseCapture&) = delete;

  void Take(HWND window) {
    SetCapture(window);
    held_ = true;
  }
  void Release() {
    if (!held_) return;
    held_ = false;  // first: giving the mouse back sends WM_CAPTURECHANGED here again
    ReleaseCapture();
  }
  // Another window took the mouse: there is nothing left to give back.
  void Lost() { held_ = false; }
  bool Held() const { return held_; }

 private:
  bool held_ = false;
};

}  // namespace quilla
