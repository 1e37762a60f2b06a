// Options, functions, filters and macros for a command, from a settings file or the defaults.
#pragma once
#include <string>

namespace quilla::cli {

enum class SettingsSource { Defaults, File, Foreign };

// Resets to the built-in defaults, then reads path as Load all does when it belongs to this
// program. An empty or missing path, an empty file and a foreign file leave the defaults
// (Foreign tells the caller to warn). The file itself is never written.
SettingsSource LoadSettingsOrDefaults(const std::string& path);

}  // namespace quilla::cli
