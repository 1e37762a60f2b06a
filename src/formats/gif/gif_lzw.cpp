#include "formats/gif/gif_lzw.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <new>

#include "formats/byte_reader.h"
#include "formats/byte_writer.h"
#include "formats/codec_abort.h"
#include "formats/gif/gif_codec.h"

namespace quilla {

namespace {
// The one owner of the coder tables; a null pointer until start-up allocates them.
std::unique_ptr<gif::CoderTables> coderTables;
}  // namespace

int InitializeGifCoder() {
  if (coderTables) return 1;
  coderTables.reset(new (std::nothrow) gif::CoderTables{});
  return coderTables ? 1 : 0;
}

void ReleaseGifCoder() { coderTables.reset(); }

bool GifCoderReady() { return coderTables != nullptr; }

namespace gif {

CoderTables* Tables() { return coderTables.get(); }

int InterlacedRow(int n, int height) {
  int p2 = (height + 7) / 8;
  int p3 = p2 + (height + 3) / 8;
  int p4 = p3 + (height + 1) / 4;
  if (n < p2) return 8 * n;
  if (n < p3) return 8 * (n - p2) + 4;
  if (n < p4) return 4 * (n - p3) + 2;
  return 2 * (n - p4) + 1;
}

void Fatal(const char* text) { throw CodecAbort{AbortReason::Message, text}; }

// ---- decoder ----

void LzwDecoder::Start(ByteReader& reader, int codeSizeIn, int limit) {
  in = &reader;
  inputCodeSize = codeSizeIn;
  clearCode = 1 << codeSizeIn;
  endCode = clearCode + 1;
  colorLimit = limit;
  firstTime = true;
  outOfBlocks = false;
  std::memset(buffer, 0, sizeof buffer);
  lastByte = 2;
  lastBit = 0;
  currentBit = 0;
  firstCode = oldCode = 0;
  // Literals are strings of one pixel; table entries get their lengths as they are made.
  for (int i = 0; i < clearCode; ++i) tables.length[i] = 1;
  ResetTable();
}

void LzwDecoder::ResetTable() {
  codeSize = inputCodeSize + 1;
  limitCode = clearCode * 2;
  maxCode = clearCode + 2;
  sp = 0;
}

int LzwDecoder::ReadSubBlock(uint8_t* dst) {
  if (in->Remaining() < 1) Fatal(kPrematureEof);
  int count = in->Byte();
  if (count == 0) return 0;
  if (in->Remaining() < uint64_t(count)) Fatal(kPrematureEof);
  in->Read(dst, size_t(count));
  return count;
}

int LzwDecoder::NextBlock() {
  // Fewer than 16 bits are ever left unread when a code does not fit, so carrying the
  // last two bytes keeps them; a short sub-block may need another one behind it.
  while (currentBit + codeSize > lastBit) {
    if (outOfBlocks) return endCode;
    buffer[0] = buffer[lastByte - 2];
    buffer[1] = buffer[lastByte - 1];
    int count = ReadSubBlock(buffer + 2);
    if (count == 0) {
      outOfBlocks = true;
      return endCode;
    }
    currentBit = currentBit - lastBit + 16;
    lastByte = 2 + count;
    lastBit = lastByte * 8;
  }
  return GetCode();
}

void LzwDecoder::EndOfData() {
  if (!outOfBlocks) {
    uint8_t skipped[256];
    while (ReadSubBlock(skipped) != 0) {
    }
    outOfBlocks = true;
  }
  // Exactly width x height pixels are asked for, so the end code always comes too early.
  Fatal(kPrematureEof);
}

int LzwDecoder::FirstCodeAfterClear() {
  ResetTable();
  int code;
  do code = GetCode();
  while (code == clearCode);
  if (code == endCode) EndOfData();
  // Right after a clear only literals exist.
  if (code > endCode || code >= colorLimit) Fatal(kCorruptData);
  firstCode = oldCode = code;
  return code;
}

void LzwDecoder::AddEntry() {
  if (maxCode < kCodeLimit) {
    tables.prefix[maxCode] = uint16_t(oldCode);
    tables.suffix[maxCode] = uint8_t(firstCode);
    tables.length[maxCode] = uint16_t(tables.length[oldCode] + 1);
    ++maxCode;
    if (maxCode >= limitCode && codeSize < kMaxCodeBits) {
      ++codeSize;
      limitCode *= 2;
    }
  }
}

// A string that fits in the row is written into it from its end backwards; the rest of a
// longer one waits on the stack, last pixel first, for the next row.
void LzwDecoder::ReadRow(uint8_t* dst, int width) {
  const uint16_t* prefix = tables.prefix;
  const uint8_t* suffix = tables.suffix;
  const uint16_t* length = tables.length;
  uint8_t* stack = tables.stack;
  int x = 0;
  while (x < width) {
    if (sp > 0) {
      int n = std::min(sp, width - x);
      for (int end = x + n; x < end;) dst[x++] = stack[--sp];
      continue;
    }
    int code;
    if (firstTime) {
      firstTime = false;
      code = clearCode;
    } else {
      code = GetCode();
    }
    if (code == clearCode) {
      dst[x++] = uint8_t(FirstCodeAfterClear());
      continue;
    }
    if (code == endCode) EndOfData();
    const int inCode = code;
    int extra = -1;  // the pixel a string named before its entry exists ends with
    if (code >= maxCode) {
      if (code > maxCode) Fatal(kCorruptData);
      extra = firstCode;
      code = oldCode;
    }
    // Entries only hold checked literals, so only a literal named itself can be past the
    // colour table; it is refused before any pixel of it is written.
    if (code < clearCode && code >= colorLimit) Fatal(kCorruptData);
    const int pixels = length[code] + (extra >= 0);
    if (pixels <= width - x) {
      uint8_t* p = dst + x + pixels - 1;
      if (extra >= 0) *p-- = uint8_t(extra);
      while (code >= clearCode) {
        *p-- = suffix[code];
        code = prefix[code];
      }
      *p = uint8_t(code);
      x += pixels;
    } else {
      if (extra >= 0) stack[sp++] = uint8_t(extra);
      while (code >= clearCode) {
        stack[sp++] = suffix[code];
        code = prefix[code];
      }
      dst[x++] = uint8_t(code);
    }
    firstCode = code;
    AddEntry();
    oldCode = inCode;
  }
}

// ---- encoder ----

namespace {
constexpr uint32_t kSlotMask = kStringSlots - 1;
constexpr uint32_t kCodeMask = kCodeLimit - 1;
// Where a search goes on from a taken slot: odd, so every slot is reached, and far, so
// that strings of neighbouring codes, which start in neighbouring slots, do not pile up.
constexpr uint32_t kProbeStep = 0x2A7;
// The slot a string's search starts at: the prefix code crossed with a fixed scatter of the
// pixel value, one operation on the path from one code to the next. Distinct pixels after
// one prefix, or distinct prefixes before one pixel, start apart.
constexpr std::array<uint16_t, 256> kPixelScatter = [] {
  std::array<uint16_t, 256> scatter{};
  uint32_t z = 12345;
  for (auto& s : scatter) {
    z = z * 1664525u + 1013904223u;
    s = uint16_t((z >> 10) & kSlotMask);
  }
  return scatter;
}();
inline uint32_t FirstSlot(uint32_t prefix, uint32_t c) { return prefix ^ kPixelScatter[c]; }
// The prefix the next pixel extends: the known string's code, or the pixel itself after a
// new string. Two steps on x86 (a test and a conditional move, which the compiler would
// make a branch), the masks elsewhere.
inline uint32_t NextPrefix(uint32_t e, uint32_t c) {
  uint32_t w = e & kCodeMask;
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
  asm("test %[e], %[e]\n\tcmovz %[c], %[w]" : [w] "+r"(w) : [e] "r"(e), [c] "r"(c) : "cc");
#else
  w |= c & (uint32_t(e != 0) - 1u);
#endif
  return w;
}

// Stages the low bytes of the bit accumulator (the staging buffer has room past its end).
inline void StoreBits(uint8_t* at, uint64_t bits) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(at, &bits, sizeof bits);
  } else {
    at[0] = uint8_t(bits), at[1] = uint8_t(bits >> 8), at[2] = uint8_t(bits >> 16);
  }
}
// The value as the compiler cannot see through, so that what follows from it is worked out
// with masks rather than with a branch that a string new or known in turn would defeat.
inline uint32_t Opaque(uint32_t v) {
#if defined(__GNUC__)
  asm("" : "+r"(v));
#endif
  return v;
}
}  // namespace

