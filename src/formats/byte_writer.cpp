#include "formats/byte_writer.h"

#include "formats/codec_abort.h"

namespace quilla {

ByteWriter::ByteWriter(std::FILE* stream) : file(stream) {
  if (!file) AbortCodec(AbortReason::WriteError);
}

void ByteWriter::Write(const void* data, size_t n) {
  if (n != 0 && std::fwrite(data, 1, n, file) != n) AbortCodec(AbortReason::WriteError);
}

void ByteWriter::U16le(uint16_t value) {
  uint8_t b[2] = {uint8_t(value), uint8_t(value >> 8)};
  Write(b, 2);
}

void ByteWriter::U32le(uint32_t value) {
  uint8_t b[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
  Write(b, 4);
}

}  // namespace quilla
