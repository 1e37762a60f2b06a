#include "picture_session.h"

#include "bitmaps.h"
#include "control_ids.h"

namespace quilla::gui {

std::string PictureTitle(const char* colours) {
  return ImageTitle("depth.bmp", kPictureWidth, kPictureHeight, colours);
}

void PictureTest::SetUp() {
  image_ = Path(L"depth.bmp");
  ASSERT_TRUE(WriteTestBmp(image_, kPictureWidth, kPictureHeight, Gradient));
  original_ = ReadFileBytes(image_);
  ASSERT_FALSE(original_.empty());
}

void PictureTest::TearDown() {
  if (program_ && program_->Running()) {
    for (HWND box : program_->Windows(L"#32770")) Program::Click(box, IDNO);
  }
}

void PictureTest::StartOnImageInFront() {
  ASSERT_NO_FATAL_FAILURE(StartOnImage());
  SetForegroundWindow(Main());
  ASSERT_TRUE(program_->Settle());
}

void PictureTest::ReduceToSixteen() {
  HWND dialog = program_->ShowDialog(cmd::kColorDepth);
  ASSERT_NE(dialog, nullptr) << "no Color Depth dialog";
  ASSERT_EQ(WindowText(dialog), "Color Depth");
  ASSERT_TRUE(Program::Click(dialog, color_depth::kPalette));
  ASSERT_TRUE(Program::Click(dialog, color_depth::kWindows16));
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  ASSERT_NO_FATAL_FAILURE(ExpectTitle(PictureTitle("16")));
  ASSERT_TRUE(program_->Settle());
}

HWND PictureTest::ShowRetouch(int command, const std::string& title) const {
  HWND dialog = program_->ShowDialog(command);
  if (!dialog) return nullptr;
  EXPECT_EQ(WindowText(dialog), title);
  MoveAside(dialog);
  return dialog;
}

void PictureTest::ExpectTitle(const std::string& title) const {
  ASSERT_TRUE(WaitForTitle(Main(), title, 10000)) << WindowText(Main());
}

std::vector<unsigned> PictureTest::Settled() {
  EXPECT_TRUE(program_->Settle());
  const POINT origin = program_->ClientOrigin();
  return CaptureScreen({origin.x, origin.y, origin.x + kPictureWidth, origin.y + kPictureHeight});
}

void MoveAside(HWND dialog) { SetWindowPos(dialog, nullptr, 700, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER); }

void Scroll(HWND dialog, int barId, int code) {
  HWND bar = GetDlgItem(dialog, barId);
  SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(code, 0), LPARAM(bar));
  SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), LPARAM(bar));
}

}  // namespace quilla::gui
