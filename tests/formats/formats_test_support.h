// Shared by the format tests: the fixtures with their scratch directory and scripted host,
// files made from bytes and the checks their reads, refusals, cancels, probes and previews
// repeat, test pictures as documents and as P6 pixmaps, and other programs' tools.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "formats/engine.h"
#include "formats/file_types.h"
#include "formats/image_files.h"
#include "formats/transfer.h"
#include "settings/app_options.h"
#include "support/scratch_folder.h"
#include "support/scripted_host.h"

namespace quilla {

using Bytes = std::vector<uint8_t>;
using PixelRows = std::vector<std::vector<uint32_t>>;  // 0xRRGGBB, rows from the top

// ---- bytes and files ----

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The text's bytes, then data.
inline Bytes Text(const std::string& text, const Bytes& data = {}) {
  Bytes b(text.begin(), text.end());
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

// A file name as messages show it: lower-cased.
inline std::string Shown(const std::string& path) {
  std::string s = path;
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

inline std::string Quote(const std::string& path) { return "'" + path + "'"; }

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

// A header field of a written file: 1, 2 or 4 bytes (little-endian) at an offset.
struct HeaderField {
  size_t at;
  int bytes;
  uint32_t value;
};
inline void ExpectFields(const Bytes& file, std::initializer_list<HeaderField> fields) {
  for (const HeaderField& field : fields) {
    ASSERT_LE(field.at + size_t(field.bytes), file.size());
    const uint32_t value = field.bytes == 4 ? Get32(file, field.at) : field.bytes == 2 ? Get16(file, field.at)
                                                                                      : file[field.at];
    EXPECT_EQ(value, field.value) << "at offset " << field.at;
  }
}

// ---- pictures ----

// An image whose pixel at (x, y) (from the top) is a function of x, y and seed; palette
// images use indices below colors.
inline void MakeTestImage(DIBImage& document, int width, int height, int colors, int seed = 1) {
  std::vector<RgbQuad> table;
  for (int i = 0; i < colors; ++i) table.push_back({uint8_t(i * 7), uint8_t(200 - i), uint8_t(i * 13 + seed), 0});
  ASSERT_TRUE(document.CreateImage(width, height, colors == 0, table.data(), colors, 0));
  ImageLock lock(document);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = document.RowPointer(y);
    if (colors == 0) {
      for (int x = 0; x < width * 3; ++x) row[x] = uint8_t(x * 31 + y * 17 + seed);
    } else {
      for (int x = 0; x < width; ++x) row[x] = uint8_t((x * 5 + y * 3 + seed) % colors);
    }
  }
}

// The colour of a pixel (x, y from the top) as 0xRRGGBB.
inline uint32_t PixelRgb(DIBImage& document, int x, int y) {
  ImageLock lock(document);
  const uint8_t* row = document.RowPointer(y);
  if (document.IsTrueColor()) {
    const uint8_t* p = row + x * 3;
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
  }
  RgbQuad c = document.GetColors()[row[x]];
  return uint32_t(c.red) << 16 | uint32_t(c.green) << 8 | c.blue;
}

inline PixelRows Rows(DIBImage& document) {
  PixelRows rows(size_t(document.Height()));
  for (int y = 0; y < document.Height(); ++y)
    for (int x = 0; x < document.Width(); ++x) rows[size_t(y)].push_back(PixelRgb(document, x, y));
  return rows;
}

// The palette indices from the top row down, or with the nth row stored at rowAt(n, height).
inline std::vector<uint8_t> Indices(DIBImage& document, int (*rowAt)(int n, int height) = nullptr) {
  std::vector<uint8_t> out;
  ImageLock lock(document);
  for (int n = 0; n < document.Height(); ++n) {
    const uint8_t* row = document.RowPointer(rowAt ? rowAt(n, document.Height()) : n);
    out.insert(out.end(), row, row + document.Width());
  }
  return out;
}

inline bool SamePixels(DIBImage& a, DIBImage& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() && Rows(a) == Rows(b);
}

inline bool AllGray(DIBImage& document) {
  for (const auto& row : Rows(document))
    for (uint32_t p : row)
      if (p != (p & 255) * 0x010101u) return false;
  return true;
}

// A pixel a read must give, x and y from the top, as 0xRRGGBB.
struct Pixel {
  int x, y;
  uint32_t value;
};
inline void ExpectPixels(DIBImage& document, const std::vector<Pixel>& pixels) {
  for (const Pixel& p : pixels) EXPECT_EQ(PixelRgb(document, p.x, p.y), p.value) << p.x << ", " << p.y;
}

// Largest difference of any channel between two colours 0xRRGGBB.
inline int ChannelDifference(uint32_t a, uint32_t b) {
  int worst = 0;
  for (int shift : {0, 8, 16}) worst = std::max(worst, std::abs(int(a >> shift & 255) - int(b >> shift & 255)));
  return worst;
}

// Largest difference of any channel between two images of one size.
inline int MaxDifference(DIBImage& a, DIBImage& b) {
  EXPECT_EQ(std::pair(a.Width(), a.Height()), std::pair(b.Width(), b.Height()));
  int worst = 0;
  for (int y = 0; y < std::min(a.Height(), b.Height()); ++y)
    for (int x = 0; x < std::min(a.Width(), b.Width()); ++x)
      worst = std::max(worst, ChannelDifference(PixelRgb(a, x, y), PixelRgb(b, x, y)));
  return worst;
}

// ---- P6 pixmaps, the files exchanged with other programs ----

// The test picture of the pixmaps: every channel a function of x and y (and seed), so that
// a mirrored or shifted result shows.
inline PixelRows TestPixels(int width, int height, int seed = 0) {
  PixelRows rows(static_cast<size_t>(height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      rows[size_t(y)].push_back(uint32_t(uint8_t(x * 37 + y * 11 + seed)) << 16 |
                                uint32_t(uint8_t(x * 5 + y * 71)) << 8 | uint8_t(255 - x - y * 3));
  return rows;
}

// A P6 file of maxval 255 holding the rows.
inline Bytes MakePixmap(const PixelRows& rows) {
  Bytes b = Text("P6 " + std::to_string(rows.empty() ? 0 : rows[0].size()) + " " + std::to_string(rows.size()) +
                 " 255\n");
  for (const auto& row : rows)
    for (uint32_t rgb : row) b.insert(b.end(), {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)});
  return b;
}

// The rows of a P6 file of maxval 255, read by the test itself; none when it is not one.
inline PixelRows ReadPixmap(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic, maxval;
  int width = 0, height = 0;
  if (!(in >> magic >> width >> height >> maxval) || magic != "P6" || maxval != "255") return {};
  in.get();
  PixelRows rows(static_cast<size_t>(height));
  for (auto& row : rows)
    for (unsigned char rgb[3]; row.size() < size_t(width);) {
      if (!in.read(reinterpret_cast<char*>(rgb), 3)) return {};
      row.push_back(uint32_t(rgb[0]) << 16 | uint32_t(rgb[1]) << 8 | rgb[2]);
    }
  return rows;
}

// ---- other programs ----

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

// The quantizing options of one test (the set-up of the next puts the defaults back).
inline void SetReadQuantizing(int need, int system, int colors, int dither) {
  AppOptions& o = Options();
  o.SetNeedQuantizeRead(need), o.SetUseSysPalette(system), o.SetNColorsCreatePal(colors), o.SetUseDithering(dither);
}

// ---- the fixtures ----

class FormatsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(engine);
    ResetProgressState();
    Options().SetDisplayMode(DisplayMode::TrueColor);
    Options().ResetToDefaults(true);
  }
  void TearDown() override {
    SetMainDocument(nullptr);
    ResetProgressState();
  }

  std::string Path(const std::string& name) const { return scratch.File(name); }
  // The names in the scratch directory, sorted.
  std::vector<std::string> DirEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  // The document written in the type to the named file of the scratch directory.
  int Save(DIBImage& document, const std::string& name, uint32_t type) {
    document.fileType = type;
    return WriteImageFile(document, Path(name));
  }
  // The bytes of that file; the write must succeed.
  Bytes Written(DIBImage& document, const std::string& name, uint32_t type) {
    EXPECT_TRUE(Save(document, name, type)) << host.LastMessage();
    return ReadBytes(Path(name));
  }
  // The test image of MakeTestImage saved as the type; true when written.
  bool WriteTestImage(DIBImage& image, const std::string& name, uint32_t type, int width, int height, int colors,
                      int seed = 1) {
    MakeTestImage(image, width, height, colors, seed);
    return Save(image, name, type);
  }
  int Load(DIBImage& document, const std::string& name) { return ReadImageFile(document, Path(name)); }

  // A transfer stopped at the host's nth pump ends without a word, leaving nothing locked,
  // no transfer under way and no file open.
  void ExpectStoppedAt(DIBImage& document, int n) {
    EXPECT_EQ(host.pumps, n);
    EXPECT_TRUE(host.messages.empty()) << host.LastMessage();
    EXPECT_FALSE(document.IsLocked());
    EXPECT_EQ(document.ioState, 0u);
    EXPECT_EQ(Transfer::OpenFiles(), 0);
    host.onPump = nullptr;
  }
  // The read of the file into the main document, stopped by act (the user's cancel, or the
  // clean-up of closing the window) at the nth pump.
  void ExpectCancelledRead(DIBImage& document, const std::string& path, int n, void (*act)() = RequestCancel) {
    SetMainDocument(&document);
    host.AtPump(n, act);
    EXPECT_FALSE(ReadImageFile(document, path));
    ExpectStoppedAt(document, n);
  }
  // The write of the main document in the type, cancelled at the nth pump, leaves the
  // scratch directory as it was: no new file, an older one of the name unchanged.
  void ExpectCancelledWrite(DIBImage& document, const std::string& name, uint32_t type, int n) {
    auto contents = [this] {
      std::map<std::string, Bytes> files;
      for (const std::string& entry : DirEntries()) files[entry] = ReadBytes(Path(entry));
      return files;
    };
    const auto before = contents();
    SetMainDocument(&document);
    host.CancelAtPump(n);
    EXPECT_FALSE(Save(document, name, type));
    ExpectStoppedAt(document, n);
    EXPECT_EQ(contents(), before);
  }

  const Engine engine;  // the tables every codec needs
  InstalledHost host;
  testing_support::ScratchFolder scratch{FolderName()};
  const std::filesystem::path& dir = scratch.Path();

 private:
  static std::string FolderName() {
    static int serial = 0;
    return "formats-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
           std::to_string(++serial);
  }
};

// Files made from bytes in the scratch directory, read through the open flow or through
// one codec alone, past the other probes.
class MadeFileTest : public FormatsTest {
 protected:
  // type: the codec read alone (0: none); madeName: the file made from bytes.
  explicit MadeFileTest(uint32_t type = 0, const char* madeName = "made") : type(type), madeName(madeName) {}

