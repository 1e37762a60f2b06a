// Reading and writing an image file: the type of a file being read is found from its
// content by the codecs' probes; a file is written in the type held in the document.
#pragma once
#include <cstdint>

namespace quilla {

class DIBImage;

// A FileType, 0 (no codec knows the content) or kCannotOpen. Uses fileName; probes that
// find a size leave it in fileWidth / fileHeight.
int ProbeFileType(DIBImage& document);
// The same for a given name, with the size found copied out.
int ProbeFileTypeAndSize(DIBImage& document, const char* name, uint32_t& width, uint32_t& height);

// Non-zero on success; shows its own messages. Applies "ResizeOnLoad" against the host's
// work area.
int ReadImageFile(DIBImage& document, const char* name);
// Non-zero on success. Writes a temporary file beside name and puts it in name's place
// only when it is complete: a failed or cancelled write leaves the old file as it was.
int WriteImageFile(DIBImage& document, const char* name);

// Quiet reading for thumbnails: 0 read (shrunk to the maximum when larger), 1 partly
// read, 2 not read. Never shows a message.
int ReadImagePreview(DIBImage& document, const char* name, int maxWidth, int maxHeight);

// Shrinks the document's image to fit the maximum size when it is larger, aspect kept.
// For preview readers; keeps no undo copy.
void ShrinkPreview(DIBImage& document, int maxWidth, int maxHeight);

struct LoadSize {
  int width, height;
};
// The size "ResizeOnLoad" asks for, given the image and work-area sizes: the image size
// itself when no resize is wanted.
LoadSize ResizeOnLoadSize(int option, int width, int height, int areaWidth, int areaHeight);

// The document points at a copy of the name kept as long as the document needs it.
const char* KeepFileName(DIBImage& document, const char* name);

}  // namespace quilla
