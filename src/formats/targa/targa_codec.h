// Targa files (FileType 6): colour-mapped, true-colour and gray, uncompressed or run-length
// encoded, at 8, 15, 16, 24 and 32 bits per pixel; written uncompressed as colour-mapped
// 8-bit or true-colour 24-bit files, top row first.
#pragma once
#include <cstdint>

#include "formats/codec_abort.h"
#include "formats/targa/targa_messages.h"

namespace quilla {

class ByteReader;
class Transfer;

// 6 when the 18-byte header passes the header checks (with the size), else 0.
int ProbeTarga(ByteReader& in, uint32_t& width, uint32_t& height);
// Reduces to a palette on the way when the quantizing options ask for it; a failed read
// leaves no image.
void ReadTarga(Transfer& transfer);
void WriteTarga(Transfer& transfer);

inline constexpr AbortTexts kTargaTexts = {targa::kPrematureEof, targa::kWriteError};

}  // namespace quilla
