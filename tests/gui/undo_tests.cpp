// Undo and the question about a changed image, under Wine: a true-colour picture reduced
// to 16 colours through Color Depth, undone and redone, and then closed or replaced while
// changed.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/commands.h"
#include "harness.h"

namespace quilla::gui {
namespace {

constexpr char kChangedQuestion[] = "Image was changed, do you wish to save it?";
constexpr int kWidth = 64, kHeight = 48;
constexpr int kNameEdit = 1152;
// Color Depth dialog: the palette target and its "16 (Windows)" choice.
constexpr int kPaletteTarget = 102, kWindows16 = 106;

// Many colours: no two neighbouring pixels alike.
unsigned Gradient(int x, int y) { return unsigned(x * 4) << 16 | unsigned(y * 5) << 8 | unsigned((x + y) * 2); }

std::string Title(const char* colours) {
  return "depth.bmp (" + std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x" + colours + ") - Quilla 1.0/32";
}
const std::string kTrueColorTitle = Title("16.7 million"), kSixteenTitle = Title("16");

// The image as the screen shows it: kWidth x kHeight pixels from the client's top-left
// corner, row by row, as 0x00RRGGBB.
std::vector<unsigned> Shown(HWND window) {
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, kWidth, kHeight, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  std::vector<unsigned> pixels;
  if (bits) {
    const auto* p = static_cast<const unsigned*>(bits);
    pixels.reserve(size_t(kWidth) * kHeight);
    for (int i = 0; i < kWidth * kHeight; ++i) pixels.push_back(p[i] & 0xFFFFFF);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

std::vector<unsigned> GradientPixels() {
  std::vector<unsigned> pixels;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) pixels.push_back(Gradient(x, y));
  }
  return pixels;
}

size_t DistinctColours(const std::vector<unsigned>& pixels) { return std::set<unsigned>(pixels.begin(), pixels.end()).size(); }


class UndoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    dir_ = Config().workDir + L"\\undo-" + std::wstring(name_.begin(), name_.end());
    CreateDirectoryW(dir_.c_str(), nullptr);
    settings_ = dir_ + L"\\quilla.ini";
    DeleteFileW(settings_.c_str());
    image_ = dir_ + L"\\depth.bmp";
    ASSERT_TRUE(WriteTestBmp(image_, kWidth, kHeight, Gradient));
    original_ = ReadFileBytes(image_);
    ASSERT_FALSE(original_.empty());
  }
  void TearDown() override {
    if (program_ && program_->Running()) {
      for (HWND box : program_->Windows(L"#32770")) Program::Click(box, IDNO);
    }
  }

  // Starts the program on the picture and waits for its true-colour title.
  void StartOnImage() {
    program_ = std::make_unique<Program>();
    ASSERT_TRUE(program_->Start(settings_, L"\"" + image_ + L"\"")) << "quilla.exe did not start";
    ASSERT_TRUE(WaitForTitle(Main(), kTrueColorTitle, 20000)) << WindowText(Main());
    ASSERT_TRUE(program_->Settle());
  }
  HWND Main() const { return program_->MainWindow(); }

  // Color Depth: the palette target with the 16 Windows colours.
  void ReduceToSixteen() {
    program_->PostMenuCommand(cmd::kColorDepth);
    HWND dialog = program_->WaitForDialog(5000);
    ASSERT_NE(dialog, nullptr) << "no Color Depth dialog";
    ASSERT_EQ(WindowText(dialog), "Color Depth");
    ASSERT_TRUE(Program::Click(dialog, kPaletteTarget));
    ASSERT_TRUE(Program::Click(dialog, kWindows16));
    ASSERT_TRUE(Program::Answer(dialog, IDOK));
    ASSERT_TRUE(WaitForTitle(Main(), kSixteenTitle, 10000)) << WindowText(Main());
    ASSERT_TRUE(program_->Settle());
  }

  // Whether the menu item is greyed; fails the test when the menu has no such item.
  bool Greyed(int id) {
    for (const MenuItem& item : program_->ReadMenu()) {
      if (item.id == id) return item.Greyed();
    }
    ADD_FAILURE() << "no menu item " << id;
    return true;
  }
  std::string UndoText() {
    for (const MenuItem& item : program_->ReadMenu()) {
      if (item.id == cmd::kUndo) return item.text;
    }
    return "(none)";
  }

  // The message box that comes up: its text, after the button is pressed.
  std::string AnswerBox(int button, const std::string& shot) {
    HWND box = program_->WaitForDialog(8000);
    if (!box) return "(no box)";
    std::string text = Program::MessageText(box);
    EXPECT_EQ(WindowText(box), kTitle);
    Shot(shot);
    EXPECT_TRUE(Program::Answer(box, button));
    return text;
  }
  // The image on the screen once the program has settled (painted).
  std::vector<unsigned> Settled() {
    EXPECT_TRUE(program_->Settle());
    return Shown(Main());
  }
  void Shot(const std::string& what) { EXPECT_TRUE(program_->Screenshot(name_ + "-" + what)); }

  std::unique_ptr<Program> program_;
  std::string name_, original_;
  std::wstring dir_, settings_, image_;
};

