// Shared by the PPM, TIFF, BMP and image-file tests: files made from bytes and read through
// the open flow, cancelling at a given pump, deterministic images, and hand-built anymap
// and TIFF files with any header or directory.
#pragma once
#include <string>
#include <vector>

#include "formats/formats_test_support.h"
#include "formats/image_files.h"

namespace quilla {

inline std::string Quote(const std::string& path) { return "'" + path + "'"; }

class MadeFileTest : public FormatsTest {
 protected:
  std::string MadePath() const { return Path("made"); }
  // The bytes as the test's file, read through the open flow.
  int ReadMade(const Bytes& bytes, DIBImage& document) {
    WriteBytes(MadePath(), bytes);
    return ReadImageFile(document, MadePath());
  }
  void ExpectOnlyMessage(const std::string& text) {
    ASSERT_EQ(host.messages.size(), 1u) << host.LastMessage();
    EXPECT_EQ(host.messages[0].text, text);
  }
  // The file is refused with the one message and leaves no image.
  void ExpectRefused(const Bytes& bytes, const std::string& message) {
    DIBImage document;
    host.messages.clear();
    EXPECT_FALSE(ReadMade(bytes, document));
    ExpectOnlyMessage(message);
    EXPECT_FALSE(document.HasImage());
    EXPECT_FALSE(document.IsLocked());
  }
  // The user cancels at the nth pump of the host; pumps counts them.
  void CancelAtPump(int n) {
    pumps = 0;
    host.onPump = [this, n] {
      if (++pumps == n) RequestCancel();
      return true;
    };
  }
  // A cancelled transfer says nothing, leaves the image unlocked and no file open.
  void ExpectCancelled(DIBImage& document) {
    EXPECT_TRUE(host.messages.empty()) << host.LastMessage();
    EXPECT_FALSE(document.IsLocked());
    EXPECT_EQ(Transfer::OpenFiles(), 0);
  }

  struct ProbeCase {
    Bytes file;
    int type;  // what the probe answers
    uint32_t width = 0, height = 0;
  };
  // The probe of the codec of the type answers each case, and cannot open a missing file.
  void ExpectProbes(uint32_t type, const std::vector<ProbeCase>& cases) {
    uint32_t width = 0, height = 0;
    for (size_t i = 0; i < cases.size(); ++i) {
      WriteBytes(MadePath(), cases[i].file);
      EXPECT_EQ(ProbeFileAs(MadePath(), type, width, height), cases[i].type) << i;
      EXPECT_EQ(width, cases[i].width) << i;
      EXPECT_EQ(height, cases[i].height) << i;
    }
    EXPECT_EQ(ProbeFileAs(Path("missing"), type, width, height), kCannotOpen);
  }
  // Previews of each file by the codec of the type give their results (0 read, 1 partly,
  // 2 not), all quietly.
  void ExpectPreviews(uint32_t type, const std::vector<std::pair<Bytes, int>>& cases) {
    for (size_t i = 0; i < cases.size(); ++i) {
      DIBImage document;
      WriteBytes(MadePath(), cases[i].first);
      EXPECT_EQ(ReadImagePreviewAs(document, MadePath(), type, 20, 20), cases[i].second) << i;
    }
    EXPECT_TRUE(host.messages.empty()) << host.LastMessage();
    EXPECT_TRUE(host.titles.empty());
  }
  // A test image (see MakeTestImage) saved as the type in the named file; true when written.
  bool WriteTestImage(DIBImage& image, const std::string& name, uint32_t type, int width, int height, int colors,
                      int seed = 1) {
    MakeTestImage(image, width, height, colors, seed);
    image.fileType = type;
    return WriteImageFile(image, Path(name));
  }
  // Another program turns one file of the scratch directory into another.
  bool Convert(const std::string& from, const std::string& options, const std::string& to) const {
    return RunTool("convert " + Quote(Path(from)) + " " + options + " " + Quote(Path(to)));
  }

  int pumps = 0;
};

using PixelRows = std::vector<std::vector<uint32_t>>;

// Every pixel as 0xRRGGBB, rows from the top.
inline PixelRows Rows(DIBImage& document) {
  PixelRows rows(size_t(document.Height()));
  for (int y = 0; y < document.Height(); ++y)
    for (int x = 0; x < document.Width(); ++x) rows[size_t(y)].push_back(PixelRgb(document, x, y));
  return rows;
}

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
