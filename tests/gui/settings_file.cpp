#include "settings_file.h"

#include <sstream>

#include "harness.h"

namespace quilla::gui {

SettingsFile ReadSettings(const std::wstring& path) {
  SettingsFile file;
  std::istringstream in(ReadFileBytes(path));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    file.lines.push_back(line);
    if (line.front() == '[') {
      file.sections.push_back({line.substr(1, line.find(']') - 1), {}});
      continue;
    }
    if (file.sections.empty()) file.sections.emplace_back();  // lines before any section
    const size_t eq = line.find('=');
    file.sections.back().second.emplace_back(line.substr(0, eq), eq == std::string::npos ? "" : line.substr(eq + 1));
  }
  return file;
}

std::vector<std::string> SettingsFile::SectionNames() const {
  std::vector<std::string> names;
  for (const auto& section : sections) names.push_back(section.first);
  return names;
}

std::vector<std::string> SettingsFile::Keys(const std::string& section) const {
  std::vector<std::string> keys;
  for (const auto& [name, entries] : sections) {
    for (const auto& entry : entries) {
      if (name == section) keys.push_back(entry.first);
    }
  }
  return keys;
}

std::string SettingsFile::Value(const std::string& section, const std::string& key) const {
  std::string value;
  for (const auto& [name, entries] : sections) {
    for (const auto& entry : entries) {
      if (name == section && entry.first == key) value = entry.second;
    }
  }
  return value;
}

}  // namespace quilla::gui
