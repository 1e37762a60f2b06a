// POSIX implementation; Windows has its own in win32/file_system_win32.cpp.
#ifndef _WIN32
#include "formats/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace quilla {

std::FILE* OpenFileUtf8(const std::string& name, const char* mode) { return std::fopen(name.c_str(), mode); }

namespace {
// The file about to be replaced is not read again: its cached pages go back before the new
// file is written, so the new file's pages reuse memory in use rather than fresh memory (on a
// virtual machine that hands idle memory back to its host, fresh memory costs a host fault a
// page). Its contents on disk are untouched.
void ReleaseCachedPages(const std::string& name) {
  // Never waits: a pipe or a device under that name is left alone.
  int fd = open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return;
  struct stat st;
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  close(fd);
}
}  // namespace

std::FILE* CreateTempFileBeside(const std::string& target, std::string& tempName) {
  ReleaseCachedPages(target);
  for (unsigned n = 0; n < 1000; ++n) {
    tempName = target + ".~" + std::to_string(getpid() % 100000) + "-" + std::to_string(n);
    int fd = open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd >= 0) {
      if (std::FILE* file = fdopen(fd, "wb")) return file;
      close(fd);
      unlink(tempName.c_str());
      return nullptr;
    }
    if (errno != EEXIST) return nullptr;
  }
  return nullptr;
}

bool ReplaceFileWith(const std::string& tempName, const std::string& target) {
  // The replaced file keeps its permissions.
  struct stat old;
  if (stat(target.c_str(), &old) == 0) chmod(tempName.c_str(), old.st_mode & 07777);
  return std::rename(tempName.c_str(), target.c_str()) == 0;
}

int RemoveFileUtf8(const std::string& name) { return unlink(name.c_str()) == 0 ? 0 : errno; }

int ChangeDirectoryUtf8(const std::string& directory) { return chdir(directory.c_str()) == 0 ? 0 : errno; }

bool IsReadOnlyFile(const std::string& name) {
  struct stat st;
  if (stat(name.c_str(), &st) != 0) return false;
  // The mode bits count as well: the superuser passes every access() check.
  return access(name.c_str(), W_OK) != 0 || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool FileExists(const std::string& name) { return access(name.c_str(), F_OK) == 0; }

int64_t FileLength(std::FILE* file) {
  off_t here = ftello(file);
  if (here < 0 || fseeko(file, 0, SEEK_END) != 0) return -1;
  off_t end = ftello(file);
  if (fseeko(file, here, SEEK_SET) != 0) return -1;
  return end;
}

int64_t FileTell(std::FILE* file) { return ftello(file); }

bool SeekFile(std::FILE* file, int64_t offset) { return fseeko(file, off_t(offset), SEEK_SET) == 0; }

}  // namespace quilla
#endif
