// Multiple File Open under Wine: the files of a folder added to the right list, the list
// saved to a file and loaded again, its files deleted, and the preview pane's picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bitmaps.h"
#include "control_ids.h"
#include "core/commands.h"
#include "session.h"

namespace quilla::gui {
namespace {

using Entries = std::vector<std::string>;

class MultipleOpenTest : public SessionTest {
 protected:
  void TearDown() override {
    if (program_ && program_->Running()) {
      for (HWND box : program_->Windows(L"#32770")) Program::Click(box, IDCANCEL);
    }
  }

  // Starts on the picture, so the current directory is the test's folder, and opens the dialog.
  HWND StartAndOpenDialog(const std::wstring& picture, int width, int height) {
    EXPECT_TRUE(WriteTestBmp(Path(picture), width, height, Gradient));
    StartOn(Path(picture), ImageTitle(Utf8(picture), width, height));
    HWND dialog = program_->ShowDialog(cmd::kMultipleOpen);
    if (dialog) {
      EXPECT_EQ(WindowText(dialog), "Multiple File Open");
    }
    return dialog;
  }

  static Entries ListEntries(HWND dialog, int id) {
    HWND list = GetDlgItem(dialog, id);
    Entries entries;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      wchar_t text[600] = L"";
      const LRESULT length = SendMessageW(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
      entries.push_back(length == LB_ERR ? "(error)" : Utf8(std::wstring(text, size_t(length))));
    }
    return entries;
  }

  static int IndexOf(HWND dialog, const std::string& entry) {
    const Entries entries = ListEntries(dialog, multiple_open::kFiles);
    for (size_t i = 0; i < entries.size(); ++i) {
      if (entries[i] == entry) return int(i);
    }
    ADD_FAILURE() << "no entry " << entry;
    return 0;
  }

  // A left-list entry selected and made the caret, as a click leaves it, then the list's
  // notification.
  void Click(HWND dialog, const std::string& entry, int notification) const {
    HWND list = GetDlgItem(dialog, multiple_open::kFiles);
    const int index = IndexOf(dialog, entry);
    SendMessageW(list, LB_SETSEL, TRUE, index);
    SendMessageW(list, LB_SETCARETINDEX, WPARAM(index), FALSE);
    if (notification) PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(multiple_open::kFiles, notification), LPARAM(list));
    EXPECT_TRUE(program_->Settle());
  }

