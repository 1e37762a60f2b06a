// Nearest-neighbour resize of the 24-megapixel true-colour picture to 800x600. Undo puts
// the full-size picture back after each run; it only swaps blocks.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "core/dib_image.h"
#include "retouch/resize.h"

namespace {

void BM_ResizeNearest(benchmark::State& state) {
  quilla::DIBImage& picture = quilla::bench::Picture(false);
  for (auto _ : state) {
    if (!quilla::ResizeImage(picture, 800, 600)) state.SkipWithError("out of memory");
    picture.Undo();
  }
  state.SetItemsProcessed(state.iterations() * int64_t(800) * 600);
}

BENCHMARK(BM_ResizeNearest)->Unit(benchmark::kMillisecond);

}  // namespace
