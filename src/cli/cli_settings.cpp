#include "cli/cli_settings.h"

#include "settings/app_options.h"
#include "settings/ini_file.h"
#include "settings/list_sections.h"
#include "settings/options_section.h"
#include "settings/settings_store.h"

namespace quilla::cli {

SettingsSource LoadSettingsOrDefaults(const std::string& path) {
  SetDefaultSettings(true);
  if (path.empty()) return SettingsSource::Defaults;
  IniFile file = IniFile::Read(path);
  if (IsForeign(ReadIdentification(file))) {
    bool empty = true;
    file.ForEachEntry([&empty](const std::string&, const std::string&, const std::string&) { empty = false; });
    return empty ? SettingsSource::Defaults : SettingsSource::Foreign;
  }
  AppOptions& options = Options();
  ReadOptionsSection(file, options);
  ReadFunctions(file, options.Functions());
  ReadFilterSpecs(file, options.Filters());
  ReadMacros(file, options.Macros());
  return SettingsSource::File;
}

}  // namespace quilla::cli
