// The keys of section "Options" in the order a full save writes them: the window state
// first, then the rest of the options table.
#pragma once

#include <string>
#include <vector>

namespace quilla::testing_support {

inline const std::vector<std::string> kOptionsOrder = {
    "DlgX", "DlgY", "BigDlgX", "BigDlgY", "LockRGBGamma", "TBarCaption", "TBarRight", "CBackR", "CBackG", "CBackB",
    "AutoQuantize", "ImagePreview", "ImagePreviewGray", "OpenType", "SaveType", "C8Mask", "C8Black",
    "AutoResize", "PosMode", "ShowSBars", "ResizeOnLoad", "DropTo", "WarnAllSaves", "PopupIcon", "ThickAreaFrame",
    "AnimateAreaFrame", "CopyClipbdFmt", "ShowToolBarLegend", "ShowThumbsIcon", "FullOnTop", "CombineMode",
    "NColorsCreatePal", "UseDithering", "NeedQuantizeRead", "UseSysPalette", "JpegQuality", "SaveJpegGS",
    "JpegEntOpt", "WarnJpegGsSave", "JpegDecompressionSetup", "LoadJpegGSNormal", "JpegDenomNormal",
    "JpegFastUpNormal", "JpegDCTTypeNormal", "JpegOptionFastQuantNormal", "JpegOption1PassNormal",
    "LoadJpegGSPreview", "JpegDenomPreview", "JpegFastUpPreview", "JpegDCTTypePreview", "JpegOptionFastQuantPreview",
    "JpegOption1PassPreview", "SSCycle", "SSFullScreen", "SSAuto", "SSNSecondsDelay", "UseTmpFiles", "TmpPath",
    "EnableUndo", "NormalText", "NormalFont", "NormalOpaque", "NormalBold", "NormalItalic", "NormalUnderline",
    "NormalStrike", "NormalAlignment", "NormalDirection", "NormalPoints", "NormalColorRFore", "NormalColorGFore",
    "NormalColorBFore", "NormalColorRBack", "NormalColorGBack", "NormalColorBBack", "ContactFont", "ContactOpaque",
    "ContactBold", "ContactItalic", "ContactUnderline", "ContactStrike", "ContactAlignment", "ContactPoints",
    "ContactColorRFore", "ContactColorGFore", "ContactColorBFore", "ContactColorRBack", "ContactColorGBack",
    "ContactColorBBack", "CenterPrinterPage", "FitPrinterPage", "PercentColsPrint", "PercentRowsPrint", "ContaDim",
    "ContaBackR", "ContaBackG", "ContaBackB", "SaveGifInterlaced", "CTL3D32", "CTL3DV2", "NFunctions"};

}  // namespace quilla::testing_support
