#include "shell/colour_commands.h"

#include <array>

#include "core/dib_image.h"
#include "retouch/colour_retouch.h"
#include "shell/colour_choice_dialogs.h"
#include "shell/display.h"
#include "shell/scrolling.h"
#include "shell/selection_area.h"
#include "shell/shell_state.h"

namespace quilla {

namespace {

uint32_t PackRgb(const RgbQuad& entry) { return uint32_t(entry.red) << 16 | uint32_t(entry.green) << 8 | entry.blue; }

// Writes one entry of the colour table and shows the image with it.
void WriteEntry(DIBImage& document, uint32_t index, uint32_t rgb) {
  std::array<RgbQuad, 256> table = document.ColorTable();
  RgbQuad& entry = table[index];
  entry.red = uint8_t(rgb >> 16), entry.green = uint8_t(rgb >> 8), entry.blue = uint8_t(rgb);
  document.SetColors(table.data());
  Repaint(false);
}

}  // namespace

LRESULT OnPaletteEntry(LPARAM) {
  DIBImage& document = shell.mainDocument;
  if (!document.IsOperable() || document.IsTrueColor() || !DropSelection(1)) return 0;
  uint32_t index = 0;
  if (!SelectPaletteEntry(shell.mainWindow, index, true)) return 0;
  // The context keeps the colour table as it is now: Cancel puts it back, OK makes it the undo step.
  ColourRetouch retouch(document);
  if (!retouch) return 0;
  uint32_t colour = PackRgb(document.ColorTable()[index]);
  const ColourChoice choice{true, [&](uint32_t rgb) { WriteEntry(document, index, rgb); }};
  if (SelectColor(shell.mainWindow, colour, choice)) {
    WriteEntry(document, index, colour);
    retouch.Ok();
  } else {
    retouch.Cancel();
  }
  shell.iconDocument.FreeImage();
  Repaint(false);
  return 0;
}

LRESULT OnBackgroundColor(LPARAM) {
  DIBImage& document = shell.mainDocument;
  if (!document.IsOperable()) return 0;
  if (document.IsTrueColor()) {
    uint32_t colour = document.GetFillRgb();
    if (SelectColor(shell.mainWindow, colour, {true, nullptr})) document.SetFillRgb(colour);
    return 0;
  }
  uint32_t index = document.GetFillIndex();
  if (index >= document.ColorCount()) index = 0;
  if (SelectPaletteEntry(shell.mainWindow, index, true)) document.SetFillIndex(index);
  return 0;
}

LRESULT OnPickColor(LPARAM) {
  if (!shell.mainDocument.IsOperable()) return 0;
  shell.pickMode = true;
  if (shell.pickCursor) SetCursor(shell.pickCursor);
  return 0;
}

void PickFillColour(POINT client) {
  shell.pickMode = false;
  DIBImage& document = shell.mainDocument;
  const POINT pixel = WindowToImage(client);
  // Beside the image there is no pixel to take.
  if (!document.IsOperable() || pixel.x < 0 || pixel.y < 0 || pixel.x >= document.Width() ||
      pixel.y >= document.Height())
    return;
  ImageLock lock(document);
  if (!lock) return;
  const uint8_t* row = document.RowPointer(pixel.y);
  if (document.IsTrueColor()) {
    const uint8_t* bgr = row + size_t(pixel.x) * 3;
    document.SetFillRgb(uint32_t(bgr[2]) << 16 | uint32_t(bgr[1]) << 8 | bgr[0]);
  } else {
    document.SetFillIndex(row[pixel.x]);
  }
}

}  // namespace quilla
