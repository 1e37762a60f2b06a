// What the JPEG adapter takes from the options, and the portable half of the two dialogs
// that edit them (JPEG I/O Options, command 116; Memory Options, command 120): the working
// copy they fill themselves from, the texts and control numbers they show, and what OK
// stores. The windows themselves only move values between these records and controls.
#pragma once
#include <array>
#include <string>
#include <string_view>

#include "color/quantize_options.h"

namespace quilla {

// One set of decompression choices; index 0 Normal, 1 Preview.
struct JpegDecodeSetup {
  int grayscale = 0;          // non-zero: one grey channel
  int denominator = 1;        // 1, 2, 4 or 8
  int fastUpsampling = 0;     // non-zero: no smooth chroma upsampling
  int dctType = 0;            // 0 integer accurate, 1 integer fast, 2 floating point
  int fastQuantizing = 0;     // non-zero: ordered dither instead of Floyd-Steinberg
  int onePass = 0;            // non-zero: one-pass colour quantization

  bool operator==(const JpegDecodeSetup&) const = default;
};

// The set of an index, from the options ("LoadJpegGSNormal", ...).
JpegDecodeSetup LoadJpegDecodeSetup(int index);
void StoreJpegDecodeSetup(int index, const JpegDecodeSetup& setup);
// The set "JpegDecompressionSetup" names (any value but 1 is Normal).
int ActiveJpegSetupIndex();
JpegDecodeSetup ActiveJpegDecodeSetup();

// The colour options of reading ("NeedQuantizeRead", "UseSysPalette", "NColorsCreatePal",
// "UseDithering") and "ImagePreviewGray".
struct JpegReadColorOptions {
  bool quantize = false;
  bool systemPalette = false;
  int colors = 256;  // kept within what the library can build: 2..256
  bool dither = true;
  bool previewGray = false;
};
// The reduce-while-reading options a transfer read, with "ImagePreviewGray".
JpegReadColorOptions JpegReadColorOptionsFor(const QuantizeOptions& reduction);

// What the writer uses: "JpegQuality", "JpegEntOpt" and "SaveJpegGS" (which a save may have
// switched off for itself).
struct JpegWriteOptions {
  int quality = 75;
  bool optimizeEntropy = true;
  bool grayscale = false;
};
JpegWriteOptions CurrentJpegWriteOptions();

// The backing store's settings ("TmpPath", "UseTmpFiles").
struct JpegMemoryOptions {
  std::string tmpPath = ".\\";
  bool useTmpFiles = true;
};
// What the Memory Options dialog fills itself from.
JpegMemoryOptions CurrentJpegMemoryOptions();

// ---- JPEG I/O Options (dialog resource 40) ----

enum JpegDialogControl {
  kJpegLoadGrayscaleBox = 101,
  kJpegEntropyBox = 102,
  kJpegQualityText = 103,
  kJpegQualityBar = 104,
  kJpegSaveGrayscaleBox = 105,
  kJpegSwitchButton = 106,
  kJpegFastUpsamplingBox = 107,
  kJpegDctFirstButton = 108,  // 108 + DCT type
  kJpegOnePassBox = 111,
  kJpegFastDitherBox = 112,
  kJpegWarnGrayscaleBox = 121,
  kJpegScaleBase = 129,       // 129 + denominator: 130, 131, 133, 137
};
inline constexpr int kJpegDialogResource = 40;
inline constexpr int kJpegDialogHelp = 65;
inline constexpr int kJpegQualityMin = 20, kJpegQualityMax = 95;
inline constexpr int kJpegQualityLineStep = 1, kJpegQualityPageStep = 5;

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
// DCT: the first checked of 108..110, or current when none is.
int JpegDctTypeFromButtons(bool (*checked)(int, void*), void* context, int current);
// Scale: the first checked of 130, 131, 133 (1, 2, 4), else 8.
int JpegDenominatorFromButtons(bool (*checked)(int, void*), void* context);
// The switch button: the shown set (as read back) is kept and the other one is shown.
void SwitchJpegSetup(JpegOptionsCopy& copy, const JpegDecodeSetup& shownAsRead);
// The quality bar keeps its value within 20..95.
int ClampJpegQuality(int quality);

// ---- Memory Options (dialog resource 55) ----

enum MemoryDialogControl { kMemoryMainOnlyButton = 101, kMemoryTempFilesButton = 102, kMemoryTmpPathEdit = 103 };
inline constexpr int kMemoryDialogResource = 55;
inline constexpr int kMemoryDialogHelp = 66;
inline constexpr int kMemoryTmpPathChars = 500;

// OK: "UseTmpFiles" from the button, "TmpPath" from up to 500 characters of the edit field,
// normalised (trailing backslashes replaced by one; empty becomes ".\").
void StoreMemoryOptions(bool useTmpFiles, std::string_view editText);

}  // namespace quilla
