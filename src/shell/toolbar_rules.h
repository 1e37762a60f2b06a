// The arithmetic of the floating toolbar, kept free of the platform so it can be tested on
// its own: its buttons and what a press hits, where the toolbar sits beside the main window
// or in its caption, and where a button's legend goes.
#pragma once

#include "core/host.h"

namespace quilla {

inline constexpr int kToolbarWidth = 54, kToolbarHeight = 365;
inline constexpr int kToolbarButtons = 32;
inline constexpr int kButtonWidth = 24, kButtonHeight = 23;
// The collapsed toolbar is one button of the same size; its legend is that of index 32.
inline constexpr int kCaptionButton = 32;
inline constexpr int kNoButton = -1;
// Glyph files: one a button, then the caption button, the disabled and busy glyph, and the
// second glyph of the JPEG set-up button.
inline constexpr int kGlyphCount = 35;
inline constexpr int kCaptionGlyph = 32, kDisabledGlyph = 33, kAltSetupGlyph = 34;
inline constexpr int kJpegSetupButton = 29;

struct ToolbarButton {
  int command;         // posted to the main window on a left click
  const char* legend;
};
extern const ToolbarButton kToolbarButtonTable[kToolbarButtons];
inline constexpr char kCaptionLegend[] = "Open ToolBar";

struct ToolPoint {
  int x = 0, y = 0;
};

// Button i's top-left corner in the toolbar: two columns, sixteen rows.
ToolPoint ButtonOrigin(int button);
// The button whose 24 x 23 cell holds the point; kNoButton when none does.
int ButtonAt(int x, int y);

// What a press on the full toolbar is aimed at: the strip above the buttons holds the
// collapse box on its left and flips the toolbar to the other side anywhere else.
enum class PressTarget { Nothing, Collapse, FlipSide, Button };
struct Press {
  PressTarget target = PressTarget::Nothing;
  int button = kNoButton;
};
Press PressAt(int x, int y);
// Only Open (reopen), Save as (save) and the JPEG set-up button answer the right button.
bool TakesRightButton(int button);
// The command a right click on the button posts; 0 for the JPEG set-up button, which flips
// the decompression set instead.
int RightButtonCommand(int button);

// The system's window metrics that place the toolbar.
struct FrameMetrics {
  int frameWidth = 0, frameHeight = 0;  // sizing frame
  int captionHeight = 0, menuHeight = 0;
  int captionButtonWidth = 0;
};

// The full toolbar's top-left corner against the main window's right edge (or left, with
// onLeft), kept on the desktop.
ToolPoint FullToolbarOrigin(const ScreenRect& main, const ScreenRect& desktop, const FrameMetrics& metrics,
                            bool onLeft);
// The collapsed toolbar's corner in the caption, left of its buttons (three of them from
// system version 3.90 on, two before).
int CaptionButtonCount(int majorVersion, int minorVersion);
ToolPoint CollapsedToolbarOrigin(const ScreenRect& main, const FrameMetrics& metrics, int captionButtons);

// The legend's window for a button at buttonOrigin (screen) with text of textWidth x
// textHeight: right of the right column's buttons and left of the left column's (and of
// the caption button), on the other side when it would leave the screen.
ScreenRect LegendPlacement(int button, ToolPoint buttonOrigin, int textWidth, int textHeight, int screenWidth);

// The legend's timer counts its ticks while the mouse rests on one button.
inline constexpr int kLegendTicks = 5;
struct HoverCount {
  int button = kNoButton;
  int ticks = 0;
  // One tick with the mouse over `under`; true on the tick the legend is to appear.
  bool Tick(int under);
};

}  // namespace quilla
