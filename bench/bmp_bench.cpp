// Writing and reading a 24-megapixel picture as a Windows BMP, 24-bit and 8-bit with a
// 256-colour table, through the open and save flows.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "formats/file_types.h"

namespace {

using quilla::bench::ReadPicture;
using quilla::bench::WritePicture;

void BM_WriteBmp24(benchmark::State& s) { WritePicture(s, quilla::kWindowsBmp, false, "bmp_bench24.bmp"); }
void BM_ReadBmp24(benchmark::State& s) { ReadPicture(s, quilla::kWindowsBmp, false, "bmp_bench24.bmp"); }
void BM_WriteBmp8(benchmark::State& s) { WritePicture(s, quilla::kWindowsBmp, true, "bmp_bench8.bmp"); }
void BM_ReadBmp8(benchmark::State& s) { ReadPicture(s, quilla::kWindowsBmp, true, "bmp_bench8.bmp"); }

BENCHMARK(BM_WriteBmp24)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadBmp24)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteBmp8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadBmp8)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
