#include "formats/tiff/tiff_rows.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define QUILLA_TIFF_SSSE3 1
#endif

namespace quilla::tiff {

namespace {

void SwapPlain(const uint8_t* src, uint8_t* dst, size_t pixels) {
  for (size_t i = 0; i < pixels; ++i, src += 3, dst += 3) {
    uint8_t first = src[0], second = src[1], third = src[2];
    dst[0] = third;
    dst[1] = second;
    dst[2] = first;
  }
}

#if defined(QUILLA_TIFF_SSSE3)
// Four pixels a step: sixteen bytes in, the first twelve swapped, sixteen out; the last four
// are written again by the next step, so a step needs sixteen bytes on both sides.
__attribute__((target("ssse3"))) void SwapSsse3(const uint8_t* src, uint8_t* dst, size_t pixels) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 12, 13, 14, 15);
  size_t i = 0;
  // 6 pixels (18 bytes) keep the 16-byte load and store of the last step inside the row.
  for (; i + 6 <= pixels; i += 4) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 3 * i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 3 * i), _mm_shuffle_epi8(v, order));
  }
  SwapPlain(src + 3 * i, dst + 3 * i, pixels - i);
}

#endif

using SwapFunction = void (*)(const uint8_t*, uint8_t*, size_t);

// Chosen once, on first use, for the processor the program runs on.
SwapFunction Swap() {
#if defined(QUILLA_TIFF_SSSE3)
  static const SwapFunction chosen = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("ssse3") ? SwapSsse3 : SwapPlain;
  }();
  return chosen;
#else
  return SwapPlain;
#endif
}

}  // namespace

void SwapRedBlue(const uint8_t* src, uint8_t* dst, size_t pixels) { Swap()(src, dst, pixels); }

void TakeBlueGreenRed(const uint8_t* src, uint8_t* dst, size_t pixels, uint32_t samples) {
  if (samples == 3) return Swap()(src, dst, pixels);
  for (size_t i = 0; i < pixels; ++i, src += samples, dst += 3) {
    dst[0] = src[2];
    dst[1] = src[1];
    dst[2] = src[0];
  }
}

}  // namespace quilla::tiff
