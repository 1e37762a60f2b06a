// ZSoft-style run-length encoded PCX files (FileType 7): monochrome, 16 colours packed or
// in four bit planes, 256 colours with the palette at the end of the file, and 24-bit
// colour in three 8-bit planes.
#pragma once
#include <cstdint>

#include "formats/codec_abort.h"
#include "formats/pcx/pcx_format.h"

namespace quilla {

class ByteReader;
class Transfer;

// 7 when the 128-byte header starts with 10, its version is below 7 and it has fewer than
// 5 planes (with the size), else 0.
int ProbePcx(ByteReader& in, uint32_t& width, uint32_t& height);
// On failure the rows read so far stay in the document.
void ReadPcx(Transfer& transfer);
void WritePcx(Transfer& transfer);

inline constexpr AbortTexts kPcxTexts = {pcx::kUnexpectedEof, pcx::kWriteError};

}  // namespace quilla
