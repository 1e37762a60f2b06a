// Reduction of a 24-megapixel photo-like picture (smooth colour fields plus sensor-like
// noise) to 256 colours, with and without dithering.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench_support.h"
#include "color/color_quantizer.h"
#include "color/color_reduction.h"

namespace {

using quilla::bench::kHeight;
using quilla::bench::kWidth;

// Each channel is a sum of a slow wave along x and one along y, plus noise of +-12.
quilla::DIBImage& Photo() {
  static quilla::DIBImage photo;
  if (photo.HasImage()) return photo;
  quilla::bench::UseHeadlessHost();
  std::vector<int> waveX[3], waveY[3];
  const double periodX[3] = {2300, 3100, 1700}, periodY[3] = {1900, 1300, 2700};
  for (int c = 0; c < 3; ++c) {
    for (int x = 0; x < kWidth; ++x) waveX[c].push_back(int(70 * std::sin(x * 6.283 / periodX[c] + c)));
    for (int y = 0; y < kHeight; ++y) waveY[c].push_back(int(55 * std::cos(y * 6.283 / periodY[c] - c)));
  }
  uint32_t noise = 12345;
  quilla::bench::MakePicture(photo, false, [&](int x, int y, uint8_t* p) {
    for (int c = 2; c >= 0; --c, ++p) {  // blue, green, red
      noise = noise * 1664525u + 1013904223u;
      int value = 128 + waveX[c][size_t(x)] + waveY[c][size_t(y)] + int((noise >> 24) % 25) - 12;
      *p = uint8_t(std::clamp(value, 0, 255));
    }
  });
  return photo;
}

void Reduce(benchmark::State& state, bool dither) {
  quilla::DIBImage& photo = Photo();
  for (auto _ : state) {
    quilla::DIBImage reduced;
    if (!quilla::QuantizeInto(reduced, photo, 256, dither, false)) state.SkipWithError("reduction failed");
    benchmark::DoNotOptimize(reduced.Block().data());
  }
  state.counters["Mpixel/s"] =
      benchmark::Counter(double(kWidth) * kHeight * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

void BM_Reduce24MpTo256(benchmark::State& state) { Reduce(state, false); }
void BM_Reduce24MpTo256Dithered(benchmark::State& state) { Reduce(state, true); }

// The histogram alone: every row counted, with the folds of the partial tables a long
// count makes.
void BM_Count24Mp(benchmark::State& state) {
  quilla::DIBImage& photo = Photo();
  quilla::ColorQuantizer& q = quilla::TheColorQuantizer();
  quilla::ImageLock lock(photo);
  for (auto _ : state) {
    q.ClearHistogram();
    for (int y = 0; y < kHeight; ++y) q.CountTrueColorRow(photo.RowPointer(y), kWidth);
    benchmark::DoNotOptimize(q.CellValue(16, 16, 16));
  }
  state.counters["Mpixel/s"] =
      benchmark::Counter(double(kWidth) * kHeight * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

BENCHMARK(BM_Count24Mp)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Reduce24MpTo256)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Reduce24MpTo256Dithered)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
