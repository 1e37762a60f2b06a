// Contact sheets under Wine: pictures dropped with "DropTo" 114 (BMP and JPEG) are probed, laid
// out in the preview and composed into an untitled sheet; a file no codec knows ends it before anything
// changes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bitmaps.h"
#include "control_ids.h"
#include "core/commands.h"
#include "session.h"

namespace quilla::gui {
namespace {

// 640 x 480 sheets ("ContaDim" 0); two columns of 312-pixel cells, in which a 64 x 16
// picture becomes a 312 x 78 box.
constexpr int kSheetWidth = 640, kSheetHeight = 480;
constexpr int kBoxWidth = 312, kBoxHeight = 78, kColumnStep = 317;
constexpr unsigned kGrey = 0x808080u;  // the sheet's background, as preset
constexpr unsigned kColours[] = {0xFF0000u, 0x00FF00u, 0x0000FFu, 0xFFFF00u};

class ContactSheetTest : public SessionTest {
 protected:
  // Four plain pictures in kColours: a.bmp, b.bmp, c.bmp and the JPEG d.jpg.
  void WritePictures() {
    for (int i = 0; i < 4; ++i) {
      names_.push_back(Path(std::wstring(1, wchar_t(L'a' + i)) + L".bmp"));
      ASSERT_TRUE(WriteBmp(names_.back(), 64, 16, std::vector<unsigned>(64 * 16, kColours[i])));
    }
    const std::wstring jpeg = Path(L"d.jpg");
    ASSERT_EQ(RunCli(L"convert --type 5 \"" + names_[3] + L"\" \"" + jpeg + L"\"").exitCode, 0u);
    names_[3] = jpeg;
  }
  // The JPEG's colour comes back within a few steps.
  static bool Near(unsigned a, unsigned b) {
    for (int shift = 0; shift < 24; shift += 8) {
      if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > 6) return false;
    }
    return true;
  }
  void DropAndConfirm(const std::vector<std::wstring>& names) {
    program_->DropFiles(names);
    EXPECT_EQ(AnswerBox(IDYES, "confirm"), "Are you sure you want to drop to Contact Sheet?");
  }
  static std::string Field(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

  std::vector<std::wstring> names_;
};

TEST_F(ContactSheetTest, DroppedPicturesArePreviewedAndComposedIntoAnUntitledSheet) {
  PresetOption(L"DropTo", L"114");
  PresetOption(L"ContaDim", L"0");
  for (const wchar_t* key : {L"ContaBackR", L"ContaBackG", L"ContaBackB"}) PresetOption(key, L"128");
  ASSERT_NO_FATAL_FAILURE(WritePictures());
  Start();
  ASSERT_NO_FATAL_FAILURE(DropAndConfirm(names_));

  HWND preview = program_->WaitForDialog();
  ASSERT_NE(preview, nullptr) << "no preview";
  EXPECT_EQ(WindowText(preview), "Contact sheet preview (640x480)");
  EXPECT_EQ(Field(preview, contact_preview::kName), Lower(Utf8(names_[0])));
  EXPECT_EQ(Field(preview, contact_preview::kSize), "64x16");
  EXPECT_EQ(Field(preview, contact_preview::kFormat), "BMP");
  int left = 0, top = 0, width = 0, height = 0;
  ASSERT_EQ(std::sscanf(Field(preview, contact_preview::kBox).c_str(), "(%d,%d) (%d,%d)", &left, &top, &width, &height),
            4);
  EXPECT_EQ(left, 5);
  EXPECT_EQ(width, kBoxWidth);
  EXPECT_EQ(height, kBoxHeight);
  const std::string laidOut = Field(preview, contact_preview::kBox);

  // The bottom edge dragged up to the top leaves the short side at 10, the top where it was;
  // Reset lays the boxes out again.
  RECT area{};
  GetWindowRect(GetDlgItem(preview, contact_preview::kArea), &area);
  const int areaHeight = area.bottom - area.top;
  auto previewY = [&](int sheetY) { return int(area.top) + (sheetY * areaHeight + kSheetHeight / 2) / kSheetHeight; };
  const int centreX = area.left + ((left + kBoxWidth / 2) * (area.right - area.left) + kSheetWidth / 2) / kSheetWidth;
  SetForegroundWindow(preview);
  ASSERT_TRUE(DragMouse(*program_, {centreX, previewY(top + kBoxHeight - 1)}, {centreX, previewY(top) + 1}));
  EXPECT_EQ(Field(preview, contact_preview::kBox), "(5," + std::to_string(top) + ") (40,10)");
  Shot("preview");
  ASSERT_TRUE(program_->Press(preview, contact_preview::kReset));
  EXPECT_EQ(Field(preview, contact_preview::kBox), laidOut);
  ASSERT_TRUE(Program::Answer(preview, IDOK));
  ASSERT_TRUE(WaitForTitle(Main(), ImageTitle("untitled", kSheetWidth, kSheetHeight), 10000));
  ASSERT_TRUE(program_->Settle());
  Shot("sheet");

  // Down each column, clear of the centred labels: the background, then the column's two
  // boxes with the background between.
  const POINT origin = program_->ClientOrigin();
  const std::vector<unsigned> sheet =
      CaptureScreen({origin.x, origin.y, origin.x + kSheetWidth, origin.y + kSheetHeight});
  ASSERT_EQ(sheet.size(), size_t(kSheetWidth * kSheetHeight));
  for (int column = 0; column < 2; ++column) {
    const int x = 5 + column * kColumnStep + 20;
    auto pixel = [&](int y) { return sheet[size_t(y * kSheetWidth + x)]; };
    std::vector<int> starts, lengths;  // the runs off the background
    for (int y = 0; y < kSheetHeight; ++y) {
      if (pixel(y) == kGrey) continue;
      if (y == 0 || pixel(y - 1) == kGrey) {
        starts.push_back(y);
        lengths.push_back(0);
      }
      ++lengths.back();
    }
    ASSERT_EQ(starts.size(), 2u) << "column " << column;
    EXPECT_EQ(lengths, (std::vector<int>{kBoxHeight, kBoxHeight}));
    EXPECT_EQ(pixel(starts[0] + kBoxHeight / 2), kColours[column]);
    const unsigned lower = pixel(starts[1] + kBoxHeight / 2);
    EXPECT_TRUE(Near(lower, kColours[column + 2])) << std::hex << lower;
  }
  for (int y = 0; y < kSheetHeight; ++y) EXPECT_EQ(sheet[size_t(y * kSheetWidth + 5 + kBoxWidth + 2)], kGrey) << y;
}

TEST_F(ContactSheetTest, OptionsAreStoredOnOkOnly) {
  Start();
  HWND dialog = program_->ShowDialog(cmd::kContactSheetOptions);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(Checked(dialog, contact_options::k800)) << "the default size";
  EXPECT_TRUE(Checked(dialog, contact_options::kCentred));
  EXPECT_TRUE(Checked(dialog, contact_options::kTransparent));
  ASSERT_TRUE(program_->Press(dialog, contact_options::k1024));
  ASSERT_TRUE(program_->Press(dialog, contact_options::kBold));
  ASSERT_TRUE(Program::Answer(dialog, IDOK));

  dialog = program_->ShowDialog(cmd::kContactSheetOptions);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(Checked(dialog, contact_options::k1024));
  ASSERT_TRUE(program_->Press(dialog, contact_options::k640));
  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
  program_->PostMenuCommand(cmd::kSaveAll);
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(Option("ContaDim"), "2");
  EXPECT_EQ(Option("ContactBold"), "1");
}

TEST_F(ContactSheetTest, AFileNoCodecKnowsEndsItBeforeAnythingChanges) {
  PresetOption(L"DropTo", L"114");
  ASSERT_NO_FATAL_FAILURE(WritePictures());
  const std::wstring junk = Path(L"Junk.bmp");
  FILE* file = _wfopen(junk.c_str(), L"wb");
  ASSERT_NE(file, nullptr);
  std::fputs("not a picture at all", file);
  std::fclose(file);
  StartOn(names_[0], ImageTitle("a.bmp", 64, 16));
  ASSERT_NO_FATAL_FAILURE(DropAndConfirm({names_[1], junk}));
  EXPECT_EQ(AnswerBox(IDOK, "refused"), "File format is not supported: " + Lower(Utf8(junk)));
  ASSERT_TRUE(program_->Settle());
  ExpectNoDialog(*program_);
  EXPECT_EQ(WindowText(Main()), ImageTitle("a.bmp", 64, 16));
}

}  // namespace
}  // namespace quilla::gui
