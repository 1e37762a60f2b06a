// The settings file in the Windows initialisation-file format: "[Section]" lines, then
// "Key=Value" lines. Sections and keys are found without regard to ASCII case and the
// first of several equal names wins, as with the Windows profile functions. Values are
// stored as given (cut at a line break and to kMaxProfileValue) and read back with the
// surrounding blanks removed. Lines that are neither a section nor a key are dropped.
#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "settings/text_bounds.h"

namespace quilla {

// Larger files are read only up to this size (the last, cut line is dropped): a settings
// file written by the program holds some 15 KB.
inline constexpr size_t kMaxSettingsFileBytes = 1 << 20;

class IniFile {
 public:
  // Parses the text of a file; never fails, junk is skipped.
  static IniFile Parse(std::string_view text);
  // Reads the file at a UTF-8 path; a missing or unreadable file gives an empty IniFile.
  static IniFile Read(const std::string& path);

  std::string Serialize() const;
  // Writes the whole file through a temporary file beside it; the old file stays as it
  // was when anything fails. Returns false on failure.
  bool Write(const std::string& path) const;

  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  std::string GetString(std::string_view section, std::string_view key, std::string_view fallback,
                        size_t maxBytes = kMaxProfileValue) const;
  // The fallback when the key is missing or its value holds no number.
  int GetInt(std::string_view section, std::string_view key, int fallback) const;

  // Replaces the value of an existing key or appends the key to its section (the section
  // to the file). Names with "]", "=" or line breaks, or empty keys, are refused.
  bool Set(std::string_view section, std::string_view key, std::string_view value);
  bool SetInt(std::string_view section, std::string_view key, int value);

  bool HasSection(std::string_view section) const;
  // Every key in file order.
  void ForEachEntry(const std::function<void(const std::string& section, const std::string& key,
                                             const std::string& value)>& visit) const;

 private:
  struct Entry {
    std::string key, value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
    std::unordered_map<std::string, size_t> index;  // folded key -> first entry
  };
  Section* FindSection(std::string_view name);
  const Section* FindSection(std::string_view name) const;
  Section& AddSection(std::string_view name);
  static void AddEntry(Section& section, std::string_view key, std::string_view value);

  std::vector<Section> sections_;
  std::unordered_map<std::string, size_t> sectionIndex_;  // folded name -> first section
};

}  // namespace quilla
