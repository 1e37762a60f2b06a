// Whole-image colour changes built on the ColorQuantizer. A new image is built in a
// temporary document and moved into the target only when it is complete, so a failure or a
// cancel leaves the target as it was. Each needs InitializeColorQuantizer to have run.
#pragma once
#include "color/quantize_options.h"
#include "core/dib_image.h"

namespace quilla {

// Converts doc to colors entries (2..256; 0 = true colour), dithered or not, or to the
// Windows 16 colours. A replaced image becomes the undo state. Returns 1 on success
// (also when nothing needed to change), 0 on failure with doc unchanged; the caller tells
// the user.
int ChangeColorDepth(DIBImage& doc, int colors, bool dither, bool windows16);

enum QuantizeAfterReadResult { kQuantizeFailed = 0, kQuantizeNothing = 1, kQuantizeReduced = 2, kQuantizeCancelled = 3 };

// The reduction a freshly read image gets under the quantizing options. With progress the
// window title shows it and the user can cancel, which keeps the image as read.
int QuantizeAfterRead(DIBImage& doc, const QuantizeOptions& options, bool withProgress);

// Re-maps doc onto the count colours given (count 0 converts to true colour). The undo
// state is left alone. Returns 1 on success, 0 on failure with doc unchanged.
int MapToPalette(DIBImage& doc, int count, bool dither, const RgbQuad* colors);

// Makes dest a palette copy of the true-colour source (which is not changed).
int QuantizeInto(DIBImage& dest, DIBImage& source, int colors, bool dither, bool windows16);

}  // namespace quilla
