// The codecs the dispatch knows, in the fixed probing order. A codec plugs in by adding
// its entry to the table in codec_table.cpp; nothing else in the dispatch changes.
#pragma once
#include <cstdint>

#include "core/progress.h"

namespace quilla {

class DIBImage;

struct CodecEntry {
  uint32_t types[2];  // the FileTypes it reads and writes (the second may repeat the first)
  // Returns a FileType, 0 (not this format) or kCannotOpen; finds the name in fileName.
  int (*probe)(DIBImage& document);
  // Non-zero on success; the name is in fileName.
  int (*read)(DIBImage& document);
  // Non-zero on success; the open file is in `file`, the type in fileType.
  int (*write)(DIBImage& document);
  // Quiet reading shrunk to a maximum size: 0 read, 1 partly read, 2 not read.
  int (*readPreview)(DIBImage& document, int maxWidth, int maxHeight);
  // Run on cancel by the transfer clean-up; chosen by ioState and fileType.
  TransferCleanup abortRead;
  TransferCleanup abortWrite;
};

// Entries in probing order; count in *count.
const CodecEntry* Codecs(int* count);
// The codec of a type, or nullptr.
const CodecEntry* CodecOfType(uint32_t type);
// Registers every codec's clean-ups with the transfer clean-up; idempotent.
void RegisterFileFormats();

}  // namespace quilla
