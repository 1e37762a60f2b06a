#include "retouch/image_filter.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/dib_image.h"

namespace quilla {

namespace {

constexpr int kSide = 5, kReach = 2;
// Bytes of a row summed at a time, so the sums stay in the first-level cache while every
// weight passes over them; a multiple of 3 keeps chunks starting on blue.
constexpr int kChunk = 3 * 1024;

// One non-zero weight: its kernel row and its byte offset from the leftmost neighbour.
struct Tap {
  int weight, row, offset;
};

// Only the non-zero weights are summed, so zero rows and columns (and the whole outer
// ring of a 3 x 3 filter) cost nothing. Every sum lies in lowest..highest.
struct Taps {
  std::vector<Tap> taps;
  int lowest = 0, highest = 0;
};

Taps TapsOf(const FilterSpec& filter) {
  Taps k;
  for (int r = 0; r < kSide; ++r)
    for (int c = 0; c < kSide; ++c) {
      int weight = std::clamp(filter.kernel[size_t(r * kSide + c)], -255, 255);
      if (weight == 0) continue;
      k.taps.push_back({weight, r, 3 * c});
      (weight > 0 ? k.highest : k.lowest) += weight * 255;
    }
  return k;
}

// The result byte of every possible sum: sum / divisor + bias, clamped.
std::vector<uint8_t> ResultTable(const FilterSpec& filter, const Taps& k) {
  const int divisor = std::max(filter.divisor, 1);
  std::vector<uint8_t> table(size_t(k.highest - k.lowest + 1));
  for (int sum = k.lowest; sum <= k.highest; ++sum)
    table[size_t(sum - k.lowest)] = uint8_t(std::clamp(sum / divisor + filter.bias, 0, 255));
  return table;
}

// sums[j] = the weighted sum for byte j of the chunk; rows[r] + begin is the leftmost
// neighbour of its first byte in kernel row r. Sum is 16 bits wide when no sum can pass it,
// which doubles what one vector instruction does.
template <typename Sum>
void SumChunk(const std::vector<Tap>& taps, const uint8_t* const rows[kSide], int begin, int length,
              Sum* __restrict sums) {
  if (taps.empty()) {
    std::fill(sums, sums + length, Sum(0));
    return;
  }
  const uint8_t* __restrict first = rows[taps[0].row] + taps[0].offset + begin;
  const Sum w0 = Sum(taps[0].weight);
  for (int j = 0; j < length; ++j) sums[j] = Sum(w0 * Sum(first[j]));
  for (size_t t = 1; t < taps.size(); ++t) {
    const uint8_t* __restrict s = rows[taps[t].row] + taps[t].offset + begin;
    const Sum w = Sum(taps[t].weight);
    for (int j = 0; j < length; ++j) sums[j] = Sum(sums[j] + w * Sum(s[j]));
  }
}

template <typename Sum>
void Convolve(const FilterSpec& filter, const Taps& k, DIBImage& source, DIBImage& destination) {
  const std::vector<Tap>& taps = k.taps;
  const int lowest = k.lowest;
  const std::vector<uint8_t> table = ResultTable(filter, k);
  const uint8_t* result = table.data();
  const bool channel[3] = {filter.blue != 0, filter.green != 0, filter.red != 0};
  const bool allChannels = channel[0] && channel[1] && channel[2];

  const int width = source.Width(), height = source.Height();
  const int bytes = 3 * (width - 2 * kReach);  // the columns that are written
  std::vector<Sum> sums(size_t(std::min(bytes, kChunk)));
  for (int y = kReach; y < height - kReach; ++y) {
    const uint8_t* rows[kSide];
    for (int r = 0; r < kSide; ++r) rows[r] = source.StoredRow(y + r - kReach);
    uint8_t* out = destination.StoredRow(y) + 3 * kReach;
    for (int begin = 0; begin < bytes; begin += kChunk) {
      const int length = std::min(kChunk, bytes - begin);
      SumChunk(taps, rows, begin, length, sums.data());
      uint8_t* __restrict o = out + begin;
      if (allChannels) {
        for (int j = 0; j < length; ++j) o[j] = result[sums[size_t(j)] - lowest];
      } else {
        for (int ch = 0; ch < 3; ++ch)
          if (channel[ch])
            for (int j = ch; j < length; j += 3) o[j] = result[sums[size_t(j)] - lowest];
      }
    }
  }
}

}  // namespace

void ApplyFilter(const FilterSpec& filter, DIBImage& source, DIBImage& destination) {
  if (source.Width() < kSide || source.Height() < kSide || !source.IsTrueColor() ||
      !destination.IsTrueColor() || destination.Width() != source.Width() ||
      destination.Height() != source.Height())
    return;
  ImageLock sourceLock(source), destinationLock(destination);
  if (!sourceLock || !destinationLock) return;
  const Taps k = TapsOf(filter);
  if (k.highest <= INT16_MAX && k.lowest >= INT16_MIN)
    Convolve<int16_t>(filter, k, source, destination);
  else
    Convolve<int32_t>(filter, k, source, destination);
}

}  // namespace quilla
