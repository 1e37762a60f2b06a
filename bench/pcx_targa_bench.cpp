// Writing and reading a 24-megapixel picture as PCX (true colour in three planes, and 256
// colours with the palette at the end) and as Targa (24-bit, and 8-bit colour-mapped),
// through the open and save flows; also a run-length Targa read.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"
#include "formats/file_types.h"

namespace {

using quilla::bench::kHeight;
using quilla::bench::kWidth;
using quilla::bench::ReadPicture;
using quilla::bench::WritePicture;

// A 24-bit run-length Targa of the picture, bottom row first, packets crossing rows.
void ReadTargaRle(benchmark::State& state) {
  quilla::DIBImage& picture = quilla::bench::Picture(false);
  std::string path = quilla::bench::TempPath("pcx_targa_bench_rle.tga");
  std::vector<uint8_t> out = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, uint8_t(kWidth), uint8_t(kWidth >> 8),
                              uint8_t(kHeight), uint8_t(kHeight >> 8), 24, 0};
  picture.Lock();
  std::vector<const uint8_t*> pixels;
  pixels.reserve(size_t(kWidth) * kHeight);
  for (int y = kHeight - 1; y >= 0; --y)
    for (int x = 0; x < kWidth; ++x) pixels.push_back(picture.RowPointer(y) + 3 * x);
  auto same = [](const uint8_t* a, const uint8_t* b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; };
  for (size_t i = 0; i < pixels.size();) {
    size_t j = i + 1;
    while (j < pixels.size() && j - i < 128 && same(pixels[j], pixels[i])) ++j;
    if (j - i > 1) {
      out.push_back(uint8_t(0x80 | (j - i - 1)));
      out.insert(out.end(), pixels[i], pixels[i] + 3);
      i = j;
      continue;
    }
    size_t k = i + 1;
    while (k < pixels.size() && k - i < 128 && !same(pixels[k], pixels[k - 1])) ++k;
    out.push_back(uint8_t(k - i - 1));
    for (size_t p = i; p < k; ++p) out.insert(out.end(), pixels[p], pixels[p] + 3);
    i = k;
  }
  picture.Unlock();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f || std::fwrite(out.data(), 1, out.size(), f) != out.size() || std::fclose(f) != 0) {
    state.SkipWithError("cannot write the run-length file");
    return;
  }
  state.counters["file MB"] = double(out.size()) / 1e6;
  quilla::bench::ReadFile(state, path, false);
}

void BM_WritePcx24(benchmark::State& s) { WritePicture(s, quilla::kPcxFile, false, "pcx_targa_bench24.pcx"); }
void BM_ReadPcx24(benchmark::State& s) { ReadPicture(s, quilla::kPcxFile, false, "pcx_targa_bench24.pcx"); }
void BM_WritePcx8(benchmark::State& s) { WritePicture(s, quilla::kPcxFile, true, "pcx_targa_bench8.pcx"); }
void BM_ReadPcx8(benchmark::State& s) { ReadPicture(s, quilla::kPcxFile, true, "pcx_targa_bench8.pcx"); }
void BM_WriteTarga24(benchmark::State& s) { WritePicture(s, quilla::kTargaFile, false, "pcx_targa_bench24.tga"); }
void BM_ReadTarga24(benchmark::State& s) { ReadPicture(s, quilla::kTargaFile, false, "pcx_targa_bench24.tga"); }
void BM_WriteTarga8(benchmark::State& s) { WritePicture(s, quilla::kTargaFile, true, "pcx_targa_bench8.tga"); }
void BM_ReadTarga8(benchmark::State& s) { ReadPicture(s, quilla::kTargaFile, true, "pcx_targa_bench8.tga"); }
void BM_ReadTarga24Rle(benchmark::State& s) { ReadTargaRle(s); }

BENCHMARK(BM_WritePcx24)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadPcx24)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WritePcx8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadPcx8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteTarga24)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadTarga24)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteTarga8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadTarga8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadTarga24Rle)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
