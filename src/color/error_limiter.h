// Caps the error a dithered pixel takes from its neighbours once the palette is rich enough
// for small errors to matter more than large ones: small errors pass, medium ones are
// halved past 16, large ones stop at 32.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace quilla {

constexpr int LimitError(int error) {
  int magnitude = error < 0 ? -error : error;
  int limited = magnitude < 16 ? magnitude : magnitude < 48 ? 16 + (magnitude - 16) / 2 : 32;
  return error < 0 ? -limited : limited;
}

class ErrorLimiter {
 public:
  static constexpr int kMaxError = 255;

  ErrorLimiter() {
    for (int e = -kMaxError; e <= kMaxError; ++e) table[std::size_t(e + kMaxError)] = LimitError(e);
  }
  // Indexable by -255..255.
  const int32_t* Center() const { return table.data() + kMaxError; }
  int operator()(int error) const { return Center()[error]; }

 private:
  std::array<int32_t, 2 * kMaxError + 1> table{};
};

}  // namespace quilla
