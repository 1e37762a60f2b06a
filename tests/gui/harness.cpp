#include "harness.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>

#include "bitmaps.h"
#include "control_ids.h"
#include "probe.h"

namespace quilla::gui {

namespace {
constexpr wchar_t kReplyClass[] = L"QuillaTestReply";

// What the probe answered last.
struct Replies {
  std::wstring menu;
  bool menuReceived = false;
  LPARAM settled = 0;  // number of the last settle request answered
} replies;

LRESULT CALLBACK ReplyWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) {
    auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (data->dwData == kMenuTag && data->cbData >= sizeof(wchar_t)) {
      replies.menu.assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t) - 1);
      replies.menuReceived = true;
    } else if (data->dwData == kSettleTag && data->cbData == sizeof(LPARAM)) {
      replies.settled = *static_cast<const LPARAM*>(data->lpData);
    }
    return TRUE;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// Handles the caller's messages, waiting up to the time for one to come.
void Pump(DWORD milliseconds) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_ALLINPUT);
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

struct WindowSearch {
  DWORD pid;
  std::string className;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == search->pid && (!search->visibleOnly || IsWindowVisible(window)) && ClassName(window) == search->className) {
    search->found.push_back(window);
  }
  return TRUE;
}

HWND CreateReplyWindow() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ReplyWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kReplyClass;
    registered = RegisterClassW(&wc) != 0;
  }
  return CreateWindowW(kReplyClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == separator) {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

}  // namespace

HarnessConfig& Config() {
  static HarnessConfig config;
  return config;
}

std::wstring WindowsPath(const std::string& path) {
  std::wstring wide(path.begin(), path.end());
  if (wide.empty() || wide[0] != L'/') return wide;
  for (wchar_t& c : wide) {
    if (c == L'/') c = L'\\';
  }
  return L"Z:" + wide;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string Lower(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string ImageTitle(const std::string& file, int width, int height, const std::string& colours) {
  return file + " (" + std::to_string(width) + "x" + std::to_string(height) + "x" + colours + ") - " + kTitle;
}

std::string BmpSaveQuestion(const std::wstring& file) {
  return "Save this image to file:\n\n" + Lower(Utf8(file)) + "\n\nin Windows BMP format?";
}

const MenuItem* FindItem(const std::vector<MenuItem>& items, int id) {
  for (const MenuItem& item : items) {
    if (item.id == id) return &item;
  }
  return nullptr;
}

// WM_GETTEXT, not GetWindowText: the latter may give a stale caption across processes.
std::string WindowText(HWND window) {
  wchar_t text[1024] = L"";
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &length)) return {};
  return Utf8(std::wstring(text, length));
}

void SetItemText(HWND dialog, int id, const std::wstring& text) {
  DWORD_PTR result;
  SendMessageTimeoutW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                      5000, &result);
}

bool Checked(HWND dialog, int id) {
  DWORD_PTR state = 0;
  SendMessageTimeoutW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
  return state == BST_CHECKED;
}

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != 0; }

std::string ClassName(HWND window) {
  wchar_t name[256] = L"";
  int n = GetClassNameW(window, name, 256);
  return Utf8(std::wstring(name, size_t(n > 0 ? n : 0)));
}

bool WaitFor(const std::function<bool()>& done, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > milliseconds) return false;
    Pump(10);
  }
  return true;
}

