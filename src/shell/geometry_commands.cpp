#include "shell/geometry_commands.h"

#include "core/dib_image.h"
#include "core/display_mode.h"
#include "core/messages.h"
#include "retouch/geometry.h"
#include "retouch/resize.h"
#include "settings/app_options.h"
#include "shell/display.h"
#include "shell/file_commands.h"
#include "shell/geometry_dialogs.h"
#include "shell/selection_area.h"
#include "shell/shell_state.h"
#include "shell/window_layout.h"
#include "shell/window_title.h"

namespace quilla {

namespace {

// The commands work on the selection area's image when there is one; the dialogs' titles
// say which.
bool OnSelectionArea() { return HasSelection(); }

// The document the commands change: the selection area's, detached first when it isn't, or
// the main document's image. Null when there is nothing to change.
DIBImage* GeometryTarget() {
  if (HasSelection()) return EnsureDetached() ? &AreaDocument() : nullptr;
  DIBImage& document = shell.mainDocument;
  return document.IsOperable() ? &document : nullptr;
}

PixelSize SizeOf(const DIBImage& document) { return {document.Width(), document.Height()}; }

// The whole image changed: it counts as changed, the minimised window's thumbnail is made
// again, and the window is laid out for a new size or repainted.
void ShowChangedImage(bool newSize) {
  imageChanged = true;
  shell.iconDocument.FreeImage();
  if (newSize) FitWindow();
  else Repaint(false);
}

// The selection's rectangle with its top-left corner at (left, top) and the area's size.
void PlaceAreaAt(int left, int top) {
  const DIBImage& area = AreaDocument();
  SetSelection({left, top, left + area.Width() - 1, top + area.Height() - 1});
}

// What follows each command: the image is shown again, or the area is redrawn with its
// rectangle updated.
void AfterResize() {  // an area goes to the image's top-left corner
  if (HasSelection()) return PlaceAreaAt(0, 0);
  ShowChangedImage(true);
}
void AfterRedimension() {  // an area keeps its top-left corner
  if (HasSelection()) return PlaceAreaAt(SelectionRect().left, SelectionRect().top);
  ShowChangedImage(true);
}
void AfterFlip() {
  if (HasSelection()) return SetSelection(SelectionRect());
  ShowChangedImage(false);
}
void AfterRotate() {  // an area keeps its centre
  if (HasSelection()) return RecentreSelection();
  ShowChangedImage(true);
}

LRESULT Flip(void (*flip)(DIBImage&)) {
  DIBImage* target = GeometryTarget();
  if (!target) return 0;
  flip(*target);
  AfterFlip();
  return 0;
}

LRESULT Rotate(int (*rotate)(DIBImage&)) {
  DIBImage* target = GeometryTarget();
  if (!target) return 0;
  if (!rotate(*target)) {
    DropSelection(0);  // an area that could not turn is removed
    ShowNoMemory();
    return 0;
  }
  AfterRotate();
  return 0;
}

// The new size under the wait cursor, then the command's after-step.
void ChangeSize(DIBImage& target, int (*change)(DIBImage&, int, int), PixelSize size, void (*after)()) {
  int changed = 0;
  {
    WaitCursor wait;
    changed = change(target, size.width, size.height);
  }
  if (!changed) return ShowNoMemory();
  after();
}

// A true-colour image in the background colour where the display shows true colour, else a
// palette image of "NColorsCreatePal" entries holding the uniform colour cube, in entry 0.
int CreateBlankImage(DIBImage& document, PixelSize size) {
  if (Options().GetDisplayMode() == DisplayMode::TrueColor)
    return document.CreateFilledImage(size.width, size.height, true, nullptr, 0, 0);
  return document.CreateFilledImage(size.width, size.height, false, nullptr, Options().NColorsCreatePal(), 0);
}

}  // namespace

LRESULT OnNewImage(LPARAM) {
  if (!AskSaveChanges()) return 0;
  DIBImage& document = shell.mainDocument;
  const PixelSize start = document.IsOperable() ? SizeOf(document) : PixelSize{640, 480};
  PixelSize size;
  if (!RunNewImageDialog(NewImageUse::NewImage, false, start, size)) return 0;
  DropSelection(0);
  if (!CreateBlankImage(document, size)) {
    ShowNoMemory();
    return 0;
  }
  imageChanged = false;
  SetUntitled();
  shell.iconDocument.FreeImage();
  FitWindow();
  UpdateTitle();
  return 0;
}

LRESULT OnResize(LPARAM) {
  DIBImage* target = GeometryTarget();
  PixelSize size;
  if (target && RunResizeDialog(SizeOf(*target), OnSelectionArea(), size))
    ChangeSize(*target, ResizeImage, size, AfterResize);
  return 0;
}

LRESULT OnRedimension(LPARAM) {
  DIBImage* target = GeometryTarget();
  PixelSize size;
  if (target && RunNewImageDialog(NewImageUse::Redimension, OnSelectionArea(), SizeOf(*target), size))
    ChangeSize(*target, RedimensionImage, size, AfterRedimension);
  return 0;
}

LRESULT OnFlipHorizontal(LPARAM) { return Flip(FlipHorizontal); }
LRESULT OnFlipVertical(LPARAM) { return Flip(FlipVertical); }
LRESULT OnRotateLeft(LPARAM) { return Rotate(RotateLeft); }
LRESULT OnRotateRight(LPARAM) { return Rotate(RotateRight); }

}  // namespace quilla
