// The selection area of the main window: a rectangle of the image drawn with the mouse,
// shown as an animated frame, which can be moved, resized by its handles, and detached:
// lifted into the area document, dragged, and applied back into the image.
#pragma once
#include <windows.h>

#include "core/dib_image.h"

namespace quilla {

bool HasSelection();
// The area's pixels are lifted into AreaDocument().
bool IsDetached();
// A drag of the frame or of the area is under way.
bool IsDragging();
// While the area's old place is repainted, the area itself is not drawn there.
bool IsAreaBeingRepainted();

// The rectangle in image coordinates, inclusive; meaningful while HasSelection().
ImageRect SelectionRect();
// Replaces the rectangle, redrawing frame and area when a selection exists.
void SetSelection(const ImageRect& rect);
// After the area document changed size (a rotation): the rectangle keeps its centre.
void RecentreSelection();
DIBImage& AreaDocument();

// Lifts the selection into the area document; with cut the image keeps the fill colour
// there. False when memory runs out (the user is told; nothing changes).
bool Detach(bool cut);
// Ends any selection without asking and makes a copy of the image under rect (inside the
// image) the detached area, shown in place. False when memory runs out (the user is told;
// there is no selection then).
bool DetachCopyOf(const ImageRect& rect);
// Commands that work on the area (flips, rotations, resize, crop) detach it first, leaving
// the image as it is. True when the area is detached.
bool EnsureDetached();
// Frees a detached area that still matches the image under it (a copy was taken) and keeps
// the selection as an attached frame.
void ReattachArea();
// Copies the detached area into the image at its place, with one undo step, and ends the
// selection.
void ApplyArea();
// Ends the selection. Mode 1 asks first whether a detached area is to be applied and
// answers 0 when the user cancels, which cancels the command that asked; mode 0 drops a
// detached area without asking. 1: go on.
int DropSelection(int mode);

// The timer that animates the frame and keeps a drag going while the mouse stands still.
inline constexpr UINT_PTR kSelectionTimer = 2;

// Start-up: the frame's pattern brushes.
void InitSelection();

// A pasted or captured picture: stretched into the selection when there is one, else
// placed at the image's top-left corner as a detached area; always in the main image's kind
// (a picture for a palette image is mapped onto its colour table). Without an image it
// becomes the image, untitled. The user is told when memory runs out.
void PlaceNewPicture(DibBlock&& picture);

// The main window's mouse and timer 2; a capture taken away ends the drag as a release does.
void SelectionMouseDown(POINT client, bool leftButton);
void SelectionMouseMove();
void SelectionMouseUp();
void SelectionCaptureLost();
void SelectionTick();
// Painting within clip: the detached area over the image, then the frame.
void PaintSelection(HDC dc, const RECT& clip);
void EraseFrame();
void DrawFrame();

}  // namespace quilla