  std::string MadePath() const { return Path(madeName); }
  // The bytes as the test's file, its path returned.
  std::string Made(const Bytes& bytes) const {
    WriteBytes(MadePath(), bytes);
    return MadePath();
  }
  int ReadMade(DIBImage& document, const Bytes& bytes) { return ReadImageFile(document, Made(bytes)); }
  int ReadDirect(DIBImage& document, const Bytes& bytes) { return ReadImageFileAs(document, Made(bytes), type); }

  void ExpectOnlyMessage(const std::string& text) {
    ASSERT_EQ(host.messages.size(), 1u) << host.LastMessage();
    EXPECT_EQ(host.messages[0].text, text);
  }
  // A file a reader must refuse, its message, and whether the rows read before the fault stay.
  struct Refusal {
    Bytes file;
    std::string message;
    bool keepsRows = false;
  };
  // The file, read through the codec of readAs alone or (0) the open flow, fails with its
  // one message, leaving no image but the rows kept, nothing locked and no file open.
  void ExpectRefused(DIBImage& document, const Refusal& refusal, uint32_t readAs = 0) {
    host.messages.clear();
    const std::string path = Made(refusal.file);
    EXPECT_FALSE(readAs ? ReadImageFileAs(document, path, readAs) : ReadImageFile(document, path));
    ExpectOnlyMessage(refusal.message);
    EXPECT_EQ(document.HasImage(), refusal.keepsRows);
    EXPECT_FALSE(document.IsLocked());
    EXPECT_EQ(document.ioState, 0u);
    EXPECT_EQ(Transfer::OpenFiles(), 0);
  }
  void ExpectRefused(const std::vector<Refusal>& refusals, uint32_t readAs = 0) {
    for (size_t i = 0; i < refusals.size(); ++i) {
      SCOPED_TRACE("refusal " + std::to_string(i));
      DIBImage document;
      ExpectRefused(document, refusals[i], readAs);
    }
  }

