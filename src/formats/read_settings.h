// The one way codecs read the options that decide whether and how a true-colour file is
// reduced while it is read ("NeedQuantizeRead", "NColorsCreatePal", "UseDithering",
// "UseSysPalette"): a transfer reads them once when it starts.
#pragma once
#include "color/quantize_options.h"

namespace quilla {

class Transfer;

QuantizeOptions CurrentReadQuantizeOptions();

// The reduction of a freshly read true-colour image under the transfer's options, with
// progress unless the transfer is quiet. A QuantizeAfterReadResult: 0 when memory ran out
// (the caller tells the user).
int ReduceAfterRead(Transfer& transfer);

}  // namespace quilla
