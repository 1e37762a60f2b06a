// The full-screen view on the 1280 x 1024 test display: a large picture shrunk to fit and
// centred on black, a small one at its own size, and the ways in and out of the view.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bitmaps.h"
#include "core/commands.h"
#include "picture_session.h"

namespace quilla::gui {
namespace {

constexpr int kScreenW = 1280, kScreenH = 1024;
constexpr int kWideW = 4000, kWideH = 1000;
constexpr unsigned kBlack = 0;
constexpr unsigned kEither = 0xFF000000u;  // where the stretch may show either neighbour

// Four quadrants of their own colours.
unsigned Quadrants(int x, int y) {
  static constexpr unsigned kColours[2][2] = {{0xC02010u, 0x20C040u}, {0x3050E0u, 0xE0D030u}};
  return kColours[y >= kWideH / 2][x >= kWideW / 2];
}

// The wide picture shrunk to 1280 x 320: its quadrants meet at (640, 160).
unsigned WideShown(int x, int y) {
  if (x == 639 || x == 640 || y == 159 || y == 160) return kEither;
  return Quadrants(x >= 640 ? kWideW - 1 : 0, y >= 160 ? kWideH - 1 : 0);
}

class FullScreenTest : public PictureTest {
 protected:
  void SetUp() override {
    PictureTest::SetUp();
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), kScreenW) << "the GUI tests run on a 1280 x 1024 display";
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), kScreenH);
  }

  HWND View() const {
    const std::vector<HWND> views = program_->Windows(L"QuillaFull32");
    return views.empty() ? nullptr : views.front();
  }
  void ExpectEntered() const {
    ASSERT_TRUE(WaitFor([&] { return View() != nullptr; }, 8000)) << "no full-screen view";
    ASSERT_TRUE(program_->Settle());
  }
  // The view has gone and the main window shows the title again.
  void ExpectLeft(const std::string& title) const {
    ASSERT_TRUE(WaitFor([&] { return View() == nullptr; }, 8000)) << "the view stays";
    ASSERT_NO_FATAL_FAILURE(ExpectTitle(title));
    EXPECT_TRUE(IsWindowVisible(Main()));
  }
  // Waits until the screen shows the picture's colour(x, y) inside the rectangle (counted
  // from its corner) and black outside it: Wine puts a large paint on the screen a little
  // after the program has painted. Gives the number of pixels still wrong.
  static int Mismatches(const RECT& picture, unsigned (*colour)(int x, int y)) {
    int wrong = -1;
    WaitFor([&] {
      const std::vector<unsigned> screen = CaptureScreen({0, 0, kScreenW, kScreenH});
      wrong = screen.empty() ? -1 : 0;
      for (int y = 0; y < kScreenH && !screen.empty(); ++y)
        for (int x = 0; x < kScreenW; ++x) {
          const POINT at{x, y};
          const unsigned expected = PtInRect(&picture, at) ? colour(x - picture.left, y - picture.top) : kBlack;
          if (expected != kEither && screen[size_t(y) * kScreenW + size_t(x)] != expected) ++wrong;
        }
      return wrong == 0;
    }, 5000);
    return wrong;
  }
};

TEST_F(FullScreenTest, LargePictureShrinksToFitCentredOnBlackAndEscLeaves) {
  const std::wstring wide = Path(L"wide.bmp");
  ASSERT_TRUE(WriteTestBmp(wide, kWideW, kWideH, Quadrants));
  const std::string title = ImageTitle("wide.bmp", kWideW, kWideH);
  ASSERT_NO_FATAL_FAILURE(StartOn(wide, title));
  SetForegroundWindow(Main());
  program_->PostMenuCommand(cmd::kFullScreen);
  ASSERT_NO_FATAL_FAILURE(ExpectEntered());

  HWND view = View();
  RECT area{};
  GetWindowRect(view, &area);
  EXPECT_EQ((std::vector<LONG>{area.left, area.top, area.right, area.bottom}),
            (std::vector<LONG>{0, 0, kScreenW, kScreenH}))
      << "the view covers the screen";
  EXPECT_EQ(WindowText(view), "");
  EXPECT_EQ(GetWindow(view, GW_OWNER), Main());
  EXPECT_EQ(GetWindowLongW(view, GWL_STYLE) & (WS_POPUP | WS_CAPTION), LONG(WS_POPUP));
  EXPECT_EQ(Mismatches({0, 352, kScreenW, 352 + 320}, WideShown), 0) << "1280 x 320 at (0, 352)";
  Shot("wide");

  PressKeys({VK_ESCAPE});
  ASSERT_NO_FATAL_FAILURE(ExpectLeft(title));
  ExpectNoDialog(*program_);
}

TEST_F(FullScreenTest, SmallPictureKeepsItsSizeDoubleClickEntersRightClickLeaves) {
  ASSERT_NO_FATAL_FAILURE(StartOnImageInFront());
  const POINT origin = program_->ClientOrigin(), onImage{origin.x + 20, origin.y + 20};
  ASSERT_TRUE(DragMouse(*program_, onImage, onImage));
  ASSERT_TRUE(DragMouse(*program_, onImage, onImage));  // the second press: a double click
  ASSERT_NO_FATAL_FAILURE(ExpectEntered());
  const int left = (kScreenW - kPictureWidth) / 2, top = (kScreenH - kPictureHeight) / 2;
  EXPECT_EQ(Mismatches({left, top, left + kPictureWidth, top + kPictureHeight}, Gradient), 0) << "1:1, centred";
  Shot("small");

  const POINT elsewhere{100, 100};
  ASSERT_TRUE(DragMouse(*program_, elsewhere, elsewhere));
  EXPECT_NE(View(), nullptr) << "a single click does nothing";
  ASSERT_TRUE(DragMouse(*program_, {kScreenW / 2, kScreenH / 2}, {kScreenW / 2, kScreenH / 2}, true));
  ASSERT_NO_FATAL_FAILURE(ExpectLeft(PictureTitle("16.7 million")));
  EXPECT_EQ(Settled(), Picture(kPictureWidth, kPictureHeight, Gradient)) << "the main window shows the image again";
}

}  // namespace
}  // namespace quilla::gui
