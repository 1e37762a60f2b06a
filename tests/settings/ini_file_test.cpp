#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <random>

#include "settings/settings_test_support.h"
#include "settings/text_bounds.h"

namespace quilla {
namespace {

using testing_support::ScratchFolder;
using testing_support::WriteAll;

TEST(IniFileTest, LooksUpSectionsAndKeysWithoutRegardToCase) {
  IniFile file = IniFile::Parse("[Options]\r\nJpegQuality=90\r\n[Quilla for Windows]\nAuthor = someone \n");
  EXPECT_EQ(file.GetInt("options", "JPEGQUALITY", 0), 90);
  EXPECT_EQ(file.GetInt("OPTIONS", "jpegquality", 0), 90);
  EXPECT_EQ(file.GetString("quilla FOR windows", "author", ""), "someone") << "blanks around the value go";
  EXPECT_FALSE(file.Find("Options", "Author"));
  EXPECT_FALSE(file.Find("Missing", "JpegQuality"));
}

TEST(IniFileTest, FirstOfEqualNamesWinsAndRepeatedSectionsContinueTheFirst) {
  IniFile file = IniFile::Parse("[A]\nk=1\nK=2\n[b]\nx=3\n[a]\nk=4\nm=5\n");
  EXPECT_EQ(file.GetInt("A", "k", 0), 1);
  EXPECT_EQ(file.GetInt("A", "m", 0), 5);
  EXPECT_EQ(file.Serialize(), "[A]\r\nk=1\r\nm=5\r\n\r\n[b]\r\nx=3\r\n");
}

TEST(IniFileTest, SkipsJunkCommentsAndKeysOutsideSections) {
  IniFile file = IniFile::Parse("\xEF\xBB\xBF" "orphan=1\n; comment=2\n[S]\njunk line\n=nokey\n[broken\nk=v\n  \n");
  EXPECT_FALSE(file.Find("S", "orphan"));
  EXPECT_FALSE(file.Find("S", "; comment"));
  EXPECT_TRUE(file.HasSection("broken")) << "a header without ']' takes the rest of the line";
  EXPECT_EQ(file.GetString("broken", "k", ""), "v");
  int entries = 0;
  file.ForEachEntry([&](const std::string&, const std::string&, const std::string&) { ++entries; });
  EXPECT_EQ(entries, 1);
}

TEST(IniFileTest, IntegersReadLikeTheProfileReader) {
  IniFile file = IniFile::Parse(
      "[S]\nneg=-17\nplus=+5\ntail=12abc\njunk=abc\nempty=\nbig=99999999999999\nsmall=-99999999999999\n");
  // Without a number (junk, empty, missing) the fallback 7 comes back.
  const std::pair<const char*, int> rows[] = {{"neg", -17}, {"plus", 5}, {"tail", 12}, {"junk", 7}, {"empty", 7},
                                              {"missing", 7}, {"big", 2147483647}, {"small", -2147483647 - 1}};
  for (auto [key, value] : rows) EXPECT_EQ(file.GetInt("S", key, 7), value) << key;
}

TEST(IniFileTest, SetReplacesInPlaceAppendsNewKeysAndRoundTrips) {
  IniFile file = IniFile::Parse("[S]\nFirst=1\nSecond=2\n");
  EXPECT_TRUE(file.Set("s", "FIRST", "one"));
  EXPECT_TRUE(file.Set("S", "Third", "  spaced  "));
  EXPECT_TRUE(file.SetInt("New", "N", -3));
  EXPECT_EQ(file.Serialize(), "[S]\r\nFirst=one\r\nSecond=2\r\nThird=  spaced  \r\n\r\n[New]\r\nN=-3\r\n");
  IniFile again = IniFile::Parse(file.Serialize());
  EXPECT_EQ(again.Serialize(), IniFile::Parse(again.Serialize()).Serialize());
  EXPECT_EQ(again.GetString("S", "Third", ""), "spaced");
  EXPECT_EQ(again.GetInt("new", "n", 0), -3);
}

TEST(IniFileTest, ValuesCannotInjectLinesAndBadNamesAreRefused) {
  IniFile file;
  EXPECT_TRUE(file.Set("Options", "NormalText", "line one\r\n[Options]\r\nJpegQuality=5"));
  EXPECT_FALSE(file.Set("Options", "a=b", "1"));
  EXPECT_FALSE(file.Set("Options", "", "1"));
  EXPECT_FALSE(file.Set("Options", "k\n", "1"));
  EXPECT_FALSE(file.Set("Opt]ions", "k", "1"));
  IniFile reread = IniFile::Parse(file.Serialize());
  EXPECT_EQ(reread.GetString("Options", "NormalText", ""), "line one");
  EXPECT_FALSE(reread.Find("Options", "JpegQuality"));
}

TEST(IniFileTest, OverLongValuesAreCutOnACharacterBoundary) {
  std::string longValue(5000, 'v');
  IniFile file = IniFile::Parse("[S]\nk=" + longValue + "\n");
  EXPECT_EQ(file.GetString("S", "k", "").size(), kMaxProfileValue);
  IniFile set;
  set.Set("S", "k", longValue);
  EXPECT_EQ(set.GetString("S", "k", "").size(), kMaxProfileValue);
  // "é" is two bytes: a cut between them steps back.
  EXPECT_EQ(TruncateUtf8("a\xC3\xA9", 2), "a");
  EXPECT_EQ(TruncateUtf8("a\xC3\xA9", 3), "a\xC3\xA9");
  EXPECT_EQ(file.GetString("S", "k", "", 10), std::string(10, 'v'));
}

TEST(IniFileTest, BinaryJunkNeverBreaksTheReader) {
  std::mt19937 random(12345);
  for (int round = 0; round < 200; ++round) {
    std::string bytes(static_cast<size_t>(random() % 4096), '\0');
    for (char& b : bytes) b = static_cast<char>(random() % 7 == 0 ? "[]=\n\r;"[random() % 6] : random() & 0xFF);
    IniFile file = IniFile::Parse(bytes);
    IniFile again = IniFile::Parse(file.Serialize());
    EXPECT_EQ(again.Serialize(), file.Serialize()) << "round " << round;
  }
  IniFile withNul = IniFile::Parse(std::string("[S]\nk=ab\0cd\nm=1\n", 16));
  EXPECT_EQ(withNul.GetString("S", "k", ""), "ab");
  EXPECT_EQ(withNul.GetInt("S", "m", 0), 1);
}

TEST(IniFileTest, HugeFilesAreReadOnlyUpToTheBound) {
  ScratchFolder folder("settings-huge");
  std::string text = "[S]\r\nfirst=1\r\n";
  while (text.size() < 3 * kMaxSettingsFileBytes) text += "filler=" + std::string(100, 'x') + "\r\n";
  text += "last=1\r\n";
  WriteAll(folder.File("huge.ini"), text);
  IniFile file = IniFile::Read(folder.File("huge.ini"));
  EXPECT_EQ(file.GetInt("S", "first", 0), 1);
  EXPECT_FALSE(file.Find("S", "last"));
  EXPECT_LE(file.Serialize().size(), kMaxSettingsFileBytes + 4096);

  IniFile missing = IniFile::Read(folder.File("none.ini"));
  EXPECT_FALSE(missing.HasSection("S"));
  IniFile directory = IniFile::Read(folder.File(""));
  EXPECT_FALSE(directory.HasSection("S"));
}

}  // namespace
}  // namespace quilla
