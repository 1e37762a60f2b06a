// Writing and reading a 24-megapixel true-colour picture as a raw pixmap (P6), as an
// uncompressed and an LZW-compressed TIFF, and as an 8-bit palette TIFF, through the open
// and save flows; and a pixmap and a TIFF read and written again, as a conversion does.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench_support.h"
#include "formats/file_types.h"
#include "formats/image_files.h"

namespace {

using quilla::DIBImage;
using quilla::bench::Picture;
using quilla::bench::ReadPicture;
using quilla::bench::TempPath;
using quilla::bench::WritePicture;

void BM_WritePpm(benchmark::State& s) { WritePicture(s, quilla::kPnmFile, false, "ppm_tiff_bench.pbm"); }
void BM_ReadPpm(benchmark::State& s) { ReadPicture(s, quilla::kPnmFile, false, "ppm_tiff_bench.pbm"); }
void BM_WriteTiff(benchmark::State& s) { WritePicture(s, quilla::kTiffFile, false, "ppm_tiff_bench.tif"); }
void BM_ReadTiff(benchmark::State& s) { ReadPicture(s, quilla::kTiffFile, false, "ppm_tiff_bench.tif"); }
void BM_WriteTiffLzw(benchmark::State& s) { WritePicture(s, quilla::kTiffCompressed, false, "ppm_tiff_bench_lzw.tif"); }
void BM_ReadTiffLzw(benchmark::State& s) { ReadPicture(s, quilla::kTiffCompressed, false, "ppm_tiff_bench_lzw.tif"); }
void BM_WriteTiffPalette(benchmark::State& s) { WritePicture(s, quilla::kTiffFile, true, "ppm_tiff_bench_8.tif"); }
void BM_ReadTiffPalette(benchmark::State& s) { ReadPicture(s, quilla::kTiffFile, true, "ppm_tiff_bench_8.tif"); }

// Opening the picture saved as type and saving it as type again.
void ReadWrite(benchmark::State& s, uint32_t type, const char* name, const char* outName) {
  DIBImage& picture = Picture(false);
  picture.fileType = type;
  const std::string in = TempPath(name), out = TempPath(outName);
  if (!WriteImageFile(picture, in.c_str())) return s.SkipWithError("write failed");
  for (auto _ : s) {
    DIBImage document;
    if (!ReadImageFile(document, in.c_str())) return s.SkipWithError("read failed");
    document.fileType = type;
    if (!WriteImageFile(document, out.c_str())) return s.SkipWithError("write failed");
  }
  s.SetBytesProcessed(s.iterations() * int64_t(quilla::bench::kWidth) * quilla::bench::kHeight * 3);
  std::remove(in.c_str());
  std::remove(out.c_str());
}
void BM_ReadWritePpm(benchmark::State& s) {
  ReadWrite(s, quilla::kPnmFile, "ppm_tiff_bench.pbm", "ppm_tiff_bench_out.pbm");
}
void BM_ReadWriteTiff(benchmark::State& s) {
  ReadWrite(s, quilla::kTiffFile, "ppm_tiff_bench.tif", "ppm_tiff_bench_out.tif");
}
void BM_ReadWriteTiffLzw(benchmark::State& s) {
  ReadWrite(s, quilla::kTiffCompressed, "ppm_tiff_bench_lzw.tif", "ppm_tiff_bench_out.tif");
}

BENCHMARK(BM_WritePpm)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadPpm)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteTiff)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadTiff)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteTiffLzw)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadTiffLzw)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteTiffPalette)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadTiffPalette)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadWritePpm)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadWriteTiff)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadWriteTiffLzw)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
