// Smooth + (all 25 weights non-zero) over the 24-megapixel true-colour picture, from a
// duplicate of it into the picture itself, as the filter command does.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "core/dib_image.h"
#include "retouch/image_filter.h"
#include "settings/list_defaults.h"

namespace {

void BM_FilterSmoothPlus(benchmark::State& state) {
  quilla::DIBImage& picture = quilla::bench::Picture(false);
  quilla::DIBImage source;
  source.ReplaceDib(picture.Duplicate());
  const quilla::FilterSpec smoothPlus = quilla::DefaultNamedFilter(1);
  for (auto _ : state) quilla::ApplyFilter(smoothPlus, source, picture);
  state.SetItemsProcessed(state.iterations() * int64_t(quilla::bench::kWidth) * quilla::bench::kHeight);
}

BENCHMARK(BM_FilterSmoothPlus)->Unit(benchmark::kMillisecond);

}  // namespace
