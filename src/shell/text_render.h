// Text drawn into an image: a two-valued mask drawn by the system in the style's font,
// word-wrapped and aligned in the rectangle (turned for vertical text), then put into the
// image as the style's colours, or as palette entries for a palette image. Add Text and the
// contact sheet's labels both draw this way.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>

#include "core/dib_image.h"
#include "settings/text_style.h"
#include "shell/gdi.h"

namespace quilla {

// The logical font of a style, its height from the points at the main window's vertical
// resolution. Empty when the system can't make it.
GdiObject<HFONT> MakeFont(const TextStyle& style);

// The colour-table entries a palette image takes for the text and its background; entries
// outside the table fall back (foreground to 0, background to the last one).
struct PaletteInks {
  uint32_t foreground = 0, background = 0;
};

enum class TextRenderResult { Ok = 0, NoMemory = 1, NoDeviceContext = 2 };

// Draws the style's text into the rectangle of the target (the whole image without one; a
// rectangle is cut at the image's edges). A transparent style leaves the pixels between the
// letters as they are, an opaque one gives them the background.
TextRenderResult RenderText(DIBImage& target, const TextStyle& style, std::optional<ImageRect> rect = std::nullopt,
                            PaletteInks inks = {});

}  // namespace quilla
