// ZSoft-style run-length encoded PCX files (FileType 7): monochrome, 16 colours packed or
// in four bit planes, 256 colours with the palette at the end of the file, and 24-bit
// colour in three 8-bit planes.
#pragma once

namespace quilla {

class DIBImage;

// 7 when the 128-byte header starts with 10, its version is below 7 and it has fewer than
// 5 planes (the size goes to fileWidth / fileHeight); 0 when not; kCannotOpen when the file
// cannot be opened.
int ProbePcx(DIBImage& document);
// Reads the file named by fileName. Non-zero on success; on failure the rows read so far
// stay in the document.
int ReadPcx(DIBImage& document);
// Quiet ReadPcx shrunk to the maximum size: 0 read, 1 partly read, 2 not read.
int ReadPcxPreview(DIBImage& document, int maxWidth, int maxHeight);
// Writes the document to the open file in `file`. Non-zero on success.
int WritePcx(DIBImage& document);

// Clean-ups, also run on cancel by the transfer clean-up. Idempotent.
void AbortPcxRead(DIBImage& document);
void AbortPcxWrite(DIBImage& document);

}  // namespace quilla
