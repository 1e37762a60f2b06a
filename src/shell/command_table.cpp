#include "shell/command_table.h"

#include <algorithm>
#include <iterator>

#include "core/progress.h"
#include "shell/colour_commands.h"
#include "shell/contact_sheet.h"
#include "shell/dialogs.h"
#include "shell/drop_handling.h"
#include "shell/file_commands.h"
#include "shell/full_screen.h"
#include "shell/geometry_commands.h"
#include "app/file_session.h"
#include "shell/lifecycle.h"
#include "shell/printing.h"
#include "shell/area_commands.h"
#include "shell/clipboard_commands.h"
#include "shell/screen_capture.h"
#include "shell/retouch_commands.h"
#include "settings/app_options.h"
#include "settings/settings_store.h"
#include "shell/selection_area.h"
#include "shell/shell_state.h"
#include "shell/slideshow_dialog.h"
#include "shell/toolbar.h"
#include "shell/view_commands.h"

namespace quilla {

namespace {
LRESULT NoAction(LPARAM) { return 0; }

LRESULT CancelOperation(LPARAM) {
  OnCancelOperationCommand();
  return 0;
}

// Width in the low and height in the high 16 bits; 0 without an operable image.
LRESULT ImageSize(LPARAM) {
  const DIBImage& document = shell.mainDocument;
  if (!document.IsOperable()) return 0;
  return LRESULT(MAKELONG(WORD(document.Width()), WORD(document.Height())));
}

LRESULT About(LPARAM) {
  ShowAboutDialog();
  return 0;
}

LRESULT DeviceCaps(LPARAM) {
  ShowDeviceCapsDialog();
  return 0;
}

LRESULT InterfaceOptions(LPARAM) {
  ShowInterfaceOptions();
  return 0;
}
LRESULT AddText(LPARAM) {
  ShowAddText();
  return 0;
}
LRESULT ColorDepth(LPARAM) {
  ShowColorDepth();
  return 0;
}
LRESULT Quantizing(LPARAM) {
  ShowQuantizingOptions();
  return 0;
}
LRESULT JpegIo(LPARAM) { return ShowJpegOptions(); }
LRESULT MultipleOpen(LPARAM) {
  ShowMultipleOpen();
  return 0;
}
LRESULT ContactSheetOptions(LPARAM) {
  ShowContactOptions();
  return 0;
}
LRESULT Memory(LPARAM) {
  ShowMemoryOptions();
  return 0;
}

LRESULT ExitCommand(LPARAM) {
  if (QueryClose()) Exit();
  return 0;
}

// The whole-file settings commands run at once, without a question or a message.
LRESULT LoadAll(LPARAM) { return LoadAllSettings(); }
LRESULT SaveAll(LPARAM) { return SaveAllSettings(); }
LRESULT Defaults(LPARAM) {
  SetDefaultSettings(false);
  return 0;
}

LRESULT ToggleGifInterlaced(LPARAM) {
  Options().SetSaveGifInterlaced(Options().SaveGifInterlaced() ? 0 : 1);
  return 0;
}
bool GifInterlaced() { return Options().SaveGifInterlaced() != 0; }

#define COMMAND(number, rule, ...) {cmd::number, EnableRule::rule, __VA_ARGS__},
constexpr CommandEntry kCommands[] = {
#include "shell/command_rows.inc"
};
#undef COMMAND

// What each item of the main menu was last set to: the menu is brought in step after
// every message, and only the items whose state changed are touched.
struct ItemState {
  bool set = false;
  bool enabled = false;
  bool checked = false;
};
HMENU statesMenu = nullptr;
ItemState itemStates[std::size(kCommands)];
}  // namespace

const CommandEntry* FindCommand(int number) {
  for (const CommandEntry& entry : kCommands) {
    if (entry.number == number) return &entry;
  }
  return nullptr;
}

LRESULT DispatchCommand(int number, LPARAM lParam) {
  const CommandEntry* entry = FindCommand(number);
  // A stale accelerator or a posted request must not run a command the menu greys.
  if (!entry || !entry->handler || !IsEnabled(entry->rule, CurrentMenuContext())) return 0;
  return entry->handler(lParam);
}

MenuContext CurrentMenuContext() {
  const DIBImage& document = shell.mainDocument;
  MenuContext context;
  context.operable = document.IsOperable();
  context.trueColor = document.IsTrueColor();
  context.hasUndo = document.HasUndo();
  context.clipboardHasImage = IsClipboardFormatAvailable(CF_DIB) || IsClipboardFormatAvailable(CF_BITMAP);
  context.hasFileName = CurrentFileSession().currentName != kUntitled;
  context.previousFileKnown = !CurrentFileSession().lastOpened.empty();
  context.areaDefined = HasSelection();
  context.areaDetached = IsDetached();
  return context;
}

void UpdateMenuStates() {
  if (!IsInterfaceIdle() || !shell.mainMenu) return;
  if (statesMenu != shell.mainMenu) {  // nothing is known of a menu not set before
    std::fill(std::begin(itemStates), std::end(itemStates), ItemState{});
    statesMenu = shell.mainMenu;
  }
  const MenuContext context = CurrentMenuContext();
  for (size_t i = 0; i < std::size(kCommands); ++i) {
    const CommandEntry& entry = kCommands[i];
    const ItemState now{true, entry.handler && IsEnabled(entry.rule, context), entry.checked && entry.checked()};
    ItemState& last = itemStates[i];
    const UINT item = UINT(entry.number);
    if (!last.set || now.enabled != last.enabled) {
      EnableMenuItem(shell.mainMenu, item, MF_BYCOMMAND | (now.enabled ? MF_ENABLED : MF_GRAYED));
    }
    if (entry.checked && (!last.set || now.checked != last.checked)) {
      CheckMenuItem(shell.mainMenu, item, MF_BYCOMMAND | (now.checked ? MF_CHECKED : MF_UNCHECKED));
    }
    last = now;
  }
}

}  // namespace quilla
