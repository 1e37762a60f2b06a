// The run-length code of PCX scan lines: a byte 0xC0..0xFF is a count (its low six bits)
// for the byte after it, any other byte stands for itself.
#pragma once
#include <cstddef>
#include <cstdint>

namespace quilla {

class ByteReader;

namespace pcx {

inline constexpr size_t kMaxRun = 63;

// Decodes scan lines from a reader. A run left over at the end of one line carries on at
// the start of the next, as some writers produce it.
class LineDecoder {
 public:
  explicit LineDecoder(ByteReader& in) : in(in) {}
  LineDecoder(const LineDecoder&) = delete;
  LineDecoder& operator=(const LineDecoder&) = delete;

  // Fills out with n decoded bytes; running out of file aborts with a short read.
  void Decode(uint8_t* out, size_t n);
  // Bytes of the file taken so far, counted from where the reader stood at the start.
  uint64_t Consumed() const { return taken - (end - next); }
  uint32_t PendingRun() const { return runCount; }

 private:
  void Refill();

  ByteReader& in;
  size_t next = 0, end = 0;
  uint64_t taken = 0;
  uint32_t runCount = 0;
  uint8_t runByte = 0;
  uint8_t chunk[32768];
};

// Encodes one scan line into out (room for 2 n bytes); runs stop at the line end and at 63
// bytes, and a single byte of 0xC0 or more is written as a run of one. Returns the length.
size_t EncodeLine(const uint8_t* line, size_t n, uint8_t* out);

// The fewest encoded bytes that can hold n decoded bytes: two per run of 63, and a last
// single byte stands for itself (2 n / 63, rounded up, is never more than that).
inline uint64_t MinimumEncodedBytes(uint64_t n) { return (2 * n + kMaxRun - 1) / kMaxRun; }

}  // namespace pcx
}  // namespace quilla
