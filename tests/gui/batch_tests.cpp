// Lists of files dropped on the window: one batch, sent where "DropTo" says.
#include <gtest/gtest.h>

#include <string>

#include "bitmaps.h"
#include "session.h"

namespace quilla::gui {
namespace {

class BatchTest : public SessionTest {
 protected:
  static bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
};

TEST_F(BatchTest, ShellDropAsksBeforeCompressingAndNoLeavesEverything) {
  PresetOption(L"DropTo", L"112");
  ASSERT_TRUE(WriteTestBmp(Path(L"a.bmp"), 8, 8, Gradient));
  ASSERT_TRUE(WriteTestBmp(Path(L"b.bmp"), 8, 8, Gradient));
  Start();
  program_->DropFiles({Path(L"a.bmp"), Path(L"b.bmp")});
  EXPECT_EQ(AnswerBox(IDNO), "Are you sure you want to drop to Compress?");
  ASSERT_TRUE(program_->Settle());
  ExpectNoDialog(*program_);
  EXPECT_FALSE(Exists(Path(L"a.jpg")));
  EXPECT_FALSE(Exists(Path(L"b.jpg")));
}

}  // namespace
}  // namespace quilla::gui
