// Targa files (FileType 6): colour-mapped, true-colour and gray, uncompressed or run-length
// encoded, at 8, 15, 16, 24 and 32 bits per pixel; written uncompressed as colour-mapped
// 8-bit or true-colour 24-bit files, top row first.
#pragma once

namespace quilla {

class DIBImage;

// 6 when the 18-byte header passes the header checks (the size goes to fileWidth /
// fileHeight), 0 when not, kCannotOpen when the file cannot be opened.
int ProbeTarga(DIBImage& document);
// Reads the file named by fileName, reducing it to a palette on the way when the
// quantizing options ask for it. Non-zero on success; a failed read leaves no image.
int ReadTarga(DIBImage& document);
// Quiet ReadTarga shrunk to the maximum size: 0 read, 2 not read.
int ReadTargaPreview(DIBImage& document, int maxWidth, int maxHeight);
// Writes the document to the open file in `file`. Non-zero on success.
int WriteTarga(DIBImage& document);

// Clean-ups, also run on cancel by the transfer clean-up. Idempotent.
void AbortTargaRead(DIBImage& document);
void AbortTargaWrite(DIBImage& document);

}  // namespace quilla
