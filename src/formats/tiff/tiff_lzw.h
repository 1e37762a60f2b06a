// TIFF's LZW for a whole strip at a time. The encoder writes, code for code and byte for
// byte, what libtiff's encoder (tif_lzw.c) writes for the same strip, so files stay as they
// were; it only looks strings up faster. The decoder fills a strip exactly as libtiff's
// decoder does for a stream libtiff decodes without a word, and says so; for any other
// stream it gives up, and the caller hands the strip to libtiff.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quilla::tiff {

class LzwEncoder {
 public:
  LzwEncoder();
  // The encoded form of `bytes` bytes from `data` as one strip: a clear code first, the
  // end-of-information code last, the last byte padded with zero bits.
  const std::vector<uint8_t>& Encode(const uint8_t* data, size_t bytes);

 private:
  // Open addressing over (prefix code << 8 | byte) << 12 | code; 0 is a free slot. At most
  // 3836 entries in 8192 slots (32 KB, in the first-level cache); only the slots used are
  // cleared when the table starts over.
  std::vector<uint32_t> slots;
  std::vector<uint16_t> used;
  std::vector<uint8_t> out;
};

// Bytes past the end that LzwDecode may read from `in` and write to `out`.
inline constexpr size_t kLzwInputSlack = 8, kLzwOutputSlack = 16;

// Decodes the strip of `inBytes` bytes at `in` into exactly `outBytes` bytes at `out`;
// false (out partly written) when the stream is not one libtiff would decode into all of
// them silently: it must start with a clear code, use no code before it is defined, and
// hold all the bytes before its end-of-information code or its end.
bool LzwDecode(const uint8_t* in, size_t inBytes, uint8_t* out, size_t outBytes);

}  // namespace quilla::tiff
