#include "color/color_reduction.h"

#include <algorithm>
#include <cstring>

#include "color/color_quantizer.h"
#include "color/pixel_rows.h"
#include "core/messages.h"
#include "core/progress.h"

namespace quilla {

namespace {

// Where the colours of a reduction come from.
struct PaletteChoice {
  enum Kind { Select, Windows16, Given } kind = Select;
  int count = 256;
  const RgbQuad* colors = nullptr;

  static PaletteChoice Selected(int n) { return {Select, std::clamp(n, 2, 256), nullptr}; }
  static PaletteChoice Windows() { return {Windows16, 16, nullptr}; }
  static PaletteChoice Fixed(int count, const RgbQuad* colors) { return {Given, count, colors}; }
};

// Progress before every 32nd row, over all passes of one reduction.
class RowProgress {
 public:
  RowProgress(bool enabled, int rowsPerPass, int passes)
      : enabled(enabled), total((long long)rowsPerPass * passes) {}
  // False when the user cancelled.
  bool BeforeRow(long long row) {
    return !enabled || row % 32 != 0 || ReportProgressNoCleanup(done + row, total) != 0;
  }
  void EndPass(int rows) { done += rows; }

 private:
  bool enabled;
  long long total;
  long long done = 0;
};

enum class Outcome { Done, Cancelled, NoMemory };

// Builds in result a palette image of source's size with the chosen colours.
Outcome ReduceToPalette(DIBImage& source, DIBImage& result, const PaletteChoice& choice, bool dither,
                        bool withProgress) {
  const int width = source.Width(), height = source.Height();
  if (!result.CreateImage(width, height, false, nullptr, choice.count, 0)) return Outcome::NoMemory;
  ImageLock sourceLock(source), resultLock(result);
  if (!sourceLock || !resultLock) return Outcome::NoMemory;
  ColorQuantizer& q = TheColorQuantizer();
  const bool trueColor = source.IsTrueColor();
  if (!trueColor) q.SetInputPalette(source.GetColors(), int(source.ColorCount()));

  RowProgress progress(withProgress, height, choice.kind == PaletteChoice::Select ? 2 : 1);
  if (choice.kind == PaletteChoice::Select) {
    q.ClearHistogram();
    for (int y = 0; y < height; ++y) {
      if (!progress.BeforeRow(y)) return Outcome::Cancelled;
      if (trueColor)
        q.CountTrueColorRow(source.RowPointer(y), width);
      else
        q.CountPaletteRow(source.RowPointer(y), width);
    }
    progress.EndPass(height);
    q.SelectColors(choice.count);
  } else if (choice.kind == PaletteChoice::Windows16) {
    q.UseWindows16();
  } else {
    q.SetMappingPalette(choice.colors, choice.count);
  }
  std::memcpy(result.GetColors(), q.GetMappingPalette(), size_t(q.GetMappingCount()) * sizeof(RgbQuad));

  if (dither && !q.ResetDither(width)) return Outcome::NoMemory;
  // Dithering runs in storage order, so the bottom line of the picture comes first.
  for (int y = 0; y < height; ++y) {
    if (!progress.BeforeRow(y)) return Outcome::Cancelled;
    const uint8_t* src = source.StoredRow(y);
    uint8_t* dst = result.StoredRow(y);
    if (dither) {
      int ok = trueColor ? q.DitherTrueColorRow(src, dst, width) : q.DitherPaletteRow(src, dst, width);
      if (!ok) return Outcome::NoMemory;
    } else if (trueColor) {
      q.MapTrueColorRow(src, dst, width);
    } else {
      q.MapPaletteRow(src, dst, width);
    }
  }
  result.RebuildPalette();
  return Outcome::Done;
}

// Moves the finished temporary into doc; the old image becomes the undo state if asked.
void MoveInto(DIBImage& doc, DIBImage& temporary, bool keepUndo) {
  if (keepUndo) {
    DibBlock old = doc.DetachDib();
    doc.ReplaceDib(temporary.DetachDib());
    doc.SetUndoImage(std::move(old));
  } else {
    doc.ReplaceDib(temporary.DetachDib());
  }
}

// Builds the true-colour twin of a palette image in result.
bool ExpandToTrueColor(DIBImage& source, DIBImage& result) {
  const int width = source.Width(), height = source.Height();
  if (!result.CreateImage(width, height, true, nullptr, 0, 0)) return false;
  ImageLock sourceLock(source), resultLock(result);
  if (!sourceLock || !resultLock) return false;
  std::array<RgbQuad, 256> table = source.ColorTable();
  for (int y = 0; y < height; ++y) ExpandRow(source.RowPointer(y), table.data(), result.RowPointer(y), width);
  return true;
}

// A copy of a palette image with its colour count raised; pixels and entries kept.
bool RaiseColorCount(DIBImage& source, DIBImage& result, int colors) {
  const int width = source.Width(), height = source.Height();
  std::array<RgbQuad, 256> table = source.ColorTable();
  if (!result.CreateImage(width, height, false, table.data(), colors, 0)) return false;
  ImageLock sourceLock(source), resultLock(result);
  if (!sourceLock || !resultLock) return false;
  for (int y = 0; y < height; ++y) std::memcpy(result.RowPointer(y), source.RowPointer(y), size_t(width));
  return true;
}

bool Ready(const DIBImage& doc) { return doc.HasImage() && ColorQuantizerReady(); }

}  // namespace

int ChangeColorDepth(DIBImage& doc, int colors, bool dither, bool windows16) {
  if (!Ready(doc) || colors < 0 || colors == 1 || colors > 256) return 0;
  WaitCursor wait;
  DIBImage temporary;
  if (!doc.IsTrueColor() && !windows16) {
    const int count = int(doc.ColorCount());
    if (colors == count) return 1;
    bool built = colors == 0 ? ExpandToTrueColor(doc, temporary)
                 : colors > count ? RaiseColorCount(doc, temporary, colors)
                                  : ReduceToPalette(doc, temporary, PaletteChoice::Selected(colors), dither,
                                                    false) == Outcome::Done;
    if (!built) return 0;
  } else {
    if (colors == 0 && !windows16) return 0;
    PaletteChoice choice = windows16 ? PaletteChoice::Windows() : PaletteChoice::Selected(colors);
    if (ReduceToPalette(doc, temporary, choice, dither, false) != Outcome::Done) return 0;
  }
  MoveInto(doc, temporary, true);
  return 1;
}

int QuantizeAfterRead(DIBImage& doc, const QuantizeOptions& options, bool withProgress) {
  if (!options.needQuantizeRead || !doc.HasImage()) return kQuantizeNothing;
  if (!ColorQuantizerReady()) return kQuantizeFailed;
  PaletteChoice choice = options.useSysPalette ? PaletteChoice::Windows() : PaletteChoice::Selected(options.nColorsCreatePal);
  if (!doc.IsTrueColor() && !options.useSysPalette && options.nColorsCreatePal >= int(doc.ColorCount()))
    return kQuantizeNothing;
  WaitCursor wait;
  DIBImage temporary;
  switch (ReduceToPalette(doc, temporary, choice, options.useDithering, withProgress)) {
    case Outcome::Cancelled: return kQuantizeCancelled;
    case Outcome::NoMemory: return kQuantizeFailed;
    case Outcome::Done: break;
  }
  MoveInto(doc, temporary, false);
  return kQuantizeReduced;
}

int MapToPalette(DIBImage& doc, int count, bool dither, const RgbQuad* colors) {
  if (!Ready(doc) || count < 0 || count > 256 || (count > 0 && !colors)) return 0;
  WaitCursor wait;
  DIBImage temporary;
  if (count == 0) {
    if (doc.IsTrueColor()) return 1;
    if (!ExpandToTrueColor(doc, temporary)) return 0;
    MoveInto(doc, temporary, false);
    return 1;
  }
  // A foreign-layout table has room for its own entries only, so such an image is rebuilt.
  if (doc.IsTrueColor() || doc.IsForeignLayout()) {
    if (ReduceToPalette(doc, temporary, PaletteChoice::Fixed(count, colors), dither, false) != Outcome::Done)
      return 0;
    MoveInto(doc, temporary, false);
    return 1;
  }
  ImageLock lock(doc);
  const int ownCount = int(doc.ColorCount());
  if (ownCount == count && SameColors(doc.GetColors(), colors, count)) return 1;
  ColorQuantizer& q = TheColorQuantizer();
  const int width = doc.Width(), height = doc.Height();
  if (dither && !q.ResetDither(width)) return 0;
  q.SetInputPalette(doc.GetColors(), ownCount);
  q.SetMappingPalette(colors, count);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = doc.StoredRow(y);
    if (dither)
      q.DitherPaletteRow(row, row, width);  // cannot fail: ResetDither sized the errors
    else
      q.MapPaletteRow(row, row, width);
  }
  std::memcpy(doc.GetColors(), colors, size_t(count) * sizeof(RgbQuad));
  doc.GetHeader()->biClrUsed = doc.GetHeader()->biClrImportant = uint32_t(count);
  doc.RebuildPalette();
  return 1;
}

int QuantizeInto(DIBImage& dest, DIBImage& source, int colors, bool dither, bool windows16) {
  if (&dest == &source || !Ready(source) || !source.IsTrueColor() || colors <= 0 || colors > 256) return 0;
  WaitCursor wait;
  DIBImage temporary;
  PaletteChoice choice = windows16 ? PaletteChoice::Windows() : PaletteChoice::Selected(colors);
  if (ReduceToPalette(source, temporary, choice, dither, false) != Outcome::Done) return 0;
  dest.ReplaceDib(temporary.DetachDib());
  return 1;
}

}  // namespace quilla
