// The fixed tables allocated once at start-up and released at exit: the quantizer's and
// the GIF coder's. The clamp table of the colour conversions is built at compile time.
#pragma once

namespace quilla {

// False when memory runs out; whatever was allocated has been released again.
bool AllocateTables();
void ReleaseTables();

}  // namespace quilla
