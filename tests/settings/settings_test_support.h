// The settings tests' scratch folders, the QUILLA_INI variable pointing into one, and
// whole-file access by UTF-8 path.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/scratch_folder.h"

namespace quilla::testing_support {

inline std::filesystem::path Utf8Path(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

inline void SetEnvironment(const char* name, const std::string& value) {
#ifdef _WIN32
  std::wstring wideName(name, name + std::char_traits<char>::length(name));
  _wputenv_s(wideName.c_str(), Utf8Path(value).wstring().c_str());
  _putenv_s(name, value.c_str());
#else
  if (value.empty()) unsetenv(name); else setenv(name, value.c_str(), 1);
#endif
}

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(Utf8Path(path), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(Utf8Path(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline void MakeReadOnly(const std::string& path) {
  using std::filesystem::perms;
  std::filesystem::permissions(Utf8Path(path), perms::owner_write | perms::group_write | perms::others_write,
                               std::filesystem::perm_options::remove);
}

}  // namespace quilla::testing_support
