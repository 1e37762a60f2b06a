#include "settings/file_replace.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "settings/settings_test_support.h"

namespace quilla {
namespace {

namespace fs = std::filesystem;
using namespace testing_support;

TEST(FileReplaceTest, WritesExactBytesToAnyPathAndLeavesNoTemporaryFile) {
  ScratchFolder folder("settings-replace");
  std::string path = folder.File("r\xC3\xA9glages \xE6\x97\xA5.ini");
  std::string bytes = "[S]\r\nk=v\r\n\n\x1a\xff end";
  ASSERT_TRUE(ReplaceFileContents(path, bytes));
  EXPECT_EQ(ReadAll(path), bytes) << "no line-ending translation";
  ASSERT_TRUE(ReplaceFileContents(path, "second"));
  EXPECT_EQ(ReadAll(path), "second");
  EXPECT_FALSE(fs::exists(Utf8Path(path + ".tmp")));

  FileBytes read = ReadFileBounded(path, 3);
  EXPECT_TRUE(read.exists);
  EXPECT_TRUE(read.truncated);
  EXPECT_EQ(read.data, "sec");
  read = ReadFileBounded(path, 6);
  EXPECT_FALSE(read.truncated);
  EXPECT_EQ(read.data, "second");
}

TEST(FileReplaceTest, UnwritableTargetsFailWithoutDamage) {
  ScratchFolder folder("settings-unwritable");
  WriteAll(folder.File("readonly.ini"), "old contents");
  MakeReadOnly(folder.File("readonly.ini"));
  EXPECT_FALSE(ReplaceFileContents(folder.File("readonly.ini"), "new contents"));
  EXPECT_EQ(ReadAll(folder.File("readonly.ini")), "old contents");
  EXPECT_FALSE(fs::exists(folder.Path() / "readonly.ini.tmp"));

  fs::create_directories(folder.Path() / "adir");
  WriteAll(folder.File("adir/inside"), "kept");
  EXPECT_FALSE(ReplaceFileContents(folder.File("adir"), "x"));
  EXPECT_EQ(ReadAll(folder.File("adir/inside")), "kept");
  EXPECT_FALSE(ReplaceFileContents(folder.File("no/such/dir/quilla.ini"), "x"));
  EXPECT_FALSE(fs::exists(folder.Path() / "no"));
  EXPECT_FALSE(ReadFileBounded(folder.File("adir"), 10).exists);

  // The temporary file cannot be made: the target keeps its contents.
  WriteAll(folder.File("quilla.ini"), "old");
  fs::create_directories(folder.Path() / "quilla.ini.tmp");
  EXPECT_FALSE(ReplaceFileContents(folder.File("quilla.ini"), "new"));
  EXPECT_EQ(ReadAll(folder.File("quilla.ini")), "old");
}

}  // namespace
}  // namespace quilla
