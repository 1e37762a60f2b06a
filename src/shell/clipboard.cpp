#include "shell/clipboard.h"

#include <array>
#include <cstring>
#include <new>
#include <utility>

#include "color/copy_rect.h"
#include "color/quantize_options.h"
#include "core/messages.h"
#include "resources/options_dialog_ids.h"
#include "settings/app_options.h"
#include "shell/clipboard_rules.h"
#include "shell/dialogs.h"
#include "shell/display.h"
#include "shell/gdi.h"
#include "shell/shell_state.h"

namespace quilla {

namespace {

// The clipboard owns what it accepts; what it refuses stays with (and dies with) its owner.
template <typename Owner>
bool HandOver(UINT format, Owner& owner) {
  if (!owner || !SetClipboardData(format, owner.Get())) return false;
  owner.Release();
  return true;
}

bool PutPackedDib(const DIBImage& image) {
  const DibBlock packed = image.MakeClipboardDib();
  if (packed.empty()) return false;
  GlobalBlock memory(packed.size());
  {
    GlobalLockView view(memory.Get());
    if (!view) return false;
    std::memcpy(view.Bytes(), packed.data(), packed.size());
  }
  return HandOver(CF_DIB, memory);
}

// A block's header and colour table lie together, as a BITMAPINFO does.
const BITMAPINFO* InfoOf(const DIBImage& image) { return reinterpret_cast<const BITMAPINFO*>(image.GetHeader()); }

// The screen's current system palette, as a palette of its own.
HPALETTE CopyOfSystemPalette(HDC screen) {
  LogicalPalette copy;
  copy.entries.resize(256);
  const UINT count = GetSystemPaletteEntries(screen, 0, 256, reinterpret_cast<PALETTEENTRY*>(copy.entries.data()));
  copy.entries.resize(count);
  return MakePlatformPalette(&copy);
}

// A standard 8- or 24-bit bitmap: adopted as it lies, then copied into an image of the same
// size, kind and colour table in the program's own layout.
PictureRead CopyOwnKind(const BYTE* bytes, const PackedDibLayout& layout, DibBlock& picture) {
  DIBImage foreign;
  try {
    DibBlock block(bytes, bytes + layout.totalBytes);
    if (!foreign.AdoptForeignDib(std::move(block))) return PictureRead::NoPicture;
  } catch (const std::bad_alloc&) {
    return PictureRead::NoMemory;
  }
  const std::array<RgbQuad, 256> table = foreign.ColorTable();
  DIBImage own;
  if (!own.CreateImage(foreign.Width(), foreign.Height(), foreign.IsTrueColor(), table.data(),
                       int(foreign.ColorCount()), 0))
    return PictureRead::NoMemory;
  QuantizeOptions options = CurrentQuantizeOptions();
  options.combineMode = kCombineKeepDest;
  if (!CopyRect(own, 0, 0, foreign, 0, 0, foreign.Width() - 1, foreign.Height() - 1, options))
    return PictureRead::NoMemory;
  // Another program's pixels may use indices past its table.
  own.CoverPixelIndices();
  picture = own.DetachDib();
  return PictureRead::Picture;
}

// Any other bitmap: drawn into a device bitmap through a palette of its own colours, which
// the display then gives back in one of the program's kinds.
PictureRead ThroughDeviceBitmap(const BYTE* bytes, const PackedDibLayout& layout, DibBlock& picture) {
  const auto* info = reinterpret_cast<const BITMAPINFO*>(bytes);
  LogicalPalette own;
  const auto* table = reinterpret_cast<const RGBQUAD*>(bytes + layout.tableOffset);
  for (uint32_t i = 0; i < layout.tableEntries && i < 256; ++i)
    own.entries.push_back({table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0});
  GdiObject<HPALETTE> palette(MakePlatformPalette(&own));
  GdiObject<HBITMAP> bitmap;
  {
    WindowDC screen(nullptr);
    SelectedPalette selected(screen, palette.Get());
    selected.Realize();
    bitmap.Reset(CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, bytes + layout.bitsOffset, info, DIB_RGB_COLORS));
  }
  if (!bitmap) return PictureRead::NoMemory;
  return ReadDeviceBitmap(bitmap.Get(), palette.Get(), picture);
}

PictureRead ReadPackedDib(HGLOBAL memory, DibBlock& picture) {
  GlobalLockView view(memory);
  if (!view) return PictureRead::NoPicture;
  const std::optional<PackedDibLayout> layout = CheckPackedDib(view.Bytes(), view.Size());
  if (!layout) return PictureRead::NoPicture;
  return layout->ownKind ? CopyOwnKind(view.Bytes(), *layout, picture)
                         : ThroughDeviceBitmap(view.Bytes(), *layout, picture);
}

}  // namespace

