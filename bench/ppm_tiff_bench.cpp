// Writing and reading a 24-megapixel true-colour picture as a raw pixmap (P6), as an
// uncompressed and an LZW-compressed TIFF, and as an 8-bit palette TIFF, through the open
// and save flows.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

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
      uint8_t n = uint8_t(noise >> 28);
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

void Write(benchmark::State& state, uint32_t type, bool palette, const char* name) {
  quilla::DIBImage& picture = Picture(palette);
  picture.fileType = type;
  std::string path = FileName(name);
  for (auto _ : state)
    if (!quilla::WriteImageFile(picture, path.c_str())) state.SkipWithError("write failed");
  state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight * (palette ? 1 : 3));
}

void Read(benchmark::State& state, uint32_t type, bool palette, const char* name) {
  quilla::DIBImage& picture = Picture(palette);
  picture.fileType = type;
  std::string path = FileName(name);
  if (!quilla::WriteImageFile(picture, path.c_str())) {
    state.SkipWithError("write failed");
    return;
  }
  for (auto _ : state) {
    quilla::DIBImage document;
    if (!quilla::ReadImageFile(document, path.c_str())) state.SkipWithError("read failed");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight * (palette ? 1 : 3));
  std::remove(path.c_str());
}

void BM_WritePpm(benchmark::State& s) { Write(s, quilla::kPnmFile, false, "ppm_tiff_bench.pbm"); }
void BM_ReadPpm(benchmark::State& s) { Read(s, quilla::kPnmFile, false, "ppm_tiff_bench.pbm"); }
void BM_WriteTiff(benchmark::State& s) { Write(s, quilla::kTiffFile, false, "ppm_tiff_bench.tif"); }
void BM_ReadTiff(benchmark::State& s) { Read(s, quilla::kTiffFile, false, "ppm_tiff_bench.tif"); }
void BM_WriteTiffLzw(benchmark::State& s) { Write(s, quilla::kTiffCompressed, false, "ppm_tiff_bench_lzw.tif"); }
void BM_ReadTiffLzw(benchmark::State& s) { Read(s, quilla::kTiffCompressed, false, "ppm_tiff_bench_lzw.tif"); }
void BM_WriteTiffPalette(benchmark::State& s) { Write(s, quilla::kTiffFile, true, "ppm_tiff_bench_8.tif"); }
void BM_ReadTiffPalette(benchmark::State& s) { Read(s, quilla::kTiffFile, true, "ppm_tiff_bench_8.tif"); }

BENCHMARK(BM_WritePpm)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadPpm)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteTiff)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadTiff)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteTiffLzw)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadTiffLzw)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteTiffPalette)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadTiffPalette)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
