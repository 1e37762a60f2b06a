#include "core/commands.h"

namespace quilla {

bool IsEnabled(EnableRule rule, const MenuContext& c) {
  switch (rule) {
    case EnableRule::Always: return true;
    case EnableRule::Operable: return c.operable;
    case EnableRule::Paste: return c.clipboardHasImage;
    case EnableRule::FileNamed: return c.hasFileName;
    case EnableRule::Reopen: return c.previousFileKnown;
    case EnableRule::PaletteEntry: return c.operable && !c.trueColor;
    case EnableRule::Undo: return c.operable && c.hasUndo;
    case EnableRule::Apply: return c.areaDefined && c.areaDetached;
    case EnableRule::Area: return c.areaDefined;
  }
  return false;
}

}  // namespace quilla
