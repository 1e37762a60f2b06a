// Start-up of the program, its message loop and the end of the run.
#include <windows.h>
#include <shellapi.h>

#include "core/commands.h"
#include "core/messages.h"
#include "core/progress.h"
#include "app/file_session.h"
#include "formats/engine.h"
#include "resources/resource_ids.h"
#include "settings/app_options.h"
#include "settings/settings_store.h"
#include "shell/command_table.h"
#include "shell/ctl3d.h"
#include "shell/dialogs.h"
#include "shell/display.h"
#include "shell/file_commands.h"
#include "shell/main_window.h"
#include "shell/printing.h"
#include "shell/scrolling.h"
#include "shell/selection_area.h"
#include "shell/shell_state.h"
#include "shell/toolbar.h"
#include "shell/utf.h"
#include "shell/win32_host.h"
#include "shell/window_layout.h"
#include "shell/window_title.h"

namespace quilla {

namespace {
// How the screen shows colours; the quantizing defaults depend on it.
DisplayMode DisplayModeOf(HDC screen) {
  if (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) return DisplayMode::Palette;
  return GetDeviceCaps(screen, BITSPIXEL) < 8 ? DisplayMode::SixteenColor : DisplayMode::TrueColor;
}

std::string WindowsDirectory() {
  wchar_t dir[MAX_PATH] = L"";
  UINT n = GetWindowsDirectoryW(dir, MAX_PATH);
  return n > 0 && n < MAX_PATH ? Narrow(dir) : std::string();
}

std::wstring CurrentDirectory() {
  wchar_t dir[MAX_PATH] = L"";
  GetCurrentDirectoryW(MAX_PATH, dir);
  return dir;
}

// The accelerators translate keys into commands; after each message the menu follows
// the document.
int RunMessageLoop() {
  MSG msg;
  BOOL got;
  while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
    if (got == -1) break;
    if (!shell.accelerators || !TranslateAcceleratorW(shell.mainWindow, shell.accelerators, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (!shell.fullScreenActive && !IsExiting()) {
      UpdateMenuStates();
      SyncButtonStates();
    }
  }
  return got == -1 ? 0 : int(msg.wParam);
}

// The options whose setters act on the window at once.
void InstallDisplayHooks() {
  OptionHooks hooks = Options().Hooks();
  hooks.scrollBarsChanged = [](int shown) {
    ShowScrollBars(shown != 0);
    if (shell.mainDocument.IsOperable()) FitWindow();
  };
  hooks.autoResizeSwitchedOn = [] { FitWindow(); };
  hooks.toolbarTimerAvailable = ToolbarTimerAvailable;
  Options().SetHooks(hooks);
}

// A piece of the start-up, released at the end of the scope when it was set up: after a
// later failure, in the reverse order of set-up. A run that ends through Exit has released
// everything in its own order already, so these releases find nothing left.
class ScopedSetUp {
 public:
  ScopedSetUp(bool setUp, void (*release)()) : release_(setUp ? release : nullptr) {}
  ~ScopedSetUp() {
    if (release_) release_();
  }
  ScopedSetUp(const ScopedSetUp&) = delete;
  ScopedSetUp& operator=(const ScopedSetUp&) = delete;
  explicit operator bool() const { return release_ != nullptr; }

 private:
  void (*release_)();
};

// Sets up the program and runs its message loop, whose result goes to status. A failure
// returns its message (nullptr when it was shown already); whatever was set up before it
// is released on the way out.
const char* SetUpAndRun(HINSTANCE instance, const wchar_t* commandLine, int showCommand, int& status) {
  shell.instance = instance;
  const ScopedSetUp ctl3d(LoadCtl3dWhereNeeded(), UnloadCtl3d);
  if (!ctl3d) return nullptr;
  shell.iconDocument.SetUndoEnabled(false);
  if (!RegisterMainClass()) return "Cannot register main window class";
  if (!RegisterFullScreenClass()) return "Cannot register utility window class";
  shell.appIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
  shell.mainCursor = LoadCursorW(instance, MAKEINTRESOURCEW(IDC_MAIN_CURSOR));
  shell.pickCursor = LoadCursorW(instance, MAKEINTRESOURCEW(IDC_PICK_CURSOR));
  shell.pickMode = false;
  shell.startingUp = true;
  shell.startDirectory = CurrentDirectory();
  CurrentFileSession().rememberedDirectory = Narrow(shell.startDirectory);
  SetMainDocument(&shell.mainDocument);
  SetSettingsWindowsDirectory(WindowsDirectory());

  const ScopedSetUp listBuffers(AllocateListBuffers() != 0, FreeListBuffers);
  if (!listBuffers) return kNoMemoryText;
  const Engine engine;
  if (!engine) return kNoMemoryText;

  if (!CreateMainWindow()) return "Cannot create main window";
  InitPaintHeaders();
  InitSelection();
  InitPrinter();
  {
    WindowDC screen(nullptr);
    Options().SetDisplayMode(DisplayModeOf(screen));
  }

  LoadAllSettings();
  shell.mainDocument.SetUndoEnabled(Options().EnableUndo() != 0);
  shell.mainDocument.SetFillRgb(GlobalFillRgb());
  ShowScrollBars(Options().ShowSBars() != 0);
  InstallDisplayHooks();
  const ScopedSetUp toolbar(CreateToolbar(instance, Options().TBarCaption() != 0, Options().TBarRight() == 0),
                            DestroyToolbar);
  if (!toolbar) return "Cannot create toolbar";

  DragAcceptFiles(shell.mainWindow, TRUE);
  CalibrateMenuWidths();
  shell.startingUp = false;
  FitWindow();
  UpdateTitle();
  ShowWindow(shell.mainWindow, showCommand);
  UpdateWindow(shell.mainWindow);
  MarkToolbarReady();
  SetAltGlyph29(Options().JpegDecompressionSetup() == kJpegPreview);
  const bool minimised = showCommand == SW_MINIMIZE || showCommand == SW_SHOWMINIMIZED || showCommand == SW_SHOWMINNOACTIVE;
  if (!minimised) ShowToolbar();

  shell.accelerators = LoadAcceleratorsW(instance, L"QuillaMainAccel");
  if (!shell.accelerators) ShowWarning("No accelerators");

  // The quantizing options are checked against the display; a change is saved at once.
  if (Options().AutoQuantize() && CheckQuantizingAgainstDisplay()) SaveAllSettings();

  KeepCommandLine(commandLine);
  if (HasPendingCommandLine()) PostCommand(cmd::kCommandLine);

  CreateDialogBrush();
  status = RunMessageLoop();
  return nullptr;
}

int Start(HINSTANCE instance, const wchar_t* commandLine, int showCommand) {
  int status = 0;
  // Shown only once everything set up before the failure has been released again.
  if (const char* failure = SetUpAndRun(instance, commandLine, showCommand, status)) ShowWarning("%s", failure);
  return status;
}
}  // namespace

}  // namespace quilla

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand) {
  static quilla::Win32Host host;
  quilla::InstallHost(&host);
  return quilla::Start(instance, commandLine, showCommand);
}
