#pragma once
#include "settings/list_records.h"

namespace quilla {

class DIBImage;

// Convolves the true-colour source into destination, an image of the same size: every
// pixel two or more pixels inside the edges takes, in each channel whose flag is set, the
// kernel's weighted sum of its 5 x 5 neighbourhood divided by the divisor (truncating toward
// zero), plus the bias, clamped to 0..255. Kernel row 0 weights the stored row two below the
// centre (rows are stored bottom-up). The border and the other channels keep what
// destination holds; images narrower or lower than 5 pixels are left alone.
void ApplyFilter(const FilterSpec& filter, DIBImage& source, DIBImage& destination);

}  // namespace quilla
