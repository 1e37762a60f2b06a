// The platform-free half of Jpeg I/O Options (command 116): the working copy the dialog
// fills itself from and stores on OK, its titles, and its radio groups read both ways.
#pragma once
#include <array>

#include "formats/jpeg/jpeg_options.h"
#include "resources/options_dialog_ids.h"

namespace quilla {

inline constexpr int kJpegQualityMin = 20, kJpegQualityMax = 95;
// The radio groups in the order of their values: DCT types 0..2, denominators 1, 2, 4, 8.
inline constexpr int kJpegDctButtons[] = {IDC_JO_DCT_ACCURATE, IDC_JO_DCT_FAST, IDC_JO_DCT_FLOAT};
inline constexpr int kJpegScaleButtons[] = {IDC_JO_SCALE_1, IDC_JO_SCALE_2, IDC_JO_SCALE_4, IDC_JO_SCALE_8};

struct JpegOptionsCopy {
  std::array<JpegDecodeSetup, 2> setups;
  int shown = 0;  // the set on screen
  bool saveGrayscale = false;
  bool optimizeEntropy = true;
  int quality = 75;
  bool warnGrayscaleSave = true;
};

// Before the dialog: both sets, the active index as the shown one, the write options.
JpegOptionsCopy LoadJpegOptionsCopy();
// OK: the shown index becomes "JpegDecompressionSetup", everything is stored.
void StoreJpegOptionsCopy(const JpegOptionsCopy& copy);

const char* JpegDialogTitle(int shown);         // "Jpeg I/O Options (Normal mode)" / "(Preview mode)"
const char* JpegSwitchButtonText(int shown);    // "S&witch to Preview setup" / "S&witch to Normal setup"
// The radio button checked for a set's DCT type and denominator (values out of range show
// the accurate method and 1:1).
int JpegDctButton(int dctType);
int JpegScaleButton(int denominator);
// Reading radio buttons back. checked(id) tells whether a control is checked.
// DCT: the first checked of the group, or current when none is.
int JpegDctTypeFromButtons(bool (*checked)(int, void*), void* context, int current);
// Scale: the first checked of 1:1, 1:2, 1:4, else 8.
int JpegDenominatorFromButtons(bool (*checked)(int, void*), void* context);
// The switch button: the shown set (as read back) is kept and the other one is shown.
void SwitchJpegSetup(JpegOptionsCopy& copy, const JpegDecodeSetup& shownAsRead);
// The quality bar keeps its value within 20..95.
int ClampJpegQuality(int quality);

}  // namespace quilla
