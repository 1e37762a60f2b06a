// The transfer curves of the curve retouches: 256 entries each, computed in double
// precision and truncated as the curves have always been, so a stored macro gives the
// same picture everywhere. Slider value 0 is the identity for every curve.
#pragma once
#include "retouch/colour_tables.h"

namespace quilla {

TransferTable IdentityCurve();
// One gamma entry for slider value -99..300 (gamma 0.01..4.00); palette entries use it directly.
int GammaEntry(int slider, int value);
TransferTable GammaCurve(int slider);
TransferTable ContrastCurve(int contrast);  // -64..64
TransferTable LogCurve(int level);          // 0..200
TransferTable ExpCurve(int level);          // 0..5
TransferTable SineHCurve(int level);        // 0..99

// The curves of the last curve retouch, shared by the curve commands and Interactive RGB;
// they persist between commands.
TransferTables& SharedTransferTables();

}  // namespace quilla
