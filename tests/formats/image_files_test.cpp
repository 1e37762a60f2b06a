#include "formats/image_files.h"

#include "formats/file_system.h"
#include "formats/formats_test_support.h"

namespace quilla {

class ImageFilesTest : public FormatsTest {
 protected:
  // An old file to be replaced, and an image to replace it with.
  void SetUp() override {
    FormatsTest::SetUp();
    MakeTestImage(image, 40, 30, 16);
    image.fileType = kWindowsBmp;
    oldContent = Bytes{'o', 'l', 'd'};
  }
  void ExpectCannotCreate(const std::string& target) {
    EXPECT_FALSE(WriteImageFile(image, target));
    EXPECT_EQ(host.LastMessage(), "Cannot create:\n\n" + Shown(target));
  }
  DIBImage image;
  Bytes oldContent;
};

// ---- Reading ----

TEST_F(ImageFilesTest, UnsupportedOrUnopenableFilesLeaveTheImageAlone) {
  DIBImage document;
  MakeTestImage(document, 3, 3, 0);
  WriteBytes(Path("empty.bmp"), {});
  WriteBytes(Path("Some.GIF"), Text("not an image"));
  for (auto [name, message] : {std::pair{"empty.bmp", "File type is not supported:\n\n"},
                               {"Some.GIF", "File type is not supported:\n\n"}, {"missing.bmp", "Cannot open:\n\n"}}) {
    EXPECT_FALSE(ReadImageFile(document, Path(name)));
    EXPECT_EQ(host.LastMessage(), message + Shown(Path(name)));
  }
  EXPECT_EQ(document.Width(), 3);
  EXPECT_EQ(document.ioState, 0u);
}

TEST_F(ImageFilesTest, ContentDecidesNotTheName) {
  ASSERT_TRUE(WriteImageFile(image, Path("Looks.JPG")));
  DIBImage document;
  ASSERT_TRUE(ReadImageFile(document, Path("Looks.JPG")));
  EXPECT_EQ(document.fileType, kWindowsBmp);
  EXPECT_EQ(document.fileName, Path("Looks.JPG"));
  EXPECT_TRUE(document.Palette() != nullptr);
  EXPECT_EQ(InterfaceBusyDepth(), 0u);
}

TEST_F(ImageFilesTest, ResizeOnLoadFitsTheWorkArea) {
  // 101 never, 102 shrinks, 103 grows, 104 always fits.
  const int cases[][5] = {{101, 2000, 1000, 2000, 1000}, {102, 2000, 1000, 1024, 512}, {102, 100, 50, 100, 50},
                          {103, 100, 50, 1024, 512},     {103, 2000, 1000, 2000, 1000}, {104, 300, 900, 256, 768}};
  for (const auto& c : cases) {
    LoadSize size = ResizeOnLoadSize(c[0], c[1], c[2], 1024, 768);
    EXPECT_EQ(size.width, c[3]) << c[0] << ": " << c[1] << "x" << c[2];
    EXPECT_EQ(size.height, c[4]) << c[0] << ": " << c[1] << "x" << c[2];
  }

  ASSERT_TRUE(WriteImageFile(image, Path("a.bmp")));
  Options().SetResizeOnLoad(103);
  DIBImage document;
  ASSERT_TRUE(ReadImageFile(document, Path("a.bmp")));
  EXPECT_EQ(document.Width(), 1024);  // 40 x 30 into the scripted host's 1024 x 768
  EXPECT_EQ(document.Height(), 768);
  EXPECT_EQ(document.ColorCount(), 16u);
}

// ---- Safe saving ----

TEST_F(ImageFilesTest, SuccessfulSaveReplacesTheOldFileAndLeavesNoTemporary) {
  WriteBytes(Path("out.bmp"), oldContent);
  ASSERT_TRUE(WriteImageFile(image, Path("out.bmp")));
  EXPECT_EQ(ReadBytes(Path("out.bmp")).size(), 14u + 40 + 64 + 20 * 30);
  EXPECT_EQ(DirEntries(), std::vector<std::string>{"out.bmp"});
  EXPECT_EQ(Transfer::OpenFiles(), 0);
  EXPECT_EQ(image.ioState, 0u);
}

TEST_F(ImageFilesTest, CancelledSaveKeepsTheOldFile) {
  WriteBytes(Path("out.bmp"), oldContent);
  ExpectCancelledWrite(image, "out.bmp", kWindowsBmp, 5);
  EXPECT_TRUE(image.HasImage());  // a failed write leaves the image alone
}

TEST_F(ImageFilesTest, UnwritableTargetsKeepTheOldFile) {
  // A missing directory.
  std::string nowhere = Path("no-such-dir/out.bmp");
  ExpectCannotCreate(nowhere);
  EXPECT_FALSE(FileExists(nowhere));

  // A read-only file.
  WriteBytes(Path("ro.bmp"), oldContent);
  std::filesystem::permissions(Path("ro.bmp"), std::filesystem::perms::owner_read);
  ExpectCannotCreate(Path("ro.bmp"));
  EXPECT_EQ(ReadBytes(Path("ro.bmp")), oldContent);

  // A directory where the file should go: the replacement itself fails.
  std::filesystem::create_directory(Path("taken.bmp"));
  ExpectCannotCreate(Path("taken.bmp"));
  EXPECT_TRUE(std::filesystem::is_directory(Path("taken.bmp")));

  EXPECT_EQ(DirEntries(), (std::vector<std::string>{"ro.bmp", "taken.bmp"}));
}

TEST_F(ImageFilesTest, ReadOnlyDirectoryKeepsTheOldFile) {
  std::filesystem::create_directory(Path("locked"));
  std::string target = Path("locked/out.bmp");
  WriteBytes(target, oldContent);
  std::filesystem::permissions(Path("locked"), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (std::FILE* probe = OpenFileUtf8(Path("locked/probe"), "wb")) {
    std::fclose(probe);
    GTEST_SKIP() << "directory permissions do not bind this user";
  }
  ExpectCannotCreate(target);
  EXPECT_EQ(ReadBytes(target), oldContent);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Path("locked")), {}), 1);
}

