// quilla-cli settings [--ini FILE] [--save]: prints the effective options as Key=Value
// lines in the order Save all writes them, or writes a complete default settings file.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/cli_commands.h"
#include "cli/cli_settings.h"
#include "settings/app_options.h"
#include "settings/ini_file.h"
#include "settings/settings_path.h"
#include "settings/settings_store.h"

namespace quilla::cli {
namespace {

constexpr const char kSettingsUsage[] = "settings [--ini FILE] [--save]";

int SettingsUsage() {
  std::fprintf(stderr, "usage: quilla-cli %s\n", kSettingsUsage);
  return kUsage;
}

}  // namespace

int RunSettingsCommand(int argc, char** argv) {
  std::string ini;
  bool save = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--ini") == 0 && i + 1 < argc && argv[i + 1][0] != '\0') {
      ini = argv[++i];
    } else if (std::strcmp(argv[i], "--save") == 0) {
      save = true;
    } else {
      return SettingsUsage();
    }
  }
  if (save) {
    if (ini.empty()) return SettingsUsage();
    SetDefaultSettings(true);
    if (!BuildSettingsFile().Write(ini)) {
      std::fprintf(stderr, kCannotWriteSettingsText, ini.c_str());
      std::fputc('\n', stderr);
      return kFailed;
    }
    return kOk;
  }
  // What Load all and then Save all would hold, without writing anything.
  LoadSettingsOrDefaults(ini.empty() ? SettingsPathOverride() : ini);
  BuildSettingsFile().ForEachEntry([](const std::string&, const std::string& key, const std::string& value) {
    std::printf("%s=%s\n", key.c_str(), value.c_str());
  });
  return std::fflush(stdout) == 0 && !std::ferror(stdout) ? kOk : kFailed;
}

}  // namespace quilla::cli
