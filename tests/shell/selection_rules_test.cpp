#include "shell/selection_rules.h"

#include <gtest/gtest.h>

namespace quilla {

// A 10 x 10 image scrolled by (2, 3), the selection (4, 5)-(6, 7), a frame 1 pixel thick.
TEST(SelectionRules, FramePiecesSitOutsideTheRectangleAndStayOnTheImage) {
  const FrameView view{1, 2, 3, 10, 10};
  const auto pieces = FramePieces({4, 5, 6, 7}, view);
  // In client coordinates L, T, R, B = 2, 2, 4, 4.
  EXPECT_TRUE(pieces[kLeftEdge].Contains(1, 1) && pieces[kLeftEdge].Contains(1, 4) && !pieces[kLeftEdge].Contains(2, 2));
  EXPECT_TRUE(pieces[kBottomEdge].Contains(1, 5) && pieces[kBottomEdge].Contains(4, 5));
  EXPECT_TRUE(pieces[kRightEdge].Contains(5, 2) && pieces[kRightEdge].Contains(5, 5));
  EXPECT_TRUE(pieces[kTopEdge].Contains(2, 1) && pieces[kTopEdge].Contains(5, 1));
  EXPECT_EQ(HitPiece(pieces, 3, 3, true), kNoPiece) << "inside is no piece";
  EXPECT_EQ(HitPiece(pieces, 0, 0, true), kTopLeft);
  EXPECT_EQ(HitPiece(pieces, 0, 0, false), kNoPiece) << "a detached frame has no handles";
  EXPECT_EQ(HitPiece(pieces, 6, 6, true), kBottomRight);

  // At the image's edges the pieces are cut to the visible image: nothing left of column 0
  // and nothing below the image's last row.
  const auto cut = FramePieces({0, 0, 9, 9}, {4, 0, 0, 10, 10});
  EXPECT_EQ(cut[kLeftEdge].right - cut[kLeftEdge].left, 0);
  EXPECT_EQ(cut[kBottomRight].bottom, 10);
  EXPECT_EQ(cut[kTopLeft].right, 0);
}

TEST(SelectionRules, DragsNormaliseClampAndRecentre) {
  const ImageRect s{4, 5, 6, 7};
  // A handle's drag keeps the opposite corner; past it the rectangle flips.
  const ImagePoint anchor = OppositeCorner(s, kTopLeft);
  EXPECT_EQ(anchor.x, 6);
  EXPECT_EQ(anchor.y, 7);
  EXPECT_EQ(Span(anchor, ImagePoint{8, 9}), (ImageRect{6, 7, 8, 9}));
  EXPECT_EQ(Span(ImagePoint{3, 9}, ImagePoint{1, 2}), (ImageRect{1, 2, 3, 9}));

  // Moving the frame keeps it whole inside the image; dragging the area does not.
  EXPECT_EQ(MovedInside(s, 10, -10, 10, 10), (ImageRect{7, 0, 9, 2}));
  EXPECT_EQ(Moved(s, 10, -10), (ImageRect{14, -5, 16, -3}));

  // A rotated 3 x 2 area keeps the centre (5, 6).
  EXPECT_EQ(Recentred({4, 5, 6, 6}, 2, 3), (ImageRect{4, 5, 5, 7}));
}

TEST(SelectionRules, DragPointsStayOnTheImageAndScrollAtTheEdges) {
  const FrameView view{1, 5, 0, 30, 8};
  ImagePoint p = DragPoint(-4, 20, 10, 10, view);
  EXPECT_EQ(p.x, 5) << "held into the client, then scrolled";
  EXPECT_EQ(p.y, 7) << "held into the image";
  const ScrollNeed right = AutoScrollNeed(9, 5, 10, 10, true, true);
  EXPECT_EQ(right.dx, 1);
  EXPECT_EQ(right.dy, 0);
  const ScrollNeed up = AutoScrollNeed(5, 1, 10, 10, true, true);
  EXPECT_EQ(up.dy, -1);
  EXPECT_EQ(AutoScrollNeed(9, 1, 10, 10, false, false).dx, 0) << "nothing to scroll";
}

}  // namespace quilla
