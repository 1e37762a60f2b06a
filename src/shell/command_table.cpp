#include "shell/command_table.h"

#include <vector>

#include "core/progress.h"
#include "shell/dialogs.h"
#include "shell/file_commands.h"
#include "app/file_session.h"
#include "shell/lifecycle.h"
#include "settings/app_options.h"
#include "settings/settings_store.h"
#include "shell/shell_state.h"
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
LRESULT ColorDepth(LPARAM) {
  ShowColorDepth();
  return 0;
}
LRESULT Quantizing(LPARAM) {
  ShowQuantizingOptions();
  return 0;
}
LRESULT JpegIo(LPARAM) { return ShowJpegOptions(); }
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

struct Row {
  int number;
  CommandHandler handler;
  CheckRule checked = nullptr;
};

// Every command of the menus, the accelerators and the internal requests. A null handler
// marks a command whose subsystem is not part of the program yet.
constexpr Row kRows[] = {
    // File
    {cmd::kNew, nullptr}, {cmd::kOpen, OnFileOpen}, {cmd::kReopen, OnFileReopen}, {cmd::kMultipleOpen, nullptr},
    {cmd::kSave, OnFileSave}, {cmd::kSaveAs, OnFileSaveAs}, {cmd::kDeleteFile, OnFileDelete}, {cmd::kPrint, nullptr},
    {cmd::kPrinterSetup, nullptr}, {cmd::kExit, ExitCommand},
    // Edit
    {cmd::kUndo, OnUndo}, {cmd::kCut, nullptr}, {cmd::kCopy, nullptr}, {cmd::kPaste, nullptr},
    {cmd::kDeleteArea, nullptr}, {cmd::kCaptureDesktop, nullptr}, {cmd::kCaptureWindow, nullptr},
    {cmd::kCaptureClient, nullptr}, {cmd::kFullScreen, nullptr},
    // Retouch
    {cmd::kResize, nullptr}, {cmd::kRedimension, nullptr}, {cmd::kCrop, nullptr}, {cmd::kUndefine, nullptr},
    {cmd::kApply, nullptr}, {cmd::kAddText, nullptr}, {cmd::kFlipHorizontal, nullptr},
    {cmd::kFlipVertical, nullptr}, {cmd::kRotateLeft, nullptr}, {cmd::kRotateRight, nullptr},
    {cmd::kGamma, nullptr}, {cmd::kColorBalance, nullptr}, {cmd::kContrastEnhance, nullptr},
    {cmd::kHsvAdjust, nullptr}, {cmd::kYcbcrAdjust, nullptr}, {cmd::kInteractiveRgb, nullptr},
    {cmd::kExpEnhance, nullptr}, {cmd::kLogEnhance, nullptr}, {cmd::kSineHEnhance, nullptr},
    {cmd::kGrayScale, nullptr}, {cmd::kNegative, nullptr}, {cmd::kPaletteEntry, nullptr},
    {cmd::kColorDepth, ColorDepth}, {cmd::kImageFilters, nullptr}, {cmd::kMacroRetouch, nullptr},
    // Options
    {cmd::kInterfaceOptions, InterfaceOptions}, {cmd::kBackgroundColor, nullptr}, {cmd::kQuantizing, Quantizing},
    {cmd::kJpegIo, JpegIo}, {cmd::kSlideshowOptions, nullptr}, {cmd::kPrinterOptions, nullptr},
    {cmd::kContactSheetOptions, nullptr}, {cmd::kMemory, Memory}, {cmd::kSaveGifInterlaced, ToggleGifInterlaced, GifInterlaced},
    {cmd::kLoadAll, LoadAll}, {cmd::kSaveAll, SaveAll}, {cmd::kDefaults, Defaults},
    // Help
    {cmd::kHelpContents, OnHelpContents}, {cmd::kDiagnosis, OnDiagnosis}, {cmd::kDeviceCaps, DeviceCaps},
    {cmd::kAbout, About},
    // Accelerators without a menu item
    {cmd::kPosSame, PosModeCommand<cmd::kPosSame>}, {cmd::kPosLeftTop, PosModeCommand<cmd::kPosLeftTop>},
    {cmd::kPosLeftBottom, PosModeCommand<cmd::kPosLeftBottom>}, {cmd::kPosRightTop, PosModeCommand<cmd::kPosRightTop>},
    {cmd::kPosRightBottom, PosModeCommand<cmd::kPosRightBottom>}, {cmd::kPosCenter, PosModeCommand<cmd::kPosCenter>},
    {cmd::kPageUp, ScrollCommand<cmd::kPageUp>}, {cmd::kPageDown, ScrollCommand<cmd::kPageDown>},
    {cmd::kPageLeft, ScrollCommand<cmd::kPageLeft>}, {cmd::kPageRight, ScrollCommand<cmd::kPageRight>},
    {cmd::kLineUp, ScrollCommand<cmd::kLineUp>}, {cmd::kLineDown, ScrollCommand<cmd::kLineDown>},
    {cmd::kLineLeft, ScrollCommand<cmd::kLineLeft>}, {cmd::kLineRight, ScrollCommand<cmd::kLineRight>},
    {cmd::kHelp, OnHelpContents}, {cmd::kNoAction, NoAction}, {cmd::kRunMacro, nullptr},
    // Internal requests
    {cmd::kCommandLine, OnCommandLine}, {cmd::kPaintQuarters, OnPaintQuartersCommand}, {cmd::kPickColor, nullptr},
    {cmd::kLayoutAfterFullScreen, nullptr}, {cmd::kCancelOperation, CancelOperation},
    {cmd::kImageSize, ImageSize}, {cmd::kDropList, nullptr}, {cmd::kToolbarShow, nullptr},
};

const std::vector<CommandEntry>& Table() {
  static const std::vector<CommandEntry> table = [] {
    std::vector<CommandEntry> entries;
    for (const Row& row : kRows) entries.push_back({row.number, row.handler, EnableRuleOf(row.number), row.checked});
    return entries;
  }();
  return table;
}
}  // namespace

const CommandEntry* FindCommand(int number) {
  for (const CommandEntry& entry : Table()) {
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
  // No selection area exists until the selection subsystem keeps one; its fields stay false.
  return context;
}

void UpdateMenuStates() {
  if (!IsInterfaceIdle() || !shell.mainMenu) return;
  const MenuContext context = CurrentMenuContext();
  for (const CommandEntry& entry : Table()) {
    bool enabled = entry.handler && IsEnabled(entry.rule, context);
    EnableMenuItem(shell.mainMenu, UINT(entry.number), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    if (entry.checked) {
      CheckMenuItem(shell.mainMenu, UINT(entry.number), MF_BYCOMMAND | (entry.checked() ? MF_CHECKED : MF_UNCHECKED));
    }
  }
}

}  // namespace quilla
