// A folder of the temporary directory for one test's files, removed with all it holds
// (read-only entries included) when the test ends.
#pragma once
#include <filesystem>
#include <string>

namespace quilla::testing_support {

class ScratchFolder {
 public:
  // The folder quilla-name of the temporary directory, made empty.
  explicit ScratchFolder(const std::string& name) : path_(std::filesystem::temp_directory_path() / ("quilla-" + name)) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code error;
    for (auto& entry : std::filesystem::recursive_directory_iterator(path_, error))
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(path_, error);
  }
  ScratchFolder(const ScratchFolder&) = delete;

  // The path of a file in the folder, in UTF-8.
  std::string File(const std::string& name) const {
    std::u8string text = (path_ / name).u8string();
    return std::string(text.begin(), text.end());
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace quilla::testing_support
