#include "retouch/transfer_curves.h"

#include <algorithm>
#include <cmath>

namespace quilla {

namespace {

int ClampChannel(double value) { return int(std::clamp(value, 0.0, 255.0)); }

template <class F>
TransferTable CurveOf(F entry) {
  TransferTable table{};
  for (int i = 0; i < 256; ++i) table[size_t(i)] = entry(i);
  return table;
}

}  // namespace

TransferTable IdentityCurve() {
  return CurveOf([](int i) { return i; });
}

int GammaEntry(int slider, int value) {
  const double gamma = (slider + 100) / 100.0;
  return std::min(int(255.0 * std::pow(value / 255.0, 1.0 / gamma) + 0.5), 255);
}

TransferTable GammaCurve(int slider) {
  return CurveOf([slider](int i) { return GammaEntry(slider, i); });
}

TransferTable ContrastCurve(int c) {
  if (c == 0) return IdentityCurve();
  if (c <= -64) return CurveOf([](int) { return 128; });
  if (c >= 64) return CurveOf([](int i) { return i < 128 ? 0 : 255; });
  if (c < 0) return CurveOf([c](int i) { return (i + 1) * (255 + 4 * c) / 256 - 2 * c; });
  return CurveOf([c](int i) {
    if (i < 2 * c) return 0;
    if (i >= 255 - 2 * c) return 255;
    return std::min(255, (i - 2 * c + 1) * 255 / (255 - 4 * c));
  });
}

TransferTable LogCurve(int level) {
  if (level == 0) return IdentityCurve();
  const double k = level / 10.0;
  return CurveOf([k](int i) { return int(256.0 * std::log(1.0 + k * i / 256.0) / std::log(1.0 + k)); });
}

TransferTable ExpCurve(int level) {
  if (level == 0) return IdentityCurve();
  const double a = (101 - level) / 100.0;
  return CurveOf([a](int i) { return ClampChannel(255.0 * std::exp(i / 255.0 - a)); });
}

TransferTable SineHCurve(int level) {
  if (level == 0) return IdentityCurve();
  const double p = (100 - level) / 100.0;
  const double lo = std::pow(std::sinh(0.0), p), hi = std::pow(std::sinh(1.0), p);
  // The fraction first, so that 255 maps to 255 exactly rather than to 254.99...
  return CurveOf([=](int i) { return ClampChannel(255.0 * ((std::pow(std::sinh(i / 255.0), p) - lo) / (hi - lo))); });
}

TransferTables& SharedTransferTables() {
  static TransferTables tables{IdentityCurve(), IdentityCurve(), IdentityCurve()};
  return tables;
}

}  // namespace quilla
