#include "settings/ini_file.h"

#include "settings/file_replace.h"
#include "settings/text_bounds.h"

namespace quilla {
namespace {

// Longest section or key name kept; longer names cannot be ours and are cut.
constexpr size_t kMaxNameBytes = 255;

std::string Fold(std::string_view name) {
  std::string folded(name);
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return folded;
}

std::string_view Trim(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// A value ends at the first line break or NUL: anything after it would become lines of
// its own in the file.
std::string_view FirstLine(std::string_view value) {
  size_t end = value.find_first_of(std::string_view("\r\n\0", 3));
  return end == std::string_view::npos ? value : value.substr(0, end);
}

bool ValidName(std::string_view name, bool isKey) {
  if (name.find_first_of(std::string_view("\r\n\0]", 4)) != std::string_view::npos) return false;
  if (!isKey) return true;
  return !Trim(name).empty() && name.find('=') == std::string_view::npos && name.front() != '[' &&
         name.front() != ';';
}

}  // namespace

IniFile IniFile::Parse(std::string_view text) {
  IniFile file;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  Section* current = nullptr;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    line = line.substr(0, line.find('\0'));
    line = Trim(line);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      size_t close = line.find(']');
      std::string_view name = Trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
      current = &file.AddSection(TruncateUtf8(name, kMaxNameBytes));
      continue;
    }
    size_t equals = line.find('=');
    if (current == nullptr || equals == std::string_view::npos) continue;
    std::string_view key = Trim(line.substr(0, equals));
    if (key.empty()) continue;
    AddEntry(*current, TruncateUtf8(key, kMaxNameBytes), Trim(line.substr(equals + 1)));
  }
  return file;
}

IniFile IniFile::Read(const std::string& path) {
  FileBytes bytes = ReadFileBounded(path, kMaxSettingsFileBytes);
  std::string_view text = bytes.data;
  // A cut file ends in the middle of a line: drop that line rather than read half a value.
  if (bytes.truncated) text = text.substr(0, text.rfind('\n') == text.npos ? 0 : text.rfind('\n'));
  return Parse(text);
}

std::string IniFile::Serialize() const {
  std::string text;
  for (const Section& section : sections_) {
    if (!text.empty()) text += "\r\n";
    text += "[" + section.name + "]\r\n";
    for (const Entry& entry : section.entries) text += entry.key + "=" + entry.value + "\r\n";
  }
  return text;
}

bool IniFile::Write(const std::string& path) const { return ReplaceFileContents(path, Serialize()); }

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const {
  const Section* found = FindSection(section);
  if (found == nullptr) return std::nullopt;
  auto it = found->index.find(Fold(Trim(key)));
  if (it == found->index.end()) return std::nullopt;
  return found->entries[it->second].value;
}

std::string IniFile::GetString(std::string_view section, std::string_view key, std::string_view fallback,
                               size_t maxBytes) const {
  std::optional<std::string> value = Find(section, key);
  return TruncateUtf8(value ? std::string_view(*value) : fallback, maxBytes);
}

int IniFile::GetInt(std::string_view section, std::string_view key, int fallback) const {
  std::optional<std::string> value = Find(section, key);
  if (!value) return fallback;
  return ParseProfileInt(*value).value_or(fallback);
}

bool IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (!ValidName(section, false) || !ValidName(key, true)) return false;
  Section* target = FindSection(section);
  if (target == nullptr) target = &AddSection(Trim(section));
  std::string kept = TruncateUtf8(FirstLine(value), kMaxProfileValue);
  auto it = target->index.find(Fold(Trim(key)));
  if (it != target->index.end()) {
    target->entries[it->second].value = std::move(kept);
  } else {
    AddEntry(*target, Trim(key), kept);
  }
  return true;
}

bool IniFile::SetInt(std::string_view section, std::string_view key, int value) {
  return Set(section, key, std::to_string(value));
}

bool IniFile::HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

void IniFile::ForEachEntry(const std::function<void(const std::string&, const std::string&,
                                                    const std::string&)>& visit) const {
  for (const Section& section : sections_)
    for (const Entry& entry : section.entries) visit(section.name, entry.key, entry.value);
}

IniFile::Section* IniFile::FindSection(std::string_view name) {
  auto it = sectionIndex_.find(Fold(Trim(name)));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
  auto it = sectionIndex_.find(Fold(Trim(name)));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

IniFile::Section& IniFile::AddSection(std::string_view name) {
  // A repeated header continues the first section of that name, where lookups look.
  if (Section* existing = FindSection(name)) return *existing;
  sectionIndex_.emplace(Fold(name), sections_.size());
  sections_.push_back(Section{std::string(name), {}, {}});
  return sections_.back();
}

void IniFile::AddEntry(Section& section, std::string_view key, std::string_view value) {
  if (!section.index.emplace(Fold(key), section.entries.size()).second) return;  // first one wins
  section.entries.push_back(Entry{std::string(key), TruncateUtf8(value, kMaxProfileValue)});
}

}  // namespace quilla
