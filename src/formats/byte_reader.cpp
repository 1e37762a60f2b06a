#include "formats/byte_reader.h"

#include <algorithm>
#include <cstring>

#include "formats/codec_abort.h"
#include "formats/file_system.h"

namespace quilla {

ByteReader::ByteReader(std::FILE* stream) : file(stream), buffer(kFileBlockBytes) {
  if (!file) AbortCodec(AbortReason::ShortRead);
  int64_t length = FileLength(file);
  int64_t here = FileTell(file);
  if (length < 0 || here < 0) AbortCodec(AbortReason::ShortRead);
  size = uint64_t(length);
  position = std::min(uint64_t(here), size);
}

size_t ByteReader::Fill() {
  next = 0;
  end = std::fread(buffer.data(), 1, buffer.size(), file);
  return end;
}

size_t ByteReader::ReadSome(void* out, size_t n) {
  auto* dst = static_cast<uint8_t*>(out);
  size_t done = 0;
  while (done < n) {
    if (next == end) {
      // Large reads go straight to the destination.
      if (n - done >= buffer.size()) {
        next = end = 0;
        size_t got = std::fread(dst + done, 1, n - done, file);
        done += got;
        position += got;
        break;
      }
      if (Fill() == 0) break;
    }
    size_t take = std::min(n - done, end - next);
    std::memcpy(dst + done, buffer.data() + next, take);
    next += take;
    done += take;
    position += take;
  }
  return done;
}

const uint8_t* ByteReader::Borrow(size_t n) {
  if (n > buffer.size()) return nullptr;
  if (end - next < n) {
    // The bytes left move to the front and the rest of the block is filled behind them.
    std::memmove(buffer.data(), buffer.data() + next, end - next);
    end -= next;
    next = 0;
    while (end < n) {
      size_t got = std::fread(buffer.data() + end, 1, buffer.size() - end, file);
      if (got == 0) return nullptr;
      end += got;
    }
  }
  const uint8_t* bytes = buffer.data() + next;
  next += n;
  position += n;
  return bytes;
}

void ByteReader::Read(void* out, size_t n) {
  if (ReadSome(out, n) != n) AbortCodec(AbortReason::ShortRead);
}

uint8_t ByteReader::Byte() {
  if (next == end && Fill() == 0) AbortCodec(AbortReason::ShortRead);
  ++position;
  return buffer[next++];
}

uint16_t ByteReader::U16le() {
  uint8_t b[2];
  Read(b, 2);
  return LoadU16le(b);
}

uint32_t ByteReader::U32le() {
  uint8_t b[4];
  Read(b, 4);
  return LoadU32le(b);
}

uint16_t ByteReader::U16be() {
  uint8_t b[2];
  Read(b, 2);
  return uint16_t(b[0] << 8 | b[1]);
}

uint32_t ByteReader::U32be() {
  uint8_t b[4];
  Read(b, 4);
  return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
}

void ByteReader::Require(uint64_t n) const {
  if (n > Remaining()) AbortCodec(AbortReason::ShortRead);
}

void ByteReader::Skip(uint64_t n) {
  Require(n);
  Seek(position + n);
}

void ByteReader::Seek(uint64_t offset) {
  if (!TrySeek(offset)) AbortCodec(AbortReason::ShortRead);
}

bool ByteReader::TrySeek(uint64_t offset) {
  if (offset > size) return false;
  // Stay in the buffer when the target is there.
  uint64_t bufferStart = position - next;
  if (offset >= bufferStart && offset <= bufferStart + end) {
    next = size_t(offset - bufferStart);
    position = offset;
    return true;
  }
  if (!SeekFile(file, int64_t(offset))) return false;
  next = end = 0;
  position = offset;
  return true;
}

}  // namespace quilla
