// The canvas and orientation commands on a document: Redimension, Crop, the
// flips and the rotations. Each keeps the image's kind and colour table.
#pragma once

namespace quilla {

class DIBImage;

// A width x height canvas with the old pixels at its top-left corner, cut at
// the right and bottom when smaller; the added area is zero (black, or entry
// 0). The old image becomes the undo image. 0 when memory runs out (the
// document is unchanged).
int RedimensionImage(DIBImage& document, int width, int height);
// The rectangle (x, y from the top-left corner) becomes the image, the old one
// the undo image; the rectangle must lie inside the image. 0 when memory runs
// out.
int CropImage(DIBImage& document, int x, int y, int width, int height);
// A new image of the document's kind and colours holding the rectangle's pixels (x, y from
// the top-left corner; the rectangle must lie inside). 0 when memory runs out.
int ExtractRect(DIBImage& document, int x, int y, int width, int height, DIBImage& area);
// Copies the whole area, of the document's kind and colours, with its top-left corner at
// (x, y), cut at the document's edges; x and y may be negative.
void PlaceRect(DIBImage& document, int x, int y, DIBImage& area);
// In place, with no undo copy.
void FlipHorizontal(DIBImage& document);
void FlipVertical(DIBImage& document);
// Width and height exchanged, clockwise (right) or counter-clockwise (left); no
// undo copy. 0 when memory runs out.
int RotateRight(DIBImage& document);
int RotateLeft(DIBImage& document);

}  // namespace quilla
