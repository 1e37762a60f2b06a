#include "retouch/filter_command.h"

#include <utility>

#include "color/color_reduction.h"
#include "core/messages.h"
#include "retouch/image_filter.h"

namespace quilla {

namespace {

// Moves a copy of from's image into to; false when memory runs out.
bool CopyInto(const DIBImage& from, DIBImage& to) {
  DibBlock copy = from.Duplicate();
  if (copy.empty()) return false;
  to.ReplaceDib(std::move(copy));
  return true;
}

void TellPaletteChanged() {
  if (Host* host = HostOrNull()) host->OnEngineEvent(EngineEvent::PaletteChanged);
}

}  // namespace

bool IsFilterable(const DIBImage& document) {
  return document.HasImage() && document.Width() >= 5 && document.Height() >= 5;
}

int FilterSession::Begin(DIBImage& document, DisplayMode display) {
  document_ = &document;
  // A pasted image may still be in the clipboard's layout; the copies below are whole
  // blocks, so they need this program's own layout.
  if (!document.TakeOwnLayout()) return 0;
  if (document.IsTrueColor()) {
    colors_ = 0;
    return CopyInto(document, source_);
  }
  windows16_ = display == DisplayMode::SixteenColor;
  colors_ = windows16_ ? 16 : int(document.ColorCount());
  working_.SetUndoEnabled(false);
  return CopyInto(document, original_) && CopyInto(document, working_) && ChangeColorDepth(working_, 0, false, false) &&
         CopyInto(working_, source_);
}

int FilterSession::Apply(const FilterSpec& filter) {
  WaitCursor wait;
  ApplyFilter(filter, source_, colors_ ? working_ : *document_);
  if (!colors_) return 1;
  if (!QuantizeInto(*document_, working_, colors_, true, windows16_)) return 0;
  TellPaletteChanged();
  return 1;
}

void FilterSession::Keep() {
  document_->SetUndoImage(colors_ ? original_.DetachDib() : source_.DetachDib());
  imageChanged = true;
}

void FilterSession::Restore() {
  document_->ReplaceDib(colors_ ? original_.DetachDib() : source_.DetachDib());
  if (colors_) TellPaletteChanged();
}

int FilterImage(DIBImage& document, const FilterSpec& filter, DisplayMode display) {
  if (!IsFilterable(document)) return 1;
  FilterSession session;
  if (!session.Begin(document, display)) return 0;
  if (!session.Apply(filter)) {
    session.Restore();
    return 0;
  }
  session.Keep();
  return 1;
}

}  // namespace quilla
