// Whole-file reads with a size bound and whole-file writes that never lose the old file:
// the new contents go to a temporary file beside the target, which replaces the target
// only after a complete write. Paths are UTF-8.
#pragma once
#include <cstddef>
#include <string>

namespace quilla {

struct FileBytes {
  std::string data;
  bool exists = false;
  bool truncated = false;  // the file was longer than the bound
};

FileBytes ReadFileBounded(const std::string& path, size_t maxBytes);

// False, with the target untouched, when the target is read-only, a directory, or
// anything in the write or the replacement fails.
bool ReplaceFileContents(const std::string& path, const std::string& contents);

}  // namespace quilla
