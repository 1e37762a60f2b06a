// Colour selection: median cut over the histogram, with the fixed colours (black and white,
// or the Windows 16) put at the ends of the palette so they keep their usual places.
#include <algorithm>

#include "color/color_quantizer.h"
#include "color/windows16_palette.h"

namespace quilla {

namespace {

// Calls visit(cellIndex) for every cell of the box.
template <class Visit>
void ForEachCell(const int32_t lo[3], const int32_t hi[3], Visit visit) {
  for (int r = lo[0]; r <= hi[0]; ++r)
    for (int g = lo[1]; g <= hi[1]; ++g)
      for (int b = lo[2]; b <= hi[2]; ++b) visit(ColorQuantizer::CellIndex(r, g, b));
}

constexpr RgbQuad kBlack{0, 0, 0, 0};
constexpr RgbQuad kWhite{255, 255, 255, 0};

}  // namespace

int ColorQuantizer::CountOf(const int32_t lo[3], const int32_t hi[3]) const {
  int count = 0;
  ForEachCell(lo, hi, [&](int cell) { count += cells[size_t(cell)] != 0; });
  return count;
}

void ColorQuantizer::ShrinkBox(ColorBox& box) const {
  for (int axis = 0; axis < 3; ++axis) {
    if (box.hi[axis] <= box.lo[axis]) continue;
    auto planeHasColor = [&](int value) {
      int32_t lo[3] = {box.lo[0], box.lo[1], box.lo[2]};
      int32_t hi[3] = {box.hi[0], box.hi[1], box.hi[2]};
      lo[axis] = hi[axis] = value;
      for (int r = lo[0]; r <= hi[0]; ++r)
        for (int g = lo[1]; g <= hi[1]; ++g)
          for (int b = lo[2]; b <= hi[2]; ++b)
            if (cells[size_t(CellIndex(r, g, b))] != 0) return true;
      return false;
    };
    int first = box.lo[axis], last = box.hi[axis];
    while (first <= last && !planeHasColor(first)) ++first;
    if (first > last) continue;  // nothing in the box: leave it as it is
    while (!planeHasColor(last)) --last;
    box.lo[axis] = first;
    box.hi[axis] = last;
  }
  box.cells = CountOf(box.lo, box.hi);
}

// Splits boxes until there are target of them or none can be split. While the boxes are
// few the most populated one is split, afterwards the one of largest extent.
int ColorQuantizer::MedianCut(int target) {
  while (int(boxes.size()) < target) {
    bool byCells = 2 * int(boxes.size()) <= target;
    int chosen = -1;
    long best = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
      const ColorBox& box = boxes[i];
      if (!box.Splittable()) continue;
      long value = box.cells;
      if (!byCells) {
        long dr = box.hi[0] - box.lo[0], dg = box.hi[1] - box.lo[1], db = box.hi[2] - box.lo[2];
        value = dr * dr + dg * dg + db * db;
      }
      if (value > best) best = value, chosen = int(i);
    }
    if (chosen < 0) break;
    ColorBox& box = boxes[size_t(chosen)];
    int axis = 0;
    for (int a = 1; a < 3; ++a)
      if (box.hi[a] - box.lo[a] > box.hi[axis] - box.lo[axis]) axis = a;
    int mid = (box.lo[axis] + box.hi[axis]) / 2;
    ColorBox upper = box;
    box.hi[axis] = mid;
    upper.lo[axis] = mid + 1;
    ShrinkBox(box);
    ShrinkBox(upper);
    boxes.push_back(upper);
  }
  return int(boxes.size());
}

// The count-weighted mean of the box's cell centres; empty is set for a box without pixels.
RgbQuad ColorQuantizer::BoxColor(const ColorBox& box, bool& empty) const {
  uint64_t total = 0, sum[3] = {0, 0, 0};
  for (int r = box.lo[0]; r <= box.hi[0]; ++r)
    for (int g = box.lo[1]; g <= box.hi[1]; ++g)
      for (int b = box.lo[2]; b <= box.hi[2]; ++b) {
        uint64_t w = cells[size_t(CellIndex(r, g, b))];
        total += w;
        sum[0] += w * uint64_t(r * 8 + 4);
        sum[1] += w * uint64_t(g * 8 + 4);
        sum[2] += w * uint64_t(b * 8 + 4);
      }
  empty = total == 0;
  if (empty) return kBlack;
  auto mean = [&](int c) { return uint8_t((sum[c] + total / 2) / total); };
  return RgbQuad{mean(2), mean(1), mean(0), 0};
}

void ColorQuantizer::SelectColors(int n) {
  FoldPartials();
  n = std::clamp(n, 2, 256);
  RgbQuad* out = mapping.entries.data();
  // Entries no box fills stay black: they repeat entry 0, which wins every tie.
  std::fill(out, out + n, kBlack);
  if (n < 3) {
    out[0] = kBlack;
    out[1] = kWhite;
  } else if (n == 16) {
    std::copy(Windows16Palette.begin(), Windows16Palette.end(), out);
  } else {
    bool few = n < 16;
    int fixed = few ? 2 : 16, first = few ? 1 : 8;
    boxes.clear();
    boxes.push_back(ColorBox{{0, 0, 0}, {31, 31, 31}, 0});
    ShrinkBox(boxes[0]);
    MedianCut(n - fixed);
    for (size_t i = 0; i < boxes.size(); ++i) {
      bool empty = false;
      RgbQuad color = BoxColor(boxes[i], empty);
      if (!empty) out[first + int(i)] = color;
    }
    if (few) {
      out[0] = kBlack;
      out[n - 1] = kWhite;
    } else {
      std::copy(Windows16Palette.begin(), Windows16Palette.begin() + 8, out);
      std::copy(Windows16Palette.begin() + 8, Windows16Palette.end(), out + n - 8);
    }
  }
  mapping.count = uint32_t(n);
  ClearHistogram();
}

}  // namespace quilla