void LzwEncoder::Start(ByteWriter& writer, int initial) {
  out = &writer;
  initialBits = bits = initial;
  maxCode = (1 << bits) - 1;
  clearCode = 1 << (initial - 1);
  endCode = clearCode + 1;
  nextFree = uint32_t(clearCode + 2);
  firstByte = true;
  waiting = 0;
  staged = 0;
  accumulator = 0;
  accumulatorBits = 0;
  std::memset(tables.strings, 0, sizeof tables.strings);
  Output(uint32_t(clearCode));
  SetFastLimit();
}

void LzwEncoder::FlushBlocks(bool last) {
  const int whole = staged / kBlockBytes;
  int rest = staged - whole * kBlockBytes;
  uint8_t* b = blocks;
  for (int i = 0; i < whole; ++i, b += kBlockBytes + 1) {
    b[0] = uint8_t(kBlockBytes);
    std::memcpy(b + 1, staging + i * kBlockBytes, kBlockBytes);
  }
  if (last && rest > 0) {
    b[0] = uint8_t(rest);
    std::memcpy(b + 1, staging + whole * kBlockBytes, size_t(rest));
    b += rest + 1;
    rest = 0;
  }
  if (b != blocks) out->Write(blocks, size_t(b - blocks));
  std::memmove(staging, staging + (staged - rest), size_t(rest));
  staged = rest;
}

