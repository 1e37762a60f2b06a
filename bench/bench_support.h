// What the benchmarks share: the headless host, 24-megapixel pictures made the same way
// on every run, and the write and read of a picture through the save and open flows.
#pragma once
#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>
#include <string>

#include "core/dib_image.h"

namespace quilla::bench {

inline constexpr int kWidth = 6000, kHeight = 4000;

// quilla-cli's host (messages go to stderr) and the engine's tables, set up once.
void UseHeadlessHost();

// name in the temporary folder.
std::string TempPath(const char* name);

// Makes picture kWidth x kHeight, 24-bit or 8-bit with 256 colours, and fills it row by
// row, left to right: pixel(x, y, p) writes blue, green, red or one index at p. Exits
// when memory runs out.
void MakePicture(DIBImage& picture, bool palette, const std::function<void(int x, int y, uint8_t* p)>& pixel);

// Smooth colour fields with a little noise, as a photograph has; palette: the same in
// 256 indices. Made once.
DIBImage& Picture(bool palette);

// Saving Picture(palette) as type to the temporary file name, and opening what was saved,
// in bytes of pixels per second.
void WritePicture(benchmark::State& state, uint32_t type, bool palette, const char* name);
void ReadPicture(benchmark::State& state, uint32_t type, bool palette, const char* name);
// Opening a file made beforehand, removed afterwards.
void ReadFile(benchmark::State& state, const std::string& path, bool palette);

}  // namespace quilla::bench
