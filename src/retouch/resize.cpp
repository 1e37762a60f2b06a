#include "retouch/resize.h"

#include <cstring>
#include <vector>

#include "core/dib_image.h"

namespace quilla {

namespace {

// Palette to palette goes through the nearest entry of an identical table, so an index
// only changes when its colour repeats an earlier entry.
void BuildTranslation(const std::array<RgbQuad, 256>& table, uint32_t colorCount, uint8_t translate[256]) {
  for (uint32_t i = 0; i < 256; ++i) {
    translate[i] = uint8_t(i);
    for (uint32_t j = 0; j < i && j < colorCount; ++j)
      if (std::memcmp(&table[j], &table[i], 3) == 0) {
        translate[i] = uint8_t(j);
        break;
      }
  }
}

// Every target pixel takes the source pixel its position falls on.
void SampleNearest(DIBImage& source, DIBImage& target, const uint8_t translate[256]) {
  const int width = target.Width(), height = target.Height();
  const int oldWidth = source.Width(), oldHeight = source.Height();
  const bool trueColor = source.IsTrueColor();
  std::vector<uint32_t> sourceColumn(static_cast<size_t>(width));
  for (int i = 0; i < width; ++i) sourceColumn[size_t(i)] = uint32_t(int64_t(i) * oldWidth / width);

  ImageLock sourceLock(source), targetLock(target);
  const uint8_t* sourceBits = source.GetBits();
  uint8_t* targetBits = target.GetBits();
  uint32_t sourceStride = source.RowStride(), targetStride = target.RowStride();
  // Rows are counted from the bottom, as they are stored.
  for (int j = 0; j < height; ++j) {
    const uint8_t* src = sourceBits + size_t(int64_t(j) * oldHeight / height) * sourceStride;
    uint8_t* dst = targetBits + size_t(j) * targetStride;
    if (trueColor) {
      for (int i = 0; i < width; ++i, dst += 3) std::memcpy(dst, src + size_t(sourceColumn[size_t(i)]) * 3, 3);
    } else {
      for (int i = 0; i < width; ++i) dst[i] = translate[src[sourceColumn[size_t(i)]]];
    }
  }
}

}  // namespace

int ResizeImage(DIBImage& document, int width, int height) {
  if (!document.HasImage() || width <= 0 || height <= 0) return 0;
  bool trueColor = document.IsTrueColor();
  uint32_t colorCount = document.ColorCount();
  std::array<RgbQuad, 256> table = document.ColorTable();

  DIBImage target;
  if (!target.CreateImage(width, height, trueColor, table.data(), int(colorCount), document.GetFillIndex()))
    return 0;
  uint8_t translate[256];
  BuildTranslation(table, colorCount, translate);
  SampleNearest(document, target, translate);

  DibBlock resized = target.DetachDib();
  DibBlock old = document.DetachDib();
  document.ReplaceDib(std::move(resized));
  document.SetUndoImage(std::move(old));
  return 1;
}

}  // namespace quilla
