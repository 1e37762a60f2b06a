// AppOptions: the program-wide record of persisted options. One getter and one setter per
// settings key, named after it. Setters only store, except those that act at once on
// other subsystems; those acts go through OptionHooks, which the shell fills in.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/display_mode.h"
#include "settings/list_records.h"
#include "settings/text_style.h"

namespace quilla {

// The integer options, in the order Save all writes them. "CBackR/G/B" (kept in the
// core's fill colour) and "ContaBackR/G/B" (kept as one colour value) are not among them.
enum class IntOption : int {
  DlgX, DlgY, BigDlgX, BigDlgY, LockRGBGamma, TBarCaption, TBarRight,
  AutoQuantize, ImagePreview, ImagePreviewGray, OpenType, SaveType, C8Mask, C8Black,
  AutoResize, PosMode, ShowSBars, ResizeOnLoad, DropTo, WarnAllSaves, PopupIcon, ThickAreaFrame,
  AnimateAreaFrame, CopyClipbdFmt, ShowToolBarLegend, ShowThumbsIcon, FullOnTop, CombineMode,
  NColorsCreatePal, UseDithering, NeedQuantizeRead, UseSysPalette, JpegQuality, SaveJpegGS, JpegEntOpt,
  WarnJpegGsSave, JpegDecompressionSetup,
  LoadJpegGSNormal, JpegDenomNormal, JpegFastUpNormal, JpegDCTTypeNormal, JpegOptionFastQuantNormal,
  JpegOption1PassNormal,
  LoadJpegGSPreview, JpegDenomPreview, JpegFastUpPreview, JpegDCTTypePreview, JpegOptionFastQuantPreview,
  JpegOption1PassPreview,
  SSCycle, SSFullScreen, SSAuto, SSNSecondsDelay, UseTmpFiles, EnableUndo,
  CenterPrinterPage, FitPrinterPage, PercentColsPrint, PercentRowsPrint, ContaDim, SaveGifInterlaced,
  Count
};
inline constexpr int kIntOptionCount = static_cast<int>(IntOption::Count);

const char* IntOptionKey(IntOption option);
std::optional<IntOption> FindIntOption(std::string_view key);

// The display class that two defaults depend on.
// One set of JPEG decompression choices; index 0 Normal, 1 Preview.
enum JpegSetupField { kJpegGrayscale, kJpegDenominator, kJpegFastUpsampling, kJpegDctType, kJpegFastQuantize,
                      kJpegOnePass, kJpegSetupFieldCount };
inline constexpr int kJpegNormal = 0, kJpegPreview = 1;

inline constexpr size_t kMaxTmpPath = 499;
inline constexpr size_t kMaxLibraryName = 49;
// Trailing backslashes removed and exactly one added; empty becomes ".\".
std::string NormalizeTmpPath(std::string_view path);

// What some setters do beyond storing; each hook may be left empty.
struct OptionHooks {
  std::function<void()> autoQuantizeSwitchedOn;       // check the quantizing options against the display
  std::function<void()> autoResizeSwitchedOn;         // fit the main window to the image now
  std::function<void(int)> thickAreaFrameChanged;     // pass the value to the selection frame
  std::function<void(int)> scrollBarsChanged;         // show or hide them, refit when an image is loaded
  std::function<bool()> toolbarTimerAvailable;        // false when the legend timer could not be had
};

inline constexpr const char kToolbarTimerMissingText[] =
    "Toolbar timer is not available, toolbar legends will not be displayed";

#define QUILLA_INT_GETTER(Name) \
  int Name() const { return Int(IntOption::Name); }
#define QUILLA_INT_OPTION(Name) \
  QUILLA_INT_GETTER(Name)       \
  void Set##Name(int value) { StoreInt(IntOption::Name, value); }

class AppOptions {
 public:
  AppOptions();

  void SetDisplayMode(DisplayMode mode) { displayMode_ = mode; }
  DisplayMode GetDisplayMode() const { return displayMode_; }
  void SetHooks(OptionHooks hooks) { hooks_ = std::move(hooks); }
  const OptionHooks& Hooks() const { return hooks_; }

