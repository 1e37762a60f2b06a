#include "core/commands.h"

namespace quilla {

EnableRule EnableRuleOf(int command) {
  using namespace cmd;
  switch (command) {
    case kPaste: return EnableRule::Paste;
    case kDeleteFile: return EnableRule::DeleteFile;
    case kReopen: return EnableRule::Reopen;
    case kPaletteEntry: return EnableRule::PaletteEntry;
    case kUndo: return EnableRule::Undo;
    case kApply: return EnableRule::Apply;
    case kCrop:
    case kUndefine: return EnableRule::Area;
    case kSave: case kSaveAs: case kPrint: case kBackgroundColor: case kColorDepth: case kFullScreen:
    case kCut: case kCopy: case kDeleteArea: case kResize: case kRedimension: case kAddText:
    case kImageFilters:
      return EnableRule::Operable;
    default:
      if (command >= kFlipHorizontal && command <= kNegative) return EnableRule::Operable;
      return EnableRule::Always;
  }
}

bool IsEnabled(EnableRule rule, const MenuContext& c) {
  switch (rule) {
    case EnableRule::Always: return true;
    case EnableRule::Operable: return c.operable;
    case EnableRule::Paste: return c.clipboardHasImage;
    case EnableRule::DeleteFile: return c.hasFileName;
    case EnableRule::Reopen: return c.previousFileKnown;
    case EnableRule::PaletteEntry: return c.operable && !c.trueColor;
    case EnableRule::Undo: return c.operable && c.hasUndo;
    case EnableRule::Apply: return c.areaDefined && c.areaDetached;
    case EnableRule::Area: return c.areaDefined;
  }
  return false;
}

}  // namespace quilla
