// Writing and reading a 24-megapixel true-colour picture as a raw pixmap (P6), as an
// uncompressed and an LZW-compressed TIFF, and as an 8-bit palette TIFF, through the open
// and save flows.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "formats/file_types.h"

namespace {

using quilla::bench::ReadPicture;
using quilla::bench::WritePicture;

void BM_WritePpm(benchmark::State& s) { WritePicture(s, quilla::kPnmFile, false, "ppm_tiff_bench.pbm"); }
void BM_ReadPpm(benchmark::State& s) { ReadPicture(s, quilla::kPnmFile, false, "ppm_tiff_bench.pbm"); }
void BM_WriteTiff(benchmark::State& s) { WritePicture(s, quilla::kTiffFile, false, "ppm_tiff_bench.tif"); }
void BM_ReadTiff(benchmark::State& s) { ReadPicture(s, quilla::kTiffFile, false, "ppm_tiff_bench.tif"); }
void BM_WriteTiffLzw(benchmark::State& s) { WritePicture(s, quilla::kTiffCompressed, false, "ppm_tiff_bench_lzw.tif"); }
void BM_ReadTiffLzw(benchmark::State& s) { ReadPicture(s, quilla::kTiffCompressed, false, "ppm_tiff_bench_lzw.tif"); }
void BM_WriteTiffPalette(benchmark::State& s) { WritePicture(s, quilla::kTiffFile, true, "ppm_tiff_bench_8.tif"); }
void BM_ReadTiffPalette(benchmark::State& s) { ReadPicture(s, quilla::kTiffFile, true, "ppm_tiff_bench_8.tif"); }

BENCHMARK(BM_WritePpm)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadPpm)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteTiff)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadTiff)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteTiffLzw)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadTiffLzw)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteTiffPalette)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadTiffPalette)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