TEST_F(UndoTest, UndoSwapsWithTheStateBeforeTheChange) {
  StartOnImage();
  const std::vector<unsigned> gradient = GradientPixels();
  auto isReduced = [](const std::vector<unsigned>& p) { return !p.empty() && DistinctColours(p) <= 16; };
  ASSERT_EQ(Settled(), gradient) << "the picture as read";
  EXPECT_TRUE(Greyed(cmd::kUndo)) << "nothing to undo after an open";
  EXPECT_EQ(UndoText(), "&Undo\tAlt+BkSp");

  ReduceToSixteen();
  const std::vector<unsigned> reduced = Settled();
  EXPECT_TRUE(isReduced(reduced)) << DistinctColours(reduced) << " colours shown";
  EXPECT_GT(DistinctColours(reduced), 2u) << "a dithered picture, not a flat one";
  EXPECT_FALSE(Greyed(cmd::kUndo)) << "the reduction can be undone";
  Shot("reduced");

  // Undo from the menu: the true-colour picture again, pixel for pixel.
  program_->PostMenuCommand(cmd::kUndo);
  ASSERT_TRUE(WaitForTitle(Main(), kTrueColorTitle, 10000)) << WindowText(Main());
  EXPECT_EQ(Settled(), gradient);
  EXPECT_EQ(program_->SendCommand(cmd::kImageSize), MAKELONG(kWidth, kHeight));
  EXPECT_FALSE(Greyed(cmd::kUndo)) << "Undo swaps: the reduction can come back";
  Shot("undone");

  // Undo again, with its key: the same 16-colour picture as before.
  SetForegroundWindow(Main());
  ASSERT_TRUE(program_->Settle());
  PressKeys({VK_MENU, VK_BACK});
  ASSERT_TRUE(WaitForTitle(Main(), kSixteenTitle, 10000)) << WindowText(Main());
  EXPECT_EQ(Settled(), reduced);
  EXPECT_FALSE(Greyed(cmd::kUndo));
  Shot("redone");

  // And once more back to true colour.
  program_->PostCommand(cmd::kUndo);
  ASSERT_TRUE(WaitForTitle(Main(), kTrueColorTitle, 10000)) << WindowText(Main());
  EXPECT_EQ(Settled(), gradient);
}

