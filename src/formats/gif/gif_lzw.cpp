#include "formats/gif/gif_lzw.h"

#include <algorithm>
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
  outOfBlocks = outOfCodes = false;
  std::memset(buffer, 0, sizeof buffer);
  lastByte = 2;
  lastBit = 0;
  currentBit = 0;
  firstCode = oldCode = 0;
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

int LzwDecoder::GetCode() {
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
  const uint8_t* p = buffer + (currentBit >> 3);
  uint32_t word = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
  int code = int(word >> (currentBit & 7)) & ((1 << codeSize) - 1);
  currentBit += codeSize;
  return code;
}

void LzwDecoder::EndOfData() {
  outOfCodes = true;
  if (!outOfBlocks) {
    uint8_t skipped[256];
    while (ReadSubBlock(skipped) != 0) {
    }
    outOfBlocks = true;
  }
  // Exactly width x height pixels are asked for, so the end code always comes too early.
  Fatal(kPrematureEof);
}

int LzwDecoder::DecodeCode() {
  int code;
  if (firstTime) {
    firstTime = false;
    code = clearCode;
  } else {
    code = GetCode();
  }
  if (code == clearCode) {
    ResetTable();
    do code = GetCode();
    while (code == clearCode);
    if (code == endCode) EndOfData();
    // Right after a clear only literals exist.
    if (code > endCode || code >= colorLimit) Fatal(kCorruptData);
    firstCode = oldCode = code;
    return code;
  }
  if (code == endCode) EndOfData();

  uint16_t* prefix = tables.prefix;
  uint8_t* suffix = tables.suffix;
  uint8_t* stack = tables.stack;
  int inCode = code;
  if (code >= maxCode) {
    // Only the entry about to be made may be named before it exists.
    if (code > maxCode) Fatal(kCorruptData);
    stack[sp++] = uint8_t(firstCode);
    code = oldCode;
  }
  // Every entry's prefix is an older code, so the walk ends within the table size.
  while (code >= clearCode) {
    if (sp >= kCodeLimit) Fatal(kCorruptData);
    stack[sp++] = suffix[code];
    code = prefix[code];
  }
  if (code >= colorLimit) Fatal(kCorruptData);
  firstCode = code;
  if (maxCode < kCodeLimit) {
    prefix[maxCode] = uint16_t(oldCode);
    suffix[maxCode] = uint8_t(firstCode);
    ++maxCode;
    if (maxCode >= limitCode && codeSize < kMaxCodeBits) {
      ++codeSize;
      limitCode *= 2;
    }
  }
  oldCode = inCode;
  return firstCode;
}

uint8_t LzwDecoder::ReadByte() {
  if (outOfCodes) return 0;
  if (sp > 0) return tables.stack[--sp];
  return uint8_t(DecodeCode());
}

void LzwDecoder::ReadRow(uint8_t* dst, int width) {
  const uint8_t* stack = tables.stack;
  int x = 0;
  while (x < width) {
    if (sp == 0) {
      dst[x++] = uint8_t(DecodeCode());
      continue;
    }
    int n = std::min(sp, width - x);
    for (int end = x + n; x < end;) dst[x++] = stack[--sp];
  }
}

// ---- encoder ----

void LzwEncoder::Start(ByteWriter& writer, int initial) {
  out = &writer;
  initialBits = bits = initial;
  maxCode = (1 << bits) - 1;
  clearCode = 1 << (initial - 1);
  endCode = clearCode + 1;
  nextFree = clearCode + 2;
  firstByte = true;
  waiting = 0;
  packetFill = 0;
  accumulator = 0;
  accumulatorBits = 0;
  std::memset(tables.hashCode, 0, sizeof tables.hashCode);
  Output(clearCode);
}

void LzwEncoder::FlushPacket() {
  packet[0] = uint8_t(packetFill);
  out->Write(packet, size_t(packetFill) + 1);
  packetFill = 0;
}

void LzwEncoder::Output(int code) {
  accumulator |= uint32_t(code) << accumulatorBits;
  accumulatorBits += bits;
  while (accumulatorBits >= 8) {
    packet[1 + packetFill++] = uint8_t(accumulator);
    if (packetFill == 255) FlushPacket();
    accumulator >>= 8;
    accumulatorBits -= 8;
  }
  if (nextFree > maxCode) {
    ++bits;
    maxCode = bits == kMaxCodeBits ? kCodeLimit : (1 << bits) - 1;
  }
}

void LzwEncoder::ClearBlock() {
  std::memset(tables.hashCode, 0, sizeof tables.hashCode);
  nextFree = clearCode + 2;
  Output(clearCode);
  bits = initialBits;
  maxCode = (1 << bits) - 1;
}

void LzwEncoder::CompressRow(const uint8_t* pixels, int count, unsigned limit) {
  int x = 0;
  if (count <= 0) return;
  if (firstByte) {
    waiting = pixels[0] < limit ? pixels[0] : 0;
    firstByte = false;
    x = 1;
  }
  uint16_t* hashCode = tables.hashCode;
  uint16_t* hashPrefix = tables.hashPrefix;
  uint8_t* hashSuffix = tables.hashSuffix;
  int w = waiting;
  for (; x < count; ++x) {
    int c = pixels[x];
    if (unsigned(c) >= limit) c = 0;
    int i = (c << 4) + w;
    if (i >= kHashSlots) i -= kHashSlots;
    if (hashCode[i] != 0) {
      if (hashPrefix[i] == w && hashSuffix[i] == c) {
        w = hashCode[i];
        continue;
      }
      // 5003 is prime, so this probe visits every slot; the table is never full.
      int d = i == 0 ? 1 : kHashSlots - i;
      bool found = false;
      for (;;) {
        i -= d;
        if (i < 0) i += kHashSlots;
        if (hashCode[i] == 0) break;
        if (hashPrefix[i] == w && hashSuffix[i] == c) {
          found = true;
          break;
        }
      }
      if (found) {
        w = hashCode[i];
        continue;
      }
    }
    Output(w);
    if (nextFree < kCodeLimit) {
      hashCode[i] = uint16_t(nextFree++);
      hashPrefix[i] = uint16_t(w);
      hashSuffix[i] = uint8_t(c);
    } else {
      ClearBlock();
    }
    w = c;
  }
  waiting = w;
}

void LzwEncoder::Finish() {
  if (!firstByte) Output(waiting);
  Output(endCode);
  if (accumulatorBits > 0) {
    packet[1 + packetFill++] = uint8_t(accumulator);
    if (packetFill == 255) FlushPacket();
    accumulator = 0;
    accumulatorBits = 0;
  }
  if (packetFill > 0) FlushPacket();
}

}  // namespace gif
}  // namespace quilla