  struct ProbeCase {
    Bytes file;
    int type;  // what the probe answers
    uint32_t width = 0, height = 0;
  };
  // The probe of the codec answers each case, and cannot open a missing file.
  void ExpectProbes(uint32_t codec, const std::vector<ProbeCase>& cases) {
    uint32_t width = 0, height = 0;
    for (size_t i = 0; i < cases.size(); ++i) {
      EXPECT_EQ(ProbeFileAs(Made(cases[i].file), codec, width, height), cases[i].type) << i;
      EXPECT_EQ(width, cases[i].width) << i;
      EXPECT_EQ(height, cases[i].height) << i;
    }
    EXPECT_EQ(ProbeFileAs(Path("missing"), codec, width, height), kCannotOpen);
  }
  // Previews of each file by the codec give their results (0 read, 1 partly, 2 not, leaving
  // no image), all quietly.
  void ExpectPreviews(uint32_t codec, const std::vector<std::pair<Bytes, int>>& cases) {
    for (size_t i = 0; i < cases.size(); ++i) {
      DIBImage document;
      EXPECT_EQ(ReadImagePreviewAs(document, Made(cases[i].first), codec, 20, 20), cases[i].second) << i;
      if (cases[i].second == 2) { EXPECT_FALSE(document.HasImage()) << i; }
    }
    EXPECT_TRUE(host.messages.empty()) << host.LastMessage();
    EXPECT_TRUE(host.titles.empty());
  }