void PressKeys(const std::vector<WORD>& keys) {
  std::vector<INPUT> inputs(2 * keys.size());
  for (size_t i = 0; i < keys.size(); ++i) {
    INPUT &down = inputs[i], &up = inputs[inputs.size() - 1 - i];
    down.type = up.type = INPUT_KEYBOARD;
    down.ki.wVk = up.ki.wVk = keys[i];
    up.ki.dwFlags = KEYEVENTF_KEYUP;
  }
  SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool DragMouse(const Program& program, POINT from, POINT to, bool rightButton) {
  auto button = [&](bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = rightButton ? (down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP)
                                   : (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    SendInput(1, &input, sizeof input);
    return program.Settle();
  };
  SetCursorPos(from.x, from.y);
  if (!program.Settle() || !button(true)) return false;
  constexpr int kSteps = 4;
  for (int step = 1; step <= kSteps; ++step) {
    SetCursorPos(from.x + (to.x - from.x) * step / kSteps, from.y + (to.y - from.y) * step / kSteps);
    if (!program.Settle()) return false;
  }
  return button(false);
}

Program::Program() : replyWindow_(CreateReplyWindow()) {}

Program::~Program() {
  if (hook_) UnhookWindowsHookEx(hook_);
  if (probe_) FreeLibrary(probe_);
  if (replyWindow_) DestroyWindow(replyWindow_);
}

bool Program::Start(const std::wstring& settingsPath, const std::wstring& arguments) {
  SetEnvironmentVariableW(L"QUILLA_INI", settingsPath.c_str());
  if (!process_.Start(Config().program, arguments, true)) return false;
  // Hooked before it runs, the probe sees the program's own message loop from its first
  // message on.
  if (!probe_) probe_ = LoadLibraryW(Config().probeDll.c_str());
  auto proc = probe_ ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe_, "ProbeGetMessage"))) : nullptr;
  if (proc) hook_ = SetWindowsHookExW(WH_GETMESSAGE, proc, probe_, process_.ThreadId());
  process_.Resume();
  if (!hook_) return false;
  // The first start in a fresh Wine prefix is slow.
  WaitFor([&] {
    std::vector<HWND> found = Windows(L"QUILLA32");
    if (!found.empty()) mainWindow_ = found.front();
    return mainWindow_ || !Running();
  }, 60000);
  return mainWindow_ != nullptr;
}

