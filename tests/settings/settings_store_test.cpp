#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <tuple>
#include <vector>

#include "core/dib_image.h"
#include "core/messages.h"
#include "settings/app_options.h"
#include "settings/settings_keys.h"
#include "settings/settings_path.h"
#include "settings/settings_test_support.h"
#include "support/options_order.h"
#include "support/scripted_host.h"

namespace quilla {
namespace {

using namespace testing_support;

auto Fields(const TextStyle& s) {
  return std::tie(s.alignment, s.direction, s.bold, s.italic, s.strikeout, s.underline, s.foreground, s.background,
                  s.opaque, s.points, s.face, s.text);
}

class SettingsStoreTest : public ::testing::Test {
 protected:
  SettingsStoreTest()
      : folder(std::string("settings-") + ::testing::UnitTest::GetInstance()->current_test_info()->name()) {}
  void SetUp() override {
    path = folder.File("quilla.ini");
    SetEnvironment(kSettingsPathVariable, path);
    Options().SetHooks({});
    Options().SetDisplayMode(DisplayMode::TrueColor);
    SetDefaultSettings(true);
  }
  void TearDown() override {
    SetEnvironment(kSettingsPathVariable, "");
    Options().SetHooks({});
    SetDefaultSettings(true);
  }
  // Saves the defaults as our own file, so that loads are not foreign.
  IniFile OwnFile() {
    EXPECT_EQ(SaveAllSettings(), 1);
    return IniFile::Read(path);
  }
  // The identification that makes a file our own.
  static std::string OwnIdentity() {
    return std::string("[Quilla for Windows]\nAuthor=") + kAuthorText + "\nCopyright=" + kCopyrightText + "\n";
  }
  std::vector<std::string> KeysOf(const IniFile& file, const std::string& section) {
    std::vector<std::string> keys;
    file.ForEachEntry([&](const std::string& s, const std::string& key, const std::string&) {
      if (s == section) keys.push_back(key);
    });
    return keys;
  }

