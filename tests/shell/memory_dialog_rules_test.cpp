#include "shell/memory_dialog_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "default_options.h"

namespace quilla {

using MemoryDialogTest = DefaultOptionsTest;

TEST_F(MemoryDialogTest, MemoryOptionsNormaliseTheTemporaryDirectory) {
  StoreMemoryOptions(false, "C:\\TEMP\\\\\\");
  EXPECT_EQ(CurrentJpegMemoryOptions().tmpPath, "C:\\TEMP\\");
  EXPECT_FALSE(CurrentJpegMemoryOptions().useTmpFiles);
  StoreMemoryOptions(true, "");
  EXPECT_EQ(CurrentJpegMemoryOptions().tmpPath, ".\\");
  EXPECT_TRUE(CurrentJpegMemoryOptions().useTmpFiles);
  StoreMemoryOptions(true, std::string(800, 'a'));
  EXPECT_LE(CurrentJpegMemoryOptions().tmpPath.size(), 500u);
  EXPECT_EQ(CurrentJpegMemoryOptions().tmpPath.back(), '\\');
}

}  // namespace quilla
