// The one colour-reduction engine of the program: a 5-bit-per-channel histogram, median cut
// colour selection, nearest-colour lookup through a lazily filled per-cell cache, and
// serpentine Floyd-Steinberg error diffusion. Its tables are process-wide and shared by
// every caller, so one reduction must finish before the next starts.
//
// Rows are arrays of pixels: true-colour rows hold blue, green, red bytes, palette rows one
// index per pixel.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "color/error_limiter.h"
#include "core/dib_image.h"

namespace quilla {

// The colours selected, and the table that pixels are mapped onto.
struct MappingPalette {
  uint32_t count = 0;
  std::array<RgbQuad, 256> entries{};
};

// One box of the median cut: inclusive cell bounds per channel (red, green, blue) and the
// number of non-empty histogram cells inside.
struct ColorBox {
  int32_t lo[3];
  int32_t hi[3];
  int32_t cells;
  bool Splittable() const { return hi[0] > lo[0] || hi[1] > lo[1] || hi[2] > lo[2]; }
};

class ColorQuantizer {
 public:
  static constexpr int kCellsPerChannel = 32;
  static constexpr int kCellCount = kCellsPerChannel * kCellsPerChannel * kCellsPerChannel;
  static constexpr int kInitialDitherWidth = 4000;

  // Allocates every table; 0 when memory runs out (nothing is kept then).
  int Initialize();

  // Histogram. Its storage doubles as the InversePaletteCache, so counting needs a
  // ClearHistogram first.
  void ClearHistogram();
  void CountTrueColorRow(const uint8_t* row, int width);
  void CountPaletteRow(const uint8_t* row, int width);
  // The colour table palette pixels are read through (copied; indices past count read black).
  void SetInputPalette(const RgbQuad* colors, int count);

  // Builds the MappingPalette of n colours (2..256) from the histogram.
  void SelectColors(int n);
  void SetMappingPalette(const RgbQuad* colors, int count);
  // Maps onto Windows16Palette; returns 16.
  int UseWindows16();
  const RgbQuad* GetMappingPalette() const { return mapping.entries.data(); }
  int GetMappingCount() const { return int(mapping.count); }

  // Starts a dithered image: zero errors, first row left to right. The error rows grow to
  // the width asked for; 0 when memory runs out.
  int ResetDither(int width = kInitialDitherWidth);
  void MapTrueColorRow(const uint8_t* src, uint8_t* dst, int width);
  // src and dst may be the same row.
  void MapPaletteRow(const uint8_t* src, uint8_t* dst, int width);
  // Consecutive calls are consecutive rows of one image. 0 when a wider row than any before
  // needs error storage that cannot be had.
  int DitherTrueColorRow(const uint8_t* src, uint8_t* dst, int width);
  int DitherPaletteRow(const uint8_t* src, uint8_t* dst, int width);

  // Direct index translation (copied).
  void SetTranslationTable(const uint8_t* table);
  void TranslateRow(const uint8_t* src, uint8_t* dst, int width) const;

  // Cached nearest MappingPalette index for the cell of a colour.
  int NearestIndex(int red, int green, int blue);

  // Inspection: a cell's histogram counter or cache entry (nearest index + 1, 0 unknown).
  uint16_t CellValue(int redCell, int greenCell, int blueCell) const;
  static constexpr int CellIndex(int redCell, int greenCell, int blueCell) {
    return (redCell << 10) | (greenCell << 5) | blueCell;
  }
  int DitherCapacity() const { return int(errors.size() / 3) - 2; }
  bool NextRowLeftToRight() const { return leftToRight; }

 private:
  // Counting goes to kPartials tables in turn, pixel by pixel, so that a run of one colour
  // does not wait on its own counter; they are added to the cells (saturating) before any
  // of their counters could overflow, and before the counts are used.
  static constexpr int kPartials = 4;
  template <class CellAt>
  void CountRow(CellAt cellAt, int width);
  void FoldPartials();
  int CountOf(const int32_t lo[3], const int32_t hi[3]) const;
  void ShrinkBox(ColorBox& box) const;
  int MedianCut(int target);
  RgbQuad BoxColor(const ColorBox& box, bool& empty) const;
  void ClearCacheIfCounted();
  void FillCacheBlock(int redCell, int greenCell, int blueCell);
  // Nearest index for a colour, filling its cache block on the first visit.
  int CachedIndex(int red, int green, int blue) {
    const uint16_t& cell = cells[size_t(CellIndex(red >> 3, green >> 3, blue >> 3))];
    if (cell == 0) FillCacheBlock(red >> 3, green >> 3, blue >> 3);
    return cell - 1;
  }
  // Fills the cache block of a cell index (the cell is still unknown).
  void FillCacheBlockOf(int cell) { FillCacheBlock(cell >> 10, (cell >> 5) & 31, cell & 31); }
  int EnsureDitherWidth(int width);
  template <class CellAt>
  void MapRow(CellAt cellAt, uint8_t* dst, int width);
  template <class PixelAt>
  int DitherRow(PixelAt pixelAt, uint8_t* dst, int width);
  template <bool kLimited, int kStep, class PixelAt>
  void DitherSpan(PixelAt pixelAt, uint8_t* dst, int width);

  std::vector<uint16_t> cells;            // histogram, then InversePaletteCache
  bool cellsHoldCounts = false;           // counted since the cache was last cleared
  std::vector<uint16_t> partials;         // kPartials tables of counts not yet in cells
  int partialLoad = 0;                    // the most any partial counter can hold now
  // Beside each known cache entry, the red, green and blue of its colour and its index, a
  // byte each: a dithered pixel finds its index and its error beside one another.
  // Held in the quantizer itself, so that the dither reaches it without a pointer of its own.
  std::array<uint8_t, size_t(kCellCount) * 4> cellEntries{};
  std::vector<ColorBox> boxes;
  MappingPalette mapping;
  std::array<RgbQuad, 256> inputPalette{};
  std::array<uint8_t, 256> translation{};
  std::vector<int32_t> errors;            // red, green, blue per entry; width + 2 entries
  bool leftToRight = true;
};

// The process-wide quantizer: made at start-up, released at exit.
int InitializeColorQuantizer();
void ShutdownColorQuantizer();
bool ColorQuantizerReady();
ColorQuantizer& TheColorQuantizer();

}  // namespace quilla
