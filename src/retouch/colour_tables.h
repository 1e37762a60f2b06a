// The fixed-point YCbCr tables (16 fractional bits, the JPEG conversion) and the shape of
// the per-channel transfer tables. The YCbCr tables are computed at compile time, so
// nothing has to be built, or can fail, at start-up. The clamp table is color/range_table.h.
#pragma once
#include <array>
#include <cstdint>

namespace quilla {

using TransferTable = std::array<int32_t, 256>;  // entries 0..255

struct TransferTables {
  TransferTable red, green, blue;
};

// Channel 0 is red, 1 green, 2 blue.
inline TransferTable& ChannelCurve(TransferTables& curves, int channel) {
  return channel == 0 ? curves.red : channel == 1 ? curves.green : curves.blue;
}

struct YCbCrTables {
  // Forward, indexed by a channel value: the sum of three entries >> 16 is Y, Cb or Cr.
  std::array<int32_t, 256> yr, yg, yb, cbr, cbg, cbb, crr, crg, crb;
  // Inverse, indexed by Cb or Cr: offsets in whole units (crR, cbB) or in fixed point (crG, cbG).
  std::array<int32_t, 256> crR, cbB, crG, cbG;
};

extern const YCbCrTables kYCbCrTables;

}  // namespace quilla