  // Every scalar option and both text styles to their defaults; with full also the
  // dialog positions, the toolbar placement and the three lists.
  void ResetToDefaults(bool full);
  static int DefaultInt(IntOption option, DisplayMode mode);

  int Int(IntOption option) const { return ints_[static_cast<int>(option)]; }
  // Stores without side effects; "OpenType" and "SaveType" are clamped.
  void StoreInt(IntOption option, int value);

  QUILLA_INT_OPTION(DlgX) QUILLA_INT_OPTION(DlgY) QUILLA_INT_OPTION(BigDlgX) QUILLA_INT_OPTION(BigDlgY)
  QUILLA_INT_OPTION(LockRGBGamma) QUILLA_INT_OPTION(TBarCaption) QUILLA_INT_OPTION(TBarRight)
  QUILLA_INT_GETTER(AutoQuantize) QUILLA_INT_OPTION(ImagePreview) QUILLA_INT_OPTION(ImagePreviewGray)
  QUILLA_INT_OPTION(OpenType) QUILLA_INT_OPTION(SaveType) QUILLA_INT_OPTION(C8Mask) QUILLA_INT_OPTION(C8Black)
  QUILLA_INT_GETTER(AutoResize) QUILLA_INT_OPTION(PosMode) QUILLA_INT_GETTER(ShowSBars)
  QUILLA_INT_OPTION(ResizeOnLoad) QUILLA_INT_OPTION(DropTo) QUILLA_INT_OPTION(WarnAllSaves)
  QUILLA_INT_OPTION(PopupIcon) QUILLA_INT_GETTER(ThickAreaFrame) QUILLA_INT_OPTION(AnimateAreaFrame)
  QUILLA_INT_OPTION(CopyClipbdFmt) QUILLA_INT_GETTER(ShowToolBarLegend) QUILLA_INT_OPTION(ShowThumbsIcon)
  QUILLA_INT_OPTION(FullOnTop) QUILLA_INT_OPTION(CombineMode) QUILLA_INT_OPTION(NColorsCreatePal)
  QUILLA_INT_OPTION(UseDithering) QUILLA_INT_OPTION(NeedQuantizeRead) QUILLA_INT_OPTION(UseSysPalette)
  QUILLA_INT_OPTION(JpegQuality) QUILLA_INT_OPTION(SaveJpegGS) QUILLA_INT_OPTION(JpegEntOpt)
  QUILLA_INT_OPTION(WarnJpegGsSave) QUILLA_INT_OPTION(JpegDecompressionSetup)
  QUILLA_INT_OPTION(SSCycle) QUILLA_INT_OPTION(SSFullScreen) QUILLA_INT_OPTION(SSAuto)
  QUILLA_INT_OPTION(SSNSecondsDelay) QUILLA_INT_OPTION(UseTmpFiles) QUILLA_INT_GETTER(EnableUndo)
  QUILLA_INT_OPTION(CenterPrinterPage) QUILLA_INT_OPTION(FitPrinterPage) QUILLA_INT_OPTION(PercentColsPrint)
  QUILLA_INT_OPTION(PercentRowsPrint) QUILLA_INT_OPTION(ContaDim) QUILLA_INT_OPTION(SaveGifInterlaced)

  // Setters that act at once.
  void SetAutoQuantize(int value);       // on: the quantizing check
  void SetEnableUndo(int value);         // also the main document's undo switch
  void SetAutoResize(int value);         // on: fits the window to the image
  void SetThickAreaFrame(int value);     // tells the selection frame
  void SetShowSBars(int value);          // shows or hides the scroll bars
  void SetShowToolBarLegend(int value);  // warns first when the toolbar has no timer

