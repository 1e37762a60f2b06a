// GIF writing and reading of a 24-megapixel 8-bit picture: smooth colour fields with
// noise, indexed in 256 colours, sequential and interlaced.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/dib_image.h"
#include "core/host.h"
#include "core/messages.h"
#include "formats/file_types.h"
#include "formats/gif/gif_codec.h"
#include "formats/image_files.h"
#include "formats/transfer_files.h"
#include "settings/app_options.h"

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

std::string FileName(bool interlaced) {
  return (std::filesystem::temp_directory_path() / (interlaced ? "gif_bench_i.gif" : "gif_bench_s.gif")).string();
}

quilla::DIBImage& Picture() {
  static QuietHost host;
  static quilla::DIBImage picture;
  if (picture.HasImage()) return picture;
  quilla::InstallHost(&host);
  if (!quilla::InitializeGifCoder() || !picture.CreateImage(kWidth, kHeight, false, nullptr, 256, 0)) {
    std::fprintf(stderr, "out of memory\n");
    std::exit(1);
  }
  uint32_t noise = 12345;
  picture.Lock();
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* row = picture.RowPointer(y);
    for (int x = 0; x < kWidth; ++x) {
      noise = noise * 1664525u + 1013904223u;
      double field = 100 + 60 * std::sin(x / 700.0) + 50 * std::cos(y / 450.0);
      row[x] = uint8_t(int(field) + int(noise >> 29) - 4);
    }
  }
  picture.Unlock();
  return picture;
}

bool Write(quilla::DIBImage& picture, bool interlaced) {
  quilla::Options().SetSaveGifInterlaced(interlaced ? 1 : 0);
  std::string name = FileName(interlaced);
  quilla::KeepFileName(picture, name.c_str());
  picture.fileType = quilla::kGif89a;
  picture.file = quilla::OpenTransferFile(name.c_str(), "wb");
  return picture.file != quilla::kNoFile && quilla::WriteGif(picture);
}

void BM_GifWrite(benchmark::State& state) {
  quilla::DIBImage& picture = Picture();
  bool interlaced = state.range(0) != 0;
  for (auto _ : state)
    if (!Write(picture, interlaced)) state.SkipWithError("write failed");
  state.counters["MB"] = double(std::filesystem::file_size(FileName(interlaced))) / 1e6;
  state.counters["Mpixel/s"] = benchmark::Counter(double(kWidth) * kHeight / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_GifRead(benchmark::State& state) {
  quilla::DIBImage& picture = Picture();
  bool interlaced = state.range(0) != 0;
  if (!Write(picture, interlaced)) state.SkipWithError("write failed");
  std::string name = FileName(interlaced);
  for (auto _ : state) {
    quilla::DIBImage document;
    quilla::KeepFileName(document, name.c_str());
    if (!quilla::ReadGif(document) || document.Width() != kWidth) state.SkipWithError("read failed");
  }
  state.counters["Mpixel/s"] = benchmark::Counter(double(kWidth) * kHeight / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

}  // namespace

BENCHMARK(BM_GifWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GifRead)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
