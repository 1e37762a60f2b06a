#include "settings/app_options.h"

#include <new>

#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "settings/list_defaults.h"
#include "settings/text_bounds.h"

namespace quilla {
namespace {

const char* const kIntOptionKeys[kIntOptionCount] = {
    "DlgX", "DlgY", "BigDlgX", "BigDlgY", "LockRGBGamma", "TBarCaption", "TBarRight",
    "AutoQuantize", "ImagePreview", "ImagePreviewGray", "OpenType", "SaveType", "C8Mask", "C8Black",
    "AutoResize", "PosMode", "ShowSBars", "ResizeOnLoad", "DropTo", "WarnAllSaves", "PopupIcon",
    "ThickAreaFrame", "AnimateAreaFrame", "CopyClipbdFmt", "ShowToolBarLegend", "ShowThumbsIcon", "FullOnTop",
    "CombineMode", "NColorsCreatePal", "UseDithering", "NeedQuantizeRead", "UseSysPalette", "JpegQuality",
    "SaveJpegGS", "JpegEntOpt", "WarnJpegGsSave", "JpegDecompressionSetup",
    "LoadJpegGSNormal", "JpegDenomNormal", "JpegFastUpNormal", "JpegDCTTypeNormal", "JpegOptionFastQuantNormal",
    "JpegOption1PassNormal",
    "LoadJpegGSPreview", "JpegDenomPreview", "JpegFastUpPreview", "JpegDCTTypePreview",
    "JpegOptionFastQuantPreview", "JpegOption1PassPreview",
    "SSCycle", "SSFullScreen", "SSAuto", "SSNSecondsDelay", "UseTmpFiles", "EnableUndo",
    "CenterPrinterPage", "FitPrinterPage", "PercentColsPrint", "PercentRowsPrint", "ContaDim", "SaveGifInterlaced",
};

// Defaults that do not depend on the display, in IntOption order.
const int kIntDefaults[kIntOptionCount] = {
    60, 60, 40, 40, 1, 0, 1,      // DlgX .. TBarRight
    1, 1, 1, 1, 1, 0, 1,          // AutoQuantize .. C8Black
    1, 105, 1, 101, 111, 1, 0,    // AutoResize .. PopupIcon
    1, 1, 140, 1, 1, 0,           // ThickAreaFrame .. FullOnTop
    502, 256, 1, 0, 0, 75,        // CombineMode .. JpegQuality (the quantizing pair is by display)
    0, 1, 1, 0,                   // SaveJpegGS .. JpegDecompressionSetup
    0, 1, 0, 0, 0, 0,             // the Normal JPEG set
    0, 1, 1, 1, 1, 1,             // the Preview JPEG set
    0, 1, 1, 5, 1, 1,             // SSCycle .. EnableUndo
    1, 1, 100, 100, 1, 1,         // CenterPrinterPage .. SaveGifInterlaced
};

// Kept across a partial reset: the dialog positions and the toolbar placement.
bool KeptByPartialReset(IntOption option) {
  return option <= IntOption::TBarRight && option != IntOption::LockRGBGamma;
}

constexpr uint32_t kWhiteRgb = 0xFFFFFF;

}  // namespace

const char* IntOptionKey(IntOption option) { return kIntOptionKeys[static_cast<int>(option)]; }

std::optional<IntOption> FindIntOption(std::string_view key) {
  for (int i = 0; i < kIntOptionCount; ++i)
    if (key == kIntOptionKeys[i]) return static_cast<IntOption>(i);
  return std::nullopt;
}

std::string NormalizeTmpPath(std::string_view path) {
  // Room for the one backslash that ends it.
  std::string normalized = TruncateUtf8(path, kMaxTmpPath - 1);
  while (!normalized.empty() && normalized.back() == '\\') normalized.pop_back();
  return normalized.empty() ? ".\\" : normalized + "\\";
}

AppOptions::AppOptions() { ResetToDefaults(true); }

int AppOptions::DefaultInt(IntOption option, DisplayMode mode) {
  if (option == IntOption::NeedQuantizeRead) return mode == DisplayMode::TrueColor ? 0 : 1;
  if (option == IntOption::UseSysPalette) return mode == DisplayMode::SixteenColor ? 1 : 0;
  return kIntDefaults[static_cast<int>(option)];
}

void AppOptions::ResetToDefaults(bool full) {
  for (int i = 0; i < kIntOptionCount; ++i) {
    IntOption option = static_cast<IntOption>(i);
    if (full || !KeptByPartialReset(option)) ints_[i] = DefaultInt(option, displayMode_);
  }
  SetGlobalFillRgb(kWhiteRgb);
  contaBack_ = PackColor(0, 0, 0);
  tmpPath_ = ".\\";
  ctl3d32_ = "CTL3D32.DLL";
  ctl3dv2_ = "CTL3DV2.DLL";
  normalStyle_ = TextStyle{};
  contactStyle_ = TextStyle{};
  if (!full) return;
  // Copy assignment from lvalues keeps the reserved string buffers.
  const UserFunctionList functions = DefaultFunctions();
  functions_ = functions;
  const std::array<FilterSpec, kFilterSlots> filters = DefaultFilters();
  filters_ = filters;
  macros_ = DefaultMacros();
}

void AppOptions::StoreInt(IntOption option, int value) {
  if (option == IntOption::OpenType && (value < 1 || value > 9)) value = 1;
  if (option == IntOption::SaveType && (value < 1 || value > 10)) value = 1;
  ints_[static_cast<int>(option)] = value;
}

void AppOptions::SetAutoQuantize(int value) {
  StoreInt(IntOption::AutoQuantize, value);
  if (value && hooks_.autoQuantizeSwitchedOn) hooks_.autoQuantizeSwitchedOn();
}

void AppOptions::SetEnableUndo(int value) {
  StoreInt(IntOption::EnableUndo, value);
  if (DIBImage* document = MainDocument()) document->SetUndoEnabled(value != 0);
}

void AppOptions::SetAutoResize(int value) {
  StoreInt(IntOption::AutoResize, value);
  if (value && hooks_.autoResizeSwitchedOn) hooks_.autoResizeSwitchedOn();
}

void AppOptions::SetThickAreaFrame(int value) {
  StoreInt(IntOption::ThickAreaFrame, value);
  if (hooks_.thickAreaFrameChanged) hooks_.thickAreaFrameChanged(value);
}

void AppOptions::SetShowSBars(int value) {
  StoreInt(IntOption::ShowSBars, value);
  if (hooks_.scrollBarsChanged) hooks_.scrollBarsChanged(value);
}

void AppOptions::SetShowToolBarLegend(int value) {
  if (hooks_.toolbarTimerAvailable && !hooks_.toolbarTimerAvailable()) ShowWarning("%s", kToolbarTimerMissingText);
  StoreInt(IntOption::ShowToolBarLegend, value);
}

int AppOptions::JpegField(int set, int field) const {
  int base = set == kJpegPreview ? static_cast<int>(IntOption::LoadJpegGSPreview)
                                 : static_cast<int>(IntOption::LoadJpegGSNormal);
  return ints_[base + field];
}

void AppOptions::SetJpegField(int set, int field, int value) {
  int base = set == kJpegPreview ? static_cast<int>(IntOption::LoadJpegGSPreview)
                                 : static_cast<int>(IntOption::LoadJpegGSNormal);
  ints_[base + field] = value;
}

// The core keeps the fill colour as 0x00RRGGBB.
int AppOptions::CBackR() const { return static_cast<int>(GlobalFillRgb() >> 16 & 0xFF); }
int AppOptions::CBackG() const { return static_cast<int>(GlobalFillRgb() >> 8 & 0xFF); }
int AppOptions::CBackB() const { return static_cast<int>(GlobalFillRgb() & 0xFF); }
void AppOptions::SetCBackR(int value) {
  SetGlobalFillRgb((GlobalFillRgb() & 0x00FFFF) | static_cast<uint32_t>(value & 0xFF) << 16);
}
void AppOptions::SetCBackG(int value) {
  SetGlobalFillRgb((GlobalFillRgb() & 0xFF00FF) | static_cast<uint32_t>(value & 0xFF) << 8);
}
void AppOptions::SetCBackB(int value) {
  SetGlobalFillRgb((GlobalFillRgb() & 0xFFFF00) | static_cast<uint32_t>(value & 0xFF));
}

void AppOptions::SetCTL3D32(std::string_view name) { ctl3d32_ = TruncateUtf8(name, kMaxLibraryName); }
void AppOptions::SetCTL3DV2(std::string_view name) { ctl3dv2_ = TruncateUtf8(name, kMaxLibraryName); }

const TextStyle& AppOptions::Style(TextStyleGroup group) const {
  return group == TextStyleGroup::Normal ? normalStyle_ : contactStyle_;
}

void AppOptions::SetStyle(TextStyleGroup group, const TextStyle& style) {
  TextStyle& target = group == TextStyleGroup::Normal ? normalStyle_ : contactStyle_;
  target = style;
  target.face = TruncateUtf8(style.face, kMaxFaceName);
  target.text = TruncateUtf8(style.text, kMaxStyleText);
}

bool AppOptions::ReserveListBuffers() {
  try {
    for (UserFunction& function : functions_.slots) function.text.reserve(kMaxFunctionText + 1);
    for (FilterSpec& filter : filters_) filter.name.reserve(kMaxFilterName + 1);
    return true;
  } catch (const std::bad_alloc&) {
    ReleaseListBuffers();
    return false;
  }
}

void AppOptions::ReleaseListBuffers() {
  for (UserFunction& function : functions_.slots) function.text.shrink_to_fit();
  for (FilterSpec& filter : filters_) filter.name.shrink_to_fit();
}

AppOptions& Options() {
  static AppOptions options;
  return options;
}

}  // namespace quilla
