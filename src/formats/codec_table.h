// The codecs the dispatch knows, in the fixed probing order. A codec plugs in by adding
// its entry to the table in codec_table.cpp; nothing else in the dispatch changes.
#pragma once
#include <cstdint>

#include "core/progress.h"
#include "formats/codec_abort.h"

namespace quilla {

class ByteReader;
class DIBImage;

struct CodecEntry {
  uint32_t types[2];  // the FileTypes it reads and writes (the second may repeat the first)
  // Looks at the file from its first byte: a FileType, or 0 when it is not this format.
  // A size found goes to width / height. May throw CodecAbort (taken as 0).
  int (*probe)(ByteReader& in, uint32_t& width, uint32_t& height);
  // Reads the transfer's open file, from its first byte, into the transfer's document.
  CodecBody read;
  // Writes the transfer's document (the type in fileType) to its open file.
  CodecBody write;
  AbortTexts texts;
};

// Entries in probing order; count in *count.
const CodecEntry* Codecs(int* count);
// The codec of a type, or nullptr.
const CodecEntry* CodecOfType(uint32_t type);

}  // namespace quilla