HBITMAP MakeDeviceBitmap(DIBImage& image) {
  ImageLock lock(image);
  if (!lock) return nullptr;
  WindowDC screen(nullptr);
  GdiObject<HPALETTE> palette(MakePlatformPalette(image.Palette()));
  SelectedPalette selected(screen, palette.Get());
  selected.Realize();
  const BITMAPINFO* info = InfoOf(image);
  return CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, image.GetBits(), info, DIB_RGB_COLORS);
}

bool WriteClipboardImage(DIBImage& image) {
  WaitCursor wait;
  OpenedClipboard clipboard(shell.mainWindow);
  if (!clipboard || !EmptyClipboard()) return false;
  GdiObject<HPALETTE> palette(MakePlatformPalette(image.Palette()));
  HandOver(CF_PALETTE, palette);
  if (Options().CopyClipbdFmt() == IDC_IF_CLIP_DDB) {
    GdiObject<HBITMAP> bitmap(MakeDeviceBitmap(image));
    return HandOver(CF_BITMAP, bitmap);
  }
  return PutPackedDib(image);
}

PictureRead ReadClipboardPicture(DibBlock& picture) {
  OpenedClipboard clipboard(shell.mainWindow);
  if (!clipboard) return PictureRead::NoPicture;
  if (IsClipboardFormatAvailable(CF_DIB)) return ReadPackedDib(static_cast<HGLOBAL>(GetClipboardData(CF_DIB)), picture);
  if (!IsClipboardFormatAvailable(CF_BITMAP)) return PictureRead::NoPicture;
  auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  // Both stay the clipboard's.
  auto palette = static_cast<HPALETTE>(GetClipboardData(CF_PALETTE));
  return bitmap ? ReadDeviceBitmap(bitmap, palette, picture) : PictureRead::NoPicture;
}

PictureRead ReadDeviceBitmap(HBITMAP bitmap, HPALETTE palette, DibBlock& picture) {
  BITMAP shape{};
  if (!GetObjectW(bitmap, sizeof shape, &shape) || shape.bmWidth <= 0 || shape.bmHeight <= 0)
    return PictureRead::NoPicture;
  const bool palettePixels = shape.bmBitsPixel * shape.bmPlanes <= 8;
  DIBImage image;
  if (!image.CreateImage(shape.bmWidth, shape.bmHeight, !palettePixels, nullptr, 256, 0)) return PictureRead::NoMemory;
  {
    WindowDC screen(nullptr);
    GdiObject<HPALETTE> systemCopy;
    if (!palette && PaletteDevice(screen)) {
      systemCopy.Reset(CopyOfSystemPalette(screen));
      palette = systemCopy.Get();
    }
    SelectedPalette selected(screen, palette);
    selected.Realize();
    ImageLock lock(image);
    BitmapInfoHeader* header = image.GetHeader();
    auto* info = reinterpret_cast<BITMAPINFO*>(header);
    if (GetDIBits(screen, bitmap, 0, UINT(shape.bmHeight), image.GetBits(), info, DIB_RGB_COLORS) != shape.bmHeight)
      return PictureRead::NoMemory;
    // The display may rewrite the counts; the own layout keeps a full table for 8 bits.
    header->biCompression = 0;
    header->biClrUsed = header->biClrImportant = palettePixels ? 256 : 0;
    header->biSizeImage = uint32_t(image.ImageBytes());
  }
  image.RebuildPalette();
  picture = image.DetachDib();
  return PictureRead::Picture;
}

}  // namespace quilla
