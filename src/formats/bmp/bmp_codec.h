// Windows (40-byte info header) and OS/2 (12-byte core header) bitmap files, uncompressed,
// at 1, 4, 8 and 24 bits per pixel. FileType 1 is Windows, 2 OS/2.
#pragma once

namespace quilla {

class DIBImage;

// 1 when the file starts with "BM", 0 when not, kCannotOpen when it cannot be opened.
// Leaves the header's size in fileWidth / fileHeight (0 when the header is neither kind).
int ProbeBmp(DIBImage& document);
// Reads the file named by fileName; sets fileType to 1 or 2. Non-zero on success.
int ReadBmp(DIBImage& document);
// Writes to the open file in `file` with the header of fileType. Non-zero on success.
int WriteBmp(DIBImage& document);
// Quiet ReadBmp shrunk to the maximum size: 0 read, 2 not read.
int ReadBmpPreview(DIBImage& document, int maxWidth, int maxHeight);

// Clean-ups run on cancel: the read one also frees the half-read image.
void AbortBmpRead(DIBImage& document);
void AbortBmpWrite(DIBImage& document);

}  // namespace quilla