  // The two JPEG decompression sets, by index (kJpegNormal, kJpegPreview).
  int LoadJpegGS(int set) const { return JpegField(set, kJpegGrayscale); }
  int JpegDenom(int set) const { return JpegField(set, kJpegDenominator); }
  int JpegFastUp(int set) const { return JpegField(set, kJpegFastUpsampling); }
  int JpegDCTType(int set) const { return JpegField(set, kJpegDctType); }
  int JpegOptionFastQuant(int set) const { return JpegField(set, kJpegFastQuantize); }
  int JpegOption1Pass(int set) const { return JpegField(set, kJpegOnePass); }
  void SetLoadJpegGS(int set, int value) { SetJpegField(set, kJpegGrayscale, value); }
  void SetJpegDenom(int set, int value) { SetJpegField(set, kJpegDenominator, value); }
  void SetJpegFastUp(int set, int value) { SetJpegField(set, kJpegFastUpsampling, value); }
  void SetJpegDCTType(int set, int value) { SetJpegField(set, kJpegDctType, value); }
  void SetJpegOptionFastQuant(int set, int value) { SetJpegField(set, kJpegFastQuantize, value); }
  void SetJpegOption1Pass(int set, int value) { SetJpegField(set, kJpegOnePass, value); }
  int JpegField(int set, int field) const;
  void SetJpegField(int set, int field, int value);

  // Background fill colour, one byte each; kept in the core's program-wide fill colour.
  int CBackR() const;
  int CBackG() const;
  int CBackB() const;
  void SetCBackR(int value);
  void SetCBackG(int value);
  void SetCBackB(int value);

  // Contact sheet background, one colour value (red in the low byte).
  uint32_t ContaBack() const { return contaBack_; }
  void SetContaBack(uint32_t color) { contaBack_ = color & 0xFFFFFF; }
  int ContaBackR() const { return RedOf(contaBack_); }
  int ContaBackG() const { return GreenOf(contaBack_); }
  int ContaBackB() const { return BlueOf(contaBack_); }
  void SetContaBackR(int value) { contaBack_ = PackColor(value, ContaBackG(), ContaBackB()); }
  void SetContaBackG(int value) { contaBack_ = PackColor(ContaBackR(), value, ContaBackB()); }
  void SetContaBackB(int value) { contaBack_ = PackColor(ContaBackR(), ContaBackG(), value); }

  const std::string& TmpPath() const { return tmpPath_; }
  void SetTmpPath(std::string_view path) { tmpPath_ = NormalizeTmpPath(path); }
  const std::string& CTL3D32() const { return ctl3d32_; }
  const std::string& CTL3DV2() const { return ctl3dv2_; }
  void SetCTL3D32(std::string_view name);
  void SetCTL3DV2(std::string_view name);

  const TextStyle& Style(TextStyleGroup group) const;
  // Cuts the face and the text to their fields.
  void SetStyle(TextStyleGroup group, const TextStyle& style);

  // The lists, as plain data for the dialogs and the operations that use them.
  UserFunctionList& Functions() { return functions_; }
  const UserFunctionList& Functions() const { return functions_; }
  std::array<FilterSpec, kFilterSlots>& Filters() { return filters_; }
  const std::array<FilterSpec, kFilterSlots>& Filters() const { return filters_; }
  MacroTable& Macros() { return macros_; }
  const MacroTable& Macros() const { return macros_; }

  // Reserves the function texts and filter names at their full field width, so that the
  // lists never need memory later; false when that memory is not there (all is released).
  bool ReserveListBuffers();
  void ReleaseListBuffers();

 private:
  DisplayMode displayMode_ = DisplayMode::TrueColor;
  OptionHooks hooks_;
  std::array<int, kIntOptionCount> ints_{};
  uint32_t contaBack_ = 0;
  std::string tmpPath_, ctl3d32_, ctl3dv2_;
  TextStyle normalStyle_, contactStyle_;
  UserFunctionList functions_;
  std::array<FilterSpec, kFilterSlots> filters_;
  MacroTable macros_;
};

#undef QUILLA_INT_OPTION
#undef QUILLA_INT_GETTER

// The process-wide options, created on first use with the defaults of a true-colour
// display and the built-in lists.
AppOptions& Options();

}  // namespace quilla
