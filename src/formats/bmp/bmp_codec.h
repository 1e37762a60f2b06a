// Windows (40-byte info header) and OS/2 (12-byte core header) bitmap files, uncompressed,
// at 1, 4, 8 and 24 bits per pixel. FileType 1 is Windows, 2 OS/2.
#pragma once
#include <cstdint>

namespace quilla {

class ByteReader;
class Transfer;

// 1 when the file starts with "BM", else 0; the header's size when it is either kind.
int ProbeBmp(ByteReader& in, uint32_t& width, uint32_t& height);
// Sets fileType to 1 or 2; a failed read leaves no image.
void ReadBmp(Transfer& transfer);
// With the header of fileType.
void WriteBmp(Transfer& transfer);

}  // namespace quilla
