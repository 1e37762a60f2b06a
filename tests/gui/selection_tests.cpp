// The selection area under Wine, driven with the real mouse: drawing a rectangle, a click that
// selects nothing, crop, moving the pixels with the left button and a copy with the right,
// applying them back, and a whole-image command asking about a detached area.
#include <gtest/gtest.h>

#include <vector>

#include "bitmaps.h"
#include "core/commands.h"
#include "picture_session.h"

namespace quilla::gui {
namespace {

constexpr unsigned kWhite = 0xFFFFFFu;  // the fill colour of a true-colour image

class SelectionTest : public PictureTest {
 protected:
  void SetUp() override {
    PictureTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(StartOnImageInFront());
    origin_ = program_->ClientOrigin();
  }

  // A drag between two image pixels.
  void Drag(int x0, int y0, int x1, int y1, bool right = false) const {
    ASSERT_TRUE(DragMouse(*program_, {origin_.x + x0, origin_.y + y0}, {origin_.x + x1, origin_.y + y1}, right));
  }

  // The picture as expected after the rectangle (x, y, w, h) moved by (dx, dy), leaving
  // `left` behind (the fill colour, or the pixels themselves for a copy).
  static std::vector<unsigned> MovedPicture(int x, int y, int w, int h, int dx, int dy, bool fill) {
    std::vector<unsigned> picture = Picture(kPictureWidth, kPictureHeight, Gradient);
    auto at = [&](int px, int py) -> unsigned& { return picture[size_t(py * kPictureWidth + px)]; };
    for (int py = y; py < y + h; ++py)
      for (int px = x; px < x + w; ++px)
        if (fill) at(px, py) = kWhite;
    for (int py = y; py < y + h; ++py)
      for (int px = x; px < x + w; ++px) {
        const int tx = px + dx, ty = py + dy;
        if (tx < kPictureWidth && ty < kPictureHeight) at(tx, ty) = Gradient(px, py);
      }
    return picture;
  }

  POINT origin_{};
};

TEST_F(SelectionTest, DrawnRectangleCropsAndAClickSelectsNothing) {
  EXPECT_TRUE(Menu(cmd::kCrop).Greyed()) << "no selection yet";
  Drag(20, 20, 20, 20);
  EXPECT_TRUE(Menu(cmd::kCrop).Greyed()) << "a click without movement selects nothing";

  Drag(30, 26, 10, 10);  // up and to the left: the rectangle is (10, 10)-(30, 26)
  ASSERT_FALSE(Menu(cmd::kCrop).Greyed());
  EXPECT_TRUE(Menu(cmd::kApply).Greyed()) << "nothing detached to apply";
  EXPECT_EQ(WindowText(Main()), PictureTitle("16.7 million")) << "the title is the image's again after the drag";
  Shot("selected");
  program_->PostMenuCommand(cmd::kCrop);
  ASSERT_TRUE(program_->Settle());
  ASSERT_EQ(program_->SendCommand(cmd::kImageSize), MAKELONG(21, 17));
  const POINT origin = program_->ClientOrigin();
  const std::vector<unsigned> shown = CaptureScreen({origin.x, origin.y, origin.x + 21, origin.y + 17});
  std::vector<unsigned> expected;
  for (int y = 10; y <= 26; ++y)
    for (int x = 10; x <= 30; ++x) expected.push_back(Gradient(x, y));
  EXPECT_EQ(shown, expected);
  EXPECT_TRUE(Menu(cmd::kCrop).Greyed()) << "the selection ended with the crop";
  program_->PostMenuCommand(cmd::kUndo);
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(program_->SendCommand(cmd::kImageSize), MAKELONG(kPictureWidth, kPictureHeight));
}

TEST_F(SelectionTest, LeftDragMovesThePixelsRightDragMovesACopy) {
  // A left drag inside the selection lifts the pixels and leaves the fill colour.
  Drag(8, 6, 24, 20);  // (8, 6)-(24, 20): 17 x 15
  Drag(12, 10, 32, 22);
  EXPECT_FALSE(Menu(cmd::kApply).Greyed()) << "the area is detached";
  program_->PostMenuCommand(cmd::kApply);
  EXPECT_EQ(Settled(), MovedPicture(8, 6, 17, 15, 20, 12, true));
  program_->PostMenuCommand(cmd::kUndo);
  EXPECT_EQ(Settled(), Picture(kPictureWidth, kPictureHeight, Gradient)) << "one undo step for the move";

  // A right drag moves a copy; a click outside the area applies it.
  Drag(8, 6, 24, 20);
  Drag(12, 10, 32, 22, true);
  Drag(2, 45, 2, 45);
  EXPECT_TRUE(Menu(cmd::kApply).Greyed()) << "the click applied the area";
  EXPECT_EQ(Settled(), MovedPicture(8, 6, 17, 15, 20, 12, false));
}

// The flips and rotations turn the selected pixels only.
TEST_F(SelectionTest, FlipAndRotateWorkOnTheSelection) {
  Drag(8, 6, 24, 20);
  program_->PostMenuCommand(cmd::kFlipHorizontal);
  ASSERT_TRUE(program_->Settle());
  EXPECT_FALSE(Menu(cmd::kApply).Greyed()) << "the area was detached to be flipped";
  program_->PostMenuCommand(cmd::kApply);
  std::vector<unsigned> expected = Picture(kPictureWidth, kPictureHeight, Gradient);
  for (int y = 6; y <= 20; ++y)
    for (int x = 8; x <= 24; ++x) expected[size_t(y * kPictureWidth + x)] = Gradient(32 - x, y);
  EXPECT_EQ(Settled(), expected);

  // A 17 x 15 area turned right becomes 15 x 17 around the same centre, (16, 13). (A press
  // where the last one was would count as a double click.)
  Drag(24, 20, 8, 6);
  program_->PostMenuCommand(cmd::kRotateRight);
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(program_->SendCommand(cmd::kImageSize), MAKELONG(kPictureWidth, kPictureHeight)) << "the image keeps its size";
  program_->PostMenuCommand(cmd::kCrop);
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(program_->SendCommand(cmd::kImageSize), MAKELONG(15, 17));
}

TEST_F(SelectionTest, ADetachedAreaIsAskedAboutBeforeAWholeImageCommand) {
  Drag(8, 6, 24, 20);
  Drag(12, 10, 32, 22, true);
  program_->PostMenuCommand(cmd::kNegative);
  EXPECT_EQ(AnswerBox(IDCANCEL, "apply-question"), "Apply detached selection area ?");
  ASSERT_TRUE(program_->Settle());
  EXPECT_FALSE(Menu(cmd::kApply).Greyed()) << "Cancel leaves the area detached";
  program_->PostMenuCommand(cmd::kNegative);
  EXPECT_EQ(AnswerBox(IDNO, "drop"), "Apply detached selection area ?");
  const std::vector<unsigned> negative = Settled();
  EXPECT_EQ(negative.front(), 0xFFFEFFu) << "No drops the copy, then the command runs";
  EXPECT_TRUE(Menu(cmd::kApply).Greyed());
}

}  // namespace
}  // namespace quilla::gui
