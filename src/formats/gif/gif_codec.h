// GIF 87a and 89a: the first image of a file is read as an 8-bit palette image, and an
// image is written as a one-image file, sequential or interlaced. FileType 3 is 87a, 4 89a.
// Both directions use the LZW coder tables, which are allocated once at start-up.
#pragma once
#include <cstdint>

#include "formats/codec_abort.h"

namespace quilla {

class ByteReader;
class Transfer;

// The process-wide LZW coder tables of the reader and the writer. Initialize returns 0
// when memory runs out (nothing is kept then); Release frees them. Both may be called again.
int InitializeGifCoder();
void ReleaseGifCoder();
bool GifCoderReady();

// 3 (87a), 4 (89a), or 0 (not a GIF or no usable image), with the size of the first image.
int ProbeGif(ByteReader& in, uint32_t& width, uint32_t& height);
// Reads the first image of the file; sets fileType. A failed read keeps the rows decoded
// before the failure (a quiet one keeps nothing).
void ReadGif(Transfer& transfer);
// As 87a (fileType 3) or 89a.
void WriteGif(Transfer& transfer);

inline constexpr AbortTexts kGifTexts = {nullptr, "Output file write error"};

}  // namespace quilla
