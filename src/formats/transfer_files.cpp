#include "formats/transfer_files.h"

#include <array>

#include "formats/file_system.h"

namespace quilla {

namespace {
// A few transfers can be open at once: the main document, a preview, a batch's output.
std::array<std::FILE*, 16> streams{};
}  // namespace

int32_t AdoptTransferFile(std::FILE* stream) {
  if (!stream) return kNoFile;
  for (size_t i = 0; i < streams.size(); ++i)
    if (!streams[i]) {
      streams[i] = stream;
      return int32_t(i);
    }
  std::fclose(stream);
  return kNoFile;
}

int32_t OpenTransferFile(const char* name, const char* mode) {
  return name ? AdoptTransferFile(OpenFileUtf8(name, mode)) : kNoFile;
}

std::FILE* TransferStream(int32_t handle) {
  return handle >= 0 && size_t(handle) < streams.size() ? streams[size_t(handle)] : nullptr;
}

bool CloseTransferFile(int32_t& handle) {
  std::FILE* stream = TransferStream(handle);
  if (stream) streams[size_t(handle)] = nullptr;
  handle = kNoFile;
  return !stream || std::fclose(stream) == 0;
}

}  // namespace quilla
