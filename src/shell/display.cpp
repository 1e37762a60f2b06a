#include "shell/display.h"

#include <cstring>
#include <memory>
#include <vector>

#include "color/stretch_rect.h"
#include "core/commands.h"
#include "core/dib_image.h"
#include "core/fit_box.h"
#include "core/progress.h"
#include "retouch/resize.h"
#include "settings/app_options.h"
#include "shell/gdi.h"
#include "shell/selection_area.h"
#include "shell/shell_state.h"
#include "shell/window_title.h"

namespace quilla {

DisplayState display;

bool PaletteDevice(HDC dc) { return (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0; }

HPALETTE MakePlatformPalette(const LogicalPalette* logical) {
  if (!logical || logical->entries.empty()) return nullptr;
  const size_t n = logical->entries.size();
  std::vector<BYTE> block(sizeof(LOGPALETTE) + n * sizeof(PALETTEENTRY));
  auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
  palette->palVersion = logical->version;
  palette->palNumEntries = WORD(n);
  std::memcpy(palette->palPalEntry, logical->entries.data(), n * sizeof(PALETTEENTRY));
  return CreatePalette(palette);
}

namespace {
// Header plus 256 palette indexes (palette image on a palette device), and header plus
// colour table (everything else).
struct PaletteHeader {
  BITMAPINFOHEADER header;
  WORD indexes[256];
};
struct RgbHeader {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};
PaletteHeader paintHeader;
RgbHeader paintHeaderRgb;

// The platform palette of a document, made again only when its palette was rebuilt.
class PaletteCache {
 public:
  HPALETTE For(const DIBImage& document) {
    if (&document != owner_ || document.PaletteSerial() != serial_) {
      owner_ = &document;
      serial_ = document.PaletteSerial();
      palette_.Reset(MakePlatformPalette(document.Palette()));
    }
    return palette_.Get();
  }

 private:
  const DIBImage* owner_ = nullptr;
  uint32_t serial_ = 0;
  GdiObject<HPALETTE> palette_;
};
PaletteCache mainPalette, iconPalette;

// On a palette device a paint selects and realises the image's palette.
HPALETTE PaintPalette(HDC dc, HPALETTE palette) { return PaletteDevice(dc) ? palette : nullptr; }

// Maps palette into the system palette from scratch: the number of entries that changed.
UINT RealizeAfresh(HDC dc, HPALETTE palette) {
  SelectedPalette selected(dc, palette);
  UnrealizeObject(palette);
  return selected.Realize();
}

// Draws the part of a locked document that falls into clip, with the image's top-left
// corner at origin. Returns false when the device refused the band.
bool DrawBand(HDC dc, const DIBImage& document, POINT origin, const RECT& clip, RECT& band) {
  const int W = document.Width(), H = document.Height();
  RECT image{origin.x, origin.y, origin.x + W, origin.y + H};
  if (!IntersectRect(&band, &image, &clip)) return true;
  const BitmapInfoHeader* header = document.GetHeader();
  const int rows = band.bottom - band.top;
  const uint32_t stride = document.RowStride();
  const BITMAPINFO* info;
  UINT usage;
  if (!document.IsTrueColor() && PaletteDevice(dc)) {
    std::memcpy(&paintHeader.header, header, sizeof(BITMAPINFOHEADER));
    paintHeader.header.biHeight = rows;
    paintHeader.header.biSizeImage = stride * uint32_t(rows);
    info = reinterpret_cast<const BITMAPINFO*>(&paintHeader);
    usage = DIB_PAL_COLORS;
  } else {
    std::memcpy(&paintHeaderRgb.header, header, sizeof(BITMAPINFOHEADER));
    std::memcpy(paintHeaderRgb.colors, document.GetColors(), document.ColorTableBytes());
    paintHeaderRgb.header.biHeight = rows;
    paintHeaderRgb.header.biSizeImage = stride * uint32_t(rows);
    info = reinterpret_cast<const BITMAPINFO*>(&paintHeaderRgb);
    usage = DIB_RGB_COLORS;
  }
  // Rows are stored bottom-up: the band's lowest row comes first.
  const int firstStored = H - (band.bottom - origin.y);
  const uint8_t* bits = document.GetBits() + size_t(firstStored) * stride;
  return SetDIBitsToDevice(dc, band.left, band.top, DWORD(band.right - band.left), DWORD(rows),
                           band.left - origin.x, 0, 0, UINT(rows), bits, info, usage) != 0;
}

// Light grey around the image.
void FillOutside(HDC dc, const RECT& clip, const RECT& image) {
  GdiObject<HRGN> rest(CreateRectRgnIndirect(&clip));
  GdiObject<HRGN> picture(CreateRectRgnIndirect(&image));
  if (!rest || !picture) return;
  CombineRgn(rest.Get(), rest.Get(), picture.Get(), RGN_DIFF);
  FillRgn(dc, rest.Get(), static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
}

void PaintImage(HDC dc, const RECT& clip) {
  DIBImage& document = shell.mainDocument;
  if (!document.IsOperable()) {
    FillRect(dc, &clip, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    if (IsInterfaceIdle()) UpdateTitle();
    return;
  }
  ImageLock lock(document);
  if (!lock) return;
  SetStretchBltMode(dc, COLORONCOLOR);
  SelectedPalette palette(dc, PaintPalette(dc, mainPalette.For(document)));
  palette.Realize();
  if (display.titleSuspendDepth == 0) UpdateTitle();
  const POINT origin{-display.scroll.posX, -display.scroll.posY};
  RECT band{};
  if (!DrawBand(dc, document, origin, clip, band)) {
    // Too large for the device at once: paint it again in quarters.
    // The posted command owns the rectangle it carries.
    if (band.right - band.left > 1 || band.bottom - band.top > 1)
      PostCommand(cmd::kPaintQuarters, LPARAM(std::make_unique<RECT>(band).release()));
  }
  FillOutside(dc, clip, RECT{origin.x, origin.y, origin.x + document.Width(), origin.y + document.Height()});
  PaintSelection(dc, clip);
}

// The thumbnail of the main image, made at the size of the icon.
bool MakeThumbnail(int width, int height) {
  DIBImage& icon = shell.iconDocument;
  if (icon.HasImage()) return true;
  const DIBImage& main = shell.mainDocument;
  BoxSize size = FitInBox(main.Width(), main.Height(), width - 2, height - 2);
  if (size.width <= 0 || size.height <= 0) return false;
  DibBlock copy = main.Duplicate();
  if (copy.empty()) return false;
  icon.ReplaceDib(std::move(copy));
  if (!ResizeImage(icon, size.width, size.height)) {
    icon.FreeImage();
    return false;
  }
  icon.DiscardUndo();
  return true;
}
}  // namespace

void InitPaintHeaders() {
  for (int i = 0; i < 256; ++i) paintHeader.indexes[i] = WORD(i);
}

void PaintMainWindow(HWND window) {
  WindowPaint paint(window);
  if (IsIconic(window)) {
    RECT client;
    GetClientRect(window, &client);
    PaintIcon(paint, client.right, client.bottom);
  } else if (!display.paintSuspended) {
    PaintImage(paint, paint.Area());
  }
}

void PaintIcon(HDC dc, int width, int height) {
  RECT all{0, 0, width, height};
  if (!Options().ShowThumbsIcon() || !shell.mainDocument.IsOperable()) {
    if (shell.appIcon) DrawIcon(dc, 0, 0, shell.appIcon);
    return;
  }
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  if (!MakeThumbnail(width, height)) return;
  DIBImage& icon = shell.iconDocument;
  ImageLock lock(icon);
  if (!lock) return;
  SelectedPalette palette(dc, PaintPalette(dc, iconPalette.For(icon)));
  palette.Realize();
  const POINT origin{(width - 2 - icon.Width()) / 2 + 1, (height - 2 - icon.Height()) / 2 + 1};
  RECT band{};
  DrawBand(dc, icon, origin, all, band);
}

void PaintDocumentAt(HDC dc, DIBImage& document, POINT origin, const RECT& clip) {
  ImageLock lock(document);
  if (!lock) return;
  RECT band{};
  DrawBand(dc, document, origin, clip, band);
}

bool PaintMainImageStretched(HDC dc, const RECT& target) {
  DIBImage& document = shell.mainDocument;
  ImageLock lock(document);
  if (!lock) return true;
  SetStretchBltMode(dc, COLORONCOLOR);
  SelectedPalette palette(dc, PaintPalette(dc, mainPalette.For(document)));
  palette.Realize();
  const int W = document.Width(), H = document.Height();
  const int width = target.right - target.left, height = target.bottom - target.top;
  const auto* info = reinterpret_cast<const BITMAPINFO*>(document.GetHeader());
  if (StretchDIBits(dc, target.left, target.top, width, height, 0, 0, W, H, document.GetBits(), info, DIB_RGB_COLORS,
                    SRCCOPY) != 0)
    return true;
  DIBImage copy;
  copy.SetUndoEnabled(false);
  if (!copy.CreateFilledImage(width, height, true, nullptr, 0, 0) ||
      !StretchRect(copy, 0, 0, width - 1, height - 1, document, 0, 0, W - 1, H - 1))
    return false;
  ImageLock copyLock(copy);
  RECT band{};
  if (copyLock) DrawBand(dc, copy, {target.left, target.top}, target, band);
  return true;
}

bool RealizeImagePalette(HWND window, HPALETTE palette) {
  WindowDC dc(window);
  if (!PaletteDevice(dc)) return false;
  if (!palette) {
    if (!shell.mainDocument.IsOperable()) return false;
    palette = mainPalette.For(shell.mainDocument);
  }
  if (!palette) return false;
  const UINT changed = RealizeAfresh(dc, palette);
  if (changed) InvalidateRect(window, nullptr, TRUE);
  return changed != 0;
}

HPALETTE MainImagePalette() { return shell.mainDocument.HasImage() ? mainPalette.For(shell.mainDocument) : nullptr; }

void Repaint(bool erase) {
  if (!shell.mainWindow) return;
  InvalidateRect(shell.mainWindow, nullptr, erase);
  UpdateWindow(shell.mainWindow);
}

LRESULT OnPaintQuarters(LPARAM rectangle) {
  const std::unique_ptr<RECT> owned(reinterpret_cast<RECT*>(rectangle));
  if (IsIconic(shell.mainWindow)) {
    ShowWindow(shell.mainWindow, SW_SHOWNA);
    WindowDC dc(shell.mainWindow);
    if (shell.appIcon) DrawIcon(dc, 0, 0, shell.appIcon);
    return 0;
  }
  if (!owned) return 0;
  const RECT r = *owned;
  const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
  // Each quarter overlaps the next by one pixel.
  const RECT quarters[4] = {{r.left, r.top, midX + 1, midY + 1}, {midX, r.top, r.right, midY + 1},
                            {r.left, midY, midX + 1, r.bottom}, {midX, midY, r.right, r.bottom}};
  ++display.titleSuspendDepth;
  for (const RECT& quarter : quarters) {
    InvalidateRect(shell.mainWindow, &quarter, FALSE);
    UpdateWindow(shell.mainWindow);
  }
  --display.titleSuspendDepth;
  return 0;
}

void OnMinimized() { shell.iconDocument.FreeImage(); }

}  // namespace quilla
