// A settings (.ini) file read back as the tests look at it: its lines, and its sections
// with their keys and values in the order they are written.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace quilla::gui {

struct SettingsFile {
  using Entries = std::vector<std::pair<std::string, std::string>>;  // key, value
  std::vector<std::string> lines;                          // without line breaks; empty lines left out
  std::vector<std::pair<std::string, Entries>> sections;   // name, entries

  std::vector<std::string> SectionNames() const;
  std::vector<std::string> Keys(const std::string& section) const;
  // The value of the key (the last one, for a key written twice); empty when there is none.
  std::string Value(const std::string& section, const std::string& key) const;
};

// Empty (no lines) when the file can't be read.
SettingsFile ReadSettings(const std::wstring& path);

}  // namespace quilla::gui
