#include "formats/targa/targa_header.h"

#include "formats/byte_reader.h"

namespace quilla::targa {

std::optional<TargaHeader> ParseHeader(const uint8_t* h) {
  TargaHeader header;
  uint32_t pixelBits = h[16] == 15 ? 16 : h[16];
  uint32_t bytesPerPixel = pixelBits / 8;
  const uint8_t descriptor = h[17];
  if (h[1] > 1 || bytesPerPixel < 1 || bytesPerPixel > 4 || pixelBits % 8 != 0 || (descriptor & 0xC0) != 0)
    return std::nullopt;
  uint32_t type = h[2];
  header.runLength = type > 8;
  if (header.runLength) type -= 8;
  switch (type) {
    case kColorMapped:
      if (bytesPerPixel != 1 || h[1] != 1) return std::nullopt;
      break;
    case kTrueColor:
      if (bytesPerPixel < 2) return std::nullopt;
      break;
    case kGray:
      if (bytesPerPixel != 1) return std::nullopt;
      break;
    default: return std::nullopt;
  }
  header.idLength = h[0];
  header.colorMapType = h[1];
  header.kind = ImageKind(type);
  header.firstMapIndex = LoadU16le(h + 3);
  header.mapLength = LoadU16le(h + 5);
  header.mapEntryBits = h[7];
  header.width = LoadU16le(h + 12);
  header.height = LoadU16le(h + 14);
  header.bytesPerPixel = uint8_t(bytesPerPixel);
  header.topFirst = (descriptor & 0x20) != 0;
  if (header.colorMapType == 1 && header.mapLength == 0) return std::nullopt;
  return header;
}

}  // namespace quilla::targa
