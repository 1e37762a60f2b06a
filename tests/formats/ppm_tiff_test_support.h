// Shared by the PPM and TIFF tests: deterministic images, files made by other programs
// in the set-up, and hand-built TIFF files with any directory.
#pragma once
#include <string>
#include <vector>

#include "formats/formats_test_support.h"
#include "formats/image_files.h"

namespace quilla {

// A raw file with the given header text and data bytes.
inline Bytes MakeAnymap(const std::string& header, const Bytes& data = {}) {
  Bytes b(header.begin(), header.end());
  b.insert(b.end(), data.begin(), data.end());
  return b;
}
inline Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

// A pixmap of width x height whose pixels follow x, y and seed, as P6 data.
inline Bytes PixmapData(int width, int height, int seed = 0) {
  Bytes data;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      data.insert(data.end(), {uint8_t(x * 37 + y * 11 + seed), uint8_t(x * 5 + y * 71), uint8_t(255 - x - y * 3)});
  return data;
}

inline uint32_t DataRgb(const Bytes& p6data, int width, int x, int y) {
  size_t at = (size_t(y) * size_t(width) + size_t(x)) * 3;
  return uint32_t(p6data[at]) << 16 | uint32_t(p6data[at + 1]) << 8 | p6data[at + 2];
}

inline std::string Quote(const std::string& path) { return "'" + path + "'"; }

// One directory entry of a hand-built TIFF: the value field holds a SHORT in its first two
// bytes, anything else as a 32-bit value.
struct TiffEntry {
  uint16_t tag, type;
  uint32_t count, value;
};
inline constexpr uint32_t kDataOffset = 0xFFFFFFFF;  // replaced by where the data starts

// A little- or big-endian TIFF holding one directory with the entries (sorted by the
// caller) and then data; a value kDataOffset becomes the offset of data.
inline Bytes MakeTiff(const std::vector<TiffEntry>& entries, const Bytes& data, bool bigEndian = false) {
  Bytes b;
  auto put16 = [&](uint32_t v) {
    if (bigEndian) b.insert(b.end(), {uint8_t(v >> 8), uint8_t(v)});
    else b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8)});
  };
  auto put32 = [&](uint32_t v) {
    if (bigEndian) b.insert(b.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
    else b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
  };
  if (bigEndian) b.insert(b.end(), {'M', 'M', 0, 42});
  else b.insert(b.end(), {'I', 'I', 42, 0});
  put32(8);
  put16(uint32_t(entries.size()));
  uint32_t dataAt = uint32_t(8 + 2 + 12 * entries.size() + 4);
  for (const TiffEntry& e : entries) {
    put16(e.tag), put16(e.type), put32(e.count);
    uint32_t value = e.value == kDataOffset ? dataAt : e.value;
    if (e.type == 3 && e.count == 1) put16(value), put16(0);
    else put32(value);
  }
  put32(0);
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

}  // namespace quilla
