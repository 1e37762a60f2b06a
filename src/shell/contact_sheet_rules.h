// The arithmetic of the contact sheet, kept free of the platform so it can be tested on its
// own: the sheet size, the grid of boxes with their labels, the decode scale a box asks for,
// and how the preview dialog moves and resizes boxes. Boxes are in sheet pixels, inclusive.
#pragma once
#include <cstdint>
#include <span>

#include "core/dib_image.h"
#include "core/fit_box.h"

namespace quilla {

struct ContactItem {
  int32_t left = 0, top = 0;
  int32_t imageWidth = 0, imageHeight = 0;
  int32_t right = -1, bottom = -1;
  int32_t labelWidth = 0, labelHeight = 0;  // the file title's extent in the label font
  int32_t fileType = 0;
  int BoxWidth() const { return right - left + 1; }
  int BoxHeight() const { return bottom - top + 1; }
};
static_assert(sizeof(ContactItem) == 9 * sizeof(int32_t));

// The gap between cells and along the borders.
inline constexpr int kContactGap = 5;
// No side of a box in the preview gets smaller than this.
inline constexpr int kContactMinSide = 10;
// The preview's "Global resize" bar, in percent.
inline constexpr int kGlobalResizeMin = 20, kGlobalResizeMax = 300, kGlobalResizeStart = 100, kGlobalResizePage = 8;

// "ContaDim" 0..3: 640 x 480, 800 x 600, 1024 x 768, 1280 x 1024; anything else 800 x 600.
BoxSize ContactSheetSize(int contaDim);

struct ContactGrid {
  int columns = 0, rows = 0;
  int cellWidth = 0, cellHeight = 0;  // the image part of a cell, without its label
};
// Columns from the square root of the count, rows enough for all; the labels take
// labelHeight under every row.
ContactGrid ContactSheetGrid(int count, BoxSize sheet, int labelHeight);

// Takes each item's label size from labels (one for each item, measured by the caller) and puts its
// image, fitted to a cell and centred in it, into the grid. The first label's height sizes
// the grid.
void LayoutContactItems(std::span<ContactItem> items, std::span<const BoxSize> labels, BoxSize sheet);

// Where the label is drawn on the sheet (alignment 0 centre, 1 left, 2 right), cut to the
// sheet; empty when nothing of it is left.
ImageRect ContactLabelRect(const ContactItem& item, int alignment, BoxSize sheet);
// The label's outline in the preview: across the box when the label is wider than the box
// (shown as a warning), else where the text goes.
struct LabelOutline {
  ImageRect rect;
  bool widerThanBox = false;
};
LabelOutline PreviewLabelOutline(const ContactItem& item, int alignment);

// The JPEG scale denominator (8, 4, 2 or 1) worth decoding at for an image this much wider
// than its box.
int ContactDecodeScale(int imageWidth, int boxWidth);

// Sheet and preview coordinates, one axis at a time, rounded to the nearest pixel.
int SheetToPreview(int s, int sheetSize, int areaSize);
int PreviewToSheet(int p, int sheetSize, int areaSize);

// What a press in the preview starts on the selected box (preview pixels): resizing an edge
// when less than 2 pixels from it (left and right win at a corner), moving it inside it.
enum class BoxGrip { None, Move, Top, Bottom, Left, Right };
BoxGrip GripAt(const ImageRect& box, int x, int y);

// The preview's box changes: a move keeps the size; a resize puts the dragged edge at edge,
// keeps the opposite edge and the image's aspect; "Global resize" scales every box by
// percent around its top-left corner. A resize or scale never leaves a side below
// kContactMinSide.
void MoveBox(ContactItem& item, int dx, int dy);
void ResizeBox(ContactItem& item, BoxGrip grip, int edge);
void ScaleAllBoxes(std::span<ContactItem> items, int percent);

}  // namespace quilla
