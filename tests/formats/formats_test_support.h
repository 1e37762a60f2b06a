// Shared by the format tests: a scripted host, a scratch directory, byte files and a
// builder of bitmap files with any header, hostile ones included.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "formats/engine.h"
#include "formats/file_types.h"
#include "formats/image_files.h"
#include "formats/transfer.h"
#include "settings/app_options.h"
#include "support/scripted_host.h"

namespace quilla {

using Bytes = std::vector<uint8_t>;

class FormatsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(engine);
    InstallHost(&host);
    ResetProgressState();
    Options().SetDisplayMode(DisplayMode::TrueColor);
    Options().ResetToDefaults(true);
    static int serial = 0;
    dir = std::filesystem::temp_directory_path() /
          ("quilla-formats-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
           std::to_string(++serial));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override {
    SetMainDocument(nullptr);
    ResetProgressState();
    InstallHost(nullptr);
    std::error_code ignored;
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(dir, ignored);
  }

  std::string Path(const std::string& name) const { return (dir / name).string(); }
  std::vector<std::string> DirEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    return names;
  }

  const Engine engine;  // the tables every codec needs
  ScriptedHost host;
  std::filesystem::path dir;
};

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A file name as messages show it: lower-cased.
inline std::string Shown(const std::string& path) {
  std::string s = path;
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

inline Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void Put16(Bytes& b, size_t at, uint32_t v) {
  b[at] = uint8_t(v), b[at + 1] = uint8_t(v >> 8);
}
inline void Put32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}
inline uint32_t Get32(const Bytes& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
inline uint32_t Get16(const Bytes& b, size_t at) { return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8; }

// A bitmap file with the given header fields; the colour table has tableEntries entries
// (entry i = blue i, green 255 - i, red 3 i) and pixels follow as given.
struct BmpSpec {
  bool os2 = false;
  int32_t width = 4, height = 2;
  uint16_t bits = 8;
  uint32_t headerSize = 0;  // 0: 40 or 12 by kind
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;
  uint32_t tableEntries = 0;
  int64_t pixelOffset = -1;  // -1: right after the table
};

inline RgbQuad SpecColor(uint32_t i) { return {uint8_t(i), uint8_t(255 - i), uint8_t(3 * i), 0}; }

inline Bytes MakeBmp(const BmpSpec& spec, const Bytes& pixels) {
  uint32_t headerSize = spec.headerSize ? spec.headerSize : spec.os2 ? 12 : 40;
  uint32_t entryBytes = spec.os2 ? 3 : 4;
  uint32_t offset = spec.pixelOffset >= 0 ? uint32_t(spec.pixelOffset) : 14 + headerSize + spec.tableEntries * entryBytes;
  Bytes b(14 + headerSize, 0);
  b[0] = 'B', b[1] = 'M';
  Put32(b, 10, offset);
  Put32(b, 14, headerSize);
  if (spec.os2) {
    Put16(b, 18, uint32_t(spec.width)), Put16(b, 20, uint32_t(spec.height)), Put16(b, 22, 1), Put16(b, 24, spec.bits);
  } else if (headerSize >= 40) {
    Put32(b, 18, uint32_t(spec.width)), Put32(b, 22, uint32_t(spec.height)), Put16(b, 26, 1), Put16(b, 28, spec.bits);
    Put32(b, 30, spec.compression), Put32(b, 46, spec.colorsUsed);
  }
  for (uint32_t i = 0; i < spec.tableEntries; ++i) {
    RgbQuad c = SpecColor(i);
    b.insert(b.end(), {c.blue, c.green, c.red});
    if (!spec.os2) b.push_back(0);
  }
  if (b.size() < offset && offset < (1u << 20)) b.resize(offset, 0);
  b.insert(b.end(), pixels.begin(), pixels.end());
  Put32(b, 2, uint32_t(b.size()));
  return b;
}

// An image whose pixel at (x, y) (from the top) is a function of x, y and seed; palette
// images use indices below colors.
inline void MakeTestImage(DIBImage& document, int width, int height, int colors, int seed = 1) {
  std::vector<RgbQuad> table;
  for (int i = 0; i < colors; ++i) table.push_back({uint8_t(i * 7), uint8_t(200 - i), uint8_t(i * 13 + seed), 0});
  ASSERT_TRUE(document.CreateImage(width, height, colors == 0, table.data(), colors, 0));
  document.Lock();
  for (int y = 0; y < height; ++y) {
    uint8_t* row = document.RowPointer(y);
    if (colors == 0) {
      for (int x = 0; x < width * 3; ++x) row[x] = uint8_t(x * 31 + y * 17 + seed);
    } else {
      for (int x = 0; x < width; ++x) row[x] = uint8_t((x * 5 + y * 3 + seed) % colors);
    }
  }
  document.Unlock();
}

// The colour of a pixel (x, y from the top) as 0xRRGGBB.
inline uint32_t PixelRgb(DIBImage& document, int x, int y) {
  document.Lock();
  const uint8_t* row = document.RowPointer(y);
  uint32_t rgb;
  if (document.IsTrueColor()) {
    const uint8_t* p = row + x * 3;
    rgb = uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
  } else {
    RgbQuad c = document.GetColors()[row[x]];
    rgb = uint32_t(c.red) << 16 | uint32_t(c.green) << 8 | c.blue;
  }
  document.Unlock();
  return rgb;
}

inline bool SamePixels(DIBImage& a, DIBImage& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (PixelRgb(a, x, y) != PixelRgb(b, x, y)) return false;
  return true;
}

// Runs a shell command of the test set-up; false when the tool is missing or fails.
inline bool RunTool(const std::string& command) {
#ifdef _WIN32
  (void)command;
  return false;
#else
  return std::system((command + " 2>/dev/null").c_str()) == 0;
#endif
}

inline bool ToolAvailable(const char* tool) { return RunTool(std::string("command -v ") + tool + " >/dev/null"); }

// The first of the tools that is not installed, or an empty string.
inline std::string MissingTool(std::initializer_list<const char*> tools) {
  for (const char* tool : tools)
    if (!ToolAvailable(tool)) return tool;
  return "";
}

// Comparisons with other programs need their tools. Natively a missing tool fails the test
// (./test.sh installs them all); the Windows build cannot run them, so there the test is
// skipped and says why.
#ifdef _WIN32
#define REQUIRE_TOOLS(...) GTEST_SKIP() << "comparisons with other programs' tools run in the native build only"
#else
#define REQUIRE_TOOLS(...)                                                          \
  do {                                                                              \
    const std::string missing = MissingTool({__VA_ARGS__});                         \
    if (!missing.empty()) FAIL() << missing << " is not installed (./test.sh installs it)"; \
  } while (0)
#endif

}  // namespace quilla
