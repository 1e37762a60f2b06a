#include "settings/settings_store.h"

#include <cctype>

#include "core/messages.h"
#include "settings/app_options.h"
#include "settings/list_sections.h"
#include "settings/options_section.h"
#include "settings/settings_keys.h"
#include "settings/settings_path.h"

namespace quilla {
namespace {

std::string windowsDirectory;
// Set while Save all replaces a foreign file: its lists are not ours to keep.
bool replacingForeignFile = false;

int WriteOrWarn(const IniFile& file, const std::string& path) {
  if (file.Write(path)) return 1;
  std::string shown = path;
  for (char& c : shown) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  ShowWarning(kCannotWriteSettingsText, shown.c_str());
  return 0;
}

// Reads the file, lets change() set its keys and writes it back whole.
template <typename Change>
int UpdateFile(Change change) {
  WaitCursor wait;
  std::string path = CurrentSettingsPath();
  IniFile file = IniFile::Read(path);
  change(file);
  return WriteOrWarn(file, path);
}

template <typename Read>
int LoadList(Read read) {
  WaitCursor wait;
  read(IniFile::Read(CurrentSettingsPath()));
  return 1;
}

}  // namespace

void SetSettingsWindowsDirectory(const std::string& directory) { windowsDirectory = directory; }
std::string CurrentSettingsPath() { return SettingsFilePath(windowsDirectory); }

int AllocateListBuffers() { return Options().ReserveListBuffers() ? 1 : 0; }
void FreeListBuffers() { Options().ReleaseListBuffers(); }

int LoadAllSettings() {
  WaitCursor wait;
  IniFile file = IniFile::Read(CurrentSettingsPath());
  Identification identification = ReadIdentification(file);
  SetDefaultSettings(true);
  if (IsForeign(identification)) {
    replacingForeignFile = true;
    int saved = SaveAllSettings();
    replacingForeignFile = false;
    return saved;
  }
  ReadOptionsSection(file, Options());
  return 1;
}

IniFile BuildSettingsFile() {
  const AppOptions& options = Options();
  IniFile file;
  WriteWindowState(file, options);
  WriteOptionsSection(file, options);
  WriteFunctions(file, options.Functions());
  WriteFilterSpecs(file, options.Filters());
  WriteMacros(file, options.Macros());
  return file;
}

int SetOptionByKey(std::string_view key, std::string_view value) {
  IniFile file;
  WriteWindowState(file, Options());
  WriteOptionsSection(file, Options());
  if (!file.Find(kOptionsSection, key) || !file.Set(kOptionsSection, key, value)) return 0;
  ReadOptionsSection(file, Options());
  return 1;
}

int SaveAllSettings() {
  WaitCursor wait;
  std::string path = CurrentSettingsPath();
  if (!replacingForeignFile) {
    // The file's lists replace those in memory, so that the rewrite keeps them.
    IniFile old = IniFile::Read(path);
    ReadFunctions(old, Options().Functions());
    ReadFilterSpecs(old, Options().Filters());
    ReadMacros(old, Options().Macros());
  }
  return WriteOrWarn(BuildSettingsFile(), path);
}

void SetDefaultSettings(bool full) { Options().ResetToDefaults(full); }

int SaveWindowState() {
  return UpdateFile([](IniFile& file) { WriteWindowState(file, Options()); });
}

int LoadFunctions() {
  return LoadList([](const IniFile& file) { ReadFunctions(file, Options().Functions()); });
}
int SaveFunctions() {
  return UpdateFile([](IniFile& file) { WriteFunctions(file, Options().Functions()); });
}
int LoadFilterSpecs() {
  return LoadList([](const IniFile& file) { ReadFilterSpecs(file, Options().Filters()); });
}
int SaveFilterSpecs() {
  return UpdateFile([](IniFile& file) { WriteFilterSpecs(file, Options().Filters()); });
}
int LoadMacros() {
  return LoadList([](const IniFile& file) { ReadMacros(file, Options().Macros()); });
}
int SaveMacros() {
  return UpdateFile([](IniFile& file) { WriteMacros(file, Options().Macros()); });
}

}  // namespace quilla
