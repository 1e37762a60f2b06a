// The clipboard and screen capture under Wine: Copy, Cut, Paste and Delete with and without a
// selection, the clipboard's bitmap read back by the test itself, a true-colour picture pasted
// into a palette image, and captures with their three seconds' wait.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "bitmaps.h"
#include "control_ids.h"
#include "core/commands.h"
#include "picture_session.h"

namespace quilla::gui {
namespace {

constexpr unsigned kWhite = 0xFFFFFFu;  // the fill colour of a true-colour image
constexpr DWORD kCaptureWaitMs = 10000;  // above the program's 3 s before a capture

// The clipboard's device-independent bitmap as pixels (0x00RRGGBB, rows from the top).
struct ClipboardPicture {
  int width = 0, height = 0, bits = 0;
  std::vector<unsigned> table, pixels;
};

ClipboardPicture ReadClipboard() {
  ClipboardPicture picture;
  if (!OpenClipboard(nullptr)) return picture;
  HGLOBAL memory = GetClipboardData(CF_DIB);
  const auto* bytes = memory ? static_cast<const BYTE*>(GlobalLock(memory)) : nullptr;
  if (bytes) {
    BITMAPINFOHEADER h;
    std::memcpy(&h, bytes, sizeof h);
    picture.width = h.biWidth, picture.height = h.biHeight, picture.bits = h.biBitCount;
    const unsigned entries = h.biBitCount == 8 ? (h.biClrUsed ? h.biClrUsed : 256) : 0;
    const auto* quads = reinterpret_cast<const RGBQUAD*>(bytes + h.biSize);
    for (unsigned i = 0; i < entries; ++i)
      picture.table.push_back(unsigned(quads[i].rgbRed) << 16 | unsigned(quads[i].rgbGreen) << 8 | quads[i].rgbBlue);
    const BYTE* rows = bytes + h.biSize + entries * 4;
    const size_t stride = (size_t(h.biWidth) * h.biBitCount + 31) / 32 * 4;
    for (int y = 0; y < h.biHeight && (h.biBitCount == 8 || h.biBitCount == 24); ++y) {
      const BYTE* row = rows + size_t(h.biHeight - 1 - y) * stride;
      for (int x = 0; x < h.biWidth; ++x) {
        const BYTE* p = row + x * 3;
        picture.pixels.push_back(h.biBitCount == 8 ? picture.table[row[x]]
                                                   : unsigned(p[2]) << 16 | unsigned(p[1]) << 8 | p[0]);
      }
    }
    GlobalUnlock(memory);
  }
  CloseClipboard();
  return picture;
}

// The gradient within (x, y, w, h), or the whole picture with that rectangle filled white.
std::vector<unsigned> GradientPart(int x, int y, int w, int h) {
  std::vector<unsigned> part;
  for (int py = y; py < y + h; ++py)
    for (int px = x; px < x + w; ++px) part.push_back(Gradient(px, py));
  return part;
}
std::vector<unsigned> GradientWithHole(int x, int y, int w, int h) {
  std::vector<unsigned> picture = Picture(kPictureWidth, kPictureHeight, Gradient);
  for (int py = y; py < y + h; ++py)
    std::fill_n(picture.begin() + py * kPictureWidth + x, w, kWhite);
  return picture;
}

// A window of the test process that becomes the foreground window under the minimised program.
class ForegroundWindow {
 public:
  ForegroundWindow(int width, int height)
      : window_(CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 100, width, height, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr)) {}
  ~ForegroundWindow() { DestroyWindow(window_); }
  ForegroundWindow(const ForegroundWindow&) = delete;
  ForegroundWindow& operator=(const ForegroundWindow&) = delete;
  HWND Get() const { return window_; }

 private:
  HWND window_;
};

class ClipboardTest : public PictureTest {
 protected:
  void SetUp() override {
    PictureTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(StartOnImageInFront());
  }
  // A picture left on the clipboard would enable Paste in the tests that follow.
  void TearDown() override {
    PictureTest::TearDown();
    if (OpenClipboard(nullptr)) {
      EmptyClipboard();
      CloseClipboard();
    }
  }

  void Select(int x0, int y0, int x1, int y1) const {
    const POINT origin = program_->ClientOrigin();
    ASSERT_TRUE(DragMouse(*program_, {origin.x + x0, origin.y + y0}, {origin.x + x1, origin.y + y1}));
  }
  void Choose(int command) const {
    program_->PostMenuCommand(command);
    ASSERT_TRUE(program_->Settle());
  }
  // Chooses the capture and, once the program is minimised, brings the window to the front.
  void CaptureOver(int command, const ForegroundWindow& window) const {
    program_->PostMenuCommand(command);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(Main()) != 0; }, kCaptureWaitMs)) << "not minimised";
    SetForegroundWindow(window.Get());
  }
};

