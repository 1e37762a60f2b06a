// JPEG reading and writing of a 24-megapixel photo-like picture (smooth colour fields with
// noise; written at quality 75 with plain and with optimised Huffman tables), through the adapter and, side by side, through bare libjpeg-turbo doing the same
// work (same options, same byte order, same rows), so the adapter's own cost shows.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "bench_support.h"
#include "formats/file_types.h"
#include "formats/image_files.h"
#include "formats/jpeg/jpeg_codec.h"
#include "settings/app_options.h"

namespace {

using quilla::bench::kHeight;
using quilla::bench::kWidth;

quilla::DIBImage& Photo() {
  static quilla::DIBImage photo;
  if (photo.HasImage()) return photo;
  uint32_t noise = 12345;
  quilla::bench::MakePicture(photo, false, [&](int x, int y, uint8_t* p) {
    noise = noise * 1103515245u + 12345u;
    int n = int(noise >> 28) - 8;
    double fx = double(x) / kWidth, fy = double(y) / kHeight;
    p[0] = uint8_t(std::clamp(int(120 + 100 * std::sin(9 * fx + 4 * fy)) + n, 0, 255));
    p[1] = uint8_t(std::clamp(int(60 + 150 * fy) + n, 0, 255));
    p[2] = uint8_t(std::clamp(int(40 + 180 * fx * fy) + n, 0, 255));
  });
  return photo;
}

void Setup() {
  quilla::bench::UseHeadlessHost();
  quilla::Options().SetJpegQuality(75);
  quilla::Options().SetJpegEntOpt(1);
  quilla::Options().SetNeedQuantizeRead(0);
}

void BM_AdapterWrite(benchmark::State& state) {
  Setup();
  quilla::Options().SetJpegEntOpt(int(state.range(0)));
  quilla::DIBImage& photo = Photo();
  std::string path = quilla::bench::TempPath("quilla_bench_adapter.jpg");
  photo.fileType = quilla::kJpegFile;
  for (auto _ : state) {
    if (!quilla::WriteImageFile(photo, path)) state.SkipWithError("write failed");
  }
  state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
}

void BM_LibjpegWrite(benchmark::State& state) {
  quilla::DIBImage& photo = Photo();
  std::string path = quilla::bench::TempPath("quilla_bench_bare.jpg");
  photo.Lock();
  for (auto _ : state) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, f);
    c.image_width = kWidth;
    c.image_height = kHeight;
    c.input_components = 3;
    c.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 75, FALSE);
    c.optimize_coding = state.range(0) ? TRUE : FALSE;
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
      JSAMPROW row = photo.RowPointer(int(c.next_scanline));
      jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::fclose(f);
  }
  photo.Unlock();
  state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
}

void EnsureSample(const std::string& path) {
  if (std::filesystem::exists(path)) return;
  Setup();
  quilla::DIBImage& photo = Photo();
  photo.fileType = quilla::kJpegFile;
  if (!quilla::WriteImageFile(photo, path)) std::abort();
}

void BM_AdapterRead(benchmark::State& state) {
  Setup();
  std::string path = quilla::bench::TempPath("quilla_bench_sample.jpg");
  EnsureSample(path);
  for (auto _ : state) {
    quilla::DIBImage document;
    if (!quilla::ReadImageFileAs(document, path, quilla::kJpegFile)) state.SkipWithError("read failed");
  }
  state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
}

void BM_LibjpegRead(benchmark::State& state) {
  std::string path = quilla::bench::TempPath("quilla_bench_sample.jpg");
  EnsureSample(path);
  for (auto _ : state) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    jpeg_decompress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_decompress(&c);
    jpeg_stdio_src(&c, f);
    jpeg_read_header(&c, TRUE);
    c.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&c);
    size_t stride = (size_t(c.output_width) * 3 + 3) & ~size_t(3);
    std::vector<uint8_t> pixels(stride * c.output_height);
    while (c.output_scanline < c.output_height) {
      JSAMPROW rows[16];
      JDIMENSION first = c.output_scanline, n = std::min<JDIMENSION>(16, c.output_height - first);
      for (JDIMENSION i = 0; i < n; ++i) rows[i] = pixels.data() + (c.output_height - 1 - first - i) * stride;
      jpeg_read_scanlines(&c, rows, n);
    }
    jpeg_finish_decompress(&c);
    jpeg_destroy_decompress(&c);
    std::fclose(f);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
}

}  // namespace

BENCHMARK(BM_AdapterWrite)->ArgName("optimize")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LibjpegWrite)->ArgName("optimize")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_AdapterRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LibjpegRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);
