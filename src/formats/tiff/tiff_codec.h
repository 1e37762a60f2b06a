// TIFF through libtiff: 1-, 4- and 8-bit one-sample images (held as palette images) and
// images of three or more 8-bit samples (held as 24-bit), in strips or tiles. Written
// uncompressed (FileType 9) or LZW-compressed (FileType 10).
#pragma once

namespace quilla {

class DIBImage;

// 9 when the byte order mark and the first directory give a width and a height (left in
// fileWidth / fileHeight), 0 when not, kCannotOpen when the file cannot be opened. Does
// not use the library.
int ProbeTiffFile(DIBImage& document);
// Reads the file named by fileName. Non-zero on success; failures have been reported.
int ReadTiffFile(DIBImage& document);
// Quiet reading shrunk to the maximum size: 0 read, 1 the library stopped after the image
// was made (kept, shrunk), 2 not read. Never shows a message.
int ReadTiffPreview(DIBImage& document, int maxWidth, int maxHeight);
// Writes the document to the open file in `file`, compressed when fileType is 10.
int WriteTiffFile(DIBImage& document);

// Clean-ups, also run by the transfer clean-up on cancel. The read one keeps the image.
void AbortTiffRead(DIBImage& document);
void AbortTiffWrite(DIBImage& document);

}  // namespace quilla