void LzwEncoder::Output(uint32_t code) {
  accumulator |= uint64_t(code) << accumulatorBits;
  accumulatorBits += bits;
  while (accumulatorBits >= 8) {
    staging[staged++] = uint8_t(accumulator);
    accumulator >>= 8;
    accumulatorBits -= 8;
  }
  if (staged >= kBlockBytes * kStagedBlocks) FlushBlocks(false);
  if (int(nextFree) > maxCode) {
    ++bits;
    maxCode = bits == kMaxCodeBits ? kCodeLimit : (1 << bits) - 1;
  }
}

void LzwEncoder::ClearBlock() {
  std::memset(tables.strings, 0, sizeof tables.strings);
  nextFree = uint32_t(clearCode + 2);
  Output(uint32_t(clearCode));
  bits = initialBits;
  maxCode = (1 << bits) - 1;
}

void LzwEncoder::Step(uint32_t c) {
  uint32_t* strings = tables.strings;
  const uint32_t w = waiting, key = w << 20 | c << 12;
  uint32_t slot = FirstSlot(w, c), e;
  while ((e = strings[slot]) != 0) {
    if ((e ^ key) <= kCodeMask) {
      waiting = e & kCodeMask;
      return;
    }
    slot = (slot + kProbeStep) & kSlotMask;
  }
  Output(w);
  if (nextFree < uint32_t(kCodeLimit))
    strings[slot] = key | nextFree++;
  else
    ClearBlock();
  waiting = c;
  SetFastLimit();
}

template <bool kAnyValue>
int LzwEncoder::CompressRun(const uint8_t* pixels, int x, int end, unsigned limit) {
  uint32_t* strings = tables.strings;
  uint32_t w = waiting;
  uint64_t acc = accumulator;
  uint32_t accBits = uint32_t(accumulatorBits);
  uint8_t* stage = staging + staged;
  const uint32_t width = uint32_t(bits);
  uint32_t next = nextFree;
  for (; x < end; ++x) {
    uint32_t c = pixels[x];
    if (!kAnyValue && c >= limit) c = 0;
    const uint32_t key = w << 20 | c << 12;
    uint32_t slot = FirstSlot(w, c);
    uint32_t e = strings[slot];
    uint32_t known = Opaque(uint32_t(e != 0));
    if ((uint32_t((e ^ key) > kCodeMask) & known) != 0) [[unlikely]] {
      do {
        slot = (slot + kProbeStep) & kSlotMask;
        e = strings[slot];
      } while (e != 0 && (e ^ key) > kCodeMask);
      known = Opaque(uint32_t(e != 0));
    }
    // e is the string's entry, or 0 when it is new.
    const uint32_t missMask = known - 1u;
    acc |= uint64_t(w & missMask) << accBits;
    accBits += width & missMask;
    strings[slot] = e | ((key | next) & missMask);
    next -= missMask;
    w = NextPrefix(e, c);
    StoreBits(stage, acc);
    stage += accBits >> 3;
    acc >>= accBits & ~7u;
    accBits &= 7;
  }
  waiting = w;
  accumulator = acc;
  accumulatorBits = int(accBits);
  staged = int(stage - staging);
  nextFree = next;
  return x;
}

void LzwEncoder::CompressRow(const uint8_t* pixels, int count, unsigned limit) {
  int x = 0;
  if (count <= 0) return;
  if (firstByte) {
    waiting = pixels[0] < limit ? pixels[0] : 0;
    firstByte = false;
    x = 1;
  }
  while (x < count) {
    // Near a change of code size or a clear: a pixel at a time, until the next code.
    if (nextFree > fastLimit) {
      const uint32_t c = pixels[x++];
      Step(c < limit ? c : 0);
      continue;
    }
    if (staged > kFlushAt) FlushBlocks(false);
    // Away from one, a run of pixels that cannot reach it (each makes one code at most) is
    // coded without a branch on whether a string is known: the code goes out, or not, by
    // masks.
    const int n = int(std::min<uint32_t>({uint32_t(count - x), uint32_t(kBatch), fastLimit + 1 - nextFree}));
    x = limit >= 256 ? CompressRun<true>(pixels, x, x + n, limit) : CompressRun<false>(pixels, x, x + n, limit);
  }
}

void LzwEncoder::Finish() {
  if (!firstByte) Output(waiting);
  Output(uint32_t(endCode));
  if (accumulatorBits > 0) {
    staging[staged++] = uint8_t(accumulator);
    accumulator = 0;
    accumulatorBits = 0;
  }
  FlushBlocks(true);
}

}  // namespace gif
}  // namespace quilla
