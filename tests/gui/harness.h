// Drives one run of quilla.exe from outside, the way a user would see it: windows found by
// class and process, texts read with WM_GETTEXT, commands posted, message boxes read and
// answered, menus read through the menu probe, and screenshots of the program's windows.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "child_process.h"

namespace quilla::gui {

// The program title, as the window and every message box show it.
inline constexpr char kTitle[] = "Quilla 1.0/32";
// Asked by Cancel operation, and by the busy menu's item during a long operation.
inline constexpr char kCancelQuestion[] = "Are you sure you want to Cancel the operation?";

// The title of the main window showing an image: "name (WxHxcolours) - Quilla 1.0/32".
std::string ImageTitle(const std::string& file, int width, int height, const std::string& colours = "16.7 million");

// What File > Save asks before it writes the file (its name in lower case) as a BMP.
std::string BmpSaveQuestion(const std::wstring& file);

struct MenuItem {
  int depth = 0;
  int id = 0;             // 0 for a popup
  std::string flags;      // S separator, G greyed, C checked, P popup; "-" for none
  std::string text;
  bool Greyed() const { return flags.find('G') != std::string::npos; }
  bool Checked() const { return flags.find('C') != std::string::npos; }
  bool Popup() const { return flags.find('P') != std::string::npos; }
  bool Separator() const { return flags.find('S') != std::string::npos; }
};
// The item with the command id; null when there is none.
const MenuItem* FindItem(const std::vector<MenuItem>& items, int id);

// Set once by main() from the command line.
struct HarnessConfig {
  std::wstring program;       // Windows path of quilla.exe
  std::wstring probeDll;      // Windows path of the probe (probe.h)
  std::wstring screenshots;   // folder for the BMP captures
  std::wstring workDir;       // folder for the tests' files
};
HarnessConfig& Config();
// "/a/b" becomes "Z:\a\b" (Wine maps the Unix root to Z:); Windows paths stay.
std::wstring WindowsPath(const std::string& path);

std::string Utf8(const std::wstring& text);
std::string Lower(std::string text);
std::string WindowText(HWND window);
// Types the text into the dialog's control (WM_SETTEXT), all at once.
void SetItemText(HWND dialog, int id, const std::wstring& text);
std::string ClassName(HWND window);
// Whether the dialog's button is checked, and whether its control is enabled.
bool Checked(HWND dialog, int id);
bool Enabled(HWND dialog, int id);

class Program {
 public:
  Program();
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Starts quilla.exe, once, with QUILLA_INI = settingsPath and the given command-line
  // arguments, with the probe hooked into its thread, and waits for its main window.
  bool Start(const std::wstring& settingsPath, const std::wstring& arguments = L"");
  HWND MainWindow() const { return mainWindow_; }
  bool Running() const { return process_.Running(); }
  // Waits for the process to end; false on timeout.
  bool WaitForExit(DWORD milliseconds, DWORD* exitCode = nullptr) const {
    return process_.WaitForExit(milliseconds, exitCode);
  }
  // Closes the main window, as its close box does.
  void PostClose() const { PostMessageW(mainWindow_, WM_CLOSE, 0, 0); }
  // Closes the main window and waits for the process to end.
  bool Close() const {
    PostClose();
    return WaitForExit(10000);
  }

  // Visible (or all) top-level windows of the program with the given class ("#32770" for
  // message boxes and dialogs), newest first.
  std::vector<HWND> Windows(const std::wstring& className, bool visibleOnly = true) const;
  // Waits for a dialog ("#32770") of the program other than `besides` (a message box over
  // that one), the newest; null on timeout.
  HWND WaitForDialog(DWORD milliseconds = 8000, HWND besides = nullptr) const;
  // Chooses the menu command and waits for the dialog it shows; null when none comes.
  HWND ShowDialog(int command) const {
    PostMenuCommand(command);
    return WaitForDialog();
  }
  // A dialog or message box of the program, shown or still about to be (a modal box shows
  // when its loop first finds the queue empty); null when there is none.
  HWND AnyDialog() const;
  static std::string MessageText(HWND box);
  // Presses a button of a dialog; false when it has no such button.
  static bool Click(HWND dialog, int buttonId);
  // Presses the button and waits until the dialog has gone; false if it stays.
  static bool Answer(HWND dialog, int buttonId);
  static bool WaitClosed(HWND dialog, DWORD milliseconds = 5000);
  // Presses the button and lets the program handle it.
  bool Press(HWND dialog, int buttonId) const { return Click(dialog, buttonId) && Settle(); }

  void PostCommand(int number) const;   // WM_USER with the number
  void PostMenuCommand(int number) const;  // WM_COMMAND, as a menu click sends it
  LRESULT SendCommand(int number) const;
  // Clicks the item of the busy menu as soon as an operation shows it (probe.h).
  void ClickBusyMenuWhenShown() const;
  // Drops the files (Windows paths) on the window, the main window by default, as the
  // shell does (probe.h).
  void DropFiles(const std::vector<std::wstring>& paths, HWND target = nullptr) const;

  // Waits until the program has handled everything posted so far, and what that posted in
  // turn, and has painted; false when it is still busy after the time.
  bool Settle(DWORD milliseconds = 10000) const;
  // The main window's menu bar, read inside the program.
  std::vector<MenuItem> ReadMenu() const;
  // The screen position of the main window's client area.
  POINT ClientOrigin() const;
  // Repaints the program's visible windows and, once it has settled, saves them as
  // screenshots/<name>.bmp (the part on the screen).
  bool Screenshot(const std::string& name) const;

 private:
  void PostRequest(const wchar_t* request, LPARAM lParam) const;

  ChildProcess process_;
  HWND mainWindow_ = nullptr;
  HWND replyWindow_ = nullptr;
  HMODULE probe_ = nullptr;
  HHOOK hook_ = nullptr;
};

// Fails the test when a dialog or message box is up once the program has settled.
void ExpectNoDialog(const Program& program);

// Waits until done() holds, handling the caller's messages meanwhile (so the probe's
// answers arrive); false when it still doesn't after `milliseconds`.
bool WaitFor(const std::function<bool()>& done, DWORD milliseconds);
// Waits until the window's title reads `title`.
bool WaitForTitle(HWND window, const std::string& title, DWORD milliseconds);
// The whole file's bytes; empty when it can't be read.
std::string ReadFileBytes(const std::wstring& path);

// Runs quilla-cli.exe from beside quilla.exe and waits for it.
RunResult RunCli(const std::wstring& arguments);
// Presses a mouse button at `from` (screen coordinates), moves to `to` in a few steps and
// releases it there, through the system's input queue, letting the program settle after
// each step; false when it stays busy.
bool DragMouse(const Program& program, POINT from, POINT to, bool rightButton = false);
// Presses keys through the system's input queue: each entry is a virtual key, pressed in
// order and released in reverse.
void PressKeys(const std::vector<WORD>& keys);

}  // namespace quilla::gui
