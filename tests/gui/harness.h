// Drives one run of quilla.exe from outside, the way a user would see it: windows found by
// class and process, texts read with WM_GETTEXT, commands posted, message boxes read and
// answered, menus read through the menu probe, and screenshots of the program's windows.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace quilla::gui {

// The program title, as the window and every message box show it.
inline constexpr char kTitle[] = "Quilla 1.0/32";

struct MenuItem {
  int depth = 0;
  int id = 0;             // 0 for a popup
  std::string flags;      // S separator, G greyed, C checked, P popup; "-" for none
  std::string text;
  bool Greyed() const { return flags.find('G') != std::string::npos; }
  bool Popup() const { return flags.find('P') != std::string::npos; }
  bool Separator() const { return flags.find('S') != std::string::npos; }
};

// Set once by main() from the command line.
struct HarnessConfig {
  std::wstring program;       // Windows path of quilla.exe
  std::wstring probeDll;      // Windows path of the probe (probe.h)
  std::wstring screenshots;   // folder for the BMP captures
  std::wstring workDir;       // folder for the tests' settings files
};
HarnessConfig& Config();
// "/a/b" becomes "Z:\a\b" (Wine maps the Unix root to Z:); Windows paths stay.
std::wstring WindowsPath(const std::string& path);

std::string Utf8(const std::wstring& text);
std::string WindowText(HWND window);
std::string ClassName(HWND window);

class Program {
 public:
  Program();
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Starts quilla.exe with QUILLA_INI = settingsPath and the given command-line
  // arguments, with the probe hooked into its thread, and waits for its main window.
  bool Start(const std::wstring& settingsPath, const std::wstring& arguments = L"");
  HWND MainWindow() const { return mainWindow_; }
  DWORD ProcessId() const { return process_.dwProcessId; }
  bool Running() const;
  // Waits for the process to end; false on timeout.
  bool WaitForExit(DWORD milliseconds, DWORD* exitCode = nullptr);

  // Visible top-level windows of the program with the given class ("#32770" for message
  // boxes and dialogs), newest first.
  std::vector<HWND> Windows(const std::wstring& className) const;
  // Waits for a dialog ("#32770") of the program; null on timeout.
  HWND WaitForDialog(DWORD milliseconds) const;
  // A dialog or message box of the program, shown or still about to be (a modal box shows
  // when its loop first finds the queue empty); null when there is none.
  HWND AnyDialog() const;
  // Text of a message box: its static control 65535.
  static std::string MessageText(HWND box);
  // Presses a button of a dialog; false when it has no such button.
  static bool Click(HWND dialog, int buttonId);
  // Presses the button and waits until the dialog has gone; false if it stays.
  static bool Answer(HWND dialog, int buttonId);
  static bool WaitClosed(HWND dialog, DWORD milliseconds);
  // Presses the button and lets the program handle it.
  bool Press(HWND dialog, int buttonId) const { return Click(dialog, buttonId) && Settle(); }

  void PostCommand(int number) const;   // WM_USER with the number
  void PostMenuCommand(int number) const;  // WM_COMMAND, as a menu click sends it
  LRESULT SendCommand(int number) const;
  // Clicks the item of the busy menu as soon as an operation shows it (probe.h).
  void ClickBusyMenuWhenShown() const;

  // Waits until the program has handled everything posted so far, and what that posted in
  // turn, and has painted; false when it is still busy after the time.
  bool Settle(DWORD milliseconds = 10000) const;
  // The main window's menu bar, read inside the program.
  std::vector<MenuItem> ReadMenu() const;
  // Repaints the program's visible windows and, once it has settled, saves them as
  // screenshots/<name>.bmp (the part on the screen).
  bool Screenshot(const std::string& name) const;

 private:
  void PostRequest(const wchar_t* request, LPARAM lParam) const;

  PROCESS_INFORMATION process_{};
  HWND mainWindow_ = nullptr;
  HWND replyWindow_ = nullptr;
  HMODULE probe_ = nullptr;
  HHOOK hook_ = nullptr;
};

// Fails the test when a dialog or message box is up once the program has settled.
void ExpectNoDialog(const Program& program);

// Writes a 24-bit BMP whose pixel (x, y) is colour(x, y) as 0x00RRGGBB.
bool WriteTestBmp(const std::wstring& path, int width, int height, unsigned (*colour)(int x, int y));
// The colour of a screen pixel as 0x00RRGGBB.
unsigned ScreenPixel(int x, int y);

// Waits until done() holds, handling the caller's messages meanwhile (so the probe's
// answers arrive); false when it still doesn't after `milliseconds`.
bool WaitFor(const std::function<bool()>& done, DWORD milliseconds);
// Waits until the window's title reads `title`.
bool WaitForTitle(HWND window, const std::string& title, DWORD milliseconds);
// The whole file's bytes; empty when it can't be read.
std::string ReadFileBytes(const std::wstring& path);

struct CliResult {
  DWORD exitCode = DWORD(-1);
  std::string output;  // what it printed on either stream, without the last line break
};
// Runs quilla-cli.exe from beside quilla.exe and waits for it.
CliResult RunCli(const std::wstring& arguments);
// Presses keys through the system's input queue: each entry is a virtual key, pressed in
// order and released in reverse.
void PressKeys(const std::vector<WORD>& keys);

}  // namespace quilla::gui
