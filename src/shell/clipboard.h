// The clipboard's picture formats. An image is written as its logical palette plus, as
// "CopyClipbdFmt" says, a packed device-independent bitmap with the exact colour table or a
// device bitmap; a device-independent bitmap or a device bitmap is read back as an image
// block in the program's own layout.
#pragma once
#include <windows.h>

#include "core/dib_image.h"

namespace quilla {

// A device bitmap of the image, made through the display with the image's palette selected
// and realised; null when it can't be made.
HBITMAP MakeDeviceBitmap(DIBImage& image);

// Empties the clipboard and puts the image on it, with the wait cursor; false when memory
// (or the clipboard) fails.
bool WriteClipboardImage(DIBImage& image);

enum class PictureRead { Picture, NoPicture, NoMemory };

// The clipboard's picture: a device-independent bitmap when one is offered, else a bitmap.
// NoPicture when it holds neither or only a malformed one.
PictureRead ReadClipboardPicture(DibBlock& picture);

// A device bitmap read back as an own-layout image: 8 bits when the bitmap has at most 8
// bits per pixel, 24 otherwise. The colours go through the palette; without one, on a
// palette device, through a copy of the system palette.
PictureRead ReadDeviceBitmap(HBITMAP bitmap, HPALETTE palette, DibBlock& picture);

}  // namespace quilla
