#include "settings/file_replace.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace quilla {
namespace {

namespace fs = std::filesystem;

fs::path PathFromUtf8(const std::string& path) { return fs::path(std::u8string(path.begin(), path.end())); }

}  // namespace

FileBytes ReadFileBounded(const std::string& path, size_t maxBytes) {
  FileBytes result;
  std::error_code error;
  fs::path file = PathFromUtf8(path);
  if (!fs::is_regular_file(file, error)) return result;
  std::ifstream in(file, std::ios::binary);
  if (!in) return result;
  result.exists = true;
  result.data.resize(maxBytes);
  in.read(result.data.data(), static_cast<std::streamsize>(maxBytes));
  result.data.resize(static_cast<size_t>(in.gcount()));
  result.truncated = result.data.size() == maxBytes && in.peek() != std::ifstream::traits_type::eof();
  return result;
}

bool ReplaceFileContents(const std::string& path, const std::string& contents) {
  std::error_code error;
  fs::path target = PathFromUtf8(path);
  fs::file_status status = fs::status(target, error);
  if (fs::exists(status)) {
    if (!fs::is_regular_file(status)) return false;
    // A read-only file is kept read-only: replacing it by rename would get around that.
    if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) return false;
  }
  fs::path temporary = target;
  temporary += ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    out.close();
    if (out.fail()) {
      fs::remove(temporary, error);
      return false;
    }
  }
  fs::rename(temporary, target, error);
  if (error) {
    fs::remove(temporary, error);
    return false;
  }
  return true;
}

}  // namespace quilla
