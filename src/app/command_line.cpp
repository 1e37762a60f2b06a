#include "app/command_line.h"

#include <cctype>
#include <cstdio>
#include <memory>

#include "formats/file_system.h"

namespace quilla {

std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> names;
  std::string name;
  bool quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (!name.empty()) names.push_back(name);
      name.clear();
    } else {
      name += c;
    }
  }
  if (!name.empty()) names.push_back(name);
  return names;
}

std::optional<std::string> ReadListFile(const std::string& name) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenFileUtf8(name, "rb"), std::fclose);
  if (!file) return std::nullopt;
  std::string text;
  char block[4096];
  while (size_t got = std::fread(block, 1, sizeof block, file.get())) text.append(block, got);
  return text;
}

bool IsListFileName(const std::string& name) {
  const size_t dot = name.find_last_of(".\\/:");
  if (dot == std::string::npos || name[dot] != '.') return false;
  std::string extension = name.substr(dot);
  for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".txt";
}

std::vector<std::string> ListFileLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    // Lists written on Windows end their lines with a carriage return too.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() <= kMaxListLine) lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<std::string> ListFileNames(const std::string& text) {
  std::vector<std::string> names;
  for (std::string& line : ListFileLines(text)) {
    line.erase(line.find_last_not_of(' ') + 1);
    if (line.empty() || line.front() == '#') continue;
    names.push_back(std::move(line));
  }
  return names;
}

std::vector<std::string> CommandLineNames(const std::string& line, const ListFileReader& readList) {
  std::vector<std::string> names;
  for (const std::string& name : SplitCommandLine(line)) {
    if (!IsListFileName(name)) {
      names.push_back(name);
    } else if (const std::optional<std::string> text = readList(name)) {
      for (std::string& listed : ListFileNames(*text)) names.push_back(std::move(listed));
    }
  }
  return names;
}

CommandLineStart ChooseCommandLineStart(const std::vector<std::string>& names) {
  if (names.empty()) return CommandLineStart::kNothing;
  return names.size() == 1 ? CommandLineStart::kOpenOne : CommandLineStart::kSlideshow;
}

}  // namespace quilla
