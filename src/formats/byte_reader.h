// The one way codecs read untrusted bytes: a reader bounded by the length of the file that
// goes to the system in large blocks. Reading or seeking past the end is a failure of its
// own (CodecAbort ShortRead, "Short file: %s" at the codec's entry), never a silent zero.
// Seeking back into the block held costs nothing, so the probes can each look at the head
// of the file from one read.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace quilla {

// Blocks of this size go to and from the system.
inline constexpr size_t kFileBlockBytes = size_t(256) << 10;

class ByteReader {
 public:
  // Reads from the current position of an open stream it does not own.
  explicit ByteReader(std::FILE* file);
  ByteReader(const ByteReader&) = delete;
  ByteReader& operator=(const ByteReader&) = delete;

  // Exactly n bytes, or a short read.
  void Read(void* out, size_t n);
  // Up to n bytes; returns how many there were (for readers that accept a partial file).
  size_t ReadSome(void* out, size_t n);
  // The next n bytes (at most one block) where the reader holds them, valid until its next
  // call: rows are converted straight out of the block. nullptr, with nothing taken, when
  // the file ends first or n is larger than a block.
  const uint8_t* Borrow(size_t n);
  uint8_t Byte();
  uint16_t U16le();
  uint32_t U32le();
  uint16_t U16be();
  uint32_t U32be();
  void Skip(uint64_t n);
  void Seek(uint64_t offset);
  // Seek that reports instead of throwing, for libraries that call back into the reader.
  bool TrySeek(uint64_t offset);

  uint64_t Tell() const { return position; }
  uint64_t Size() const { return size; }
  uint64_t Remaining() const { return size - position; }
  // A short read unless n more bytes are there; checked before allocating for them.
  void Require(uint64_t n) const;

 private:
  size_t Fill();

  std::FILE* file;
  uint64_t size = 0;
  uint64_t position = 0;  // of the next byte handed out
  size_t next = 0, end = 0;
  std::vector<uint8_t> buffer;
};

// Little-endian loads from bytes already read.
inline uint16_t LoadU16le(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t LoadU32le(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace quilla
