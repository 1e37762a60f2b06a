#include "color/color_quantizer.h"

#include <algorithm>
#include <cstring>
#include <new>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define QUILLA_SSSE3_CELLS 1
#endif

#include "color/windows16_palette.h"
#include "core/processor_features.h"

namespace quilla {

int ColorQuantizer::Initialize() {
  try {
    cells.assign(kCellCount, 0);
    partials.assign(size_t(kPartials) * kCellCount, 0);
    boxes.reserve(256);
    errors.assign(size_t(kInitialDitherWidth + 2) * 3, 0);
  } catch (const std::bad_alloc&) {
    std::vector<uint16_t>().swap(cells);
    std::vector<uint16_t>().swap(partials);
    std::vector<ColorBox>().swap(boxes);
    std::vector<int32_t>().swap(errors);
    return 0;
  }
  mapping = MappingPalette{};
  cellsHoldCounts = false;
  partialLoad = 0;
  leftToRight = true;
  return 1;
}

void ColorQuantizer::ClearHistogram() {
  std::fill(cells.begin(), cells.end(), uint16_t(0));
  if (partialLoad > 0) std::fill(partials.begin(), partials.end(), uint16_t(0));
  partialLoad = 0;
  cellsHoldCounts = false;
}

namespace {
constexpr int kMaxPartialCount = UINT16_MAX;

// The blue and green part of a cell, by the top five bits of blue and of green taken as
// one 16-bit value: one look-up in place of five shifts and masks.
constexpr std::array<uint16_t, 0x2000> kBlueGreenCells = [] {
  std::array<uint16_t, 0x2000> part{};
  for (int i = 0; i < 0x2000; ++i) part[size_t(i)] = uint16_t((i & 0x1F) | ((i >> 8) & 0x1F) << 5);
  return part;
}();

// The cell of a pixel stored blue, green, red.
inline int CellOfBgr(const uint8_t* p) {
  const unsigned blueGreen = unsigned(p[0]) | unsigned(p[1]) << 8;
  return kBlueGreenCells[(blueGreen >> 3) & 0x1F1F] | ((p[2] & 0xF8) << 7);
}
inline int CellOfColor(const RgbQuad& c) { return ((c.red & 0xF8) << 7) | ((c.green & 0xF8) << 2) | (c.blue >> 3); }

#if defined(QUILLA_SSSE3_CELLS)
// For channel `channel` of sixteen three-byte pixels, where each of the three 16-byte loads
// puts its bytes (-1: none from this load).
constexpr std::array<int8_t, 16> ChannelPick(int channel, int load) {
  std::array<int8_t, 16> pick{};
  for (int i = 0; i < 16; ++i) {
    const int at = 3 * i + channel - 16 * load;
    pick[size_t(i)] = int8_t(at >= 0 && at < 16 ? at : -1);
  }
  return pick;
}

__attribute__((target("ssse3"))) __m128i Channel(const __m128i loads[3], int channel) {
  static constexpr std::array<std::array<int8_t, 16>, 9> kPicks = {
      ChannelPick(0, 0), ChannelPick(0, 1), ChannelPick(0, 2), ChannelPick(1, 0), ChannelPick(1, 1),
      ChannelPick(1, 2), ChannelPick(2, 0), ChannelPick(2, 1), ChannelPick(2, 2)};
  __m128i bytes = _mm_setzero_si128();
  for (int load = 0; load < 3; ++load) {
    const __m128i pick = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kPicks[size_t(3 * channel + load)].data()));
    bytes = _mm_or_si128(bytes, _mm_shuffle_epi8(loads[load], pick));
  }
  return bytes;
}

// Eight cells from the 16-bit blue, green and red (their top five bits only) of eight pixels.
__attribute__((target("ssse3"))) __m128i CombineCells(__m128i blue, __m128i green, __m128i red) {
  return _mm_or_si128(_mm_or_si128(_mm_slli_epi16(red, 7), _mm_slli_epi16(green, 2)), _mm_srli_epi16(blue, 3));
}