TEST_F(ClipboardTest, CopyOfTheImagePastesAsADetachedArea) {
  Choose(cmd::kCopy);
  const ClipboardPicture copied = ReadClipboard();
  EXPECT_EQ(copied.width, kPictureWidth);
  EXPECT_EQ(copied.height, kPictureHeight);
  EXPECT_EQ(copied.bits, 24);
  EXPECT_EQ(copied.pixels, Picture(kPictureWidth, kPictureHeight, Gradient));
  EXPECT_TRUE(Menu(cmd::kApply).Greyed());

  Choose(cmd::kPaste);
  EXPECT_FALSE(Menu(cmd::kApply).Greyed()) << "the picture floats as a detached area";
  EXPECT_EQ(Settled(), Picture(kPictureWidth, kPictureHeight, Gradient));
}

TEST_F(ClipboardTest, CopyOfASelectionKeepsImageAndFrameCutLeavesTheFillColour) {
  Select(8, 6, 24, 20);  // (8, 6)-(24, 20): 17 x 15
  Choose(cmd::kCopy);
  EXPECT_EQ(ReadClipboard().pixels, GradientPart(8, 6, 17, 15));
  EXPECT_FALSE(Menu(cmd::kCrop).Greyed()) << "the selection stays";
  EXPECT_TRUE(Menu(cmd::kApply).Greyed()) << "and stays attached";
  Choose(cmd::kUndefine);
  EXPECT_EQ(Settled(), Picture(kPictureWidth, kPictureHeight, Gradient)) << "Copy leaves the image as it was";

  // Pressed elsewhere than the first time, so the press isn't taken for a double click.
  Select(10, 8, 30, 22);
  Choose(cmd::kCut);
  EXPECT_EQ(ReadClipboard().pixels, GradientPart(10, 8, 21, 15));
  EXPECT_TRUE(Menu(cmd::kCrop).Greyed()) << "Cut ends the selection";
  EXPECT_EQ(Settled(), GradientWithHole(10, 8, 21, 15));
}

TEST_F(ClipboardTest, ATrueColourPictureIsMappedOntoAPaletteImage) {
  Choose(cmd::kCopy);
  ASSERT_NO_FATAL_FAILURE(ReduceToSixteen());
  Choose(cmd::kPaste);
  ASSERT_FALSE(Menu(cmd::kApply).Greyed());
  const std::vector<unsigned> shown = Settled();
  Choose(cmd::kCopy);  // the detached area
  const ClipboardPicture area = ReadClipboard();
  EXPECT_EQ(area.bits, 8);
  ASSERT_EQ(area.table.size(), 16u) << "the area has the image's colour table";
  const std::set<unsigned> table(area.table.begin(), area.table.end());
  for (unsigned colour : shown) EXPECT_EQ(table.count(colour), 1u) << std::hex << colour;
  EXPECT_EQ(area.pixels, shown);
}

TEST_F(ClipboardTest, DeleteEmptiesTheWindowAndADeviceBitmapPastesBackAsTheImage) {
  HWND options = program_->ShowDialog(cmd::kInterfaceOptions);
  ASSERT_NE(options, nullptr);
  ASSERT_TRUE(Program::Click(options, interface_options::kClipDdb));
  ASSERT_TRUE(Program::Answer(options, IDOK));
  Choose(cmd::kCopy);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
  Choose(cmd::kDeleteArea);
  EXPECT_EQ(WindowText(Main()), kTitle);
  EXPECT_TRUE(Menu(cmd::kCopy).Greyed()) << "no image";
  Choose(cmd::kPaste);
  ASSERT_NO_FATAL_FAILURE(ExpectTitle(ImageTitle("untitled", kPictureWidth, kPictureHeight)));
  EXPECT_TRUE(Menu(cmd::kApply).Greyed()) << "the picture is the image itself";
  EXPECT_EQ(Settled(), Picture(kPictureWidth, kPictureHeight, Gradient));
}

TEST_F(ClipboardTest, ACaptureOfAnEmptyClientAreaIsRefusedADesktopCaptureFloats) {
  {
    const ForegroundWindow flat(200, 0);
    ASSERT_NO_FATAL_FAILURE(CaptureOver(cmd::kCaptureClient, flat));
    EXPECT_EQ(AnswerBox(IDOK, "null-dimension"), "Can't capture an area with NULL dimension.");
    EXPECT_FALSE(IsIconic(Main())) << "the window is back";
  }
  const ForegroundWindow window(200, 100);
  ASSERT_NO_FATAL_FAILURE(CaptureOver(cmd::kCaptureDesktop, window));
  ASSERT_TRUE(WaitFor([&] { return !IsIconic(Main()) && !Menu(cmd::kApply).Greyed(); }, kCaptureWaitMs))
      << "no detached area";
  Choose(cmd::kCrop);
  EXPECT_EQ(program_->SendCommand(cmd::kImageSize),
            MAKELONG(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
}

}  // namespace
}  // namespace quilla::gui
