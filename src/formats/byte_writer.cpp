#include "formats/byte_writer.h"

#include <algorithm>
#include <cstring>

#include "formats/byte_reader.h"
#include "formats/codec_abort.h"
#include "formats/file_system.h"

namespace quilla {

ByteWriter::ByteWriter(std::FILE* stream) : file(stream) {
  if (!file) AbortCodec(AbortReason::WriteError);
  int64_t here = FileTell(file);
  int64_t length = FileLength(file);
  if (here < 0 || length < 0) AbortCodec(AbortReason::WriteError);
  position = uint64_t(here);
  size = uint64_t(length);
  buffer.reset(new uint8_t[kFileBlockBytes]);
}

bool ByteWriter::TryFlush() {
  if (held == 0) return true;
  bool ok = std::fwrite(buffer.get(), 1, held, file) == held;
  held = 0;
  return ok;
}

bool ByteWriter::TryWrite(const void* data, size_t n) {
  if (n == 0) return true;
  const auto* bytes = static_cast<const uint8_t*>(data);
  if (held + n > kFileBlockBytes) {
    if (!TryFlush()) return false;
    // Whole blocks go straight to the system.
    if (n >= kFileBlockBytes) {
      if (std::fwrite(bytes, 1, n, file) != n) return false;
      position += n;
      size = std::max(size, position);
      return true;
    }
  }
  std::memcpy(buffer.get() + held, bytes, n);
  held += n;
  position += n;
  size = std::max(size, position);
  return true;
}

bool ByteWriter::TrySeek(uint64_t offset) {
  if (offset == position) return true;
  if (!TryFlush() || !SeekFile(file, int64_t(offset))) return false;
  position = offset;
  return true;
}

void ByteWriter::Write(const void* data, size_t n) {
  if (!TryWrite(data, n)) AbortCodec(AbortReason::WriteError);
}

uint8_t* ByteWriter::Claim(size_t n) {
  if (n > kFileBlockBytes) AbortCodec(AbortReason::WriteError);
  if (held + n > kFileBlockBytes) Flush();
  uint8_t* room = buffer.get() + held;
  held += n;
  position += n;
  size = std::max(size, position);
  return room;
}

void ByteWriter::Flush() {
  if (!TryFlush()) AbortCodec(AbortReason::WriteError);
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
