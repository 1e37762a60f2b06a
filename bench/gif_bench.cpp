// GIF writing and reading of a 24-megapixel 8-bit picture: smooth colour fields with
// noise, indexed in 256 colours, sequential and interlaced; and the writing of a true-colour
// picture, which is reduced to 256 colours (dithered, as by default) on the way.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_support.h"
#include "formats/file_types.h"
#include "formats/gif/gif_codec.h"
#include "formats/image_files.h"
#include "settings/app_options.h"

namespace {

using quilla::bench::kHeight;
using quilla::bench::kWidth;

std::string FileName(bool interlaced) {
  return quilla::bench::TempPath(interlaced ? "gif_bench_i.gif" : "gif_bench_s.gif");
}

quilla::DIBImage& Picture() {
  static quilla::DIBImage picture;
  if (picture.HasImage()) return picture;
  quilla::bench::UseHeadlessHost();
  uint32_t noise = 12345;
  quilla::bench::MakePicture(picture, true, [&](int x, int y, uint8_t* p) {
    noise = noise * 1664525u + 1013904223u;
    double field = 100 + 60 * std::sin(x / 700.0) + 50 * std::cos(y / 450.0);
    *p = uint8_t(int(field) + int(noise >> 29) - 4);
  });
  return picture;
}

bool Write(quilla::DIBImage& picture, bool interlaced) {
  quilla::Options().SetSaveGifInterlaced(interlaced ? 1 : 0);
  std::string name = FileName(interlaced);
  picture.fileType = quilla::kGif89a;
  return quilla::WriteImageFile(picture, name) != 0;
}

void BM_GifWrite(benchmark::State& state) {
  quilla::DIBImage& picture = Picture();
  bool interlaced = state.range(0) != 0;
  for (auto _ : state)
    if (!Write(picture, interlaced)) state.SkipWithError("write failed");
  state.counters["MB"] = double(std::filesystem::file_size(FileName(interlaced))) / 1e6;
  state.counters["Mpixel/s"] = benchmark::Counter(double(kWidth) * kHeight / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_GifWriteTrueColor(benchmark::State& state) {
  quilla::DIBImage& picture = quilla::bench::Picture(false);
  const std::string name = quilla::bench::TempPath("gif_bench_t.gif");
  quilla::Options().SetSaveGifInterlaced(0);
  picture.fileType = quilla::kGif89a;
  for (auto _ : state)
    if (quilla::WriteImageFile(picture, name) == 0) state.SkipWithError("write failed");
  state.counters["MB"] = double(std::filesystem::file_size(name)) / 1e6;
  state.counters["Mpixel/s"] = benchmark::Counter(double(kWidth) * kHeight / 1e6, benchmark::Counter::kIsIterationInvariantRate);
  std::remove(name.c_str());
}

void BM_GifRead(benchmark::State& state) {
  quilla::DIBImage& picture = Picture();
  bool interlaced = state.range(0) != 0;
  if (!Write(picture, interlaced)) state.SkipWithError("write failed");
  std::string name = FileName(interlaced);
  for (auto _ : state) {
    quilla::DIBImage document;
    if (!quilla::ReadImageFileAs(document, name, quilla::kGif89a) || document.Width() != kWidth)
      state.SkipWithError("read failed");
  }
  state.counters["Mpixel/s"] = benchmark::Counter(double(kWidth) * kHeight / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

}  // namespace

BENCHMARK(BM_GifWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GifWriteTrueColor)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GifRead)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
