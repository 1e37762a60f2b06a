#include "retouch/geometry.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/dib_image.h"

namespace quilla {

namespace {

size_t PixelBytes(const DIBImage& image) { return image.IsTrueColor() ? 3 : 1; }

// A new image of the document's kind and colour table, its pixels not yet set.
bool CreateLike(const DIBImage& document, int width, int height, DIBImage& target) {
  const std::array<RgbQuad, 256> table = document.ColorTable();
  return target.CreateImage(width, height, document.IsTrueColor(), table.data(), int(document.ColorCount()),
                            document.GetFillIndex());
}

void ReplaceWith(DIBImage& document, DIBImage& target, bool keepUndo) {
  DibBlock old = document.DetachDib();
  document.ReplaceDib(target.DetachDib());
  if (keepUndo) document.SetUndoImage(std::move(old));
}

// Every new pixel (x', y') takes the old pixel at from(x', y'); rows counted
// from the top.
template <class From>
int Rotate(DIBImage& document, From from) {
  if (!document.HasImage() || !document.TakeOwnLayout()) return 0;
  DIBImage target;
  if (!CreateLike(document, document.Height(), document.Width(), target)) return 0;
  const size_t pixel = PixelBytes(document);
  {
    ImageLock sourceLock(document), targetLock(target);
    for (int y = 0; y < target.Height(); ++y) {
      uint8_t* out = target.RowPointer(y);
      for (int x = 0; x < target.Width(); ++x, out += pixel) {
        const auto [oldX, oldY] = from(x, y);
        std::memcpy(out, document.RowPointer(oldY) + size_t(oldX) * pixel, pixel);
      }
    }
  }
  ReplaceWith(document, target, false);
  return 1;
}

}  // namespace

int RedimensionImage(DIBImage& document, int width, int height) {
  if (!document.HasImage() || width <= 0 || height <= 0 || !document.TakeOwnLayout()) return 0;
  DIBImage target;
  if (!CreateLike(document, width, height, target)) return 0;
  const size_t pixel = PixelBytes(document);
  const size_t rowBytes = size_t(width) * pixel;
  const size_t kept = size_t(std::min(width, document.Width())) * pixel;
  {
    ImageLock sourceLock(document), targetLock(target);
    for (int y = 0; y < height; ++y) {
      uint8_t* out = target.RowPointer(y);
      const size_t copied = y < document.Height() ? kept : 0;
      if (copied) std::memcpy(out, document.RowPointer(y), copied);
      std::memset(out + copied, 0, rowBytes - copied);
    }
  }
  ReplaceWith(document, target, true);
  return 1;
}

int ExtractRect(DIBImage& document, int x, int y, int width, int height, DIBImage& area) {
  if (!document.HasImage() || x < 0 || y < 0 || width <= 0 || height <= 0 || x + width > document.Width() ||
      y + height > document.Height())
    return 0;
  if (!document.TakeOwnLayout() || !CreateLike(document, width, height, area)) return 0;
  const size_t pixel = PixelBytes(document);
  ImageLock sourceLock(document), areaLock(area);
  for (int row = 0; row < height; ++row) {
    std::memcpy(area.RowPointer(row), document.RowPointer(y + row) + size_t(x) * pixel, size_t(width) * pixel);
  }
  return 1;
}

void PlaceRect(DIBImage& document, int x, int y, DIBImage& area) {
  if (!document.HasImage() || !area.HasImage() || !document.TakeOwnLayout() || !area.TakeOwnLayout()) return;
  const int firstColumn = std::max(0, -x), firstRow = std::max(0, -y);
  const int endColumn = std::min(area.Width(), document.Width() - x);
  const int endRow = std::min(area.Height(), document.Height() - y);
  if (firstColumn >= endColumn) return;
  const size_t pixel = PixelBytes(document);
  ImageLock documentLock(document), areaLock(area);
  for (int row = firstRow; row < endRow; ++row) {
    std::memcpy(document.RowPointer(y + row) + size_t(x + firstColumn) * pixel,
                area.RowPointer(row) + size_t(firstColumn) * pixel, size_t(endColumn - firstColumn) * pixel);
  }
}

int CropImage(DIBImage& document, int x, int y, int width, int height) {
  DIBImage target;
  if (!ExtractRect(document, x, y, width, height, target)) return 0;
  ReplaceWith(document, target, true);
  return 1;
}

void FlipHorizontal(DIBImage& document) {
  if (!document.HasImage() || !document.TakeOwnLayout()) return;
  const size_t pixel = PixelBytes(document);
  const int width = document.Width();
  ImageLock lock(document);
  for (int y = 0; y < document.Height(); ++y) {
    uint8_t* row = document.RowPointer(y);
    for (int left = 0, right = width - 1; left < right; ++left, --right) {
      std::swap_ranges(row + size_t(left) * pixel, row + size_t(left + 1) * pixel, row + size_t(right) * pixel);
    }
  }
}

void FlipVertical(DIBImage& document) {
  if (!document.HasImage() || !document.TakeOwnLayout()) return;
  const size_t rowBytes = size_t(document.Width()) * PixelBytes(document);
  ImageLock lock(document);
  for (int top = 0, bottom = document.Height() - 1; top < bottom; ++top, --bottom) {
    std::swap_ranges(document.RowPointer(top), document.RowPointer(top) + rowBytes, document.RowPointer(bottom));
  }
}

int RotateRight(DIBImage& document) {
  const int oldHeight = document.Height();
  return Rotate(document, [oldHeight](int x, int y) { return std::pair{y, oldHeight - 1 - x}; });
}

int RotateLeft(DIBImage& document) {
  const int oldWidth = document.Width();
  return Rotate(document, [oldWidth](int x, int y) { return std::pair{oldWidth - 1 - y, x}; });
}

}  // namespace quilla
