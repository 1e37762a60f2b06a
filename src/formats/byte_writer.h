// Writes through a stream; a short write throws CodecAbort WriteError ("Error writing").
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace quilla {

class ByteWriter {
 public:
  explicit ByteWriter(std::FILE* file);
  void Write(const void* data, size_t n);
  void U16le(uint16_t value);
  void U32le(uint32_t value);

 private:
  std::FILE* file;
};

}  // namespace quilla
