// A macro retouch run on a document: its eight slots in order, each working on the result of
// the one before, as one retouch with one undo step.
#pragma once
#include <array>

#include "core/dib_image.h"
#include "settings/list_records.h"

namespace quilla {

// Slots 1..8 are the colour retouches, their parameters held to their ranges; slot 9 filters
// a true-colour image of at least 5 x 5 pixels with the filter of its slot and does nothing on
// a palette image; other codes do nothing. The image as it was becomes the undo step (when
// undo is enabled) and the image is marked changed, whatever the slots did. Nothing without
// an image. 0 when memory runs out: the document is as it was when undo is enabled, otherwise
// it keeps the slots run so far.
int RunMacro(DIBImage& document, const MacroRetouch& macro, const std::array<FilterSpec, kFilterSlots>& filters);

// The filter slot the macro's last filter step uses on this document; -1 when none runs.
int LastFilterSlot(const DIBImage& document, const MacroRetouch& macro);

}  // namespace quilla
