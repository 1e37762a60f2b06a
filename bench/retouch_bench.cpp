// Colour retouches on the 24-megapixel true-colour picture: a gamma preview, which only
// recomputes the pixels from the kept source, and GrayScale as the command runs it, with
// its duplicate for undo (Undo puts the picture back after each run).
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "core/dib_image.h"
#include "retouch/colour_retouch.h"

namespace {

void BM_GammaPreview(benchmark::State& state) {
  quilla::ColourRetouch retouch(quilla::bench::Picture(false));
  if (!retouch) state.SkipWithError("out of memory");
  for (auto _ : state) retouch.Apply(quilla::RetouchOp::GammaCorrection, {100, 100, 100});
  state.SetItemsProcessed(state.iterations() * int64_t(quilla::bench::kWidth) * quilla::bench::kHeight);
}

void BM_GrayScale(benchmark::State& state) {
  quilla::DIBImage& picture = quilla::bench::Picture(false);
  for (auto _ : state) {
    if (!quilla::GrayScaleImage(picture)) state.SkipWithError("out of memory");
    picture.Undo();
  }
  state.SetItemsProcessed(state.iterations() * int64_t(quilla::bench::kWidth) * quilla::bench::kHeight);
}

BENCHMARK(BM_GammaPreview)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrayScale)->Unit(benchmark::kMillisecond);

}  // namespace
