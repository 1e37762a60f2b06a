#include "shell/lifecycle.h"

#include "core/commands.h"
#include "core/messages.h"
#include "core/progress.h"
#include "formats/engine.h"
#include "settings/app_options.h"
#include "settings/settings_store.h"
#include "shell/ctl3d.h"
#include "shell/file_commands.h"
#include "shell/full_screen.h"
#include "shell/printing.h"
#include "shell/shell_state.h"
#include "shell/toolbar.h"

namespace quilla {

bool QueryClose() {
  if (IsExiting()) return true;
  if (IsInterfaceIdle() && !IsBatchRunning()) return AskSaveChanges();
  if (AskYesNo("Cancel current operation and exit?") != MsgResult::Yes) return false;
  MarkExiting();
  imageChanged = false;
  CancelBatch();
  PostCommand(cmd::kExit);
  RunTransferCleanup();
  return false;
}

void Exit() {
  static bool running = false;
  if (running) return;
  running = true;
  UnloadCtl3d();
  LeaveFullScreen();
  shell.iconDocument.FreeImage();
  Options().SetTBarCaption(ToolbarCollapsed() ? 1 : 0);
  Options().SetTBarRight(ToolbarOnLeft() ? 0 : 1);
  MarkExiting();
  StopEngine();
  // Icon and cursors are shared resources of the module: dropping them is enough.
  shell.mainCursor = shell.pickCursor = nullptr;
  RestoreMenu();
  SaveWindowState();
  DestroyToolbar();
  FreeListBuffers();
  shell.dialogBrush.Reset();
  DestroyWindow(shell.mainWindow);
  ReleasePrinter();
}

}  // namespace quilla