  // Presses the button of the dialog that opens a common dialog, and chooses the file there.
  void ThroughFileDialog(HWND dialog, int button, const std::string& title, const std::wstring& file) const {
    ASSERT_TRUE(Program::Click(dialog, button));
    HWND files = program_->WaitForDialog(8000, dialog);
    ASSERT_NE(files, nullptr) << "no " << title;
    EXPECT_EQ(WindowText(files), title);
    SetItemText(files, file_dialog::kFileName, file);
    ASSERT_TRUE(Program::Answer(files, IDOK));
    ASSERT_TRUE(program_->Settle());
  }
};

TEST_F(MultipleOpenTest, FolderFilesGoRightAndTheListSavesAndLoadsAgain) {
  ASSERT_TRUE(WriteTestBmp(Path(L"b.bmp"), 4, 4, Gradient));
  ASSERT_TRUE(WriteTestBmp(Path(L"c.bmp"), 4, 4, Gradient));
  CreateDirectoryW(Path(L"sub").c_str(), nullptr);
  HWND dialog = StartAndOpenDialog(L"a.bmp", 8, 8);
  ASSERT_NE(dialog, nullptr);
  const std::string folder = Lower(Utf8(dir_));
  EXPECT_EQ(WindowText(GetDlgItem(dialog, multiple_open::kPath)), folder + "\\*.bmp") << "the type of the file opened";
  EXPECT_FALSE(Enabled(dialog, IDOK));
  EXPECT_FALSE(Enabled(dialog, multiple_open::kDelete));

  Click(dialog, "c.bmp", LBN_DBLCLK);
  ASSERT_TRUE(program_->Press(dialog, multiple_open::kUnselectAll));
  Click(dialog, "a.bmp", 0);
  Click(dialog, "[sub]", 0);
  ASSERT_TRUE(program_->Press(dialog, multiple_open::kAdd));
  const Entries chosen{folder + "\\c.bmp", folder + "\\a.bmp"};
  ASSERT_EQ(ListEntries(dialog, multiple_open::kChosen), chosen) << "the double click first, the directory skipped";
  EXPECT_TRUE(Enabled(dialog, IDOK));
  EXPECT_TRUE(Enabled(dialog, multiple_open::kDelete));

  ASSERT_NO_FATAL_FAILURE(ThroughFileDialog(dialog, multiple_open::kSaveList, "Save filenames to", Path(L"list")));
  EXPECT_EQ(ReadFileBytes(Path(L"list.txt")), chosen[0] + "\r\n" + chosen[1] + "\r\n");
  EXPECT_EQ(WindowText(GetDlgItem(dialog, multiple_open::kPath)), folder + "\\*.bmp") << "the directory is kept";

  ASSERT_TRUE(program_->Press(dialog, multiple_open::kRemoveAll));
  EXPECT_TRUE(ListEntries(dialog, multiple_open::kChosen).empty());
  EXPECT_FALSE(Enabled(dialog, IDOK));
  ASSERT_NO_FATAL_FAILURE(ThroughFileDialog(dialog, multiple_open::kLoadList, "Read filenames from", Path(L"list.txt")));
  EXPECT_EQ(ListEntries(dialog, multiple_open::kChosen), chosen);

  ASSERT_TRUE(Program::Click(dialog, multiple_open::kDelete));
  EXPECT_EQ(AnswerBox(IDYES, "delete", dialog),
            "Are you sure you want to delete from the disk ALL files in the listbox on the right?");
  ASSERT_TRUE(program_->Settle());
  EXPECT_TRUE(ListEntries(dialog, multiple_open::kChosen).empty());
  const Entries files = ListEntries(dialog, multiple_open::kFiles);
  EXPECT_EQ(std::count(files.begin(), files.end(), "b.bmp"), 1) << "the left list is read again";
  EXPECT_EQ(std::count(files.begin(), files.end(), "a.bmp") + std::count(files.begin(), files.end(), "c.bmp"), 0);

  ASSERT_TRUE(Program::Answer(dialog, IDCANCEL));
  ExpectNoDialog(*program_);
}

TEST_F(MultipleOpenTest, PreviewIsTheSmallPictureCentredInItsFrame) {
  constexpr int kW = 9, kH = 6;
  HWND dialog = StartAndOpenDialog(L"small.bmp", kW, kH);
  ASSERT_NE(dialog, nullptr);
  SetWindowPos(dialog, HWND_TOP, 600, 420, 0, 0, SWP_NOSIZE);
  Click(dialog, "small.bmp", LBN_SELCHANGE);
  HWND pane = GetDlgItem(dialog, multiple_open::kPreview);
  RECT client;
  GetClientRect(pane, &client);
  POINT origin{0, 0};
  ClientToScreen(pane, &origin);
  const std::vector<unsigned> shown = CaptureScreen({origin.x, origin.y, origin.x + client.right, origin.y + client.bottom});
  ASSERT_EQ(shown.size(), size_t(client.right * client.bottom));
  auto at = [&](int x, int y) { return shown[size_t(y * client.right + x)]; };
  constexpr unsigned kGrey = 0xC0C0C0, kBlack = 0, kWhite = 0xFFFFFF;
  const int x = (client.right - kW) / 2, y = (client.bottom - kH) / 2;
  for (int row = 0; row < kH; ++row) {
    for (int column = 0; column < kW; ++column) ASSERT_EQ(at(x + column, y + row), Gradient(column, row));
  }
  EXPECT_EQ(at(0, 0), kGrey);
  EXPECT_EQ(at(x - 1, y - 1), kGrey) << "between the frame and the picture";
  EXPECT_EQ(at(x - 2, y - 2), kBlack);
  EXPECT_EQ(at(x + kW, y + kH), kBlack);
  EXPECT_EQ(at(x + kW + 1, y + kH + 1), kGrey);
  EXPECT_EQ(at(x - 1, y + kH + 2), kWhite);
  EXPECT_EQ(at(x + kW + 2, y), kWhite);
  EXPECT_EQ(at(x + kW + 2, y - 1), kGrey) << "the line ends short of its last point";
  Shot("preview");
}

}  // namespace
}  // namespace quilla::gui
