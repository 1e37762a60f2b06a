#include "shell/contact_sheet_rules.h"

#include <algorithm>
#include <cmath>

namespace quilla {

BoxSize ContactSheetSize(int contaDim) {
  switch (contaDim) {
    case 0: return {640, 480};
    case 2: return {1024, 768};
    case 3: return {1280, 1024};
    default: return {800, 600};
  }
}

ContactGrid ContactSheetGrid(int count, BoxSize sheet, int labelHeight) {
  if (count <= 0) return {};
  ContactGrid grid;
  grid.columns = int(std::sqrt(double(count)) + 0.5);
  grid.rows = (count + grid.columns - 1) / grid.columns;
  grid.cellWidth = (sheet.width - (kContactGap * grid.columns + kContactGap)) / grid.columns;
  grid.cellHeight = (sheet.height - labelHeight * grid.rows - (kContactGap * grid.rows + kContactGap)) / grid.rows;
  // So many files that the gaps and labels fill the sheet: the boxes stay a pixel wide rather
  // than turning inside out, and overlap.
  grid.cellWidth = std::max(grid.cellWidth, 1);
  grid.cellHeight = std::max(grid.cellHeight, 1);
  return grid;
}

void LayoutContactItems(std::span<ContactItem> items, std::span<const BoxSize> labels, BoxSize sheet) {
  if (items.empty() || labels.size() < items.size()) return;
  const ContactGrid grid = ContactSheetGrid(int(items.size()), sheet, labels[0].height);
  for (size_t i = 0; i < items.size(); ++i) {
    ContactItem& item = items[i];
    const int row = int(i) / grid.columns, column = int(i) % grid.columns;
    item.labelWidth = labels[i].width;
    item.labelHeight = labels[i].height;
    const BoxSize fit = FitInBox(item.imageWidth, item.imageHeight, grid.cellWidth, grid.cellHeight);
    item.left = kContactGap + column * (grid.cellWidth + kContactGap) + (grid.cellWidth - fit.width) / 2;
    item.top =
        kContactGap + row * (grid.cellHeight + kContactGap + item.labelHeight) + (grid.cellHeight - fit.height) / 2;
    item.right = item.left + fit.width - 1;
    item.bottom = item.top + fit.height - 1;
  }
}

// The left end of a label-wide rectangle under the box.
static int AlignedLabelLeft(const ContactItem& item, int alignment) {
  switch (alignment) {
    case 1: return item.left;
    case 2: return item.right - item.labelWidth + 1;
    default: return item.left + (item.BoxWidth() - item.labelWidth) / 2;
  }
}

ImageRect ContactLabelRect(const ContactItem& item, int alignment, BoxSize sheet) {
  ImageRect rect;
  if (item.BoxWidth() >= item.labelWidth) {
    rect = {item.left, item.bottom, item.right - 1, item.bottom + item.labelHeight};
  } else {
    const int x = AlignedLabelLeft(item, alignment);
    rect = {x, item.bottom, x + item.labelWidth, item.bottom + item.labelHeight};
  }
  rect.left = std::max(rect.left, 0);
  rect.top = std::max(rect.top, 0);
  rect.right = std::min(rect.right, sheet.width - 1);
  rect.bottom = std::min(rect.bottom, sheet.height - 1);
  return rect;
}

LabelOutline PreviewLabelOutline(const ContactItem& item, int alignment) {
  const int bottom = item.bottom + item.labelHeight;
  if (item.labelWidth > item.BoxWidth()) return {{item.left, item.bottom, item.right, bottom}, true};
  const int x = AlignedLabelLeft(item, alignment);
  return {{x, item.bottom, x + item.labelWidth, bottom}, false};
}

int ContactDecodeScale(int imageWidth, int boxWidth) {
  if (boxWidth <= 0) return 1;
  const double ratio = double(imageWidth) / boxWidth;
  if (ratio >= 6) return 8;
  if (ratio >= 3) return 4;
  if (ratio >= 1.5) return 2;
  return 1;
}

int SheetToPreview(int s, int sheetSize, int areaSize) {
  return sheetSize > 0 ? (s * areaSize + sheetSize / 2) / sheetSize : 0;
}

int PreviewToSheet(int p, int sheetSize, int areaSize) {
  return areaSize > 0 ? (p * sheetSize + areaSize / 2) / areaSize : 0;
}

BoxGrip GripAt(const ImageRect& box, int x, int y) {
  const bool acrossX = x >= box.left && x <= box.right, acrossY = y >= box.top && y <= box.bottom;
  if (acrossY && std::abs(x - box.left) < 2) return BoxGrip::Left;
  if (acrossY && std::abs(x - box.right) < 2) return BoxGrip::Right;
  if (acrossX && std::abs(y - box.top) < 2) return BoxGrip::Top;
  if (acrossX && std::abs(y - box.bottom) < 2) return BoxGrip::Bottom;
  return acrossX && acrossY ? BoxGrip::Move : BoxGrip::None;
}

void MoveBox(ContactItem& item, int dx, int dy) {
  item.left += dx;
  item.right += dx;
  item.top += dy;
  item.bottom += dy;
}

// The side that matches side at the image's aspect ratio, truncated.
static int FollowAspect(int imageOther, int imageSide, int side) {
  return imageSide > 0 ? int(int64_t(imageOther) * side / imageSide) : side;
}

// Sets the box to width x height, keeping the right edge when keepRight and the bottom edge
// when keepBottom, else the left and top; the image's shorter side is held to the minimum.
// (Going by the image rather than the box also catches a box dragged inside out.)
static void SetBoxSize(ContactItem& item, int width, int height, bool keepRight, bool keepBottom) {
  if (std::min(width, height) < kContactMinSide) {
    if (item.imageWidth <= item.imageHeight) {
      width = kContactMinSide;
      height = FollowAspect(item.imageHeight, item.imageWidth, width);
    } else {
      height = kContactMinSide;
      width = FollowAspect(item.imageWidth, item.imageHeight, height);
    }
  }
  if (keepRight) {
    item.left = item.right - width + 1;
  } else {
    item.right = item.left + width - 1;
  }
  if (keepBottom) {
    item.top = item.bottom - height + 1;
  } else {
    item.bottom = item.top + height - 1;
  }
}

void ResizeBox(ContactItem& item, BoxGrip grip, int edge) {
  switch (grip) {
    case BoxGrip::Left:
    case BoxGrip::Right: {
      const int width = grip == BoxGrip::Left ? item.right - edge + 1 : edge - item.left + 1;
      SetBoxSize(item, width, FollowAspect(item.imageHeight, item.imageWidth, width), grip == BoxGrip::Left, false);
      break;
    }
    case BoxGrip::Top:
    case BoxGrip::Bottom: {
      const int height = grip == BoxGrip::Top ? item.bottom - edge + 1 : edge - item.top + 1;
      SetBoxSize(item, FollowAspect(item.imageWidth, item.imageHeight, height), height, false, grip == BoxGrip::Top);
      break;
    }
    default: break;
  }
}

void ScaleAllBoxes(std::span<ContactItem> items, int percent) {
  for (ContactItem& item : items) {
    const int width = int((item.right - item.left) * double(percent) / 100 + 0.5) + 1;
    SetBoxSize(item, width, FollowAspect(item.imageHeight, item.imageWidth, width), false, false);
  }
}

}  // namespace quilla
