#include "retouch/macro_retouch.h"

#include <algorithm>
#include <utility>

#include "core/messages.h"
#include "retouch/colour_retouch.h"
#include "retouch/filter_command.h"
#include "retouch/image_filter.h"

namespace quilla {

namespace {

// The image as it was, kept once for the whole macro.
struct KeptImage {
  bool kept = false;
  DibBlock pixels;                    // true colour
  std::array<RgbQuad, 256> colors{};  // palette

  bool Keep(const DIBImage& document) {
    kept = true;
    if (!document.IsTrueColor()) {
      colors = document.ColorTable();
      return true;
    }
    pixels = document.Duplicate();
    return !pixels.empty();
  }
  void BecomeUndo(DIBImage& document) {
    if (!kept) return;
    if (document.IsTrueColor())
      document.SetUndoImage(std::move(pixels));
    else
      document.SetUndoColors(colors.data());
  }
  void PutBack(DIBImage& document) {
    if (!kept) return;
    if (document.IsTrueColor())
      document.ReplaceDib(std::move(pixels));
    else
      document.SetColors(colors.data());
  }
};

int FilterSlotOf(const MacroStep& step) {
  const RetouchOpInfo& info = RetouchOpInfoOf(int(RetouchOp::ImageFilter));
  return std::clamp(step.parameters[0], info.minimum[0], info.maximum[0]);
}

bool FiltersHere(const DIBImage& document, const MacroStep& step) {
  return step.code == uint8_t(RetouchOp::ImageFilter) && document.IsTrueColor() && IsFilterable(document);
}

// The filter reads a copy of the image as it stands and writes into the document.
bool RunFilterStep(DIBImage& document, const FilterSpec& filter) {
  DIBImage source;
  source.SetUndoEnabled(false);
  DibBlock copy = document.Duplicate();
  if (copy.empty()) return false;
  source.ReplaceDib(std::move(copy));
  ApplyFilter(filter, source, document);
  return true;
}

// Each step is one application that keeps no undo step of its own, so the next works on its
// result.
bool RunStep(DIBImage& document, const MacroStep& step, const std::array<FilterSpec, kFilterSlots>& filters) {
  if (step.code >= uint8_t(RetouchOp::GammaCorrection) && step.code <= uint8_t(RetouchOp::SineHEnhance)) {
    ColourRetouch retouch(document, false);
    if (!retouch) return false;
    retouch.Apply(RetouchOp(step.code), step.parameters);
    retouch.Ok();
    return true;
  }
  if (FiltersHere(document, step)) return RunFilterStep(document, filters[size_t(FilterSlotOf(step))]);
  return true;
}

}  // namespace

int RunMacro(DIBImage& document, const MacroRetouch& macro, const std::array<FilterSpec, kFilterSlots>& filters) {
  if (!document.HasImage()) return 1;
  WaitCursor wait;
  // A pasted image may still be in the clipboard's layout; the copies below are whole blocks.
  if (!document.TakeOwnLayout()) return 0;
  KeptImage before;
  if (document.UndoEnabled() && !before.Keep(document)) return 0;
  for (const MacroStep& step : macro.steps) {
    if (!RunStep(document, step, filters)) {
      before.PutBack(document);
      return 0;
    }
  }
  before.BecomeUndo(document);
  imageChanged = true;
  return 1;
}

int LastFilterSlot(const DIBImage& document, const MacroRetouch& macro) {
  int slot = -1;
  for (const MacroStep& step : macro.steps)
    if (FiltersHere(document, step)) slot = FilterSlotOf(step);
  return slot;
}

}  // namespace quilla
