#include "formats/pcx/pcx_rle.h"

#include <algorithm>
#include <cstring>

#include "formats/byte_reader.h"
#include "formats/codec_abort.h"

namespace quilla::pcx {

void LineDecoder::Refill() {
  next = 0;
  end = in.ReadSome(chunk, sizeof chunk);
  taken += end;
  if (end == 0) AbortCodec(AbortReason::ShortRead);
}

void LineDecoder::Decode(uint8_t* out, size_t n) {
  size_t i = 0;
  while (i < n) {
    if (runCount != 0) {
      size_t take = std::min<size_t>(runCount, n - i);
      std::memset(out + i, runByte, take);
      i += take;
      runCount -= uint32_t(take);
      continue;
    }
    if (next == end) Refill();
    // Literal bytes straight from the chunk until a count byte or the line end.
    size_t stop = std::min(end, next + (n - i));
    while (next < stop && chunk[next] < 0xC0) out[i++] = chunk[next++];
    if (next == stop) continue;
    runCount = chunk[next++] & 0x3Fu;
    if (next == end) Refill();
    runByte = chunk[next++];
  }
}

size_t EncodeLine(const uint8_t* line, size_t n, uint8_t* out) {
  uint8_t* o = out;
  size_t i = 0;
  while (i < n) {
    const uint8_t value = line[i];
    const size_t limit = std::min(n, i + kMaxRun);
    size_t j = i + 1;
    while (j < limit && line[j] == value) ++j;
    const size_t run = j - i;
    if (run > 1 || value >= 0xC0) *o++ = uint8_t(0xC0 | run);
    *o++ = value;
    i = j;
  }
  return size_t(o - out);
}

}  // namespace quilla::pcx
