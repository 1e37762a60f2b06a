#include "shell/batch_compression_rules.h"

#include <gtest/gtest.h>

namespace quilla {

TEST(BatchCompressionRules, JpegNameReplacesTheFilesExtensionAndIsLowerCase) {
  EXPECT_EQ(CompressedJpegName("C:\\Photos\\Beach.BMP"), "c:\\photos\\beach.jpg");
  EXPECT_EQ(CompressedJpegName("c:\\a\\scan.tar.tga"), "c:\\a\\scan.tar.jpg");
  EXPECT_EQ(CompressedJpegName("c:\\a\\photo.JPG"), "c:\\a\\photo.jpg");
  EXPECT_EQ(CompressedJpegName("noext"), "noext.jpg");
  EXPECT_EQ(CompressedJpegName("a.pcx"), "a.jpg");
  EXPECT_EQ(CompressedJpegName("d:picture.gif"), "d:picture.jpg");
  // A "." in a folder's name is no extension: the JPEG stays beside its file.
  EXPECT_EQ(CompressedJpegName("c:\\photos.new\\a"), "c:\\photos.new\\a.jpg");
  EXPECT_EQ(CompressedJpegName("/tmp/x.d/b"), "/tmp/x.d/b.jpg");
}

}  // namespace quilla
