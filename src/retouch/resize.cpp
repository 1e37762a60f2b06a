#include "retouch/resize.h"

#include <utility>

#include "color/stretch_rect.h"
#include "core/dib_image.h"

namespace quilla {

int ResizeImage(DIBImage& document, int width, int height) {
  if (!document.HasImage() || width <= 0 || height <= 0) return 0;
  const std::array<RgbQuad, 256> table = document.ColorTable();
  DIBImage target;
  if (!target.CreateImage(width, height, document.IsTrueColor(), table.data(), int(document.ColorCount()),
                          document.GetFillIndex()))
    return 0;
  // Through identical tables only a repeated colour changes index, to its first entry.
  if (!StretchRect(target, 0, 0, width - 1, height - 1, document, 0, 0, document.Width() - 1, document.Height() - 1))
    return 0;
  DibBlock old = document.DetachDib();
  document.ReplaceDib(target.DetachDib());
  document.SetUndoImage(std::move(old));
  return 1;
}

}  // namespace quilla
