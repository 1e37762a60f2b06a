// The 18-byte Targa header and the checks the probe and the reader share.
#pragma once
#include <cstdint>
#include <optional>

namespace quilla::targa {

inline constexpr uint32_t kTargaHeaderBytes = 18;

enum ImageKind : uint8_t { kColorMapped = 1, kTrueColor = 2, kGray = 3 };

struct TargaHeader {
  uint8_t idLength = 0;
  uint8_t colorMapType = 0;
  ImageKind kind = kTrueColor;
  bool runLength = false;
  uint16_t firstMapIndex = 0;
  uint16_t mapLength = 0;
  uint8_t mapEntryBits = 0;
  uint16_t width = 0, height = 0;
  uint8_t bytesPerPixel = 0;
  bool topFirst = false;  // descriptor bit 5
};

// The header when it passes the checks, else nothing.
std::optional<TargaHeader> ParseHeader(const uint8_t* bytes);

}  // namespace quilla::targa
