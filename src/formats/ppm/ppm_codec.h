// Portable anymaps, FileType 8: bitmaps, gray maps and pixmaps in their ASCII (P1, P2, P3)
// and raw (P4, P5, P6) forms are read into a true-colour image; raw pixmaps (P6) are
// written.
#pragma once

namespace quilla {

class DIBImage;

// 8 when the file starts with 'P', a digit 1..6 and two decimal integers (left in
// fileWidth / fileHeight), 0 when not, kCannotOpen when it cannot be opened.
int ProbePpm(DIBImage& document);
// Reads the file named by fileName. Non-zero on success; a file that ends early keeps
// the rows read before.
int ReadPpm(DIBImage& document);
// Quiet ReadPpm shrunk to the maximum size: 0 read, 1 failed after making an image
// (kept, shrunk), 2 not read.
int ReadPpmPreview(DIBImage& document, int maxWidth, int maxHeight);
// Writes a raw pixmap to the open file in `file`. Non-zero on success.
int WritePpm(DIBImage& document);

// Clean-ups, also run by the transfer clean-up on cancel. The read one keeps the image.
void AbortPpmRead(DIBImage& document);
void AbortPpmWrite(DIBImage& document);

}  // namespace quilla
