// Reading and writing an image file: the type of a file being read is found from its
// content by the codecs' probes, each looking at the head of the one open file; a file is
// written in the type held in the document.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace quilla {

class DIBImage;

// A FileType, 0 (no codec knows the content) or kCannotOpen, with the size the probe
// found (0 x 0 when it found none).
int ProbeFileTypeAndSize(const std::string& name, uint32_t& width, uint32_t& height);

// Non-zero on success; shows its own messages. Applies "ResizeOnLoad" against the host's
// work area. onRecognised runs once the probes know the file, before the document's image
// is let go (the shell puts the image shown aside there).
int ReadImageFile(DIBImage& document, const std::string& name, const std::function<void()>& onRecognised = {});
// Non-zero on success. Writes a temporary file beside name and puts it in name's place
// only when it is complete: a failed or cancelled write leaves the old file as it was.
int WriteImageFile(DIBImage& document, const std::string& name);

// Quiet reading for thumbnails: 0 read (shrunk to the maximum when larger), 1 partly
// read, 2 not read. Never shows a message.
int ReadImagePreview(DIBImage& document, const std::string& name, int maxWidth, int maxHeight);

// One codec alone, whatever the content: its probe's answer (kCannotOpen when the file
// cannot be opened), its read with its own messages, its quiet preview read.
int ProbeFileAs(const std::string& name, uint32_t type, uint32_t& width, uint32_t& height);
int ReadImageFileAs(DIBImage& document, const std::string& name, uint32_t type);
int ReadImagePreviewAs(DIBImage& document, const std::string& name, uint32_t type, int maxWidth, int maxHeight);

// Shrinks the document's image to fit the maximum size when it is larger, aspect kept.
// For preview readers; keeps no undo copy.
void ShrinkPreview(DIBImage& document, int maxWidth, int maxHeight);

struct LoadSize {
  int width, height;
};
// The size "ResizeOnLoad" asks for, given the image and work-area sizes: the image size
// itself when no resize is wanted.
LoadSize ResizeOnLoadSize(int option, int width, int height, int areaWidth, int areaHeight);

}  // namespace quilla
