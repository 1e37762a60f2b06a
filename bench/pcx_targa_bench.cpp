// Writing and reading a 24-megapixel picture as PCX (true colour in three planes, and 256
// colours with the palette at the end) and as Targa (24-bit, and 8-bit colour-mapped),
// through the open and save flows; also a run-length Targa read.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/dib_image.h"
#include "core/host.h"
#include "core/messages.h"
#include "formats/file_types.h"
#include "formats/image_files.h"

namespace {

constexpr int kWidth = 6000, kHeight = 4000;

class QuietHost : public quilla::Host {
 public:
  quilla::MsgResult MessageBox(quilla::OwnerWindow, const std::string& text, const std::string&, quilla::MsgButtons,
                               quilla::MsgIcon) override {
    std::fprintf(stderr, "%s\n", text.c_str());
    return quilla::MsgResult::Ok;
  }
  void SetWindowTitle(const std::string&) override {}
  bool PumpPendingMessages(const std::function<bool()>&) override { return true; }
  bool WaitAndDispatchOneMessage() override { return true; }
  void ShowWaitCursor() override {}
  void RestoreCursor() override {}
  void ShowBusyMenu(int) override {}
  void RestoreMainMenu() override {}
  void SetToolbarBusy(bool) override {}
  bool IsFullScreen() override { return false; }
  void LeaveFullScreen() override {}
  void RealizePalette() override {}
  void FitWindowToImage() override {}
  quilla::ScreenRect WorkArea() override { return {0, 0, 1024, 768}; }
};

std::string FileName(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

// Smooth colour fields with a little noise, as a photograph has; palette: the same in
// 256 indices.
quilla::DIBImage& Picture(bool palette) {
  static QuietHost host;
  static quilla::DIBImage pictures[2];
  quilla::DIBImage& picture = pictures[palette];
  if (picture.HasImage()) return picture;
  quilla::InstallHost(&host);
  if (!picture.CreateImage(kWidth, kHeight, !palette, nullptr, palette ? 256 : 0, 0)) {
    std::fprintf(stderr, "out of memory\n");
    std::exit(1);
  }
  uint32_t noise = 12345;
  picture.Lock();
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* row = picture.RowPointer(y);
    for (int x = 0; x < kWidth; ++x) {
      noise = noise * 1103515245u + 12345u;
      uint8_t n = uint8_t(noise >> 30);
      if (palette) {
        row[x] = uint8_t((x / 40 + y / 40) * 3 + n);
      } else {
        row[3 * x] = uint8_t(x / 24 + n);
        row[3 * x + 1] = uint8_t(y / 16 + n);
        row[3 * x + 2] = uint8_t((x + y) / 40 + n);
      }
    }
  }
  picture.Unlock();
  return picture;
}

int64_t PixelBytes(bool palette) { return int64_t(kWidth) * kHeight * (palette ? 1 : 3); }

void Write(benchmark::State& state, uint32_t type, bool palette, const char* name) {
  quilla::DIBImage& picture = Picture(palette);
  picture.fileType = type;
  std::string path = FileName(name);
  for (auto _ : state)
    if (!quilla::WriteImageFile(picture, path.c_str())) state.SkipWithError("write failed");
  state.counters["file MB"] = double(std::filesystem::file_size(path)) / 1e6;
  state.SetBytesProcessed(state.iterations() * PixelBytes(palette));
  std::remove(path.c_str());
}

void ReadFile(benchmark::State& state, const std::string& path, bool palette) {
  for (auto _ : state) {
    quilla::DIBImage document;
    if (!quilla::ReadImageFile(document, path.c_str())) state.SkipWithError("read failed");
  }
  state.SetBytesProcessed(state.iterations() * PixelBytes(palette));
  std::remove(path.c_str());
}

void Read(benchmark::State& state, uint32_t type, bool palette, const char* name) {
  quilla::DIBImage& picture = Picture(palette);
  picture.fileType = type;
  std::string path = FileName(name);
  if (!quilla::WriteImageFile(picture, path.c_str())) {
    state.SkipWithError("write failed");
    return;
  }
  ReadFile(state, path, palette);
}

// A 24-bit run-length Targa of the picture, bottom row first, packets crossing rows.
void ReadTargaRle(benchmark::State& state) {
  quilla::DIBImage& picture = Picture(false);
  std::string path = FileName("pcx_targa_bench_rle.tga");
  std::vector<uint8_t> out = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, uint8_t(kWidth), uint8_t(kWidth >> 8),
                              uint8_t(kHeight), uint8_t(kHeight >> 8), 24, 0};
  picture.Lock();
  std::vector<const uint8_t*> pixels;
  pixels.reserve(size_t(kWidth) * kHeight);
  for (int y = kHeight - 1; y >= 0; --y)
    for (int x = 0; x < kWidth; ++x) pixels.push_back(picture.RowPointer(y) + 3 * x);
  auto same = [](const uint8_t* a, const uint8_t* b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; };
  for (size_t i = 0; i < pixels.size();) {
    size_t j = i + 1;
    while (j < pixels.size() && j - i < 128 && same(pixels[j], pixels[i])) ++j;
    if (j - i > 1) {
      out.push_back(uint8_t(0x80 | (j - i - 1)));
      out.insert(out.end(), pixels[i], pixels[i] + 3);
      i = j;
      continue;
    }
    size_t k = i + 1;
    while (k < pixels.size() && k - i < 128 && !same(pixels[k], pixels[k - 1])) ++k;
    out.push_back(uint8_t(k - i - 1));
    for (size_t p = i; p < k; ++p) out.insert(out.end(), pixels[p], pixels[p] + 3);
    i = k;
  }
  picture.Unlock();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f || std::fwrite(out.data(), 1, out.size(), f) != out.size() || std::fclose(f) != 0) {
    state.SkipWithError("cannot write the run-length file");
    return;
  }
  state.counters["file MB"] = double(out.size()) / 1e6;
  ReadFile(state, path, false);
}

void BM_WritePcx24(benchmark::State& s) { Write(s, quilla::kPcxFile, false, "pcx_targa_bench24.pcx"); }
void BM_ReadPcx24(benchmark::State& s) { Read(s, quilla::kPcxFile, false, "pcx_targa_bench24.pcx"); }
void BM_WritePcx8(benchmark::State& s) { Write(s, quilla::kPcxFile, true, "pcx_targa_bench8.pcx"); }
void BM_ReadPcx8(benchmark::State& s) { Read(s, quilla::kPcxFile, true, "pcx_targa_bench8.pcx"); }
void BM_WriteTarga24(benchmark::State& s) { Write(s, quilla::kTargaFile, false, "pcx_targa_bench24.tga"); }
void BM_ReadTarga24(benchmark::State& s) { Read(s, quilla::kTargaFile, false, "pcx_targa_bench24.tga"); }
void BM_WriteTarga8(benchmark::State& s) { Write(s, quilla::kTargaFile, true, "pcx_targa_bench8.tga"); }
void BM_ReadTarga8(benchmark::State& s) { Read(s, quilla::kTargaFile, true, "pcx_targa_bench8.tga"); }
void BM_ReadTarga24Rle(benchmark::State& s) { ReadTargaRle(s); }

BENCHMARK(BM_WritePcx24)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadPcx24)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WritePcx8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadPcx8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteTarga24)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadTarga24)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteTarga8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadTarga8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadTarga24Rle)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