  // Another program turns one file of the scratch directory into another.
  bool Convert(const std::string& from, const std::string& options, const std::string& to) const {
    return RunTool("convert " + Quote(Path(from)) + " " + options + " " + Quote(Path(to)));
  }
  // Runs each command of other programs, which makes the file its last word names, and
  // reads that file: it must be of this fixture's type and show the pixels of decoder's P6
  // decoding of it or, with no decoder, those of src.ppm, the test picture made first. With
  // palettes, each file must read as a palette image.
  void ExpectOtherProgramsFilesRead(const std::vector<std::string>& commands, const char* decoder,
                                    bool palettes = false) {
    WriteBytes(Path("src.ppm"), MakePixmap(TestPixels(37, 21)));
    for (const std::string& command : commands) {
      SCOPED_TRACE(command);
      ASSERT_TRUE(RunTool(command));
      const std::string made = command.substr(command.rfind(' ') + 1);
      const std::string reference = Path(decoder ? "ref.ppm" : "src.ppm");
      ASSERT_TRUE(!decoder || RunTool(std::string(decoder) + " " + made + " > " + reference));
      DIBImage document;
      ASSERT_TRUE(ReadImageFile(document, made)) << host.LastMessage();
      EXPECT_EQ(document.fileType, type);
      EXPECT_FALSE(palettes && document.IsTrueColor());
      EXPECT_EQ(Rows(document), ReadPixmap(reference));
    }
  }
  // Images of each colour count, written in this fixture's type, decode with decoder to
  // their own pixels.
  void ExpectDecoderReadsWhatIsWritten(const char* decoder, std::initializer_list<int> colorCounts) {
    for (int colors : colorCounts) {
      SCOPED_TRACE(std::to_string(colors) + " colours");
      DIBImage original;
      ASSERT_TRUE(WriteTestImage(original, madeName, type, 29, 11, colors));
      ASSERT_TRUE(RunTool(std::string(decoder) + " " + MadePath() + " > " + Path("theirs.ppm")));
      EXPECT_EQ(ReadPixmap(Path("theirs.ppm")), Rows(original));
    }
  }

  const uint32_t type;
  const char* const madeName;
};

}  // namespace quilla