  ScratchFolder folder;
  InstalledHost host;
  std::string path;
};

TEST_F(SettingsStoreTest, PathComesFromTheWindowsDirectoryUnlessOverridden) {
  EXPECT_EQ(CurrentSettingsPath(), path);
  SetEnvironment(kSettingsPathVariable, "");
  EXPECT_EQ(SettingsFilePath("C:\\WINDOWS"), "C:\\WINDOWS\\quilla.ini");
  EXPECT_EQ(SettingsFilePath("C:\\"), "C:\\quilla.ini");
  EXPECT_EQ(SettingsFilePath(""), "quilla.ini");
  EXPECT_EQ(SettingsFilePath(std::string(151, 'd')), "quilla.ini");
  SetSettingsWindowsDirectory("D:\\WIN");
  EXPECT_EQ(CurrentSettingsPath(), "D:\\WIN\\quilla.ini");
  SetSettingsWindowsDirectory("");
}

TEST_F(SettingsStoreTest, StartWithoutAFileWritesTheDefaultsInOrder) {
  Options().SetJpegQuality(33);
  ASSERT_EQ(LoadAllSettings(), 1);
  EXPECT_EQ(Options().JpegQuality(), 75) << "the program runs on the defaults";
  IniFile file = IniFile::Read(path);
  EXPECT_EQ(file.GetString(kIdentitySection, "Author", ""), "The Quilla developers");
  EXPECT_EQ(file.GetString(kIdentitySection, "Copyright", ""), "Copyright (C) The Quilla developers");
  EXPECT_EQ(file.GetString(kIdentitySection, "Version", ""), "1.0");
  EXPECT_EQ(KeysOf(file, kOptionsSection), kOptionsOrder);
  EXPECT_EQ(file.GetString(kOptionsSection, "TmpPath", ""), ".\\");
  EXPECT_EQ(file.GetString(kOptionsSection, "NormalFont", ""), "system");
  EXPECT_EQ(file.GetInt(kOptionsSection, "ContaBackG", -1), 0);
  EXPECT_EQ(file.GetString(kFiltersSection, "Filter2Spec", ""), "1,1,1,1,1,1,0,0,0,1,1,0,0,0,1,1,0,0,0,1,1,1,1,1,1");
  EXPECT_EQ(file.GetString(kFunctionsSection, "Function4", ""), "x<0.8?x:0.8+(x-0.8)/2");
  EXPECT_EQ(file.GetString(kMacrosSection, "KS3Name", ""), "dark+high contrast");

  std::string text = ReadAll(path);
  EXPECT_EQ(text.rfind("[Quilla for Windows]\r\n", 0), 0u) << "first, with Windows line ends";
  std::vector<std::string> sections;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);)
    if (line.starts_with('[')) sections.push_back(line.substr(0, line.size() - 1));  // without the '\r'
  EXPECT_EQ(sections, (std::vector<std::string>{"[Quilla for Windows]", "[Options]", "[Functions]", "[Filters]",
                                                "[One keystroke retouch]"}));
  EXPECT_EQ(KeysOf(file, kFunctionsSection).front(), "Function0");
  EXPECT_EQ(KeysOf(file, kMacrosSection).front(), "KSCurrent");
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(SettingsStoreTest, RoundTripThroughTheFile) {
  OwnFile();
  AppOptions& o = Options();
  const std::pair<IntOption, int> ints[] = {{IntOption::JpegQuality, 90}, {IntOption::PosMode, 110},
                                            {IntOption::DlgX, -12},       {IntOption::TBarRight, 0},
                                            {IntOption::OpenType, 7},     {IntOption::JpegDenomPreview, 8}};
  for (auto [option, value] : ints) o.StoreInt(option, value);
  o.SetCBackR(10);
  o.SetCBackG(20);
  o.SetCBackB(30);
  o.SetContaBack(PackColor(1, 2, 3));
  o.SetTmpPath("C:\\Temp Files\\");
  o.SetCTL3DV2("ctl.dll");
  TextStyle normal, contact;
  normal.text = "Hello, world = 1";
  normal.face = "Times New Roman";
  normal.direction = 2;
  normal.foreground = PackColor(1, 128, 255);
  o.SetStyle(TextStyleGroup::Normal, normal);
  contact.alignment = 1;
  contact.points = 14;
  contact.background = PackColor(9, 8, 7);
  contact.direction = 2;
  o.SetStyle(TextStyleGroup::Contact, contact);
  ASSERT_EQ(SaveAllSettings(), 1);

  Options().SetDisplayMode(DisplayMode::TrueColor);
  SetDefaultSettings(true);
  ASSERT_EQ(LoadAllSettings(), 1);
  for (auto [option, value] : ints) EXPECT_EQ(o.Int(option), value) << IntOptionKey(option);
  EXPECT_EQ(o.JpegDenom(kJpegNormal), 1);
  EXPECT_EQ(GlobalFillRgb(), 0x0A141Eu);
  EXPECT_EQ(o.ContaBack(), PackColor(1, 2, 3));
  EXPECT_EQ(o.TmpPath(), "C:\\Temp Files\\");
  EXPECT_EQ(o.CTL3DV2(), "ctl.dll");
  EXPECT_EQ(Fields(o.Style(TextStyleGroup::Normal)), Fields(normal));
  contact.direction = 0;  // not kept for the contact group
  EXPECT_EQ(Fields(o.Style(TextStyleGroup::Contact)), Fields(contact));
}

TEST_F(SettingsStoreTest, ForeignFilesAreReplacedByTheDefaults) {
  WriteAll(path, "[Quilla for Windows]\r\nAuthor=Someone else\r\nCopyright=" + std::string(kCopyrightText) +
                     "\r\n[Options]\r\nJpegQuality=20\r\nExtra=1\r\n[Functions]\r\nFunction0=1-x\r\n");
  ASSERT_EQ(LoadAllSettings(), 1);
  EXPECT_EQ(Options().JpegQuality(), 75);
  EXPECT_EQ(Options().Functions().slots[0].text, "x^2") << "a foreign file's lists are not taken";
  IniFile file = IniFile::Read(path);
  EXPECT_EQ(file.GetString(kIdentitySection, "Author", ""), "The Quilla developers");
  EXPECT_EQ(file.GetInt(kOptionsSection, "JpegQuality", 0), 75);
  EXPECT_FALSE(file.Find(kOptionsSection, "Extra"));
  EXPECT_EQ(file.GetString(kFunctionsSection, "Function0", ""), "x^2");

  // Case matters in the identification; the version does not.
  WriteAll(path, "[Quilla for Windows]\r\nAuthor=" + std::string(kAuthorText) + "\r\nCopyright=copyright (c) the quilla developers\r\n"
                 "[Options]\r\nJpegQuality=20\r\n");
  LoadAllSettings();
  EXPECT_EQ(Options().JpegQuality(), 75);
  WriteAll(path, "[quilla for windows]\r\nauthor=" + std::string(kAuthorText) + "\r\nCOPYRIGHT=" + kCopyrightText +
                     "\r\nVersion=0.1\r\n[OPTIONS]\r\njpegquality=20\r\n");
  LoadAllSettings();
  EXPECT_EQ(Options().JpegQuality(), 20) << "sections and keys are found in any case";
}

TEST_F(SettingsStoreTest, MissingKeysKeepDefaultsExceptTheColourFallbacks) {
  WriteAll(path, OwnIdentity() + "[Options]\nContaBackR=0\nContaBackB=0\nCBackG=0\nCBackR=256\nOpenType=42\nTmpPath=c:\\t\\\\\\\n"
                     "NormalColorRFore=300\nDlgY=7\n");
  ASSERT_EQ(LoadAllSettings(), 1);
  EXPECT_EQ(Options().ContaBackG(), 255) << "a missing component reads as 255, not the default black";
  EXPECT_EQ(Options().ContaBackR(), 0);
  EXPECT_EQ(GlobalFillRgb(), 0x0000FFu) << "256 keeps its low byte, a missing blue reads as 255";
  EXPECT_EQ(Options().OpenType(), 1);
  EXPECT_EQ(Options().TmpPath(), "c:\\t\\");
  EXPECT_EQ(Options().Style(TextStyleGroup::Normal).foreground, PackColor(300 & 0xFF, 255, 255));
  EXPECT_EQ(Options().DlgY(), 7);
  EXPECT_EQ(Options().PosMode(), 105);
  EXPECT_EQ(Options().CTL3D32(), "CTL3D32.DLL");
}

TEST_F(SettingsStoreTest, OneKeySetByNameKeepsEveryOtherOption) {
  Options().SetContaBack(PackColor(1, 2, 3));
  SetGlobalFillRgb(0x102030);
  Options().SetJpegQuality(40);
  ASSERT_EQ(SetOptionByKey("jpegquality", "90"), 1) << "keys match whatever their case";
  EXPECT_EQ(Options().JpegQuality(), 90);
  ASSERT_EQ(SetOptionByKey("TmpPath", "d:\\work"), 1);
  EXPECT_EQ(Options().TmpPath(), "d:\\work\\");
  ASSERT_EQ(SetOptionByKey("CBackG", "0"), 1);
  EXPECT_EQ(GlobalFillRgb(), 0x100030u) << "the other two components stay";
  EXPECT_EQ(Options().ContaBackG(), 2) << "unnamed colours are not reset to the load fallbacks";
  EXPECT_EQ(Options().JpegQuality(), 90);
  EXPECT_EQ(SetOptionByKey("NoSuchKey", "1"), 0);
  EXPECT_EQ(SetOptionByKey("Function0", "x"), 0) << "only keys of section Options";
  SetGlobalFillRgb(0xFFFFFF);
}

TEST_F(SettingsStoreTest, LoadingPassesOnlyTheAreaFrameOn) {
  OwnFile();
  int frames = 0, others = 0;
  Options().SetHooks({[&] { ++others; }, [&] { ++others; }, [&](int) { ++frames; }, [&](int) { ++others; },
                      [&] { ++others; return false; }});
  ASSERT_EQ(LoadAllSettings(), 1);
  EXPECT_EQ(frames, 1);
  EXPECT_EQ(others, 0) << "loading only stores";
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(SettingsStoreTest, SaveAllKeepsTheFilesListsAndListSaversWriteThem) {
  auto editLists = [] {
    Options().Functions().slots[5].text = "1-x";
    Options().Filters()[2].name = "Mine";
    Options().Macros().macros[3].name = "edited";
  };
  OwnFile();
  editLists();
  ASSERT_EQ(SaveAllSettings(), 1);
  EXPECT_EQ(Options().Functions().slots[5].text, "x*0.7+0.15") << "unsaved list edits give way to the file";
  EXPECT_EQ(Options().Filters()[2].name, "Blur");
  EXPECT_EQ(Options().Macros().macros[3].name, "dark+high contrast");

  editLists();
  Options().Macros().current = 3;
  ASSERT_EQ(SaveFunctions(), 1);
  ASSERT_EQ(SaveFilterSpecs(), 1);
  ASSERT_EQ(SaveMacros(), 1);
  SetDefaultSettings(true);
  ASSERT_EQ(LoadFunctions(), 1);
  ASSERT_EQ(LoadFilterSpecs(), 1);
  ASSERT_EQ(LoadMacros(), 1);
  EXPECT_EQ(Options().Functions().slots[5].text, "1-x");
  EXPECT_EQ(Options().Filters()[2].name, "Mine");
  EXPECT_EQ(Options().Macros().macros[3].name, "edited");
  EXPECT_EQ(Options().Macros().current, 3);
  EXPECT_EQ(KeysOf(IniFile::Read(path), kOptionsSection).back(), "NFunctions");
}

TEST_F(SettingsStoreTest, SaveAllWithoutAFileKeepsTheListsInMemory) {
  Options().Filters()[0].name = "Kept";
  ASSERT_EQ(SaveAllSettings(), 1);
  EXPECT_EQ(Options().Filters()[0].name, "Kept");
  EXPECT_EQ(Options().Functions().slots[0].text, "x^2");
  EXPECT_EQ(IniFile::Read(path).GetString(kFiltersSection, "Filter0Name", ""), "Kept");
  std::remove(path.c_str());
  ASSERT_EQ(LoadFilterSpecs(), 1);
  EXPECT_EQ(Options().Filters()[0].name, "Kept");
}

TEST_F(SettingsStoreTest, DefaultThenExitKeepsTheOldScalarsButTheWindowState) {
  Options().SetJpegQuality(40);
  Options().SetDlgX(5);
  Options().SetC8Black(0);
  OwnFile();
  SetDefaultSettings(false);
  EXPECT_EQ(Options().DlgX(), 5) << "the Default command keeps dialog positions";
  EXPECT_EQ(Options().JpegQuality(), 75);
  Options().SetTBarCaption(1);
  ASSERT_EQ(SaveWindowState(), 1);
  IniFile file = IniFile::Read(path);
  EXPECT_EQ(file.GetInt(kOptionsSection, "JpegQuality", 0), 40);
  EXPECT_EQ(file.GetInt(kOptionsSection, "C8Black", -1), 1);
  EXPECT_EQ(file.GetInt(kOptionsSection, "TBarCaption", -1), 1);
  EXPECT_EQ(file.GetInt(kOptionsSection, "DlgX", -1), 5);
  EXPECT_EQ(KeysOf(file, kOptionsSection), kOptionsOrder) << "updates stay in place";
}

TEST_F(SettingsStoreTest, UnwritableFileStaysAsItWasAndTheFailureIsReported) {
  OwnFile();
  std::string before = ReadAll(path);
  MakeReadOnly(path);
  Options().SetJpegQuality(50);
  EXPECT_EQ(SaveAllSettings(), 0);
  EXPECT_EQ(SaveWindowState(), 0);
  EXPECT_EQ(SaveMacros(), 0);
  EXPECT_EQ(ReadAll(path), before);
  ASSERT_EQ(host.messages.size(), 3u);
  EXPECT_EQ(host.messages[0].text.rfind("Cannot write the settings file ", 0), 0u);

  SetEnvironment(kSettingsPathVariable, folder.File("missing/dir/quilla.ini"));
  EXPECT_EQ(LoadAllSettings(), 0) << "the defaults could not be written";
  EXPECT_EQ(Options().JpegQuality(), 75);
}

TEST_F(SettingsStoreTest, JunkAndOverLongValuesNeverBreakLoading) {
  std::string junk = OwnIdentity() + "\x01\x02\xff\xfe garbage\n[Options]\nTmpPath=" + std::string(5000, 'p') +
                     "\nNormalFont=" + std::string(100, 'f') + "\nNormalText=" + std::string(1000, 't') +
                     "\nCTL3D32=" + std::string(100, 'c') + "\nJpegQuality=\x80\x81\nPosMode=106junk\n" +
                     std::string("\0\0\0", 3) + "\n[Functions]\nFunction0=" + std::string(2000, 'x') + "\n";
  WriteAll(path, junk);
  ASSERT_EQ(LoadAllSettings(), 1);
  const AppOptions& o = Options();
  EXPECT_EQ(o.TmpPath().size(), kMaxTmpPath);
  EXPECT_EQ(o.TmpPath().back(), '\\');
  EXPECT_EQ(o.Style(TextStyleGroup::Normal).face.size(), kMaxFaceName);
  EXPECT_EQ(o.Style(TextStyleGroup::Normal).text.size(), kMaxStyleText);
  EXPECT_EQ(o.CTL3D32().size(), kMaxLibraryName);
  EXPECT_EQ(o.JpegQuality(), 75);
  EXPECT_EQ(o.PosMode(), 106);
  ASSERT_EQ(SaveAllSettings(), 1);
  EXPECT_EQ(Options().Functions().slots[0].text.size(), kMaxFunctionText);
  IniFile file = IniFile::Read(path);
  EXPECT_EQ(KeysOf(file, kOptionsSection), kOptionsOrder) << "the rewrite drops the junk";
}

TEST_F(SettingsStoreTest, ListBuffersAreAllocatedAndFreed) {
  EXPECT_EQ(AllocateListBuffers(), 1);
  EXPECT_GE(Options().Functions().slots[19].text.capacity(), kMaxFunctionText);
  FreeListBuffers();
  EXPECT_EQ(Options().Functions().slots[19].text, "x");
}

}  // namespace
}  // namespace quilla
