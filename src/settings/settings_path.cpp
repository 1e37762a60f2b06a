#include "settings/settings_path.h"

#include <cstdlib>
#include <filesystem>

namespace quilla {

std::string SettingsPathOverride() {
#ifdef _WIN32
  // The wide environment holds the name in any script; the narrow one only in the code page.
  const wchar_t* value = _wgetenv(L"QUILLA_INI");
  if (value == nullptr) return {};
  std::u8string text = std::filesystem::path(value).u8string();
  return std::string(text.begin(), text.end());
#else
  const char* value = std::getenv(kSettingsPathVariable);
  return value == nullptr ? std::string() : std::string(value);
#endif
}

std::string SettingsFilePath(const std::string& windowsDirectory) {
  std::string override = SettingsPathOverride();
  if (!override.empty()) return override;
  if (windowsDirectory.empty() || windowsDirectory.size() > kMaxWindowsDirectory) return kSettingsFileName;
  std::string path = windowsDirectory;
  if (path.back() != '\\') path += '\\';
  return path + kSettingsFileName;
}

}  // namespace quilla
