#include "shell/text_render.h"

#include <string>

#include "shell/shell_state.h"
#include "shell/text_rules.h"
#include "shell/utf.h"

namespace quilla {

namespace {

constexpr int kMaskPixelBytes = 3;

UINT AlignmentFlag(int alignment) {
  switch (alignment) {
    case 1: return DT_LEFT;
    case 2: return DT_RIGHT;
    default: return DT_CENTER;
  }
}

// The text in white on black, in a top-down 24-bit section the program reads directly.
class TextMask {
 public:
  TextMask(const TextStyle& style, MaskSize size) : size_(size), stride_((size.width * kMaskPixelBytes + 3) & ~3) {
    WindowDC screen(nullptr);
    MemoryDC dc(screen);
    if (!dc) {
      result_ = TextRenderResult::NoDeviceContext;
      return;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.width;
    info.bmiHeader.biHeight = -size.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 8 * kMaskPixelBytes;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.Reset(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    GdiObject<HFONT> font = MakeFont(style);
    if (!bitmap_ || !font) {
      result_ = TextRenderResult::NoMemory;
      return;
    }
    bits_ = static_cast<const BYTE*>(bits);
    SelectedBitmap drawnInto(dc, bitmap_.Get());
    SelectedObject lettering(dc, font.Get());
    RECT box{0, 0, size.width, size.height};
    FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    const std::wstring text = Widen(style.text);
    DrawTextW(dc, text.c_str(), int(text.size()), &box,
              DT_TOP | DT_WORDBREAK | DT_NOPREFIX | AlignmentFlag(style.alignment));
    GdiFlush();
  }

  TextRenderResult Result() const { return result_; }
  bool Lit(ImagePoint p) const {
    const BYTE* pixel = bits_ + size_t(p.y) * size_t(stride_) + size_t(p.x) * kMaskPixelBytes;
    return pixel[0] || pixel[1] || pixel[2];
  }

 private:
  MaskSize size_;
  int stride_;
  GdiObject<HBITMAP> bitmap_;
  const BYTE* bits_ = nullptr;
  TextRenderResult result_ = TextRenderResult::Ok;
};

}  // namespace

GdiObject<HFONT> MakeFont(const TextStyle& style) {
  WindowDC window(shell.mainWindow);
  const int height = -MulDiv(style.points, GetDeviceCaps(window, LOGPIXELSY), 72);
  const std::wstring face = Widen(style.face);
  return GdiObject<HFONT>(CreateFontW(height, 0, 0, 0, style.bold ? FW_BOLD : FW_NORMAL, style.italic ? TRUE : FALSE,
                                      style.underline ? TRUE : FALSE, style.strikeout ? TRUE : FALSE, DEFAULT_CHARSET,
                                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DRAFT_QUALITY, VARIABLE_PITCH,
                                      face.c_str()));
}

TextRenderResult RenderText(DIBImage& target, const TextStyle& style, std::optional<ImageRect> rect, PaletteInks inks) {
  ImageRect area = rect.value_or(target.GetImageRect());
  if (!target.ClipToImage(area)) return TextRenderResult::Ok;
  const int width = area.Width(), height = area.Height();
  const MaskSize size = TextMaskSize(width, height, style.direction);
  const TextMask mask(style, size);
  if (mask.Result() != TextRenderResult::Ok) return mask.Result();

  ImageLock lock(target);
  if (!lock) return TextRenderResult::NoMemory;
  const bool trueColor = target.IsTrueColor();
  const BYTE foreground[3] = {BYTE(BlueOf(style.foreground)), BYTE(GreenOf(style.foreground)),
                              BYTE(RedOf(style.foreground))};
  const BYTE background[3] = {BYTE(BlueOf(style.background)), BYTE(GreenOf(style.background)),
                              BYTE(RedOf(style.background))};
  const BYTE foregroundIndex = BYTE(ForegroundInk(inks.foreground, target.ColorCount()));
  const BYTE backgroundIndex = BYTE(BackgroundInk(inks.background, target.ColorCount()));
  for (int y = 0; y < height; ++y) {
    BYTE* row = target.RowPointer(area.top + y);
    for (int x = 0; x < width; ++x) {
      const bool lit = mask.Lit(MaskPointFor(x, y, style.direction, size));
      if (!lit && !style.opaque) continue;
      if (trueColor) {
        const BYTE* ink = lit ? foreground : background;
        BYTE* pixel = row + size_t(area.left + x) * 3;
        pixel[0] = ink[0], pixel[1] = ink[1], pixel[2] = ink[2];
      } else {
        row[area.left + x] = lit ? foregroundIndex : backgroundIndex;
      }
    }
  }
  return TextRenderResult::Ok;
}

}  // namespace quilla