TEST_F(ImageFilesTest, TypesWithoutAWriterCreateNothing) {
  WriteBytes(Path("Out.xyz"), oldContent);
  for (uint32_t type : {uint32_t(kUnknownFile), uint32_t(kCannotOpen), 12u}) {
    image.fileType = type;
    EXPECT_FALSE(WriteImageFile(image, Path("Out.xyz")));
    EXPECT_EQ(host.LastMessage(), "File type is not supported:\n\n" + Shown(Path("Out.xyz")));
    EXPECT_EQ(ReadBytes(Path("Out.xyz")), oldContent);
    EXPECT_FALSE(WriteImageFile(image, Path("new.bmp")));
    EXPECT_FALSE(FileExists(Path("new.bmp")));
  }
}

TEST_F(ImageFilesTest, ImagesTooLargeForTheHeaderAreRefusedNamingTheLimit) {
  struct Case {
    uint32_t type;
    int width, height, colors;
    const char* refusal;  // nullptr: written
  };
  const Case cases[] = {
      {kOs2Bmp, 65535, 1, 2, nullptr},
      {kOs2Bmp, 65536, 1, 2, "Image too wide for OS/2 BMP (at most 65535 pixels)"},
      {kOs2Bmp, 1, 65536, 2, "Image too tall for OS/2 BMP (at most 65535 pixels)"},
      {kGif89a, 65535, 1, 2, nullptr},
      {kGif87a, 65536, 1, 2, "Image too wide for GIF (at most 65535 pixels)"},
      {kGif89a, 1, 65536, 0, "Image too tall for GIF (at most 65535 pixels)"},
      {kTargaFile, 65535, 1, 0, nullptr},
      {kTargaFile, 65536, 1, 2, "Image too wide for Targa (at most 65535 pixels)"},
      {kTargaFile, 1, 65536, 0, "Image too tall for Targa (at most 65535 pixels)"},
      // PCX keeps the bytes of a line (even) in 16 bits and the frame as size - 1.
      {kPcxFile, 65534, 1, 0, nullptr},
      {kPcxFile, 65535, 1, 0, "Image too wide for PCX (at most 65534 pixels)"},
      {kPcxFile, 65535, 1, 17, "Image too wide for PCX (at most 65534 pixels)"},
      {kPcxFile, 65536, 1, 16, nullptr},
      {kPcxFile, 65537, 1, 2, "Image too wide for PCX (at most 65536 pixels)"},
      {kPcxFile, 1, 65537, 0, "Image too tall for PCX (at most 65536 pixels)"},
  };
  const std::string target = Path("big.img");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.type) + ": " + std::to_string(c.width) + "x" + std::to_string(c.height));
    WriteBytes(target, oldContent);
    DIBImage big;
    ASSERT_TRUE(big.CreateImage(c.width, c.height, c.colors == 0, nullptr, c.colors, 0));
    big.fileType = c.type;
    host.messages.clear();
    if (c.refusal) {
      EXPECT_FALSE(WriteImageFile(big, target));
      EXPECT_EQ(host.LastMessage(), std::string(c.refusal) + ":\n\n" + Shown(target));
      EXPECT_EQ(ReadBytes(target), oldContent);
    } else {
      EXPECT_TRUE(WriteImageFile(big, target)) << host.LastMessage();
    }
    EXPECT_EQ(DirEntries().size(), 1u);
  }
}

TEST_F(ImageFilesTest, PreviewOfAnUnknownFileIsNotRead) {
  WriteBytes(Path("x.txt"), Text("hello"));
  DIBImage document;
  EXPECT_EQ(ReadImagePreview(document, Path("x.txt"), 10, 10), 2);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(BusyCursorDepth(), 0);
}

}  // namespace quilla