std::vector<HWND> Program::Windows(const std::wstring& className, bool visibleOnly) const {
  WindowSearch search{process_.Id(), Utf8(className), visibleOnly, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Program::WaitForDialog(DWORD milliseconds, HWND besides) const {
  HWND dialog = nullptr;
  WaitFor([&] {
    for (HWND window : Windows(L"#32770")) {
      if (window != besides) return (dialog = window) != nullptr;
    }
    return false;
  }, milliseconds);
  return dialog;
}

HWND Program::AnyDialog() const {
  WindowSearch search{process_.Id(), "#32770", false, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found.empty() ? nullptr : search.found.front();
}

void ExpectNoDialog(const Program& program) {
  EXPECT_TRUE(program.Settle()) << "the program stays busy";
  HWND box = program.AnyDialog();
  EXPECT_EQ(box, nullptr) << "unexpected box: " << (box ? Program::MessageText(box) : "");
}

std::string Program::MessageText(HWND box) { return WindowText(GetDlgItem(box, kMessageText)); }

bool Program::Click(HWND dialog, int buttonId) {
  HWND button = GetDlgItem(dialog, buttonId);
  return button && PostMessageW(button, BM_CLICK, 0, 0);
}

bool Program::WaitClosed(HWND dialog, DWORD milliseconds) {
  return WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, milliseconds);
}

bool Program::Answer(HWND dialog, int buttonId) { return Click(dialog, buttonId) && WaitClosed(dialog, 5000); }

void Program::PostCommand(int number) const { PostMessageW(mainWindow_, WM_USER, WPARAM(number), 0); }
void Program::PostMenuCommand(int number) const { PostMessageW(mainWindow_, WM_COMMAND, WPARAM(number), 0); }

LRESULT Program::SendCommand(int number) const {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(mainWindow_, WM_USER, WPARAM(number), 0, SMTO_ABORTIFHUNG, 5000, &result);
  return LRESULT(result);
}

void Program::PostRequest(const wchar_t* request, LPARAM lParam) const {
  PostMessageW(mainWindow_, RegisterWindowMessageW(request), reinterpret_cast<WPARAM>(replyWindow_), lParam);
}

void Program::ClickBusyMenuWhenShown() const { PostRequest(kBusyClickRequest, 0); }

void Program::DropFiles(const std::vector<std::wstring>& paths, HWND target) const {
  // Each drop has its own list file, so that one not yet read is never written over.
  static int drops = 0;
  wchar_t folder[MAX_PATH] = L"";
  GetTempPathW(MAX_PATH, folder);
  const std::wstring listPath = std::wstring(folder) + L"quilla-test-drop" + std::to_wstring(++drops) + L".txt";
  std::wstring names;
  for (const std::wstring& path : paths) names += path + L'\n';
  HANDLE file = CreateFileW(listPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, names.data(), DWORD(names.size() * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(file);
  PostMessageW(target ? target : mainWindow_, RegisterWindowMessageW(kDropRequest), 0,
               GlobalAddAtomW(listPath.c_str()));
}

std::vector<MenuItem> Program::ReadMenu() const {
  // The request queues behind everything posted so far, and the menu states are updated
  // after each of those messages.
  replies.menuReceived = false;
  PostRequest(kMenuRequest, 0);
  std::vector<MenuItem> items;
  if (!WaitFor([] { return replies.menuReceived; }, 5000)) return items;
  for (const std::string& line : Split(Utf8(replies.menu), '\n')) {
    std::vector<std::string> f = Split(line, '|');
    if (f.size() < 4) continue;
    std::string text = f[3];
    for (size_t i = 4; i < f.size(); ++i) text += "|" + f[i];
    items.push_back({std::stoi(f[0]), std::stoi(f[1]), f[2], text});
  }
  return items;
}

bool Program::Settle(DWORD milliseconds) const {
  static LPARAM lastAsked = 0;
  const LPARAM asked = ++lastAsked;
  PostRequest(kSettleRequest, asked);
  WaitFor([&] { return replies.settled == asked || !Running(); }, milliseconds);
  return replies.settled == asked;
}

bool Program::Screenshot(const std::string& name) const {
  std::vector<HWND> windows = Windows(L"QUILLA32");
  for (const wchar_t* other : {L"#32770", L"QuillaFull32", L"QuillaTools32", L"QuillaToolBarLegend32"}) {
    for (HWND window : Windows(other)) windows.push_back(window);
  }
  if (windows.empty()) return false;
  // Painted afresh, so the capture shows the program's present state.
  for (HWND window : windows) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  if (!Settle()) return false;
  RECT area;
  GetWindowRect(windows.front(), &area);
  for (HWND window : windows) {
    RECT r;
    GetWindowRect(window, &r);
    UnionRect(&area, &area, &r);
  }
  // A copy from the screen fails as a whole when it reaches past the screen's edges.
  const RECT onScreen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (!IntersectRect(&area, &area, &onScreen)) return false;
  const std::vector<unsigned> pixels = CaptureScreen(area);
  return !pixels.empty() && WriteBmp(Config().screenshots + L"\\" + std::wstring(name.begin(), name.end()) + L".bmp",
                                     area.right - area.left, area.bottom - area.top, pixels);
}

POINT Program::ClientOrigin() const {
  POINT origin{0, 0};
  ClientToScreen(mainWindow_, &origin);
  return origin;
}

bool WaitForTitle(HWND window, const std::string& title, DWORD milliseconds) {
  return WaitFor([&] { return WindowText(window) == title; }, milliseconds);
}

RunResult RunCli(const std::wstring& arguments) {
  const std::wstring& quilla = Config().program;
  return RunToEnd(quilla.substr(0, quilla.find_last_of(L'\\') + 1) + L"quilla-cli.exe", arguments, 120000);
}

std::string ReadFileBytes(const std::wstring& path) {
  std::string bytes;
  if (FILE* in = _wfopen(path.c_str(), L"rb")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, in)) > 0) bytes.append(buffer, n);
    fclose(in);
  }
  return bytes;
}

}  // namespace quilla::gui
