#include "retouch/curve_drawing.h"

#include <algorithm>

namespace quilla {

void DrawCurvePoint(TransferTable& curve, int x, int y, CurveOrdering ordering) {
  const size_t left = size_t(std::clamp(x, 0, 255));
  const size_t right = std::min<size_t>(left + 1, 255);
  curve[left] = curve[right] = std::clamp(y, 0, 255);
  if (ordering == CurveOrdering::None) return;
  const bool increasing = ordering == CurveOrdering::Increasing;
  // Each entry is compared with its already ordered neighbour: the running extreme.
  for (size_t i = right + 1; i < curve.size(); ++i)
    curve[i] = increasing ? std::max(curve[i], curve[i - 1]) : std::min(curve[i], curve[i - 1]);
  for (size_t i = left; i-- > 0;)
    curve[i] = increasing ? std::min(curve[i], curve[i + 1]) : std::max(curve[i], curve[i + 1]);
}

void ApplyCurveOrdering(TransferTable& curve, CurveOrdering ordering) {
  if (ordering == CurveOrdering::Increasing) DrawCurvePoint(curve, 0, curve[0], ordering);
  if (ordering == CurveOrdering::Decreasing) DrawCurvePoint(curve, 255, curve[255], ordering);
}

}  // namespace quilla
