// TIFF through libtiff: 1-, 4- and 8-bit one-sample images (held as palette images) and
// images of three or more 8-bit samples (held as 24-bit), in strips or tiles. Written
// uncompressed (FileType 9) or LZW-compressed (FileType 10).
#pragma once
#include <cstdint>

namespace quilla {

class ByteReader;
class Transfer;

// 9 when the byte order mark and the first directory give a width and a height, else 0.
// Does not use the library.
int ProbeTiff(ByteReader& in, uint32_t& width, uint32_t& height);
// A failure after the image was made keeps it.
void ReadTiff(Transfer& transfer);
// Compressed when fileType is 10.
void WriteTiff(Transfer& transfer);

}  // namespace quilla
