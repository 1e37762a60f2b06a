#include "formats/tiff/tiff_lzw.h"

#include <algorithm>
#include <cstring>

namespace quilla::tiff {

namespace {

constexpr int kMinBits = 9, kMaxBits = 12;
constexpr uint32_t kClear = 256, kEndOfInformation = 257, kFirstCode = 258;
constexpr uint32_t kCodeLimit = (1u << kMaxBits) - 2;  // the table is full at this free code
constexpr int64_t kCheckGap = 10000;                   // bytes between two ratio checks
constexpr uint32_t kSlotBits = 13, kSlotMask = (1u << kSlotBits) - 1;

uint32_t SlotOf(uint32_t key) { return (key * 0x9E3779B1u) >> (32 - kSlotBits); }

void StoreBigEndian64(uint8_t* p, uint64_t v) {
#if defined(__GNUC__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  v = __builtin_bswap64(v);
  std::memcpy(p, &v, 8);
#else
  for (int i = 7; i >= 0; --i, v >>= 8) p[i] = uint8_t(v);
#endif
}

}  // namespace

LzwEncoder::LzwEncoder() : slots(size_t(1) << kSlotBits), used(kCodeLimit) {}

const std::vector<uint8_t>& LzwEncoder::Encode(const uint8_t* data, size_t bytes) {
  // At most two codes a byte (one for the string, one clear), of at most 12 bits, four
  // more (the first clear, the last string, a clear and the end), and the 8 bytes each
  // code stores.
  out.resize(3 * bytes + 16);
  uint8_t* op = out.data();
  uint32_t* const table = slots.data();
  uint16_t* const usedSlots = used.data();
  size_t usedCount = 0;
  // Codes go out most significant bit first: `pending` holds `count` (< 8) bits not yet
  // stored in whole bytes; each code stores 8 bytes and moves on by the whole ones.
  uint64_t pending = 0;
  uint32_t count = 0;
  uint32_t bits = kMinBits, maxCode = (1u << kMinBits) - 1, freeCode = kFirstCode;
  uint32_t nextEvent = maxCode + 1;  // the free code at which the width or the table changes
  // The counts the library weighs its compression ratio by: bytes in, bits out.
  int64_t inCount = 0, outCount = 0, checkpoint = kCheckGap, ratio = 0;
  auto put = [&](uint32_t code, uint32_t width) {
    pending = pending << width | code;
    count += width;
    outCount += width;
    StoreBigEndian64(op, pending << (63 - count) << 1);
    op += count >> 3;
    count &= 7;
  };
  auto restart = [&] {
    for (size_t i = 0; i < usedCount; ++i) table[usedSlots[i]] = 0;
    usedCount = 0;
    ratio = 0;
    inCount = 0;
    outCount = 0;
    freeCode = kFirstCode;
    put(kClear, bits);  // at the width in force before the restart
    bits = kMinBits;
    maxCode = (1u << kMinBits) - 1;
  };
  if (bytes > 0) {
    put(kClear, bits);
    uint32_t prefix = data[0];
    inCount = 1;
    for (size_t i = 1; i < bytes; ++i) {
      const uint32_t c = data[i];
      ++inCount;
      const uint32_t key = prefix << 8 | c;
      uint32_t slot = SlotOf(key);
      uint32_t entry = table[slot];
      while (entry != 0 && entry >> 12 != key) {
        slot = (slot + 1) & kSlotMask;
        entry = table[slot];
      }
      // Without branches on whether the string was there: a miss (entry 0) puts out the
      // prefix, enters the string and starts again from the byte.
      const uint32_t miss = entry == 0, missMask = 0u - miss;
      const uint32_t width = bits & missMask;
      pending = pending << width | (prefix & missMask);
      count += width;
      outCount += width;
      StoreBigEndian64(op, pending << (63 - count) << 1);
      op += count >> 3;
      count &= 7;
      table[slot] = entry | ((key << 12 | freeCode) & missMask);
      usedSlots[usedCount] = uint16_t(slot);
      usedCount += miss;
      freeCode += miss;
      prefix = (entry & 0xFFF) | (c & missMask);
      if (miss & (uint32_t(freeCode >= nextEvent) | uint32_t(inCount >= checkpoint))) {
        if (freeCode == kCodeLimit) {
          restart();
        } else if (freeCode > maxCode) {
          ++bits;
          maxCode = (1u << bits) - 1;
        } else {
          // Compression that has stopped improving starts over with an empty table.
          checkpoint = inCount + kCheckGap;
          int64_t now;
          if (inCount > 0x007FFFFF) {
            now = outCount >> 8;
            now = now == 0 ? 0x7FFFFFFF : inCount / now;
          } else {
            now = (inCount << 8) / outCount;
          }
          if (now <= ratio) restart();
          else ratio = now;
        }
        nextEvent = std::min(maxCode + 1, kCodeLimit);
      }
    }
    // The last string, and the width its entry would have needed.
    put(prefix, bits);
    if (freeCode + 1 == kCodeLimit) {
      put(kClear, bits);
      bits = kMinBits;
    } else if (freeCode + 1 > maxCode) {
      ++bits;
    }
  }
  put(kEndOfInformation, bits);
  if (count > 0) *op++ = uint8_t(pending << (8 - count));
  for (size_t i = 0; i < usedCount; ++i) table[usedSlots[i]] = 0;
  out.resize(size_t(op - out.data()));
  return out;
}

namespace {

// The bytes the 256 single-byte codes stand for, with room for a 16-byte read past each.
struct Literals {
  uint8_t bytes[256 + 16];
  Literals() {
    for (int i = 0; i < 256; ++i) bytes[i] = uint8_t(i);
    std::memset(bytes + 256, 0, 16);
  }
};
const Literals literals;

uint64_t LoadBigEndian64(const uint8_t* p) {
#if defined(__GNUC__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  uint64_t v;
  std::memcpy(&v, p, 8);
  return __builtin_bswap64(v);
#else
  uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v = v << 8 | p[i];
  return v;
#endif
}

}  // namespace

bool LzwDecode(const uint8_t* in, size_t inBytes, uint8_t* out, size_t outBytes) {
  // Every string is somewhere in the output already (or is a literal): a code is its start
  // and length, and a new entry is the previous string with the byte that follows it.
  const uint8_t* start[1u << kMaxBits];
  uint16_t length[1u << kMaxBits];
  for (uint32_t i = 0; i < 256; ++i) start[i] = literals.bytes + i, length[i] = 1;
  const uint64_t totalBits = uint64_t(inBytes) * 8;
  uint64_t at = 0;  // bit position of the next code
  uint8_t* to = out;
  uint8_t* const end = out + outBytes;
  int bits = kMinBits;
  uint32_t freeCode = 0;  // nothing is defined before the first clear code
  const uint8_t* previous = nullptr;
  uint32_t previousLength = 0;
  auto next = [&](uint32_t& code) {
    if (at + uint64_t(bits) > totalBits) return false;  // the data ends inside the strip
    code = uint32_t((LoadBigEndian64(in + (at >> 3)) << (at & 7)) >> (64 - bits));
    at += uint64_t(bits);
    return true;
  };
  while (to < end) {
    uint32_t code;
    if (!next(code)) return false;
    if (code >= freeCode || code - kClear < 2) {
      if (code == kClear) {
        bits = kMinBits;
        freeCode = kFirstCode;
        do {
          if (!next(code)) return false;
        } while (code == kClear);
        if (code > 0xFF) return false;  // the end, or a code not yet defined
        previous = to;
        previousLength = 1;
        *to++ = uint8_t(code);
        continue;
      }
      // The end before the strip is full, a code not yet defined (the string of the code
      // being defined is the previous one and its first byte), or a table that would
      // grow past 12 bits.
      if (code != freeCode || !previous || freeCode >= (1u << kMaxBits)) return false;
    } else if (freeCode >= (1u << kMaxBits)) {
      return false;
    }
    start[freeCode] = previous;
    length[freeCode] = uint16_t(previousLength + 1);
    if (++freeCode == (1u << bits) - 1 && bits < kMaxBits) ++bits;
    const uint8_t* from = start[code];
    uint32_t count = length[code];
    previous = to;
    previousLength = count;
    if (count > size_t(end - to)) {
      // The last string of the strip: only what fits, as the library does.
      count = uint32_t(end - to);
      for (uint32_t i = 0; i < count; ++i) to[i] = from[i];
      return true;
    }
    if (uintptr_t(to) - uintptr_t(from) >= 16) {
      // 16 bytes at a time: a literal, or a string far enough behind
      for (uint32_t i = 0; i < count; i += 16) std::memcpy(to + i, from + i, 16);
    } else {
      for (uint32_t i = 0; i < count; ++i) to[i] = from[i];  // the string repeats itself
    }
    to += count;
  }
  return true;
}

}  // namespace quilla::tiff
