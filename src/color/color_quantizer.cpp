#include "color/color_quantizer.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "color/windows16_palette.h"

namespace quilla {

int ColorQuantizer::Initialize() {
  try {
    cells.assign(kCellCount, 0);
    boxes.reserve(256);
    errors.assign(size_t(kInitialDitherWidth + 2) * 3, 0);
    limiter = std::make_unique<ErrorLimiter>();
  } catch (const std::bad_alloc&) {
    std::vector<uint16_t>().swap(cells);
    std::vector<ColorBox>().swap(boxes);
    std::vector<int32_t>().swap(errors);
    limiter.reset();
    return 0;
  }
  mapping = MappingPalette{};
  cellsHoldCounts = false;
  leftToRight = true;
  return 1;
}

void ColorQuantizer::ClearHistogram() {
  std::fill(cells.begin(), cells.end(), uint16_t(0));
  cellsHoldCounts = false;
}

static inline void CountCell(uint16_t* cells, int red, int green, int blue) {
  uint16_t& counter = cells[ColorQuantizer::CellIndex(red >> 3, green >> 3, blue >> 3)];
  if (counter != UINT16_MAX) ++counter;
}

void ColorQuantizer::CountTrueColorRow(const uint8_t* row, int width) {
  cellsHoldCounts = true;
  uint16_t* counters = cells.data();
  for (int x = 0; x < width; ++x, row += 3) CountCell(counters, row[2], row[1], row[0]);
}

void ColorQuantizer::CountPaletteRow(const uint8_t* row, int width) {
  cellsHoldCounts = true;
  uint16_t* counters = cells.data();
  for (int x = 0; x < width; ++x) {
    const RgbQuad& c = inputPalette[row[x]];
    CountCell(counters, c.red, c.green, c.blue);
  }
}

void ColorQuantizer::SetInputPalette(const RgbQuad* colors, int count) {
  count = std::clamp(count, 0, 256);
  inputPalette.fill(RgbQuad{0, 0, 0, 0});
  if (count > 0) std::memcpy(inputPalette.data(), colors, size_t(count) * sizeof(RgbQuad));
}

void ColorQuantizer::SetMappingPalette(const RgbQuad* colors, int count) {
  count = std::clamp(count, 0, 256);
  bool same = uint32_t(count) == mapping.count;
  for (int i = 0; same && i < count; ++i) {
    const RgbQuad& a = mapping.entries[size_t(i)];
    same = a.red == colors[i].red && a.green == colors[i].green && a.blue == colors[i].blue;
  }
  // Counts left in the shared storage are no cache, even for an unchanged palette.
  if (same && !cellsHoldCounts) return;
  if (count > 0) std::memcpy(mapping.entries.data(), colors, size_t(count) * sizeof(RgbQuad));
  mapping.count = uint32_t(count);
  ClearHistogram();
}

int ColorQuantizer::UseWindows16() {
  SetMappingPalette(Windows16Palette.data(), int(Windows16Palette.size()));
  return int(Windows16Palette.size());
}

void ColorQuantizer::ClearCacheIfCounted() {
  if (cellsHoldCounts) ClearHistogram();
}

template <class PixelAt>
void ColorQuantizer::MapRow(PixelAt pixelAt, uint8_t* dst, int width) {
  ClearCacheIfCounted();
  for (int x = 0; x < width; ++x) {
    const uint8_t* bgr = pixelAt(x);
    dst[x] = uint8_t(CachedIndex(bgr[2], bgr[1], bgr[0]));
  }
}

void ColorQuantizer::MapTrueColorRow(const uint8_t* src, uint8_t* dst, int width) {
  MapRow([src](int x) { return src + 3 * x; }, dst, width);
}

void ColorQuantizer::MapPaletteRow(const uint8_t* src, uint8_t* dst, int width) {
  const RgbQuad* table = inputPalette.data();
  MapRow([src, table](int x) { return reinterpret_cast<const uint8_t*>(&table[src[x]]); }, dst, width);
}

void ColorQuantizer::SetTranslationTable(const uint8_t* table) { std::memcpy(translation.data(), table, 256); }

void ColorQuantizer::TranslateRow(const uint8_t* src, uint8_t* dst, int width) const {
  const uint8_t* table = translation.data();
  for (int x = 0; x < width; ++x) dst[x] = table[src[x]];
}

int ColorQuantizer::NearestIndex(int red, int green, int blue) {
  ClearCacheIfCounted();
  return CachedIndex(red & 255, green & 255, blue & 255);
}

namespace {
std::unique_ptr<ColorQuantizer> processQuantizer;
}

int InitializeColorQuantizer() {
  auto quantizer = std::unique_ptr<ColorQuantizer>(new (std::nothrow) ColorQuantizer());
  if (!quantizer || !quantizer->Initialize()) return 0;
  processQuantizer = std::move(quantizer);
  return 1;
}

void ShutdownColorQuantizer() { processQuantizer.reset(); }
bool ColorQuantizerReady() { return processQuantizer != nullptr; }
ColorQuantizer& TheColorQuantizer() { return *processQuantizer; }

}  // namespace quilla
