// Command numbers shared by menus, accelerators, toolbar buttons and internal requests,
// and the rules that decide whether a menu command is enabled. The shell's command table
// gives each number its rule and its handler.
#pragma once

namespace quilla {

namespace cmd {
enum : int {
  kPosSame = 105, kPosLeftTop = 106, kPosLeftBottom = 107, kPosRightTop = 108, kPosRightBottom = 109,
  kPosCenter = 110,
  kDropSlideshow = 111, kDropCompress = 112, kDropPrinter = 113, kDropContactSheet = 114,
  kBackgroundColor = 115, kJpegIo = 116, kSlideshowOptions = 117, kPrinterOptions = 118,
  kContactSheetOptions = 119, kMemory = 120, kLoadAll = 124, kSaveAll = 125, kDefaults = 126,
  kHelpContents = 127, kAbout = 128, kDiagnosis = 129, kDeviceCaps = 130,
  kPageUp = 131, kPageLeft = 133, kPageRight = 134, kLineUp = 135, kLineDown = 136, kLineLeft = 137,
  kLineRight = 138, kColorDepth = 141, kCommandLine = 143, kFullScreen = 144, kCaptureWindow = 145,
  kCaptureClient = 146, kCaptureDesktop = 148, kQuantizing = 149,
  kNew = 151, kOpen = 152, kSave = 153, kSaveAs = 154, kDeleteFile = 155, kPrint = 156, kPrinterSetup = 157,
  kExit = 158, kUndo = 159, kCut = 160, kCopy = 161, kPaste = 162, kDeleteArea = 163, kResize = 164,
  kRedimension = 165, kCrop = 166, kUndefine = 167, kApply = 168, kAddText = 169, kFlipHorizontal = 170,
  kFlipVertical = 171, kRotateLeft = 172, kRotateRight = 173, kGamma = 174, kInteractiveRgb = 175,
  kLogEnhance = 176, kExpEnhance = 177, kSineHEnhance = 178, kHsvAdjust = 179, kYcbcrAdjust = 180,
  kColorBalance = 181, kContrastEnhance = 182, kGrayScale = 183, kNegative = 184, kPaletteEntry = 185,
  kImageFilters = 186, kMultipleOpen = 190, kInterfaceOptions = 194, kReopen = 195, kPaintQuarters = 197,
  kNoAction = 199, kMacroRetouch = 200, kRunMacro = 201, kPageDown = 205, kSaveGifInterlaced = 206,
  kPickColor = 207, kLayoutAfterFullScreen = 209, kCancelOperation = 600, kImageSize = 800,
  kDropList = 801, kToolbarShow = 802, kHelp = 998,
};
}  // namespace cmd

// What the enabled rules look at.
struct MenuContext {
  bool operable = false;          // the main document holds an image that is not being read
  bool trueColor = false;
  bool hasUndo = false;
  bool areaDefined = false;       // a selection area exists
  bool areaDetached = false;
  bool clipboardHasImage = false;
  bool hasFileName = false;       // the current name is not "UNTITLED"
  bool previousFileKnown = false;
};

enum class EnableRule { Always, Operable, Paste, FileNamed, Reopen, PaletteEntry, Undo, Apply, Area };

bool IsEnabled(EnableRule rule, const MenuContext& context);

}  // namespace quilla
