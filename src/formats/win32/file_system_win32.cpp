// Windows implementation of formats/file_system.h: UTF-8 names become wide ones, and
// MoveFileExW replaces the target, which a plain rename refuses to do here.
#ifdef _WIN32
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cwchar>

#include "formats/file_system.h"

namespace quilla {

namespace {
std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring out(size_t(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n);
  return out;
}
}  // namespace

std::FILE* OpenFileUtf8(const std::string& name, const char* mode) {
  return _wfopen(Wide(name).c_str(), Wide(mode).c_str());
}

std::FILE* CreateTempFileBeside(const std::string& target, std::string& tempName) {
  for (unsigned n = 0; n < 1000; ++n) {
    tempName = target + ".~" + std::to_string(GetCurrentProcessId() % 100000) + "-" + std::to_string(n);
    HANDLE handle = CreateFileW(Wide(tempName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      if (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS) continue;
      return nullptr;
    }
    int fd = _open_osfhandle(intptr_t(handle), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
      CloseHandle(handle);
      DeleteFileW(Wide(tempName).c_str());
      return nullptr;
    }
    if (std::FILE* file = _fdopen(fd, "wb")) return file;
    _close(fd);
    DeleteFileW(Wide(tempName).c_str());
    return nullptr;
  }
  return nullptr;
}

bool ReplaceFileWith(const std::string& tempName, const std::string& target) {
  return MoveFileExW(Wide(tempName).c_str(), Wide(target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

int RemoveFileUtf8(const std::string& name) { return _wremove(Wide(name).c_str()) == 0 ? 0 : errno; }

int ChangeDirectoryUtf8(const std::string& directory) {
  return SetCurrentDirectoryW(Wide(directory).c_str()) ? 0 : int(GetLastError());
}

bool IsReadOnlyFile(const std::string& name) {
  DWORD attributes = GetFileAttributesW(Wide(name).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool FileExists(const std::string& name) { return GetFileAttributesW(Wide(name).c_str()) != INVALID_FILE_ATTRIBUTES; }

int64_t FileLength(std::FILE* file) {
  int64_t here = _ftelli64(file);
  if (here < 0 || _fseeki64(file, 0, SEEK_END) != 0) return -1;
  int64_t end = _ftelli64(file);
  if (_fseeki64(file, here, SEEK_SET) != 0) return -1;
  return end;
}

int64_t FileTell(std::FILE* file) { return _ftelli64(file); }

bool SeekFile(std::FILE* file, int64_t offset) { return _fseeki64(file, offset, SEEK_SET) == 0; }

}  // namespace quilla
#endif
