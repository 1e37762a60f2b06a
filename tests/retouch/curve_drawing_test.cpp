#include "retouch/curve_drawing.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "retouch/transfer_curves.h"

namespace quilla {

namespace {

struct Run {
  size_t first, last;  // inclusive
  int32_t value;
};

// The identity with each run of entries set to its value.
TransferTable IdentityWith(std::initializer_list<Run> runs) {
  TransferTable curve = IdentityCurve();
  for (const Run& run : runs)
    for (size_t i = run.first; i <= run.last; ++i) curve[i] = run.value;
  return curve;
}

}  // namespace

// A point sets its entry and the next; the ordering then carries it to either side as far as
// the curve would otherwise break it, and no further.
TEST(CurveDrawingTest, PointsKeepTheOrdering) {
  struct Case {
    const char* what;
    int x, y;
    CurveOrdering ordering;
    TransferTable expected;
  } cases[] = {
      {"none", 100, 200, CurveOrdering::None, IdentityWith({{100, 101, 200}})},
      {"none, last entry alone", 255, 0, CurveOrdering::None, IdentityWith({{255, 255, 0}})},
      {"increasing, raised", 100, 200, CurveOrdering::Increasing, IdentityWith({{100, 200, 200}})},
      {"increasing, lowered", 100, 10, CurveOrdering::Increasing, IdentityWith({{10, 101, 10}})},
      {"increasing, held to the range", 0, 300, CurveOrdering::Increasing, IdentityWith({{0, 255, 255}})},
      {"decreasing", 200, 50, CurveOrdering::Decreasing, IdentityWith({{0, 199, 199}, {200, 255, 50}})},
  };
  for (const Case& c : cases) {
    TransferTable curve = IdentityCurve();
    DrawCurvePoint(curve, c.x, c.y, c.ordering);
    EXPECT_EQ(curve, c.expected) << c.what;
  }
}

// Choosing an ordering draws the first (Increasing) or last (Decreasing) point again.
TEST(CurveDrawingTest, ChoosingAnOrderingAppliesItAtOnce) {
  TransferTable negative;
  for (size_t i = 0; i < negative.size(); ++i) negative[i] = int32_t(255 - i);
  TransferTable increasing = negative, decreasing = IdentityCurve(), none = negative;
  ApplyCurveOrdering(increasing, CurveOrdering::Increasing);
  ApplyCurveOrdering(decreasing, CurveOrdering::Decreasing);
  ApplyCurveOrdering(none, CurveOrdering::None);
  EXPECT_EQ(increasing, IdentityWith({{0, 255, 255}})) << "T[1] takes T[0], and so does every entry after it";
  EXPECT_EQ(decreasing, IdentityWith({{0, 255, 255}}));
  EXPECT_EQ(none, negative);
}

}  // namespace quilla
