// Every save type written through File > Save as and read back through File > Open, and a
// long read cancelled from the busy menu, in quilla.exe under Wine. quilla-cli.exe makes
// the input files and tells what the written files hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "bitmaps.h"
#include "control_ids.h"
#include "core/commands.h"
#include "session.h"

namespace quilla::gui {
namespace {

constexpr int kWidth = 64, kHeight = 48;

// Four flat quarters of colours whose channels all differ, so a picture turned upside
// down, mirrored or with red and blue swapped shows at once.
unsigned Quarters(int x, int y) {
  static const unsigned kColours[4] = {0xC03010u, 0x20A050u, 0x3050E0u, 0xF0D080u};
  return kColours[(y < kHeight / 2 ? 0 : 2) + (x < kWidth / 2 ? 0 : 1)];
}

// The compression tag (259) of a TIFF file's first directory; -1 when there is none.
int TiffCompression(const std::string& file) {
  if (file.size() < 8 || (file.compare(0, 2, "II") != 0 && file.compare(0, 2, "MM") != 0)) return -1;
  const bool little = file[0] == 'I';
  auto number = [&](size_t at, int bytes) {
    unsigned long value = 0;
    for (int i = 0; i < bytes; ++i) {
      const unsigned long byte = static_cast<unsigned char>(file[at + size_t(little ? i : bytes - 1 - i)]);
      value |= byte << (8 * i);
    }
    return value;
  };
  const size_t directory = number(4, 4);
  if (directory + 2 > file.size()) return -1;
  const size_t entries = number(directory, 2);
  for (size_t i = 0; i < entries && directory + 2 + 12 * (i + 1) <= file.size(); ++i) {
    const size_t entry = directory + 2 + 12 * i;
    if (number(entry, 2) == 259) return int(number(entry + 8, 2));
  }
  return -1;
}

// Largest difference of one channel between two colours.
int Distance(unsigned a, unsigned b) {
  int most = 0;
  for (int shift : {0, 8, 16}) most = std::max(most, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
  return most;
}

// A save type as the save dialog lists it, and what the file written holds.
struct SaveCase {
  int filter;               // position in the dialog's type list, from 1
  const char* filterText;
  const char* extension;    // what the hook gives the name field
  const wchar_t* typed;     // the name typed before OK
  const char* typeName;     // as quilla-cli info names the file's type
  int bitsPerPixel;
  int tolerance;            // per channel, of the colours shown after reopening
};

const SaveCase kSaveCases[] = {
    {1, "JPEG (*.jpg)", ".jpg", L"Copy.jpg", "JPEG", 24, 24},
    {2, "Windows (*.bmp,*.dib)", ".bmp", L"Copy.bmp", "Windows BMP", 24, 0},
    // A ".bmp" name would choose Windows BMP whatever the filter: without an extension the
    // chosen filter decides.
    {3, "OS/2 (*.bmp,*.dib)", ".bmp", L"Copy", "OS/2 BMP", 24, 0},
    {4, "GIF 87a (*.gif)", ".gif", L"Copy.gif", "GIF87a", 8, 8},
    {5, "GIF 89a (*.gif)", ".gif", L"Copy.gif", "GIF89a", 8, 8},
    {6, "TARGA (*.tga)", ".tga", L"Copy.tga", "TGA", 24, 0},
    {7, "PCX (*.pcx)", ".pcx", L"Copy.pcx", "PCX", 24, 0},
    {8, "PPM (*.ppm,*.pgm,*.pbm)", ".pbm", L"Copy.pbm", "PBM", 24, 0},
    {9, "TIFF uncompressed (*.tif)", ".tif", L"Copy.tif", "TIFF", 24, 0},
    {10, "TIFF compressed (*.tif)", ".tif", L"Copy.tif", "TIFF", 24, 0},
};

void PrintTo(const SaveCase& type, std::ostream* out) { *out << type.filter << " " << type.filterText; }

class SaveAsTypeTest : public ProgramSession, public ::testing::TestWithParam<SaveCase> {
 protected:
  // The picture every case opens: a Targa file that quilla-cli makes from a BMP.
  static void SetUpTestSuite() {
    const std::wstring dir = Config().workDir + L"\\formats-source";
    CreateDirectoryW(dir.c_str(), nullptr);
    source_ = dir + L"\\Picture.tga";
    drawn_ = dir + L"\\drawn.bmp";
    DeleteFileW(source_.c_str());
    sourceMade_ = WriteTestBmp(drawn_, kWidth, kHeight, Quarters) &&
                  RunCli(L"convert --type 6 \"" + drawn_ + L"\" \"" + source_ + L"\"").exitCode == 0;
  }
  static std::wstring source_, drawn_;
  static bool sourceMade_;
};
std::wstring SaveAsTypeTest::source_, SaveAsTypeTest::drawn_;
bool SaveAsTypeTest::sourceMade_ = false;

std::string CaseName(const ::testing::TestParamInfo<SaveCase>& info) {
  std::string name = "Filter" + std::to_string(info.param.filter) + "_";
  for (const char* c = info.param.typeName; *c; ++c) {
    if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
  }
  return name;
}

TEST_P(SaveAsTypeTest, SavesThroughTheDialogAndOpensAgain) {
  const SaveCase& type = GetParam();
  ASSERT_TRUE(sourceMade_) << "quilla-cli did not make " << Utf8(source_);
  const std::wstring target = Path(type.typed);
  DeleteFileW(target.c_str());

  ASSERT_NO_FATAL_FAILURE(Start());
  OpenThroughDialog(source_);
  ASSERT_TRUE(WaitForTitle(Main(), ImageTitle("picture.tga", kWidth, kHeight, "16.7 million"), 20000))
      << WindowText(Main());

  HWND dialog = program_->ShowDialog(cmd::kSaveAs);
  ASSERT_NE(dialog, nullptr) << "no save dialog";
  EXPECT_EQ(WindowText(dialog), "Save Image as");
  HWND name = GetDlgItem(dialog, file_dialog::kFileName), types = GetDlgItem(dialog, file_dialog::kFileType);
  ASSERT_NE(types, nullptr);
  EXPECT_EQ(SendMessageW(types, CB_GETCOUNT, 0, 0), 10);
  wchar_t listed[256] = L"";
  SendMessageW(types, CB_GETLBTEXT, WPARAM(type.filter - 1), reinterpret_cast<LPARAM>(listed));
  EXPECT_EQ(Utf8(listed), type.filterText);
  // A fresh settings file saves as JPEG first.
  EXPECT_EQ(SendMessageW(types, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(WindowText(name), "picture.jpg");
  EXPECT_EQ(ChooseSaveType(dialog, type.filter - 1), std::string("picture") + type.extension)
      << "the name follows the type";
  Shot("dialog");
  SetItemText(dialog, file_dialog::kFileName, target);
  ASSERT_TRUE(Program::Answer(dialog, IDOK));
  const std::string shownName = Lower(Utf8(type.typed));
  // The image in memory is still the one read; only its name changes. (The program answers
  // messages while it writes, so the title tells when the save is over.)
  EXPECT_TRUE(WaitForTitle(Main(), ImageTitle(shownName, kWidth, kHeight, "16.7 million"), 20000))
      << WindowText(Main());
  ExpectNoDialog(*program_);
  Shot("saved");

  const RunResult cli = RunCli(L"info \"" + target + L"\"");
  ASSERT_EQ(cli.exitCode, 0u) << cli.output;
  const std::string& info = cli.output;
  const std::string prefix = Utf8(target) + ": " + type.typeName + ", " + std::to_string(kWidth) + "x" +
                             std::to_string(kHeight) + ", " + std::to_string(type.bitsPerPixel) + " bpp, ";
  ASSERT_EQ(info.substr(0, prefix.size()), prefix) << info;
  const std::string colours = info.substr(prefix.size(), info.find(' ', prefix.size()) - prefix.size());
  if (type.bitsPerPixel == 24) {
    EXPECT_EQ(colours, "0");
  }
  if (type.filter == 2) {
    const std::string written = ReadFileBytes(target), pixels = ReadFileBytes(drawn_).substr(54);
    ASSERT_GE(written.size(), pixels.size());
    EXPECT_EQ(written.substr(written.size() - pixels.size()), pixels) << "the pixels as read";
  }
  if (type.filter >= 9) {
    EXPECT_EQ(TiffCompression(ReadFileBytes(target)), type.filter == 9 ? 1 : 5) << "none or LZW";
  }

  // Opened again through the dialog, the file shows its name, size, colours and picture.
  OpenThroughDialog(target);
  const std::string title = ImageTitle(shownName, kWidth, kHeight, colours == "0" ? "16.7 million" : colours);
  ASSERT_TRUE(WaitForTitle(Main(), title, 20000)) << WindowText(Main());
  ExpectNoDialog(*program_);
  EXPECT_EQ(program_->SendCommand(cmd::kImageSize), MAKELONG(kWidth, kHeight));
  ASSERT_TRUE(program_->Settle());
  const POINT origin = program_->ClientOrigin();
  for (POINT p : {POINT{kWidth / 4, kHeight / 4}, POINT{3 * kWidth / 4, kHeight / 4}, POINT{kWidth / 4, 3 * kHeight / 4},
                  POINT{3 * kWidth / 4, 3 * kHeight / 4}}) {
    const unsigned shown = ScreenPixel(origin.x + p.x, origin.y + p.y), drawnColour = Quarters(p.x, p.y);
    EXPECT_LE(Distance(shown, drawnColour), type.tolerance)
        << std::hex << "at " << std::dec << p.x << "," << p.y << std::hex << ": 0x" << shown << " for 0x" << drawnColour;
  }
  Shot("reopened");
}

INSTANTIATE_TEST_SUITE_P(EachType, SaveAsTypeTest, ::testing::ValuesIn(kSaveCases), CaseName);

using LongReadTest = SessionTest;

TEST_F(LongReadTest, CancelFromTheBusyMenuLeavesNoImage) {
  // A Targa file: its reader reports progress row by row, where a cancel ends the read and
  // frees the rows read so far.
  const std::wstring drawn = Path(L"drawn.bmp"), big = Path(L"Big.tga");
  ASSERT_TRUE(WriteTestBmp(drawn, kWidth, kHeight, Quarters));
  const RunResult made = RunCli(L"convert --type 6 --resize 300x600 \"" + drawn + L"\" \"" + big + L"\"");
  ASSERT_EQ(made.exitCode, 0u) << made.output;

  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_EQ(WindowText(Main()), kTitle);
  ASSERT_NO_FATAL_FAILURE(CancelReadFromTheBusyMenu(big, "big.tga-00%"));
  ASSERT_TRUE(program_->Running());
  EXPECT_EQ(WindowText(Main()), kTitle);
  EXPECT_EQ(program_->SendCommand(cmd::kImageSize), 0) << "no image";

  // The menu bar is back, with the commands that need an image greyed.
  const std::vector<MenuItem> items = program_->ReadMenu();
  ASSERT_GT(items.size(), 1u);
  EXPECT_EQ(FindItem(items, cmd::kCancelOperation), nullptr);
  EXPECT_FALSE(Menu(cmd::kOpen).Greyed());
  EXPECT_TRUE(Menu(cmd::kSaveAs).Greyed());
  EXPECT_TRUE(Menu(cmd::kDeleteFile).Greyed()) << "the image is untitled";
  EXPECT_FALSE(Menu(cmd::kReopen).Greyed()) << "the file asked for can be tried again";
  Shot("cancelled");
  DeleteFileW(big.c_str());
}

}  // namespace
}  // namespace quilla::gui
