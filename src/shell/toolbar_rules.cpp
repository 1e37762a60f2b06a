#include "shell/toolbar_rules.h"

#include <algorithm>

#include "core/commands.h"

namespace quilla {

const ToolbarButton kToolbarButtonTable[kToolbarButtons] = {
    {cmd::kOpen, "Open file"},
    {cmd::kSaveAs, "Save file"},
    {cmd::kMultipleOpen, "Multiple open"},
    {cmd::kUndo, "Undo"},
    {cmd::kCut, "Cut"},
    {cmd::kCopy, "Copy"},
    {cmd::kPaste, "Paste"},
    {cmd::kCrop, "Crop"},
    {cmd::kResize, "Resize"},
    {cmd::kAddText, "Add text"},
    {cmd::kFlipHorizontal, "Flip horizontal"},
    {cmd::kFlipVertical, "Flip vertical"},
    {cmd::kRotateLeft, "Rotate left"},
    {cmd::kRotateRight, "Rotate right"},
    {cmd::kGamma, "Gamma correction"},
    {cmd::kColorBalance, "Color balance"},
    {cmd::kContrastEnhance, "Contrast enhance"},
    {cmd::kHsvAdjust, "HSV adjust"},
    {cmd::kYcbcrAdjust, "YCbCr adjust"},
    {cmd::kInteractiveRgb, "Interactive RGB"},
    {cmd::kExpEnhance, "Exp enhance"},
    {cmd::kLogEnhance, "Log enhance"},
    {cmd::kSineHEnhance, "SineH enhance"},
    {cmd::kGrayScale, "Grayscale"},
    {cmd::kNegative, "Negative"},
    {cmd::kImageFilters, "Image filters"},
    {cmd::kPaletteEntry, "Palette entry"},
    {cmd::kFullScreen, "Full screen"},
    {cmd::kInterfaceOptions, "Interface options"},
    {cmd::kJpegIo, "JPEG I/O options"},
    {cmd::kAbout, "About Quilla"},
    {cmd::kHelpContents, "HELP!"},
};

namespace {
constexpr int kStripHeight = 9;     // the strip above the buttons
constexpr int kCollapseBoxWidth = 14;
}  // namespace

ToolPoint ButtonOrigin(int button) { return {3 + kButtonWidth * (button % 2), 11 + 22 * (button / 2)}; }

int ButtonAt(int x, int y) {
  for (int i = 0; i < kToolbarButtons; ++i) {
    const ToolPoint o = ButtonOrigin(i);
    if (x >= o.x && x < o.x + kButtonWidth && y >= o.y && y < o.y + kButtonHeight) return i;
  }
  return kNoButton;
}

Press PressAt(int x, int y) {
  if (y <= kStripHeight) return {x > kCollapseBoxWidth ? PressTarget::FlipSide : PressTarget::Collapse, kNoButton};
  const int button = ButtonAt(x, y);
  return button == kNoButton ? Press{} : Press{PressTarget::Button, button};
}

bool TakesRightButton(int button) { return button == 0 || button == 1 || button == kJpegSetupButton; }

int RightButtonCommand(int button) {
  if (button == 0) return cmd::kReopen;
  if (button == 1) return cmd::kSave;
  return 0;
}

ToolPoint FullToolbarOrigin(const ScreenRect& main, const ScreenRect& desktop, const FrameMetrics& metrics,
                            bool onLeft) {
  const int x = onLeft ? std::min(desktop.right - kToolbarWidth, std::max(0, main.left + metrics.frameWidth - kToolbarWidth))
                       : std::max(0, std::min(desktop.right - kToolbarWidth, main.right - metrics.frameWidth));
  const int y = std::max(0, std::min(desktop.bottom - kToolbarHeight,
                                     main.top + metrics.captionHeight + metrics.menuHeight + metrics.frameHeight));
  return {x, y};
}

int CaptionButtonCount(int majorVersion, int minorVersion) {
  return majorVersion > 3 || (majorVersion == 3 && minorVersion >= 90) ? 3 : 2;
}

ToolPoint CollapsedToolbarOrigin(const ScreenRect& main, const FrameMetrics& metrics, int captionButtons) {
  return {main.right - (metrics.captionButtonWidth * captionButtons + metrics.frameWidth + kButtonWidth),
          main.top + metrics.frameHeight - (kButtonWidth - metrics.captionHeight) / 2};
}

ScreenRect LegendPlacement(int button, ToolPoint origin, int textWidth, int textHeight, int screenWidth) {
  const int width = textWidth + 8, height = textHeight + 4;
  const int besideRight = origin.x + kButtonWidth, besideLeft = origin.x - width;
  const int firstY = origin.y + (kButtonHeight - height) / 2, secondY = origin.y + (19 - textHeight) / 2;
  int x, y = firstY;
  if (button % 2 == 1) {
    x = besideRight;
    if (textWidth + x + 8 >= screenWidth) x = besideLeft, y = secondY;
  } else {
    x = besideLeft;
    if (x < 0) x = besideRight, y = secondY;
  }
  return {x, y, x + width, y + height};
}

bool HoverCount::Tick(int under) {
  if (under != button) {
    button = under;
    ticks = 0;
    return false;
  }
  if (under == kNoButton) {
    ticks = 0;
    return false;
  }
  return ++ticks == kLegendTicks;
}

}  // namespace quilla
