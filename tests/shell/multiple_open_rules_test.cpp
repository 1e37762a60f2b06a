#include "shell/multiple_open_rules.h"

#include <gtest/gtest.h>

#include "core/commands.h"

namespace quilla {

TEST(MultipleOpenRules, TypeListKeepsItsPositionsInRange) {
  EXPECT_EQ(ClampTypePosition(-1), 0) << "no selection and \"OpenType\" 0";
  EXPECT_EQ(ClampTypePosition(8), 8);
  EXPECT_EQ(ClampTypePosition(9), 8);
  EXPECT_STREQ(kMultipleOpenTypes[1].pattern, kMultipleOpenTypes[2].pattern) << "both BMP kinds list *.bmp";
  EXPECT_STREQ(kMultipleOpenTypes[8].description, "All files (*.*)");
}

TEST(MultipleOpenRules, EntriesAreFilesDirectoriesOrDrives) {
  EXPECT_EQ(KindOfListEntry("photo.jpg"), ListEntryKind::kFile);
  EXPECT_EQ(KindOfListEntry("[..]"), ListEntryKind::kDirectory);
  EXPECT_EQ(KindOfListEntry("[-x-y]"), ListEntryKind::kDirectory) << "a directory named like a drive, but longer";
  EXPECT_EQ(KindOfListEntry("[-c-]"), ListEntryKind::kDrive);
  EXPECT_EQ(DirectoryOfEntry("[-d-]"), "d:\\");
  EXPECT_EQ(DirectoryOfEntry("[Holiday 2024]"), "Holiday 2024");
  EXPECT_EQ(DirectoryOfEntry("[..]"), "..");
  EXPECT_TRUE(IsFolderEntry("[x]"));
  EXPECT_FALSE(IsFolderEntry("x[1].bmp") || IsFolderEntry(""));
}

TEST(MultipleOpenRules, ListedNamesAreJoinedOnceAndLowerCased) {
  EXPECT_EQ(ListedName("Z:\\Pictures", "A.BMP"), "z:\\pictures\\a.bmp");
  EXPECT_EQ(ListedName("C:\\", "Top.jpg"), "c:\\top.jpg") << "a root keeps its one backslash";
  EXPECT_EQ(ListedName("C:\\Übung", "*.JPG"), "c:\\Übung\\*.jpg") << "letters beyond ASCII stay as they are";
}

TEST(MultipleOpenRules, RadioButtonsGiveTheirDestinations) {
  EXPECT_EQ(DestinationOfButton(111), cmd::kDropSlideshow);
  EXPECT_EQ(DestinationOfButton(112), cmd::kDropContactSheet);
  EXPECT_EQ(DestinationOfButton(113), cmd::kDropCompress);
  EXPECT_EQ(DestinationOfButton(114), cmd::kDropPrinter);
  EXPECT_EQ(DestinationOfButton(115), 0);
}

TEST(MultipleOpenRules, PreviewIsCentredInsideItsFrameAndLine) {
  const PreviewPlacement p = PlacePreview(106, 86, 20, 11);
  EXPECT_EQ(p.x, 43);
  EXPECT_EQ(p.y, 37);
  EXPECT_EQ(p.frameLeft, 41);
  EXPECT_EQ(p.frameTop, 35);
  EXPECT_EQ(p.frameRight, 64);
  EXPECT_EQ(p.frameBottom, 49);
  EXPECT_EQ(p.lineLeft, 42);
  EXPECT_EQ(p.lineBottom, 50);
  EXPECT_EQ(p.lineRight, 65);
  EXPECT_EQ(p.lineTop, 36);
}

}  // namespace quilla
