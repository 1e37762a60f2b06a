// The colour choice dialogs under Wine, on a picture of 16 stripes, one a standard colour:
// Palette entry on its 16-colour form (an entry chosen in the grid, masked, edited live,
// cancelled and kept), and the fill colour chosen with Background color or picked from the
// picture with the Dropper.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "bitmaps.h"
#include "control_ids.h"
#include "core/commands.h"
#include "session.h"

namespace quilla::gui {
namespace {

constexpr int kWidth = 64, kHeight = 48, kStripeWidth = kWidth / 16;
// The 16 standard colours, in the order of the colour table the reduction to them makes.
constexpr unsigned kStandard[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
                                    0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
const std::vector<unsigned> kStripes(std::begin(kStandard), std::end(kStandard));

// The bottom quarter has the stripes in reverse, so that a pick from the wrong row shows.
constexpr int kReversedFrom = kHeight * 3 / 4;
unsigned Stripe(int x, int y) { return kStandard[y < kReversedFrom ? x / kStripeWidth : 15 - x / kStripeWidth]; }

std::string Text(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

// A 24-bit colour as the slider read-outs show it.
std::vector<std::string> Channels(unsigned rgb) {
  return {std::to_string(rgb >> 16), std::to_string(rgb >> 8 & 255), std::to_string(rgb & 255)};
}
std::vector<std::string> ShownChannels(HWND dialog) {
  std::vector<std::string> shown;
  for (int id : color_24::kValues) shown.push_back(Text(dialog, id));
  return shown;
}

class ColourChoiceTest : public SessionTest {
 protected:
  // The stripes as a true-colour file, or reduced to their 16 colours by quilla-cli.
  void StartOnStripes(bool palette) {
    const std::wstring stripes = Path(L"stripes.bmp"), reduced = Path(L"stripes16.bmp");
    ASSERT_TRUE(WriteTestBmp(stripes, kWidth, kHeight, Stripe));
    if (palette) {
      ASSERT_EQ(RunCli(L"convert --win16 \"" + stripes + L"\" \"" + reduced + L"\"").exitCode, 0u);
    }
    ASSERT_NO_FATAL_FAILURE(StartOn(
        palette ? reduced : stripes,
        ImageTitle(palette ? "stripes16.bmp" : "stripes.bmp", kWidth, kHeight, palette ? "16" : "16.7 million")));
    ASSERT_EQ(ShownStripes(), kStripes);
  }

  // The colour of each stripe on the screen, once the program has painted.
  std::vector<unsigned> ShownStripes() const {
    EXPECT_TRUE(program_->Settle());
    const POINT origin = program_->ClientOrigin();
    std::vector<unsigned> shown;
    for (int i = 0; i < 16; ++i) shown.push_back(ScreenPixel(origin.x + i * kStripeWidth + 1, origin.y + kHeight / 2));
    return shown;
  }

  // The dialog the command shows, with its title checked, out of the way of the picture.
  HWND Dialog(int command, const char* title) const {
    HWND dialog = program_->ShowDialog(command);
    return Checked(dialog, title);
  }
  HWND Checked(HWND dialog, const char* title) const {
    EXPECT_NE(dialog, nullptr) << "no " << title;
    if (!dialog) return nullptr;
    EXPECT_EQ(WindowText(dialog), title);
    SetWindowPos(dialog, nullptr, 700, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return dialog;
  }

  // A click (or double click) on a cell of the grid: 16 x 16 cells within a 2-pixel margin.
  void ClickCell(HWND dialog, int index, UINT message = WM_LBUTTONDOWN) const {
    HWND grid = GetDlgItem(dialog, palette_entry::kGrid);
    RECT area;
    GetClientRect(grid, &area);
    const int cellWidth = (area.right - 4) / 16, cellHeight = (area.bottom - 4) / 16;
    POINT point{2 + index % 16 * cellWidth + cellWidth / 2, 2 + index / 16 * cellHeight + cellHeight / 2};
    MapWindowPoints(grid, dialog, &point, 1);
    PostMessageW(dialog, message, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    EXPECT_TRUE(program_->Settle());
  }

  // A completed slider movement of a channel of Select 24-bit Color.
  void Slide(HWND dialog, int channel, int code) const {
    HWND bar = GetDlgItem(dialog, color_24::kSliders[channel]);
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(code, 0), LPARAM(bar));
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), LPARAM(bar));
  }

  // The Dropper, then a click on the picture in the stripe, near the top.
  void PickStripe(HWND dialog, int dropper, int stripe) const {
    ASSERT_TRUE(Program::Answer(dialog, dropper));
    ASSERT_TRUE(program_->Settle());
    const LPARAM point = MAKELPARAM(stripe * kStripeWidth + 1, 4);
    PostMessageW(Main(), WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(Main(), WM_LBUTTONUP, 0, point);
    ASSERT_TRUE(program_->Settle());
  }
};

TEST_F(ColourChoiceTest, PaletteEntryMasksPreviewsCancelsAndKeeps) {
  ASSERT_NO_FATAL_FAILURE(StartOnStripes(true));
  ASSERT_FALSE(Menu(cmd::kPaletteEntry).Greyed());
  HWND grid = Dialog(cmd::kPaletteEntry, "Select Color Palette Entry");
  ASSERT_NE(grid, nullptr);
  ClickCell(grid, 9);
  EXPECT_EQ(Text(grid, palette_entry::kIndex), "9");
  EXPECT_EQ(Text(grid, palette_entry::kRgb), "(255,0,0)");
  ClickCell(grid, 200);
  EXPECT_EQ(Text(grid, palette_entry::kIndex), "9") << "a cell beyond the 16 colours is no entry";

  // The mask: only the stripe of the entry keeps its colour, the others go black.
  ASSERT_TRUE(Program::Click(grid, palette_entry::kMask));
  std::vector<unsigned> masked(16, 0x000000);
  masked[9] = 0xFF0000;
  EXPECT_EQ(ShownStripes(), masked);
  ASSERT_TRUE(Program::Click(grid, palette_entry::kWhite));
  masked.assign(16, 0xFFFFFF);
  masked[9] = 0xFF0000;
  EXPECT_EQ(ShownStripes(), masked);
  Shot("masked");

  // OK goes on to the entry's colour; the real table is back.
  ASSERT_TRUE(Program::Answer(grid, IDOK));
  HWND colour = Checked(program_->WaitForDialog(), "Select 24-bit Color");
  ASSERT_NE(colour, nullptr);
  EXPECT_EQ(ShownChannels(colour), Channels(0xFF0000));
  EXPECT_EQ(ShownStripes(), kStripes);
  Slide(colour, 1, SB_RIGHT);
  EXPECT_EQ(ShownChannels(colour), Channels(0xFFFF00));
  std::vector<unsigned> edited = kStripes;
  edited[9] = 0xFFFF00;
  EXPECT_EQ(ShownStripes(), edited) << "each completed movement shows at once";
  Shot("live");
  ASSERT_TRUE(Program::Answer(colour, IDCANCEL));
  EXPECT_EQ(ShownStripes(), kStripes);
  EXPECT_TRUE(Menu(cmd::kUndo).Greyed()) << "a cancelled edit leaves nothing to undo";

  // A double click chooses the entry at once; OK keeps the edit with one undo step. The mask
  // stays on as it was left.
  grid = Dialog(cmd::kPaletteEntry, "Select Color Palette Entry");
  ASSERT_NE(grid, nullptr);
  EXPECT_TRUE(IsDlgButtonChecked(grid, palette_entry::kMask));
  ClickCell(grid, 4, WM_LBUTTONDBLCLK);
  ASSERT_TRUE(Program::WaitClosed(grid));
  colour = Checked(program_->WaitForDialog(), "Select 24-bit Color");
  ASSERT_NE(colour, nullptr);
  EXPECT_EQ(ShownChannels(colour), Channels(0x000080));
  Slide(colour, 0, SB_PAGERIGHT);
  EXPECT_EQ(ShownChannels(colour), Channels(0x080080));
  ASSERT_TRUE(Program::Answer(colour, IDOK));
  edited = kStripes;
  edited[4] = 0x080080;
  EXPECT_EQ(ShownStripes(), edited);
  program_->PostMenuCommand(cmd::kUndo);
  EXPECT_EQ(ShownStripes(), kStripes);
}

TEST_F(ColourChoiceTest, TrueColourFillChosenAndPicked) {
  ASSERT_NO_FATAL_FAILURE(StartOnStripes(false));
  EXPECT_TRUE(Menu(cmd::kPaletteEntry).Greyed()) << "a true-colour picture has no colour table";
  HWND colour = Dialog(cmd::kBackgroundColor, "Select 24-bit Color");
  ASSERT_NE(colour, nullptr);
  EXPECT_EQ(ShownChannels(colour), Channels(0xFFFFFF)) << "white, the fill colour of a fresh start";
  ASSERT_NO_FATAL_FAILURE(PickStripe(colour, color_24::kDropper, 13));

  colour = Dialog(cmd::kBackgroundColor, "Select 24-bit Color");
  ASSERT_NE(colour, nullptr);
  EXPECT_EQ(ShownChannels(colour), Channels(0xFF00FF)) << "the colour picked";
  Slide(colour, 1, SB_PAGERIGHT);
  ASSERT_TRUE(Program::Answer(colour, IDOK));
  EXPECT_EQ(ShownStripes(), kStripes) << "the picture itself is not touched";
  // The fill colour is also the one new pictures start with, which the settings keep.
  program_->PostMenuCommand(cmd::kSaveAll);
  ASSERT_TRUE(program_->Settle());
  EXPECT_EQ(Option("CBackR") + "," + Option("CBackG") + "," + Option("CBackB"), "255,8,255");
}

TEST_F(ColourChoiceTest, PaletteFillIndexPickedWithTheDropper) {
  ASSERT_NO_FATAL_FAILURE(StartOnStripes(true));
  HWND grid = Dialog(cmd::kBackgroundColor, "Select Color Palette Entry");
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(Text(grid, palette_entry::kIndex), "0");
  ASSERT_NO_FATAL_FAILURE(PickStripe(grid, palette_entry::kDropper, 5));
  grid = Dialog(cmd::kBackgroundColor, "Select Color Palette Entry");
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(Text(grid, palette_entry::kIndex), "5");
  EXPECT_EQ(Text(grid, palette_entry::kRgb), "(128,0,128)");
  ASSERT_TRUE(Program::Answer(grid, IDCANCEL));
}

}  // namespace
}  // namespace quilla::gui