// The cells of sixteen pixels stored blue, green, red: the channels gathered by shuffles,
// the cell put together eight 16-bit lanes at a time.
__attribute__((target("ssse3"))) void CellsOfSixteenBgr(const uint8_t* p, uint16_t cell[16]) {
  const __m128i loads[3] = {_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)),
                            _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16)),
                            _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32))};
  const __m128i top5 = _mm_set1_epi8(int8_t(0xF8));
  const __m128i blue = Channel(loads, 0), green = _mm_and_si128(Channel(loads, 1), top5);
  const __m128i red = _mm_and_si128(Channel(loads, 2), top5), zero = _mm_setzero_si128();
  auto* out = reinterpret_cast<__m128i*>(cell);
  _mm_storeu_si128(out, CombineCells(_mm_unpacklo_epi8(blue, zero), _mm_unpacklo_epi8(green, zero),
                                     _mm_unpacklo_epi8(red, zero)));
  _mm_storeu_si128(out + 1, CombineCells(_mm_unpackhi_epi8(blue, zero), _mm_unpackhi_epi8(green, zero),
                                         _mm_unpackhi_epi8(red, zero)));
}
#endif

// The cells of a blue, green, red row: one pixel, or sixteen at once.
struct BgrCells {
  const uint8_t* row;
  bool shuffles = ProcessorHasSsse3();  // asked once a row, not in the pixel loop
  int operator()(int x) const { return CellOfBgr(row + 3 * x); }
  void Sixteen(int x, uint16_t cell[16]) const {
    const uint8_t* p = row + 3 * x;
#if defined(QUILLA_SSSE3_CELLS)
    if (shuffles) return CellsOfSixteenBgr(p, cell);
#endif
    for (int k = 0; k < 16; ++k) cell[k] = uint16_t(CellOfBgr(p + 3 * k));
  }
};

// The cells of a row of indices into a colour table.
struct IndexCells {
  const uint8_t* row;
  const uint16_t* cellOf;  // 256 entries
  int operator()(int x) const { return cellOf[row[x]]; }
  void Sixteen(int x, uint16_t cell[16]) const {
    for (int k = 0; k < 16; ++k) cell[k] = cellOf[row[x + k]];
  }
};
}  // namespace

// Counters saturate: a cell holds min(pixels counted, UINT16_MAX), however the counting
// was split between the partial tables. A long count folds every few dozen rows, so the
// partials are added and cleared in one pass, eight cells a step where the processor has
// saturating 16-bit adds (of counts that are never negative, the same minimum).
void ColorQuantizer::FoldPartials() {
  if (partialLoad == 0) return;
  uint16_t* total = cells.data();
  uint16_t* p0 = partials.data();
  uint16_t* p1 = p0 + kCellCount;
  uint16_t* p2 = p1 + kCellCount;
  uint16_t* p3 = p2 + kCellCount;
  static_assert(kPartials == 4 && kMaxPartialCount == UINT16_MAX);
  int i = 0;
#if defined(__SSE2__)
  static_assert(kCellCount % 8 == 0);
  const __m128i zero = _mm_setzero_si128();
  for (; i < kCellCount; i += 8) {
    auto at = [i](uint16_t* table) { return reinterpret_cast<__m128i*>(table + i); };
    __m128i sum = _mm_adds_epu16(_mm_loadu_si128(at(total)), _mm_loadu_si128(at(p0)));
    sum = _mm_adds_epu16(sum, _mm_loadu_si128(at(p1)));
    sum = _mm_adds_epu16(sum, _mm_loadu_si128(at(p2)));
    sum = _mm_adds_epu16(sum, _mm_loadu_si128(at(p3)));
    _mm_storeu_si128(at(total), sum);
    _mm_storeu_si128(at(p0), zero), _mm_storeu_si128(at(p1), zero);
    _mm_storeu_si128(at(p2), zero), _mm_storeu_si128(at(p3), zero);
  }
#endif
  for (; i < kCellCount; ++i) {
    uint32_t sum = uint32_t(total[i]) + p0[i] + p1[i] + p2[i] + p3[i];
    total[i] = uint16_t(sum < kMaxPartialCount ? sum : kMaxPartialCount);
    p0[i] = p1[i] = p2[i] = p3[i] = 0;
  }
  partialLoad = 0;
}

