#include "formats/packed_rows.h"

#include <cstring>

#include "core/processor_features.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define QUILLA_SSSE3_SWAP 1
#endif

namespace quilla {

void UnpackRow(const uint8_t* packed, int width, int depth, uint8_t* out) {
  int x = 0;
  if (depth == 1) {
    for (; x + 8 <= width; x += 8) {
      uint32_t b = packed[x >> 3];
      out[x] = uint8_t(b >> 7), out[x + 1] = uint8_t(b >> 6 & 1), out[x + 2] = uint8_t(b >> 5 & 1),
      out[x + 3] = uint8_t(b >> 4 & 1), out[x + 4] = uint8_t(b >> 3 & 1), out[x + 5] = uint8_t(b >> 2 & 1),
      out[x + 6] = uint8_t(b >> 1 & 1), out[x + 7] = uint8_t(b & 1);
    }
    for (; x < width; ++x) out[x] = uint8_t(packed[x >> 3] >> (7 - (x & 7)) & 1);
  } else if (depth == 4) {
    for (; x + 2 <= width; x += 2) {
      uint32_t b = packed[x >> 1];
      out[x] = uint8_t(b >> 4), out[x + 1] = uint8_t(b & 15);
    }
    if (x < width) out[x] = uint8_t(packed[x >> 1] >> 4);
  } else {
    std::memcpy(out, packed, size_t(width));
  }
}

void PackRow(const uint8_t* indices, int width, int depth, uint8_t* out, size_t outBytes) {
  const size_t used = depth == 1 ? (size_t(width) + 7) / 8 : depth == 4 ? (size_t(width) + 1) / 2 : size_t(width);
  int x = 0;
  if (depth == 1) {
    for (; x + 8 <= width; x += 8)
      out[x >> 3] = uint8_t((indices[x] & 1) << 7 | (indices[x + 1] & 1) << 6 | (indices[x + 2] & 1) << 5 |
                            (indices[x + 3] & 1) << 4 | (indices[x + 4] & 1) << 3 | (indices[x + 5] & 1) << 2 |
                            (indices[x + 6] & 1) << 1 | (indices[x + 7] & 1));
    if (x < width) {
      uint8_t last = 0;
      for (int k = 0; x + k < width; ++k) last |= uint8_t((indices[x + k] & 1) << (7 - k));
      out[x >> 3] = last;
    }
  } else if (depth == 4) {
    for (; x + 2 <= width; x += 2) out[x >> 1] = uint8_t((indices[x] & 15) << 4 | (indices[x + 1] & 15));
    if (x < width) out[x >> 1] = uint8_t((indices[x] & 15) << 4);
  } else {
    std::memcpy(out, indices, size_t(width));
  }
  if (outBytes > used) std::memset(out + used, 0, outBytes - used);
}

void LoadColorTable(const uint8_t* entries, uint32_t count, uint32_t entryBytes, EntryOrder order, RgbQuad* out) {
  const bool bgr = order == EntryOrder::BlueGreenRed;
  for (uint32_t i = 0; i < count; ++i, entries += entryBytes) {
    uint8_t first = entries[0], second = entries[1], third = entries[2];
    out[i] = {bgr ? first : third, second, bgr ? third : first, entryBytes == 4 ? entries[3] : uint8_t(0)};
  }
}

namespace {

void SwapPlain(const uint8_t* in, size_t pixels, uint8_t* out) {
  for (size_t x = 0; x < pixels; ++x, in += 3, out += 3) {
    uint8_t first = in[0];
    out[0] = in[2];
    out[1] = in[1];
    out[2] = first;
  }
}

#if defined(QUILLA_SSSE3_SWAP)
// Four pixels a step: sixteen bytes in, the first twelve swapped, sixteen out; the last four
// go out unchanged and are written again by the next step, so a step needs sixteen bytes on
// both sides. Each step's load comes before the previous store: in place, a load of bytes
// just stored would wait for the store to finish.
__attribute__((target("ssse3"))) void SwapSsse3(const uint8_t* in, size_t pixels, uint8_t* out) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 12, 13, 14, 15);
  size_t x = 0;
  // 6 pixels (18 bytes) keep a step's 16-byte load and store inside the row.
  if (pixels >= 6) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    for (; x + 10 <= pixels; x += 4) {
      __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 3 * (x + 4)));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x), _mm_shuffle_epi8(v, order));
      v = next;
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x), _mm_shuffle_epi8(v, order));
    x += 4;
  }
  SwapPlain(in + 3 * x, pixels - x, out + 3 * x);
}
#endif

}  // namespace

void SwapRedBlue(const uint8_t* in, size_t pixels, uint8_t* out) {
#if defined(QUILLA_SSSE3_SWAP)
  if (ProcessorHasSsse3()) return SwapSsse3(in, pixels, out);
#endif
  SwapPlain(in, pixels, out);
}

}  // namespace quilla
