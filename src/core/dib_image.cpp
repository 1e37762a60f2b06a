#include "core/dib_image.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "core/messages.h"
#include "core/size_limits.h"

namespace quilla {

bool imageChanged = false;

namespace {
uint32_t globalFillRgb = 0xFFFFFF;
}

uint32_t GlobalFillRgb() { return globalFillRgb; }
void SetGlobalFillRgb(uint32_t rgb) { globalFillRgb = rgb & 0xFFFFFF; }

uint32_t HeaderColorCount(const BitmapInfoHeader& h) {
  if (h.biBitCount >= 9) return 0;
  if (h.biClrUsed != 0) return h.biClrUsed;
  switch (h.biBitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

DIBImage::DIBImage() : fillRgb(GlobalFillRgb()) {}

DIBImage::~DIBImage() = default;

void DIBImage::PointInto() {
  header = reinterpret_cast<BitmapInfoHeader*>(dib.data());
  colors = reinterpret_cast<RgbQuad*>(dib.data() + kHeaderBytes);
  uint32_t tableBytes = foreignLayout ? HeaderColorCount(*header) * 4 : kColorTableBytes;
  bits = dib.data() + kHeaderBytes + tableBytes;
}

int DIBImage::Lock() {
  if (dib.empty()) return 0;
  if (lockCount++ == 0) PointInto();
  return 1;
}

void DIBImage::Unlock() {
  if (lockCount == 0) return;
  if (--lockCount == 0) header = nullptr, colors = nullptr, bits = nullptr;
}

void DIBImage::ForceUnlock() {
  lockCount = 0;
  header = nullptr, colors = nullptr, bits = nullptr;
}

// Reads the header without disturbing the lock state.
static const BitmapInfoHeader* PeekHeader(const DibBlock& dib) {
  return dib.empty() ? nullptr : reinterpret_cast<const BitmapInfoHeader*>(dib.data());
}

void DIBImage::GetSize(int& width, int& height) const {
  const BitmapInfoHeader* h = PeekHeader(dib);
  width = h ? h->biWidth : 0;
  height = h ? h->biHeight : 0;
}

int DIBImage::Width() const { return PeekHeader(dib) ? PeekHeader(dib)->biWidth : 0; }
int DIBImage::Height() const { return PeekHeader(dib) ? PeekHeader(dib)->biHeight : 0; }

ImageRect DIBImage::GetImageRect() const {
  if (dib.empty()) return {};
  return {0, 0, Width() - 1, Height() - 1};
}

bool DIBImage::ClipToImage(ImageRect& rect) const {
  ImageRect image = GetImageRect();
  rect.left = std::max(rect.left, image.left);
  rect.top = std::max(rect.top, image.top);
  rect.right = std::min(rect.right, image.right);
  rect.bottom = std::min(rect.bottom, image.bottom);
  return !rect.IsEmpty();
}

uint32_t DIBImage::ColorCount() const {
  const BitmapInfoHeader* h = PeekHeader(dib);
  return h ? HeaderColorCount(*h) : 0;
}

uint32_t DIBImage::ColorTableBytes(bool threeByteForm) const {
  return ColorCount() * (threeByteForm ? 3 : 4);
}

uint32_t DIBImage::BitsPerPixel() const {
  const BitmapInfoHeader* h = PeekHeader(dib);
  return h ? h->biBitCount : 0;
}

uint32_t DIBImage::RowStride() const {
  if (dib.empty()) return 0;
  return (uint32_t(Width()) * BitsPerPixel() + 31) / 32 * 4;
}

uint64_t DIBImage::ImageBytes() const { return uint64_t(RowStride()) * uint32_t(Height()); }

uint32_t DIBImage::SaveBitsPerPixel() const {
  if (dib.empty()) return 0;
  uint32_t count = ColorCount();
  if (count == 0) return 24;
  if (count <= 2) return 1;
  if (count <= 16) return 4;
  return BitsPerPixel();
}

uint32_t DIBImage::SaveRowStride() const {
  if (dib.empty()) return 0;
  return (uint32_t(Width()) * SaveBitsPerPixel() + 31) / 32 * 4;
}

uint64_t DIBImage::SaveImageBytes() const { return uint64_t(SaveRowStride()) * uint32_t(Height()); }

uint64_t DIBImage::SaveBlockBytes() const {
  if (dib.empty()) return 0;
  return kHeaderBytes + ColorTableBytes() + SaveImageBytes();
}

void DIBImage::CoverPixelIndices() {
  const uint32_t count = ColorCount();
  if (!HasImage() || IsTrueColor() || foreignLayout || count >= 256) return;
  Lock();
  uint8_t highest = 0;
  for (int y = 0; y < Height(); ++y) {
    const uint8_t* row = RowPointer(y);
    for (int x = 0; x < Width(); ++x) highest = std::max(highest, row[x]);
  }
  if (highest >= count) {
    std::fill(colors + count, colors + highest + 1, RgbQuad{0, 0, 0, 0});
    header->biClrUsed = header->biClrImportant = uint32_t(highest) + 1;
  }
  Unlock();
  if (highest >= count) RebuildPalette();
}

uint8_t* DIBImage::RowPointer(int y) const {
  if (!IsLocked()) return nullptr;
  return bits + uint64_t(header->biHeight - 1 - y) * RowStride();
}

int DIBImage::AllocateOwnBlock(int width, int height, int bitsPerPixel, DibBlock& out) const {
  if (width <= 0 || height <= 0 || uint32_t(height) > kMaxImageSide) return 0;
  auto stride = CheckedRowStride(uint32_t(width), bitsPerPixel);
  if (!stride) return 0;
  auto pixels = CheckedMul(*stride, uint32_t(height));
  auto spare = CheckedMul(kSpareBytesPerRow, uint32_t(height));
  if (!pixels || !spare) return 0;
  auto total = CheckedAdd(kOwnBitsOffset, *pixels);
  if (total) total = CheckedAdd(*total, *spare);
  if (!total) return 0;
  try {
    out = DibBlock(size_t(*total));
  } catch (const std::bad_alloc&) {
    return 0;
  }
  auto* h = reinterpret_cast<BitmapInfoHeader*>(out.data());
  h->biSize = kHeaderBytes;
  h->biWidth = width;
  h->biHeight = height;
  h->biPlanes = 1;
  h->biBitCount = uint16_t(bitsPerPixel);
  h->biSizeImage = uint32_t(*pixels);
  return 1;
}

int DIBImage::CreateImage(int width, int height, bool trueColor, const RgbQuad* colorTable, int colorCount,
                          uint32_t newFillIndex) {
  DibBlock block;
  if (!AllocateOwnBlock(width, height, trueColor ? 24 : 8, block)) return 0;
  FreeImage();
  dib = std::move(block);
  foreignLayout = 0;
  auto* h = reinterpret_cast<BitmapInfoHeader*>(dib.data());
  if (trueColor) {
    fillRgb = GlobalFillRgb();
  } else {
    auto* table = reinterpret_cast<RgbQuad*>(dib.data() + kHeaderBytes);
    int count = std::clamp(colorCount, 0, 256);
    if (colorTable)
      std::memcpy(table, colorTable, size_t(count) * 4);
    else
      UniformColorCube(count == 0 ? 256 : count, table);
    h->biClrUsed = h->biClrImportant = count == 0 ? 256 : uint32_t(count);
    fillIndex = newFillIndex;
  }
  RebuildPalette();
  return 1;
}

int DIBImage::CreateFilledImage(int width, int height, bool trueColor, const RgbQuad* colorTable, int colorCount,
                                uint32_t newFillIndex) {
  if (!CreateImage(width, height, trueColor, colorTable, colorCount, newFillIndex)) return 0;
  if (trueColor)
    FillRect(GetImageRect(), fillRgb, false);
  else
    FillRect(GetImageRect(), fillIndex, true);
  return 1;
}

void DIBImage::ReplaceDib(DibBlock&& block) {
  ForceUnlock();
  dib = std::move(block);
  foreignLayout = 0;
  RebuildPalette();
}

// A block leaves the document in the own layout, so code holding a bare block (undo,
// previews) always finds the rows 1064 bytes in. Returns empty when memory runs out.
static DibBlock ToOwnLayout(const DibBlock& foreign) {
  const auto* h = reinterpret_cast<const BitmapInfoHeader*>(foreign.data());
  uint32_t tableBytes = HeaderColorCount(*h) * 4;
  size_t pixelBytes = foreign.size() - kHeaderBytes - tableBytes;
  DibBlock own;
  try {
    own = DibBlock(kOwnBitsOffset + pixelBytes + size_t(kSpareBytesPerRow) * uint32_t(h->biHeight));
  } catch (const std::bad_alloc&) {
    return {};
  }
  std::memcpy(own.data(), foreign.data(), kHeaderBytes + tableBytes);
  std::memcpy(own.data() + kOwnBitsOffset, foreign.data() + kHeaderBytes + tableBytes, pixelBytes);
  return own;
}

bool DIBImage::TakeOwnLayout() {
  if (!foreignLayout) return true;
  DibBlock own = ToOwnLayout(dib);
  if (own.empty()) return false;
  ForceUnlock();
  dib.swap(own);
  foreignLayout = 0;
  RebuildPalette();
  return true;
}

DibBlock DIBImage::DetachDib() {
  ForceUnlock();
  if (foreignLayout) {
    DibBlock own = ToOwnLayout(dib);
    if (!own.empty()) dib.swap(own);
  }
  DibBlock out = std::move(dib);
  dib.clear();
  foreignLayout = 0;
  DiscardUndo();
  RebuildPalette();
  return out;
}

void DIBImage::FreeImage() {
  ForceUnlock();
  DiscardUndo();
  DibBlock().swap(dib);
  foreignLayout = 0;
  RebuildPalette();
}

DibBlock DIBImage::Duplicate() const {
  if (dib.empty()) return {};
  WaitCursor wait;
  try {
    return dib;
  } catch (const std::bad_alloc&) {
    return {};
  }
}

void DIBImage::GetColors(RgbQuad* out) const {
  if (dib.empty()) return;
  std::memcpy(out, dib.data() + kHeaderBytes, ColorTableBytes());
}

void DIBImage::SetColors(const RgbQuad* in) {
  if (dib.empty()) return;
  std::memcpy(dib.data() + kHeaderBytes, in, ColorTableBytes());
  RebuildPalette();
  if (Host* host = HostOrNull()) host->OnEngineEvent(EngineEvent::PaletteChanged);
}

std::array<RgbQuad, 256> DIBImage::ColorTable() const {
  std::array<RgbQuad, 256> table{};
  if (!dib.empty()) {
    size_t bytes = foreignLayout ? ColorTableBytes() : kColorTableBytes;
    std::memcpy(table.data(), dib.data() + kHeaderBytes, std::min<size_t>(bytes, kColorTableBytes));
  }
  return table;
}

std::optional<LogicalPalette> DIBImage::MakePalette() const {
  uint32_t count = std::min<uint32_t>(ColorCount(), 256);
  if (dib.empty() || count == 0) return std::nullopt;
  LogicalPalette result;
  result.entries.resize(count);
  const auto* table = reinterpret_cast<const RgbQuad*>(dib.data() + kHeaderBytes);
  for (uint32_t i = 0; i < count; ++i) result.entries[i] = {table[i].red, table[i].green, table[i].blue, 0};
  return result;
}

void DIBImage::RebuildPalette() {
  palette = MakePalette();
  ++paletteSerial;
}

DibBlock DIBImage::MakeClipboardDib() const {
  if (dib.empty()) return {};
  uint32_t tableBytes = ColorTableBytes();
  uint64_t imageBytes = ImageBytes();
  DibBlock out;
  try {
    out.resize(size_t(kHeaderBytes + tableBytes + imageBytes));
  } catch (const std::bad_alloc&) {
    return {};
  }
  const uint8_t* src = dib.data();
  size_t srcBits = kHeaderBytes + (foreignLayout ? tableBytes : kColorTableBytes);
  std::memcpy(out.data(), src, kHeaderBytes + tableBytes);
  std::memcpy(out.data() + kHeaderBytes + tableBytes, src + srcBits, size_t(imageBytes));
  return out;
}

int DIBImage::AdoptForeignDib(DibBlock&& block) {
  if (block.size() < kHeaderBytes) return 0;
  const auto* h = reinterpret_cast<const BitmapInfoHeader*>(block.data());
  if (h->biSize != kHeaderBytes || h->biWidth <= 0 || h->biHeight <= 0 || h->biCompression != 0 ||
      (h->biBitCount != 8 && h->biBitCount != 24))
    return 0;
  uint32_t count = HeaderColorCount(*h);
  if (count > 256) return 0;
  auto stride = CheckedRowStride(uint32_t(h->biWidth), h->biBitCount);
  auto pixels = stride ? CheckedMul(*stride, uint32_t(h->biHeight)) : std::nullopt;
  if (!pixels || block.size() < kHeaderBytes + count * 4 + *pixels) return 0;
  FreeImage();
  dib = std::move(block);
  foreignLayout = 1;
  RebuildPalette();
  return 1;
}

int DIBImage::AllocRowBuffer(int width, bool trueColor) {
  FreeRowBuffer();
  auto stride = CheckedRowStride(uint32_t(std::max(width, 1)), trueColor ? 24 : 8);
  if (!stride) return 0;
  try {
    rowBuffer.assign(size_t(*stride), 0);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return 1;
}

void DIBImage::FreeRowBuffer() { std::vector<uint8_t>().swap(rowBuffer); }

void DIBImage::SetFillRgb(uint32_t rgb) {
  fillRgb = rgb & 0xFFFFFF;
  SetGlobalFillRgb(fillRgb);
}

uint32_t DIBImage::NearestIndex(uint32_t rgb) const {
  uint32_t count = std::min<uint32_t>(ColorCount(), 256);
  const auto* table = reinterpret_cast<const RgbQuad*>(dib.data() + kHeaderBytes);
  int r = (rgb >> 16) & 255, g = (rgb >> 8) & 255, b = rgb & 255;
  uint32_t best = 0;
  long bestDistance = -1;
  for (uint32_t i = 0; i < count; ++i) {
    long dr = table[i].red - r, dg = table[i].green - g, db = table[i].blue - b;
    long distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) bestDistance = distance, best = i;
  }
  return best;
}

void DIBImage::FillRect(ImageRect rect, uint32_t colour, bool isIndex) {
  if (!ClipToImage(rect) || !Lock()) return;
  bool trueColor = IsTrueColor();
  size_t width = size_t(rect.Width());
  if (trueColor) {
    uint32_t rgb = isIndex ? fillRgb : colour;
    uint8_t pixel[3] = {uint8_t(rgb), uint8_t(rgb >> 8), uint8_t(rgb >> 16)};
    for (int y = rect.top; y <= rect.bottom; ++y) {
      uint8_t* p = RowPointer(y) + size_t(rect.left) * 3;
      for (size_t x = 0; x < width; ++x, p += 3) std::memcpy(p, pixel, 3);
    }
  } else {
    uint32_t index = isIndex ? colour : NearestIndex(colour);
    if (index >= ColorCount()) index = 0;
    for (int y = rect.top; y <= rect.bottom; ++y) std::memset(RowPointer(y) + rect.left, int(index), width);
  }
  Unlock();
}

void DIBImage::SetUndoImage(DibBlock&& oldBlock) {
  DiscardUndo();
  undoDib = std::move(oldBlock);
  undoKind = 1;
  if (!undoEnabled) DiscardUndo();
}

void DIBImage::SetUndoColors(const RgbQuad* savedTable) {
  DiscardUndo();
  std::memcpy(undoColors.data(), savedTable, kColorTableBytes);
  undoKind = 2;
  if (!undoEnabled) DiscardUndo();
}

void DIBImage::Undo() {
  if (undoKind == 0) return;
  ForceUnlock();
  if (undoKind == 1) {
    if (!TakeOwnLayout()) return;
    dib.swap(undoDib);
  } else if (!dib.empty()) {
    uint8_t* table = dib.data() + kHeaderBytes;
    size_t bytes = foreignLayout ? ColorTableBytes() : kColorTableBytes;
    std::memcpy(swapColors.data(), table, bytes);
    std::memcpy(table, undoColors.data(), bytes);
    std::memcpy(undoColors.data(), swapColors.data(), bytes);
  }
  RebuildPalette();
}

void DIBImage::DiscardUndo() {
  if (undoKind == 1) DibBlock().swap(undoDib);
  undoKind = 0;
}

void DIBImage::SetUndoEnabled(bool enabled) {
  undoEnabled = enabled ? 1 : 0;
  if (!enabled) DiscardUndo();
}

}  // namespace quilla
