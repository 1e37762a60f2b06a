#include "shell/clipboard_commands.h"

#include <utility>

#include "core/dib_image.h"
#include "core/messages.h"
#include "shell/clipboard.h"
#include "shell/selection_area.h"
#include "shell/shell_state.h"
#include "shell/window_layout.h"
#include "shell/window_title.h"

namespace quilla {

namespace {

bool Write(DIBImage& image) {
  if (WriteClipboardImage(image)) return true;
  ShowNoMemory();
  return false;
}

// Puts the selection, or the image without one, on the clipboard. An attached selection is
// detached for it (with cut leaving the fill colour in the image); after a plain copy it is
// attached again, so the image and the frame stay as they were.
bool CopyToClipboard(bool cut) {
  if (!HasSelection()) return Write(shell.mainDocument);
  if (IsDetached()) return Write(AreaDocument());
  if (!Detach(cut)) return false;
  const bool written = Write(AreaDocument());
  if (!cut) ReattachArea();
  return written;
}

}  // namespace

LRESULT OnCopy(LPARAM) {
  CopyToClipboard(false);
  return 0;
}

LRESULT OnCut(LPARAM lParam) {
  // Only what reached the clipboard is deleted.
  if (CopyToClipboard(true)) OnDeleteArea(lParam);
  return 0;
}

LRESULT OnDeleteArea(LPARAM) {
  if (HasSelection()) {
    DropSelection(0);
    return 0;
  }
  shell.mainDocument.FreeImage();
  shell.iconDocument.FreeImage();
  imageChanged = false;
  SetUntitled();
  FitWindow();
  return 0;
}

LRESULT OnPaste(LPARAM) {
  DibBlock picture;
  switch (ReadClipboardPicture(picture)) {
    case PictureRead::Picture: PlaceNewPicture(std::move(picture)); break;
    case PictureRead::NoMemory: ShowNoMemory(); break;
    case PictureRead::NoPicture: break;
  }
  return 0;
}

}  // namespace quilla
