// The numbers of the controls the GUI tests read and press in quilla.exe's dialogs and
// message boxes, named after what each control is. They are the outside's view, kept
// apart from the program's resource headers so that a changed number shows.
#pragma once

namespace quilla::gui {

// The text of a message box.
inline constexpr int kMessageText = 65535;
// The Help button of the option dialogs.
inline constexpr int kHelpButton = 998;

// The common Open Image File and Save Image as dialogs.
namespace file_dialog {
inline constexpr int kFileName = 1152;  // the name field
inline constexpr int kFileType = 1136;  // the list of types
}  // namespace file_dialog

namespace about_dialog { inline constexpr int kProgramTitle = 100; }

// The single-slider retouch dialog (Contrast, Exp, Log, SineH): its scroll bar and read-out.
namespace one_slider { inline constexpr int kSlider = 102, kValue = 103; }

// The Image Filter Control Panel: matrix cell r, c at kCell0 + 5 r + c; and Rename Filter.
namespace filter_panel {
inline constexpr int kDefaults = 106, kRename = 107, kBias = 108, kDivisor = 109, kList = 110, kSave = 111, kExec = 24,
                     kCell0 = 200;
}  // namespace filter_panel
namespace rename_filter { inline constexpr int kOldName = 101, kNewName = 102; }
// Macro Retouch Setup: the list of macros, and for slot k its operation list and the fields of
// its three parameters; the rename dialog's old name and new name.
namespace macro_setup {
inline constexpr int kList = 101, kRename = 102, kDefaults = 103, kExec = 24;
inline constexpr int Operation(int slot) { return 110 + slot; }
inline constexpr int Parameter(int slot, int j) { return 120 + 3 * slot + j; }
}  // namespace macro_setup
namespace rename_macro { inline constexpr int kOldName = 101, kNewName = 102; }
// The three-slider retouch dialog (Gamma, Color Balance, HSV, YCbCr): one row of label,
// scroll bar and read-out a parameter; Exec, and Gamma's lock.
namespace three_slider {
inline constexpr int kLabels[] = {101, 104, 107}, kSliders[] = {102, 105, 108}, kValues[] = {103, 106, 109};
inline constexpr int kExec = 24, kLock = 111;
}  // namespace three_slider

// Device Caps: one read-out per capability.
namespace device_caps {
inline constexpr int kHorizontalResolution = 102, kBitsPerPixel = 104, kPalette = 107, kPaletteSize = 108,
                     kReservedColours = 109, kColourResolution = 110, kClipping = 111, kDibs = 112, kBitmaps64k = 113;
}  // namespace device_caps

// Interface Options. The radio buttons' numbers are the values the settings file stores.
namespace interface_options {
// Check boxes.
inline constexpr int kEnableUndo = 150, kAutoQuantize = 191, kAutoResize = 187, kScrollBars = 188, kThickFrame = 189,
                     kAnimateFrame = 193, kToolbarLegends = 198, kConfirmSaves = 122, kPopupIcon = 123,
                     kThumbsIcon = 204, kFullOnTop = 208;
// What a dropped file goes to.
inline constexpr int kDropSlideshow = 111, kDropCompress = 112, kDropPrinter = 113, kDropContact = 114;
// When a window is fitted to the image it opens.
inline constexpr int kResizeNever = 101, kResizeShrink = 102, kResizeEnlarge = 103, kResizeAlways = 104;
// Where the window goes.
inline constexpr int kPosSame = 105, kPosLeftTop = 106, kPosLeftBottom = 107, kPosRightTop = 108,
                     kPosRightBottom = 109, kPosCenter = 110;
// The clipboard format of a copy.
inline constexpr int kClipDib = 140, kClipDdb = 139;
}  // namespace interface_options

// Color Depth and Quantizing Options share their controls.
namespace color_depth {
inline constexpr int kTrueColour = 101, kPalette = 102, kDither = 108;
// The colour count group.
inline constexpr int kCustom = 103, kCustomCount = 104, k256 = 105, kWindows16 = 106, kBlackWhite = 107;
}  // namespace color_depth

// Jpeg I/O Options; the decompression controls show the Normal or the Preview set.
namespace jpeg_io {
inline constexpr int kLoadGrey = 101, kEntropy = 102, kQualityText = 103, kQualityBar = 104, kSaveGrey = 105,
                     kSwitchSet = 106, kFastUpsampling = 107, kDctAccurate = 108, kDctFast = 109, kDctFloat = 110,
                     kOnePass = 111, kFastDither = 112, kWarnGrey = 121;
inline constexpr int kScale1 = 130, kScale2 = 131, kScale4 = 133, kScale8 = 137;
}  // namespace jpeg_io

namespace memory_options { inline constexpr int kMainOnly = 101, kTmpFiles = 102, kTmpPath = 103; }

// Interactive RGB, and the function editor it opens.
namespace interactive_rgb {
inline constexpr int kGraph = 120, kUseFunctions = 111, kFunctions = 109, kEditFunction = 110, kExec = 24, kSave = 113;
inline constexpr int kFunctionText = 114;
}  // namespace interactive_rgb
// Select Color Palette Entry: the grid of the colour table, the read-outs of the entry
// selected, the mask and its colours, and the Dropper.
namespace palette_entry {
inline constexpr int kGrid = 120, kIndex = 101, kRgb = 102, kMask = 103, kBlack = 104, kWhite = 105, kDropper = 106;
}  // namespace palette_entry
// Select 24-bit Color: a slider and a read-out a channel, red, green, blue.
namespace color_24 {
inline constexpr int kSliders[3] = {101, 102, 103}, kValues[3] = {111, 112, 113}, kDropper = 106;
}  // namespace color_24
// Resize: the sizes, the aspect flag, the first preset (640 x 480), the ratio sliders and
// their read-outs; New Image (also Redimension): the sizes and the first preset.
namespace resize_dialog {
inline constexpr int kCurrentWidth = 101, kCurrentHeight = 102, kWidth = 103, kHeight = 104, kAspect = 105,
                     k640x480 = 106, kColsSlider = 112, kColsRatio = 114, kRowsRatio = 115;
}  // namespace resize_dialog
namespace new_image { inline constexpr int kWidth = 101, kHeight = 102, k640x480 = 103; }
// Add Text: the text, the rectangle's sliders with their read-outs, Exec.
namespace add_text {
inline constexpr int kText = 101, kLeft = 107, kLeftValue = 108, kTopValue = 110, kWidthValue = 112,
                     kHeightValue = 114, kFace = 115, kExec = 24;
}  // namespace add_text
// Slideshow Options: the two ways on, the delay field, cycling and full screen.
namespace slideshow_options {
inline constexpr int kAutomatic = 101, kInteractive = 102, kCycle = 103, kDelay = 104, kFullScreen = 105;
}  // namespace slideshow_options

// Multiple File Open: the path, the left and right lists and their buttons, the preview pane.
namespace multiple_open {
inline constexpr int kPath = 101, kFiles = 103, kUnselectAll = 105, kAdd = 106, kRemoveAll = 109, kChosen = 110,
                     kSaveList = 115, kLoadList = 116, kPreview = 119, kDelete = 121,
                     kToCompression = 113;
}  // namespace multiple_open
// The contact sheet preview: the selected item's file name, size, format and box.
namespace contact_preview {
inline constexpr int kArea = 101, kName = 102, kSize = 103, kFormat = 104, kBox = 105, kReset = 108;
}  // namespace contact_preview
// Contact Sheet Options: the sheet sizes, a style flag, the alignment and the transparent background.
namespace contact_options {
inline constexpr int k640 = 127, k800 = 128, k1024 = 129, kBold = 117, kCentred = 122, kTransparent = 103;
}  // namespace contact_options

// The Print dialog: the printer's name, its list of print qualities and its Setup button;
// Printer Options: its check boxes and the read-outs of its percentages.
namespace print_dialog { inline constexpr int kPrinter = 1088, kQuality = 1136, kSetup = 23; }
namespace printer_options { inline constexpr int kFit = 101, kColsValue = 104, kRowsValue = 105, kCenter = 106; }

}  // namespace quilla::gui
