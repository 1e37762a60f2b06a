// Where the settings file lives: "quilla.ini" in the Windows directory, which the Win32
// shell obtains and hands in. The environment variable QUILLA_INI names another file
// instead (tests and scripts point the program at their own file this way).
#pragma once
#include <string>

namespace quilla {

inline constexpr const char kSettingsFileName[] = "quilla.ini";
inline constexpr const char kSettingsPathVariable[] = "QUILLA_INI";
// The profile functions never took a Windows directory longer than this.
inline constexpr size_t kMaxWindowsDirectory = 150;

// QUILLA_INI when it is set and not empty; else the Windows directory, a backslash unless
// it already ends in one, and "quilla.ini"; the bare name when the directory is empty or
// too long to be one.
std::string SettingsFilePath(const std::string& windowsDirectory);

// The value of QUILLA_INI as UTF-8, empty when unset.
std::string SettingsPathOverride();

}  // namespace quilla
