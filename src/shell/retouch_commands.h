// Handlers of the Retouch commands, in the form the command table takes them.
#pragma once
#include <windows.h>

namespace quilla {

// 183 and 184: the one-step colour retouches on the main document, with one undo step.
LRESULT OnGrayScale(LPARAM);
LRESULT OnNegative(LPARAM);
// 182, 177, 176, 178: the single-slider dialog of each curve.
LRESULT OnContrastEnhance(LPARAM);
LRESULT OnExpEnhance(LPARAM);
LRESULT OnLogEnhance(LPARAM);
LRESULT OnSineHEnhance(LPARAM);
// 186: the Image Filter Control Panel.
LRESULT OnImageFilters(LPARAM);
// 174, 181, 179, 180: the three-slider dialog of each.
LRESULT OnGamma(LPARAM);
LRESULT OnColorBalance(LPARAM);
LRESULT OnHsvAdjust(LPARAM);
LRESULT OnYcbcrAdjust(LPARAM);
// 175: Interactive RGB.
LRESULT OnInteractiveRgb(LPARAM);

// The current macro on the main document, with one undo step; nothing without an operable
// image or when the user keeps a detached selection. 201 runs it, 200 opens its setup.
void RunCurrentMacro();
LRESULT OnRunMacro(LPARAM);
LRESULT OnMacroSetup(LPARAM);

}  // namespace quilla
