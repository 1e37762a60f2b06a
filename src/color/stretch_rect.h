// Nearest-neighbour sampling of a rectangle of one document onto a rectangle of another.
#pragma once
#include "core/dib_image.h"

namespace quilla {

// Rectangles are inclusive, counted from the top-left corner, and must lie inside their
// images. Destination column i takes source column i * sw / dw; destination row j, counted
// from the rectangle's bottom row, takes source row j * sh / dh, also from the bottom. The
// kinds are reconciled: palette to palette through the nearest destination entry of every
// source entry, palette to true colour through the source table, true colour to palette
// through the nearest destination entry without dithering. dest and source must be different
// documents. 1 on success, 0 when memory runs out or the rectangles don't fit.
int StretchRect(DIBImage& dest, int dx0, int dy0, int dx1, int dy1, DIBImage& source, int sx0, int sy0, int sx1,
                int sy1);

}  // namespace quilla
