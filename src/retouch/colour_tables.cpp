#include "retouch/colour_tables.h"

#include <cstddef>

namespace quilla {

namespace {

constexpr YCbCrTables MakeYCbCrTables() {
  YCbCrTables t{};
  for (int32_t v = 0; v < 256; ++v) {
    const std::size_t i = std::size_t(v);
    t.yr[i] = 19595 * v;
    t.yg[i] = 38470 * v;
    t.yb[i] = 7471 * v + 32768;
    t.cbr[i] = -11059 * v;
    t.cbg[i] = -21709 * v;
    t.cbb[i] = t.crr[i] = 32768 * v + 8388608;
    t.crg[i] = -27439 * v;
    t.crb[i] = -5329 * v;
    // Right shifts of negative values are arithmetic in C++20.
    const int32_t d = 2 * v - 255;
    t.crR[i] = (45941 * d + 32768) >> 16;
    t.cbB[i] = (58065 * d + 32768) >> 16;
    t.crG[i] = -23401 * d;
    t.cbG[i] = -11277 * d + 32768;
  }
  return t;
}

}  // namespace

constexpr YCbCrTables kYCbCrTables = MakeYCbCrTables();

}  // namespace quilla