TEST_F(UndoTest, ClosingAChangedImageAsksAndNoLeavesTheFile) {
  StartOnImage();
  // Unchanged: closing asks nothing.
  PostMessageW(Main(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(program_->WaitForExit(10000)) << "an unchanged image closes at once";

  StartOnImage();
  ReduceToSixteen();
  // Cancel: the program stays, with the reduced image.
  PostMessageW(Main(), WM_CLOSE, 0, 0);
  EXPECT_EQ(AnswerBox(IDCANCEL, "question"), kChangedQuestion);
  ASSERT_TRUE(program_->Settle());
  EXPECT_TRUE(program_->Running());
  EXPECT_EQ(WindowText(Main()), kSixteenTitle);
  EXPECT_EQ(program_->SendCommand(cmd::kImageSize), MAKELONG(kWidth, kHeight));
  EXPECT_FALSE(Greyed(cmd::kUndo));

  // Undone, the image is still changed since it was read: File > Exit asks as well.
  program_->PostMenuCommand(cmd::kUndo);
  ASSERT_TRUE(WaitForTitle(Main(), kTrueColorTitle, 10000)) << WindowText(Main());
  program_->PostMenuCommand(cmd::kExit);
  EXPECT_EQ(AnswerBox(IDCANCEL, "exit-question"), kChangedQuestion);
  ASSERT_TRUE(program_->Settle());
  EXPECT_TRUE(program_->Running());
  program_->PostMenuCommand(cmd::kUndo);
  ASSERT_TRUE(WaitForTitle(Main(), kSixteenTitle, 10000)) << WindowText(Main());

  // No: the program ends and the file stays as it was.
  PostMessageW(Main(), WM_CLOSE, 0, 0);
  EXPECT_EQ(AnswerBox(IDNO, "no"), kChangedQuestion);
  ASSERT_TRUE(program_->WaitForExit(10000)) << "No closes the program";
  EXPECT_EQ(ReadFileBytes(image_), original_);
  EXPECT_EQ(RunCli(L"info \"" + image_ + L"\"").output, Utf8(image_) + ": Windows BMP, 64x48, 24 bpp, 0 colours");
}

TEST_F(UndoTest, ClosingAChangedImageWithYesSavesItFirst) {
  StartOnImage();
  ReduceToSixteen();
  const std::vector<unsigned> reduced = Settled();
  EXPECT_LE(DistinctColours(reduced), 16u);
  Shot("reduced");
  // Yes saves through File > Save, which asks about the format; No there keeps the program.
  PostMessageW(Main(), WM_CLOSE, 0, 0);
  EXPECT_EQ(AnswerBox(IDYES, "question"), kChangedQuestion);
  const std::string saveQuestion = "Save this image to file:\n\n" + Utf8(image_) + "\n\nin Windows BMP format?";
  std::string asked = AnswerBox(IDNO, "save-no");
  for (char& c : asked) c = char(std::tolower(static_cast<unsigned char>(c)));
  std::string expected = saveQuestion;
  for (char& c : expected) c = char(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(asked, expected);
  ASSERT_TRUE(program_->Settle());
  EXPECT_TRUE(program_->Running()) << "not saved: the changed image stays open";
  EXPECT_EQ(ReadFileBytes(image_), original_);
  EXPECT_EQ(WindowText(Main()), kSixteenTitle);

  // Yes, Yes: the file holds the 16-colour picture and the program ends.
  PostMessageW(Main(), WM_CLOSE, 0, 0);
  EXPECT_EQ(AnswerBox(IDYES, "question-again"), kChangedQuestion);
  asked = AnswerBox(IDYES, "save-yes");
  for (char& c : asked) c = char(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(asked, expected);
  ASSERT_TRUE(program_->WaitForExit(10000)) << "saved: the program ends";
  // Sixteen colours are written four bits a pixel; read back, a palette image of 16 entries.
  const std::string saved = ReadFileBytes(image_);
  ASSERT_EQ(saved.size(), 14u + 40 + 16 * 4 + 32 * kHeight);
  EXPECT_EQ(saved.substr(0, 2), "BM");
  EXPECT_EQ(saved[28], 4) << "bits per pixel";
  EXPECT_EQ(RunCli(L"info \"" + image_ + L"\"").output, Utf8(image_) + ": Windows BMP, 64x48, 8 bpp, 16 colours");

  // Opened again, it is the 16-colour picture, and it is not changed.
  program_ = std::make_unique<Program>();
  ASSERT_TRUE(program_->Start(settings_, L"\"" + image_ + L"\""));
  ASSERT_TRUE(WaitForTitle(Main(), kSixteenTitle, 20000)) << WindowText(Main());
  EXPECT_EQ(Settled(), reduced) << "the pixels saved are the ones shown";
  EXPECT_TRUE(Greyed(cmd::kUndo));
  PostMessageW(Main(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(program_->WaitForExit(10000)) << "nothing changed since the save";
}

TEST_F(UndoTest, OpenWhileChangedAsksFirst) {
  StartOnImage();
  ReduceToSixteen();
  const std::vector<unsigned> reduced = Settled();

  // Cancel: no open dialog; the image and its title stay.
  program_->PostMenuCommand(cmd::kOpen);
  EXPECT_EQ(AnswerBox(IDCANCEL, "question"), kChangedQuestion);
  ExpectNoDialog(*program_);
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(WindowText(Main()), kSixteenTitle);
  EXPECT_EQ(Settled(), reduced);
  EXPECT_FALSE(Greyed(cmd::kUndo)) << "the undo copy stays too";
  Shot("kept");

  // No: the open dialog comes; cancelling it keeps the image, still changed.
  program_->PostMenuCommand(cmd::kOpen);
  EXPECT_EQ(AnswerBox(IDNO, "question-no"), kChangedQuestion);
  HWND dialog = program_->WaitForDialog(8000);
  ASSERT_NE(dialog, nullptr) << "no open dialog";
  EXPECT_EQ(WindowText(dialog), "Open Image File");
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(WindowText(Main()), kSixteenTitle);

  // No and a file: the picture is read again from disk and counts as unchanged.
  program_->PostMenuCommand(cmd::kOpen);
  EXPECT_EQ(AnswerBox(IDNO, "question-open"), kChangedQuestion);
  dialog = program_->WaitForDialog(8000);
  ASSERT_NE(dialog, nullptr) << "no open dialog";
  SendMessageW(GetDlgItem(dialog, kNameEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(image_.c_str()));
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  ASSERT_TRUE(WaitForTitle(Main(), kTrueColorTitle, 10000)) << WindowText(Main());
  EXPECT_EQ(Settled(), GradientPixels());
  EXPECT_TRUE(Greyed(cmd::kUndo)) << "a new image has nothing to undo";
  PostMessageW(Main(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(program_->WaitForExit(10000)) << "the image read again is not changed";
  EXPECT_EQ(ReadFileBytes(image_), original_);
}

}  // namespace
}  // namespace quilla::gui
