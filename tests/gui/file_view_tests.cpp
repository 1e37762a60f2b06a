// Opening, showing, scrolling, saving and deleting images in quilla.exe, under Wine, as a
// user meets them: titles, message boxes, the common dialogs and the pixels on screen.
#include <gtest/gtest.h>

#include <cstdio>

#include "bitmaps.h"
#include "control_ids.h"
#include "core/commands.h"
#include "session.h"

namespace quilla::gui {
namespace {

// Each pixel tells where it is: red and green the low bytes of x and y, blue their high bits.
unsigned Coordinates(int x, int y) {
  return unsigned(x & 0xFF) << 16 | unsigned(y & 0xFF) << 8 | unsigned((x >> 8) << 4 | (y >> 8));
}
POINT Decode(unsigned c) {
  return {int((c >> 16) & 0xFF) | int((c >> 4) & 0xF) << 8, int((c >> 8) & 0xFF) | int(c & 0xF) << 8};
}
unsigned Plain(int x, int y) { return (x / 10 + y / 10) % 2 ? 0x3060C0u : 0xF0E0A0u; }

class FileViewTest : public SessionTest {
 protected:
  // Writes the picture as a BMP file and starts the program on it.
  void StartOnPicture(const std::wstring& file, int width, int height, unsigned (*colour)(int x, int y) = Plain) {
    ASSERT_TRUE(WriteTestBmp(file, width, height, colour));
    StartOn(file, ImageTitle(Lower(Utf8(file.substr(file.find_last_of(L'\\') + 1))), width, height));
  }
};

// Writes the text into the file, or adds it to its end (L"ab"), so that a rewrite shows.
void WriteText(const std::wstring& file, const char* text, const wchar_t* mode = L"ab") {
  if (FILE* out = _wfopen(file.c_str(), mode)) {
    fputs(text, out);
    fclose(out);
  }
}

TEST_F(FileViewTest, CommandLineOpensTheFileAndFitsTheWindow) {
  const std::wstring file = Path(L"Picture.BMP");
  ASSERT_NO_FATAL_FAILURE(StartOnPicture(file, 200, 150));
  RECT client;
  GetClientRect(Main(), &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(client.bottom, 150);
  const POINT origin = program_->ClientOrigin();
  EXPECT_EQ(ScreenPixel(origin.x, origin.y), Plain(0, 0));
  EXPECT_EQ(ScreenPixel(origin.x + 15, origin.y + 5), Plain(15, 5));
  EXPECT_EQ(ScreenPixel(origin.x + 199, origin.y + 149), Plain(199, 149));
  EXPECT_EQ(program_->SendCommand(cmd::kImageSize), MAKELONG(200, 150));
  Shot("shown");

  // With an image, the file commands come alive; Undo has nothing to undo.
  for (int id : {cmd::kOpen, cmd::kReopen, cmd::kSave, cmd::kSaveAs, cmd::kDeleteFile, cmd::kHelpContents})
    EXPECT_FALSE(Menu(id).Greyed()) << id;
  EXPECT_TRUE(Menu(cmd::kUndo).Greyed());
}

TEST_F(FileViewTest, DiagnosisAdvisesOnTheDisplay) {
  Start();
  ExpectNoDialog(*program_);  // default options suit a true-colour display: no question at start
  program_->PostMenuCommand(cmd::kDiagnosis);
  const int bits = ScreenCaps(BITSPIXEL);
  ASSERT_GE(bits, 15) << "the virtual display has true or high colour";
  EXPECT_EQ(AnswerBox(IDOK), std::string("Device is in ") + (bits == 24 ? "TRUE" : "HIGH") +
                                 " color mode. You can set the Quantizing options to TRUE color. This option is "
                                 "currently CHECKED.");
}

TEST_F(FileViewTest, FailedOpenKeepsTheImageAndItsTitle) {
  const std::wstring bad = Path(L"Broken.bmp");
  WriteText(bad, "this is not an image", L"wb");
  ASSERT_NO_FATAL_FAILURE(StartOnPicture(Path(L"good.bmp"), 120, 90));
  const std::string title = WindowText(Main());

  HWND dialog = program_->ShowDialog(cmd::kOpen);
  ASSERT_NE(dialog, nullptr) << "no open dialog";
  EXPECT_EQ(WindowText(dialog), "Open Image File");
  // The open dialog starts without a file name (the dialog may show the type's pattern).
  EXPECT_EQ(WindowText(GetDlgItem(dialog, file_dialog::kFileName)).find("good"), std::string::npos);
  Shot("dialog");
  SetItemText(dialog, file_dialog::kFileName, bad);
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  EXPECT_EQ(AnswerBox(IDOK), "File type is not supported:\n\n" + Lower(Utf8(bad)));
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(WindowText(Main()), title);
  EXPECT_EQ(program_->SendCommand(cmd::kImageSize), MAKELONG(120, 90));
  const POINT origin = program_->ClientOrigin();
  EXPECT_EQ(ScreenPixel(origin.x + 15, origin.y + 5), Plain(15, 5));
  Shot("kept");
  // Reopen tries the last name asked for, without the dialog, and fails the same way.
  program_->PostMenuCommand(cmd::kReopen);
  EXPECT_EQ(AnswerBox(IDOK), "File type is not supported:\n\n" + Lower(Utf8(bad)));
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(WindowText(Main()), title);
}

TEST_F(FileViewTest, SaveAsksFirstAndNoLeavesTheFile) {
  const std::wstring file = Path(L"ask.bmp");
  ASSERT_NO_FATAL_FAILURE(StartOnPicture(file, 40, 30));
  const std::string before = ReadFileBytes(file);
  WriteText(file, "tail");
  program_->PostMenuCommand(cmd::kSave);
  EXPECT_EQ(AnswerBox(IDNO), BmpSaveQuestion(file));
  ExpectNoDialog(*program_);
  EXPECT_EQ(ReadFileBytes(file), before + "tail");
  program_->PostMenuCommand(cmd::kSave);
  EXPECT_EQ(AnswerBox(IDYES), BmpSaveQuestion(file));
  ASSERT_TRUE(program_->Settle());
  const std::string after = ReadFileBytes(file);
  EXPECT_EQ(after.size(), before.size()) << "Yes writes the image again";
  EXPECT_EQ(after.substr(54), before.substr(54));
  EXPECT_EQ(WindowText(Main()), ImageTitle("ask.bmp", 40, 30));
}

TEST_F(FileViewTest, SavingOntoAReadOnlyFileKeepsIt) {
  const std::wstring file = Path(L"locked.bmp");
  ASSERT_TRUE(WriteTestBmp(file, 40, 30, Plain));
  WriteText(file, "old contents");
  const std::string before = ReadFileBytes(file);
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
  StartOn(file, ImageTitle("locked.bmp", 40, 30));
  program_->PostMenuCommand(cmd::kSave);
  EXPECT_EQ(AnswerBox(IDYES), BmpSaveQuestion(file));
  EXPECT_EQ(AnswerBox(IDOK), "Cannot create:\n\n" + Lower(Utf8(file)));
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(ReadFileBytes(file), before);
  EXPECT_EQ(WindowText(Main()), ImageTitle("locked.bmp", 40, 30));
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileViewTest, DeleteAsksAndKeepsTheImage) {
  const std::wstring file = Path(L"Gone.bmp");
  ASSERT_NO_FATAL_FAILURE(StartOnPicture(file, 40, 30));
  const std::string question = "DELETE FILE:\n\n" + Lower(Utf8(file));
  program_->PostMenuCommand(cmd::kDeleteFile);
  EXPECT_EQ(AnswerBox(IDNO), question);
  EXPECT_NE(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
  program_->PostMenuCommand(cmd::kDeleteFile);
  EXPECT_EQ(AnswerBox(IDYES), question);
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(WindowText(Main()), ImageTitle("gone.bmp", 40, 30));
  // Deleting it again: the file is no longer there.
  program_->PostMenuCommand(cmd::kDeleteFile);
  EXPECT_EQ(AnswerBox(IDYES), question);
  EXPECT_EQ(AnswerBox(IDOK), "Path or file name not found");
}

TEST_F(FileViewTest, KeysScrollALargeImage) {
  const std::wstring file = Path(L"large.bmp");
  ASSERT_NO_FATAL_FAILURE(StartOnPicture(file, 2400, 1800, Coordinates));
  RECT client;
  GetClientRect(Main(), &client);
  EXPECT_LT(client.right, 2400) << "the window stays within the screen";
  EXPECT_LT(client.bottom, 1800);
  auto shownAt = [&]() {
    program_->Settle();
    const POINT origin = program_->ClientOrigin();
    return Decode(ScreenPixel(origin.x, origin.y));
  };
  POINT top = shownAt();
  EXPECT_EQ(top.x, 0);
  EXPECT_EQ(top.y, 0);
  auto key = [&](WPARAM vk) {
    PostMessageW(Main(), WM_KEYDOWN, vk, 1);
    PostMessageW(Main(), WM_KEYUP, vk, 0xC0000001);
  };
  key(VK_DOWN);
  key(VK_DOWN);
  key(VK_RIGHT);
  POINT moved = shownAt();
  EXPECT_EQ(moved.x, 1);
  EXPECT_EQ(moved.y, 2);
  key(VK_NEXT);
  POINT paged = shownAt();
  EXPECT_GT(paged.y, 2 + client.bottom / 8) << "a page is a quarter of the client height";
  EXPECT_EQ(paged.x, 1);
  key(VK_END);
  POINT right = shownAt();
  EXPECT_GT(right.x, 1);
  // The whole client shows consecutive pixels: what scrolled in matches what was moved.
  const POINT origin = program_->ClientOrigin();
  const POINT corner = Decode(ScreenPixel(origin.x + client.right - 30, origin.y + client.bottom - 30));
  EXPECT_EQ(corner.x, right.x + client.right - 30);
  EXPECT_EQ(corner.y, right.y + client.bottom - 30);
  Shot("scrolled");
  key(VK_UP);
  EXPECT_EQ(shownAt().y, paged.y - 1);
}

TEST_F(FileViewTest, ALargeImageKeepsItsWindowOnTheScreen) {
  const std::wstring file = Path(L"photo.bmp");
  ASSERT_NO_FATAL_FAILURE(StartOnPicture(file, 3000, 2000));
  // "Same position" would leave the window at (10, 10), its scroll bars past the right and
  // bottom edges; it moves to the left-and-top corner, where its sizing frame is off the
  // screen and the client area and the vertical bar are on it. (Wine's full-screen
  // height is larger than its screen, so the window is as tall as the system allows and the
  // lowest pixels of the horizontal bar stay under the edge.)
  RECT window, client;
  GetWindowRect(Main(), &window);
  GetClientRect(Main(), &client);
  EXPECT_EQ(window.left, -GetSystemMetrics(SM_CXFRAME));
  EXPECT_EQ(window.top, -GetSystemMetrics(SM_CYFRAME));
  const POINT origin = program_->ClientOrigin();
  EXPECT_GE(origin.x, 0);
  EXPECT_GE(origin.y, 0);
  EXPECT_LE(origin.x + client.right + GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_LT(origin.y + client.bottom, GetSystemMetrics(SM_CYSCREEN));
  Shot("placed");
}

TEST_F(FileViewTest, CentreCommandCentresTheWindow) {
  const std::wstring file = Path(L"centre.bmp");
  ASSERT_NO_FATAL_FAILURE(StartOnPicture(file, 300, 200));
  program_->PostCommand(cmd::kPosCenter);
  ASSERT_TRUE(program_->Settle());
  RECT window, desktop;
  GetWindowRect(Main(), &window);
  GetWindowRect(GetDesktopWindow(), &desktop);
  EXPECT_EQ(window.left, (desktop.right - (window.right - window.left)) / 2);
  EXPECT_EQ(window.top, (desktop.bottom - (window.bottom - window.top)) / 2);
  program_->PostCommand(cmd::kPosLeftTop);
  ASSERT_TRUE(program_->Settle());
  GetWindowRect(Main(), &window);
  EXPECT_LE(window.left, 0);
  EXPECT_LE(window.top, 0);
  Shot("corner");
}

TEST_F(FileViewTest, CancellingAReadFromTheBusyMenuKeepsTheImage) {
  const std::wstring big = Path(L"Big.ppm");
  ASSERT_TRUE(WriteGreyPpm(big, 300, 200));
  ASSERT_NO_FATAL_FAILURE(StartOnPicture(Path(L"small.bmp"), 80, 60));
  ASSERT_NO_FATAL_FAILURE(CancelReadFromTheBusyMenu(big, "big.ppm-00%"));
  EXPECT_EQ(WindowText(Main()), ImageTitle("small.bmp", 80, 60)) << "the image shown before stays";
  EXPECT_EQ(program_->SendCommand(cmd::kImageSize), MAKELONG(80, 60));
  Shot("cancelled");
}

}  // namespace
}  // namespace quilla::gui
