// Drawing a transfer curve by hand, as Interactive RGB's graph does: a point sets the entry
// under it and its right neighbour, so that a quick stroke leaves no gaps, and the rest of the
// curve then follows the chosen ordering.
#pragma once
#include "retouch/colour_tables.h"

namespace quilla {

enum class CurveOrdering { None, Increasing, Decreasing };

// Sets T[x] and T[x + 1] (T[255] alone at x = 255) to y, both held to 0..255. Increasing then
// raises each entry right of the pair to at least the one before it and lowers each entry left
// of it to at most the one after it; Decreasing does the mirror image.
void DrawCurvePoint(TransferTable& curve, int x, int y, CurveOrdering ordering);

// Choosing an ordering brings the curve into it at once: Increasing draws the point (0, T[0]),
// Decreasing the point (255, T[255]); None leaves the curve.
void ApplyCurveOrdering(TransferTable& curve, CurveOrdering ordering);

}  // namespace quilla
