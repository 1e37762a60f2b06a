#include "settings/dialog_placement.h"

namespace quilla {
namespace {

int KeepOnScreen(int position, int size, int screenSize) {
  if (position < 0) return 0;
  return position + size > screenSize ? screenSize - size : position;
}

}  // namespace

ScreenPoint DialogOrigin(const AppOptions& options, DialogKind kind, ScreenPoint mainWindowCorner, int dialogWidth,
                         int dialogHeight, int screenWidth, int screenHeight) {
  bool large = kind == DialogKind::Large;
  int x = mainWindowCorner.x + (large ? options.BigDlgX() : options.DlgX());
  int y = mainWindowCorner.y + (large ? options.BigDlgY() : options.DlgY());
  return {KeepOnScreen(x, dialogWidth, screenWidth), KeepOnScreen(y, dialogHeight, screenHeight)};
}

void RememberDialogOffset(AppOptions& options, DialogKind kind, ScreenPoint dialogCorner, ScreenPoint mainWindowCorner) {
  int dx = dialogCorner.x - mainWindowCorner.x, dy = dialogCorner.y - mainWindowCorner.y;
  if (kind == DialogKind::Large) {
    options.SetBigDlgX(dx);
    options.SetBigDlgY(dy);
  } else {
    options.SetDlgX(dx);
    options.SetDlgY(dy);
  }
}

}  // namespace quilla
