// The few file-system calls the formats need, taking UTF-8 names. POSIX and Windows
// differ in how names are encoded, in seeking past 2 GiB and in whether a rename may
// replace an existing file; each platform has its own implementation of this header.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

namespace quilla {

std::FILE* OpenFileUtf8(const std::string& name, const char* mode);
// Creates a new, empty file in the directory of target, under a name no other file has.
// Returns nullptr when it cannot. Where the system caches files, the target's cached pages
// are given back first: it is about to be replaced.
std::FILE* CreateTempFileBeside(const std::string& target, std::string& tempName);
// Puts the complete temporary file in the place of target in one step.
bool ReplaceFileWith(const std::string& tempName, const std::string& target);
// 0, or the errno of the failure (ENOENT, EACCES, ...).
int RemoveFileUtf8(const std::string& name);
// 0, or the system's error number.
int ChangeDirectoryUtf8(const std::string& directory);
// An existing file that may not be written (read-only attribute or no write permission).
bool IsReadOnlyFile(const std::string& name);
bool FileExists(const std::string& name);

// Seeking and sizes in 64 bits on every platform. -1 on failure.
int64_t FileLength(std::FILE* file);
int64_t FileTell(std::FILE* file);
bool SeekFile(std::FILE* file, int64_t offset);

}  // namespace quilla
