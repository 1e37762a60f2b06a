// GIF 87a and 89a: the first image of a file is read as an 8-bit palette image, and an
// image is written as a one-image file, sequential or interlaced. FileType 3 is 87a, 4 89a.
// Both directions use the LZW coder tables, which are allocated once at start-up.
#pragma once

namespace quilla {

class DIBImage;

// The process-wide LZW coder tables of the reader and the writer. Initialize returns 0
// when memory runs out (nothing is kept then); Release frees them. Both may be called again.
int InitializeGifCoder();
void ReleaseGifCoder();
bool GifCoderReady();

// 3 (87a), 4 (89a), 0 (not a GIF or no usable image) or kCannotOpen. Leaves the size of
// the first image in fileWidth / fileHeight. Shows nothing.
int ProbeGif(DIBImage& document);
// Reads the first image of the file named by fileName; sets fileType. Non-zero on success.
int ReadGif(DIBImage& document);
// Quiet ReadGif shrunk to the maximum size: 0 read, 2 not read.
int ReadGifPreview(DIBImage& document, int maxWidth, int maxHeight);
// Writes to the open file in `file` as 87a (fileType 3) or 89a. Non-zero on success.
int WriteGif(DIBImage& document);

// Clean-ups, also run on cancel by the transfer clean-up; each may run more than once.
// A read keeps the rows decoded before the failure in the document.
void AbortGifRead(DIBImage& document);
void AbortGifWrite(DIBImage& document);

}  // namespace quilla
