// JPEG files through libjpeg's classic interface: reading at full grain with the active
// decompression set, quiet previews with the Preview choices fitted to a box, baseline
// writing, and the two header probes. FileType 5.
#pragma once
#include <cstdio>

namespace quilla {

class DIBImage;

// 5 when the file starts with 0xFF 0xD8, 0 when not, kCannotOpen when it cannot be opened.
int ProbeJpegFile(DIBImage& document);
// 5 with the frame size in fileWidth / fileHeight when the library reads a header, 0 when
// it cannot, kCannotOpen when the file cannot be opened. Shows nothing.
int ProbeJpegSize(DIBImage& document);

// Reads fileName with the active decompression set. Non-zero on success; every failure
// has been told to the user (or was the user's cancel).
int ReadJpegFile(DIBImage& document);

// Quiet reading of a preview from an open stream (left open), shrunk to the box: 0 read,
// 1 read with library warnings, 2 not read (the document is then left without image).
int ReadJpegPreviewStream(DIBImage& document, std::FILE* stream, int maxWidth, int maxHeight);
// The same on fileName, as the preview dispatch calls it.
int ReadJpegPreview(DIBImage& document, int maxWidth, int maxHeight);
// The scale denominator a preview decodes at, for a stored size and a box.
int JpegPreviewDenominator(int width, int height, int maxWidth, int maxHeight);

// Writes the document to the open file in `file` and closes it. Non-zero on success.
int WriteJpegFile(DIBImage& document);

// Clean-ups of the transfer: with a JPEG operation running they ask it to stop at its
// next poll (it unwinds the library itself); otherwise they close the file.
void AbortJpegRead(DIBImage& document);
void AbortJpegWrite(DIBImage& document);

}  // namespace quilla
