// The variable-length-code LZW coder of GIF image data, and the tables it works in.
#pragma once
#include <cstdint>

namespace quilla {
class ByteReader;
class ByteWriter;
}  // namespace quilla

namespace quilla::gif {

inline constexpr int kMaxCodeBits = 12;
inline constexpr int kCodeLimit = 1 << kMaxCodeBits;  // 4096 codes
inline constexpr int kStringSlots = 16384;            // a power of two, four times the codes

// Decoder and encoder tables, one block owned by the process-wide coder.
struct CoderTables {
  uint16_t prefix[kCodeLimit];
  uint8_t suffix[kCodeLimit];
  uint8_t stack[kCodeLimit];
  uint16_t length[kCodeLimit];  // decoder: pixels of each code's string
  // The encoder's strings, open addressing: prefix code << 20 | last pixel << 12 | code,
  // 0 marking an empty slot (no string has a code below 258).
  uint32_t strings[kStringSlots];
};

// The tables of the process-wide coder, or nullptr before InitializeGifCoder.
CoderTables* Tables();

// The image row (0 = top) that the n-th row of an interlaced image of height rows holds.
int InterlacedRow(int n, int height);

// Messages of the codec.
inline constexpr const char kPrematureEof[] = "Premature EOF in GIF file";
inline constexpr const char kCorruptData[] = "Corrupt data in GIF file";

// Throws the codec's abort with its text.
[[noreturn]] void Fatal(const char* text);

// Decodes the image data that follows the minimum code size: sub-blocks ended by a zero
// count. Every code is checked: one past the next free table entry, or a pixel value past
// the colour table, is refused as corrupt data; the data ending before the image is
// complete, or a sub-block shorter than its count, is a premature end of file.
class LzwDecoder {
 public:
  explicit LzwDecoder(CoderTables& tables) : tables(tables) {}
  // colorLimit: pixel values must stay below it (the colour count of the file, <= 256).
  void Start(ByteReader& in, int inputCodeSize, int colorLimit);
  // The next width pixel values.
  void ReadRow(uint8_t* dst, int width);

 private:
  void ResetTable();
  int GetCode() {
    if (currentBit + codeSize > lastBit) [[unlikely]]
      return NextBlock();
    const uint8_t* p = buffer + (currentBit >> 3);
    uint32_t word = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    int code = int(word >> (currentBit & 7)) & ((1 << codeSize) - 1);
    currentBit += codeSize;
    return code;
  }
  // GetCode when the code is not all in the buffer: reads sub-blocks for it.
  int NextBlock();
  // After a clear: the first code, a literal.
  int FirstCodeAfterClear();
  // Enters the string of oldCode plus firstCode as the next table entry.
  void AddEntry();
  int ReadSubBlock(uint8_t* dst);
  [[noreturn]] void EndOfData();

  CoderTables& tables;
  ByteReader* in = nullptr;
  uint8_t buffer[2 + 255 + 3] = {};  // two carried bytes, one sub-block, slack for the 3-byte load
  int lastByte = 2, lastBit = 0, currentBit = 0;
  bool outOfBlocks = false, firstTime = true;
  int inputCodeSize = 0, clearCode = 0, endCode = 0, colorLimit = 0;
  int codeSize = 0, limitCode = 0, maxCode = 0;
  int firstCode = 0, oldCode = 0, sp = 0;
};

// Encodes pixel values into sub-blocks of at most 255 bytes, with an open-addressing hash
// table of the strings seen; the code size grows to 12 bits and a full table is cleared.
// Codes are packed into a staging buffer that goes out a run of whole sub-blocks at a time.
class LzwEncoder {
 public:
  explicit LzwEncoder(CoderTables& tables) : tables(tables) {}
  // initialBits = minimum code size + 1. Writes the clear code.
  void Start(ByteWriter& out, int initialBits);
  void CompressByte(uint8_t c) { CompressRow(&c, 1, 256); }
  // Values at or above limit (the colour table size) are written as 0, so that the data
  // never holds a literal past the table.
  void CompressRow(const uint8_t* pixels, int count, unsigned limit);
  // Writes the pending code, the end code and what remains buffered.
  void Finish();

 private:
  static constexpr int kBlockBytes = 255;
  static constexpr int kStagedBlocks = 16;
  // Pixels coded between looks at the staging buffer: at most 12 bits each.
  static constexpr int kBatch = 1024;
  static constexpr int kFlushAt = kBlockBytes * kStagedBlocks - (kBatch * kMaxCodeBits + 7) / 8 - 8;

  void Output(uint32_t code);
  void ClearBlock();
  // One pixel the slow way: near a change of code size or a clear.
  void Step(uint32_t c);
  // Pixels x .. end - 1 the fast way (none reaches a change of code size or a clear);
  // returns end. kAnyValue: no value is at or above limit.
  template <bool kAnyValue>
  int CompressRun(const uint8_t* pixels, int x, int end, unsigned limit);
  // Writes the whole sub-blocks staged; with last, the remainder as a shorter one too.
  void FlushBlocks(bool last);
  // The codes below fastLimit need no change of code size or clear when one is made.
  void SetFastLimit() { fastLimit = bits < kMaxCodeBits ? uint32_t(maxCode) : uint32_t(kCodeLimit - 1); }

  CoderTables& tables;
  ByteWriter* out = nullptr;
  int bits = 0, maxCode = 0, initialBits = 0, clearCode = 0, endCode = 0;
  uint32_t nextFree = 0, fastLimit = 0;
  bool firstByte = true;
  uint32_t waiting = 0;
  uint64_t accumulator = 0;  // fewer than 8 bits once the bytes are staged
  int accumulatorBits = 0;
  int staged = 0;
  uint8_t staging[kBlockBytes * kStagedBlocks + 8] = {};
  uint8_t blocks[(kBlockBytes + 1) * kStagedBlocks] = {};
};

}  // namespace quilla::gif
