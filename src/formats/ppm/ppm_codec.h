// Portable anymaps, FileType 8: bitmaps, gray maps and pixmaps in their ASCII (P1, P2, P3)
// and raw (P4, P5, P6) forms are read into a true-colour image; raw pixmaps (P6) are
// written.
#pragma once
#include <cstdint>

#include "formats/codec_abort.h"

namespace quilla {

class ByteReader;
class Transfer;

// 8 when the file starts with 'P', a digit 1..6 and two decimal integers (the size), else 0.
int ProbePpm(ByteReader& in, uint32_t& width, uint32_t& height);
// A file that ends early keeps the rows read before.
void ReadPpm(Transfer& transfer);
// A raw pixmap.
void WritePpm(Transfer& transfer);

inline constexpr AbortTexts kPpmTexts = {"Unexpected EOF in PBM file", "Error writing PBM file"};

}  // namespace quilla
