#include "formats/file_types.h"

#include <gtest/gtest.h>

namespace quilla {

TEST(FileTypesTest, NamesAsSaveConfirmationsShowThem) {
  EXPECT_STREQ(FileTypeName(kWindowsBmp), "Windows BMP");
  EXPECT_STREQ(FileTypeName(kOs2Bmp), "OS/2 BMP");
  EXPECT_STREQ(FileTypeName(kGif89a), "GIF89a");
  EXPECT_STREQ(FileTypeName(kPnmFile), "PBM");
  EXPECT_STREQ(FileTypeName(kTiffCompressed), "TIFF compressed");
  EXPECT_STREQ(FileTypeName(kJpegFile), "JPEG");
  EXPECT_STREQ(FileTypeName(kJpegFile, true), "GRAYSCALE JPEG");
  EXPECT_STREQ(FileTypeName(kTargaFile, true), "TGA");
  EXPECT_STREQ(FileTypeName(kUnknownFile), "Unknown");
  EXPECT_STREQ(FileTypeName(kCannotOpen), "Unknown");
}

TEST(FileTypesTest, FilterBlocksAreNulSeparatedAndEndEmpty) {
  std::string block = FilterBlock(kOpenFilters, kOpenFilterCount);
  EXPECT_EQ(block.compare(0, 19, std::string("JPEG (*.jpg)\0*.jpg\0", 19)), 0);
  EXPECT_EQ(block.substr(block.size() - 21), std::string("All Files (*.*)\0*.*\0\0", 21));
  EXPECT_EQ(std::count(block.begin(), block.end(), '\0'), 2 * kOpenFilterCount + 1);
  EXPECT_STREQ(kSaveFilters[4].description, "GIF 89a (*.gif)");
  EXPECT_STREQ(kSaveFilters[7].pattern, "*.ppm;*.pgm;*.pbm");
}

TEST(FileTypesTest, SaveIndicesAndOpenIndicesFollowTheTypes) {
  const uint32_t types[] = {kJpegFile, kWindowsBmp, kOs2Bmp, kGif87a, kGif89a, kTargaFile, kPcxFile, kPnmFile,
                            kTiffFile, kTiffCompressed};
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(FileTypeOfSaveIndex(i), types[i - 1]);
  EXPECT_EQ(FileTypeOfSaveIndex(0), kUnknownFile);
  EXPECT_EQ(FileTypeOfSaveIndex(11), kUnknownFile);
  const int open[] = {1, 2, 3, 4, 4, 1, 5, 6, 7, 8, 8};
  for (uint32_t t = 0; t <= 10; ++t) EXPECT_EQ(OpenIndexOfFileType(t), open[t]) << t;
  EXPECT_EQ(ValidOpenIndex(0), 1);
  EXPECT_EQ(ValidOpenIndex(12), 1);
  EXPECT_EQ(ValidOpenIndex(9), 9);
  EXPECT_EQ(ValidSaveIndex(10), 10);
  EXPECT_EQ(ValidSaveIndex(11), 1);
}

TEST(FileTypesTest, SaveTypeFromNameMatchesTheFirstDot) {
  EXPECT_EQ(SaveTypeFromName("c:\\a\\pic.BMP", 1), 2);
  EXPECT_EQ(SaveTypeFromName("pic.dib", 3), 2);
  EXPECT_EQ(SaveTypeFromName("pic.gif", 5), 5);   // GIF 89a stays
  EXPECT_EQ(SaveTypeFromName("pic.gif", 1), 4);
  EXPECT_EQ(SaveTypeFromName("pic.gif", 4), 4);
  EXPECT_EQ(SaveTypeFromName("pic.tif", 10), 10);  // compressed TIFF stays
  EXPECT_EQ(SaveTypeFromName("pic.tif", 1), 9);
  EXPECT_EQ(SaveTypeFromName("pic.pbm", 1), 8);
  EXPECT_EQ(SaveTypeFromName("pic.ppm", 6), 6);   // .ppm and .pgm match nothing
  EXPECT_EQ(SaveTypeFromName("pic", 7), 7);
  EXPECT_EQ(SaveTypeFromName("c:\\photos.new\\a.gif", 2), 2);  // the dot of the directory counts
  EXPECT_EQ(SaveTypeFromName("pic.jpg.bmp", 2), 2);
  EXPECT_EQ(SaveTypeFromName("pic.jpg", 2), 1);
}

TEST(FileTypesTest, HookPutsTheFilterExtensionInTheName) {
  EXPECT_EQ(NameWithFilterExtension("photo.jpg", kSaveExtensions, 6), "photo.pcx");
  EXPECT_EQ(NameWithFilterExtension("photo", kSaveExtensions, 6), "photo.pcx");
  EXPECT_EQ(NameWithFilterExtension("photo.jpg", kSaveExtensions, 2), "photo.bmp");  // ".dib" is not used
  EXPECT_EQ(NameWithFilterExtension("photo.jpg", kOpenExtensions, 8), "photo");      // All Files
  EXPECT_EQ(NameWithDefaultExtension("c:\\my.lists\\slides", ".txt"), "c:\\my.lists\\slides.txt");
  EXPECT_EQ(NameWithDefaultExtension("slides.lst", ".txt"), "slides.lst");
  EXPECT_EQ(NameWithFilterExtension("c:\\dir.x\\name", kSaveExtensions, 0), "c:\\dir.x\\name.jpg");
  EXPECT_EQ(NameWithFilterExtension("*.jpg;*.bmp", kSaveExtensions, 0), "*.jpg;*.bmp");
  EXPECT_EQ(NameWithFilterExtension("", kSaveExtensions, 0), "");
}

}  // namespace quilla
