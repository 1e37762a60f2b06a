// The open file of a transfer is kept in the document's `file` field as a small handle,
// so a codec's abort routine, which gets only the document, can close it.
#pragma once
#include <cstdint>
#include <cstdio>

namespace quilla {

inline constexpr int32_t kNoFile = -1;

// Opens a file by its UTF-8 name; kNoFile on failure.
int32_t OpenTransferFile(const char* name, const char* mode);
// Takes ownership of an open stream; kNoFile (and the stream closed) when no slot is free.
int32_t AdoptTransferFile(std::FILE* stream);
std::FILE* TransferStream(int32_t handle);
// Closes the file and sets the handle to kNoFile. Returns false when the close failed
// (buffered data not written); closing kNoFile succeeds.
bool CloseTransferFile(int32_t& handle);

}  // namespace quilla
