// Writes through a stream in large blocks; a failed write throws CodecAbort WriteError
// ("Error writing"). What is still held goes out on Flush (the transfer flushes before it
// closes the file), never on destruction: a writer that failed leaves its file short.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

namespace quilla {

class ByteWriter {
 public:
  // Writes at the current position of an open stream it does not own.
  explicit ByteWriter(std::FILE* file);
  ByteWriter(const ByteWriter&) = delete;
  ByteWriter& operator=(const ByteWriter&) = delete;

  void Write(const void* data, size_t n);
  // Room for n bytes (at most one block) at the current position, to be filled by the
  // caller before the next call: rows are converted straight into the block.
  uint8_t* Claim(size_t n);
  void U16le(uint16_t value);
  void U32le(uint32_t value);
  void Flush();
  // Forgets what is not yet written (the file is given up).
  void Discard() { held = 0; }

  // Reporting forms for libraries that call back into the writer: false on failure.
  bool TryWrite(const void* data, size_t n);
  bool TryFlush();
  // Moves the write position; staying where it is costs nothing.
  bool TrySeek(uint64_t offset);
  uint64_t Tell() const { return position; }
  uint64_t Size() const { return size; }

 private:
  std::FILE* file;
  // One block, uninitialised: claimed room is filled by the caller, so clearing it first
  // would write every byte twice.
  std::unique_ptr<uint8_t[]> buffer;
  size_t held = 0;              // bytes at its start not yet handed to the system
  uint64_t position = 0;        // of the next byte written
  uint64_t size = 0;            // of the file as written so far
};

}  // namespace quilla
