// Pixel copies between two documents, reconciling their pixel kinds and colour tables.
#pragma once
#include "color/quantize_options.h"
#include "core/dib_image.h"

namespace quilla {

// Copies the source rectangle (sx0, sy0)-(sx1, sy1), inclusive and counted from the top-left,
// to (x, y) in dest, cut at dest's edges. A true-colour source put into a palette image is
// mapped onto dest's table; two palette images are reconciled by options.combineMode:
// kCombineKeepDest maps the source onto dest's table, kCombineTakeSource gives dest the
// source's table, kCombineNewPalette gives dest a new palette of options.nColorsCreatePal
// colours built from both whole images. Any other mode copies nothing. Dithering follows
// options.useDithering. dest and source must be different documents. Returns 1 on success,
// 0 when memory runs out or the documents are unusable.
int CopyRect(DIBImage& dest, int x, int y, DIBImage& source, int sx0, int sy0, int sx1, int sy1,
             const QuantizeOptions& options);

}  // namespace quilla