uint16_t ColorQuantizer::CellValue(int redCell, int greenCell, int blueCell) const {
  const size_t cell = size_t(CellIndex(redCell, greenCell, blueCell));
  uint32_t sum = cells[cell];
  if (partialLoad > 0)
    for (int k = 0; k < kPartials; ++k) sum += partials[size_t(k) * kCellCount + cell];
  return uint16_t(sum < kMaxPartialCount ? sum : kMaxPartialCount);
}

template <class CellAt>
void ColorQuantizer::CountRow(CellAt cellAt, int width) {
  cellsHoldCounts = true;
  uint16_t* p0 = partials.data();
  uint16_t* p1 = p0 + kCellCount;
  uint16_t* p2 = p1 + kCellCount;
  uint16_t* p3 = p2 + kCellCount;
  int x = 0;
  while (x < width) {
    // Each partial counter takes at most a quarter of the pixels, rounded up.
    const int n = std::min(width - x, kPartials * kMaxPartialCount);
    const int load = (n + kPartials - 1) / kPartials;
    if (partialLoad + load > kMaxPartialCount) FoldPartials();
    const int end = x + n;
    for (; x + 16 <= end; x += 16) {
      uint16_t c[16];
      cellAt.Sixteen(x, c);
      for (int k = 0; k < 16; k += 4) ++p0[c[k]], ++p1[c[k + 1]], ++p2[c[k + 2]], ++p3[c[k + 3]];
    }
    for (int k = 0; x < end; ++x, k = (k + 1) % kPartials) ++partials[size_t(k) * kCellCount + size_t(cellAt(x))];
    partialLoad += load;
  }
}

void ColorQuantizer::CountTrueColorRow(const uint8_t* row, int width) {
  CountRow(BgrCells{row}, width);
}

void ColorQuantizer::CountPaletteRow(const uint8_t* row, int width) {
  std::array<uint16_t, 256> cellOf;
  for (int i = 0; i < 256; ++i) cellOf[size_t(i)] = uint16_t(CellOfColor(inputPalette[size_t(i)]));
  CountRow(IndexCells{row, cellOf.data()}, width);
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

template <class CellAt>
void ColorQuantizer::MapRow(CellAt cellAt, uint8_t* dst, int width) {
  ClearCacheIfCounted();
  const uint16_t* cache = cells.data();
  auto indexOf = [this, cache](int cell) {
    unsigned entry = cache[cell];
    if (entry == 0) [[unlikely]] {
      FillCacheBlockOf(cell);
      entry = cache[cell];
    }
    return uint8_t(entry - 1);
  };
  int x = 0;
  for (; x + 16 <= width; x += 16) {
    uint16_t c[16];
    cellAt.Sixteen(x, c);
    bool known = true;
    for (int k = 0; k < 16; ++k) known &= cache[c[k]] != 0, dst[x + k] = uint8_t(cache[c[k]] - 1);
    // One test for the sixteen; the blocks they need are then filled in pixel order.
    if (!known) [[unlikely]] {
      for (int k = 0; k < 16; ++k) dst[x + k] = indexOf(c[k]);
    }
  }
  for (; x < width; ++x) dst[x] = indexOf(cellAt(x));
}

void ColorQuantizer::MapTrueColorRow(const uint8_t* src, uint8_t* dst, int width) {
  MapRow(BgrCells{src}, dst, width);
}

// Every pixel of one input index maps alike, so each index is looked up once per row; the
// cache blocks filled are the same as pixel by pixel.
void ColorQuantizer::MapPaletteRow(const uint8_t* src, uint8_t* dst, int width) {
  ClearCacheIfCounted();
  std::array<uint16_t, 256> mapped{};  // index + 1, 0 not looked up yet
  for (int x = 0; x < width; ++x) {
    const uint8_t value = src[x];
    unsigned m = mapped[value];
    if (m == 0) {
      const RgbQuad& c = inputPalette[value];
      m = unsigned(CachedIndex(c.red, c.green, c.blue)) + 1;
      mapped[value] = uint16_t(m);
    }
    dst[x] = uint8_t(m - 1);
  }
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
