#include "bench_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "cli/headless_host.h"
#include "core/messages.h"
#include "formats/engine.h"
#include "formats/image_files.h"

namespace quilla::bench {

namespace {

int64_t PixelBytes(bool palette) { return int64_t(kWidth) * kHeight * (palette ? 1 : 3); }

}  // namespace

void UseHeadlessHost() {
  static HeadlessHost host;
  static const Engine engine;
  InstallHost(&host);
  if (!engine) {
    std::fprintf(stderr, "out of memory\n");
    std::exit(1);
  }
}

std::string TempPath(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

void MakePicture(DIBImage& picture, bool palette, const std::function<void(int x, int y, uint8_t* p)>& pixel) {
  UseHeadlessHost();
  if (!picture.CreateImage(kWidth, kHeight, !palette, nullptr, palette ? 256 : 0, 0)) {
    std::fprintf(stderr, "out of memory\n");
    std::exit(1);
  }
  int step = palette ? 1 : 3;
  picture.Lock();
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* row = picture.RowPointer(y);
    for (int x = 0; x < kWidth; ++x) pixel(x, y, row + step * x);
  }
  picture.Unlock();
}

DIBImage& Picture(bool palette) {
  static DIBImage pictures[2];
  DIBImage& picture = pictures[palette];
  if (picture.HasImage()) return picture;
  uint32_t noise = 12345;
  MakePicture(picture, palette, [&](int x, int y, uint8_t* p) {
    noise = noise * 1103515245u + 12345u;
    uint8_t n = uint8_t(noise >> 28);
    if (palette) {
      *p = uint8_t((x / 40 + y / 40) * 3 + n);
    } else {
      p[0] = uint8_t(x / 24 + n);
      p[1] = uint8_t(y / 16 + n);
      p[2] = uint8_t((x + y) / 40 + n);
    }
  });
  return picture;
}

void WritePicture(benchmark::State& state, uint32_t type, bool palette, const char* name) {
  DIBImage& picture = Picture(palette);
  picture.fileType = type;
  std::string path = TempPath(name);
  for (auto _ : state)
    if (!WriteImageFile(picture, path.c_str())) state.SkipWithError("write failed");
  std::error_code error;  // a failed write may have left no file
  uintmax_t size = std::filesystem::file_size(path, error);
  if (!error) state.counters["file MB"] = double(size) / 1e6;
  state.SetBytesProcessed(state.iterations() * PixelBytes(palette));
  std::remove(path.c_str());
}

void ReadFile(benchmark::State& state, const std::string& path, bool palette) {
  for (auto _ : state) {
    DIBImage document;
    if (!ReadImageFile(document, path.c_str())) state.SkipWithError("read failed");
  }
  state.SetBytesProcessed(state.iterations() * PixelBytes(palette));
  std::remove(path.c_str());
}

void ReadPicture(benchmark::State& state, uint32_t type, bool palette, const char* name) {
  DIBImage& picture = Picture(palette);
  picture.fileType = type;
  std::string path = TempPath(name);
  if (!WriteImageFile(picture, path.c_str())) {
    state.SkipWithError("write failed");
    return;
  }
  ReadFile(state, path, palette);
}

}  // namespace quilla::bench
