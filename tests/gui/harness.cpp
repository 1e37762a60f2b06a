#include "harness.h"

#include <gtest/gtest.h>

#include <cstdio>

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

bool WriteBmp(const std::wstring& path, int width, int height, const void* bits) {
  const DWORD stride = DWORD((width * 3 + 3) & ~3), size = stride * DWORD(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4d42;
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + size;
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (!out) return false;
  bool ok = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&info, sizeof info, 1, out) == 1 &&
            fwrite(bits, size, 1, out) == 1;
  return fclose(out) == 0 && ok;
}
}  // namespace

bool WriteTestBmp(const std::wstring& path, int width, int height, unsigned (*colour)(int x, int y)) {
  const size_t stride = size_t((width * 3 + 3) & ~3);
  std::vector<unsigned char> bits(stride * size_t(height));
  for (int y = 0; y < height; ++y) {
    unsigned char* row = bits.data() + size_t(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const unsigned c = colour(x, y);
      row[3 * x] = (unsigned char)(c & 0xFF);
      row[3 * x + 1] = (unsigned char)((c >> 8) & 0xFF);
      row[3 * x + 2] = (unsigned char)((c >> 16) & 0xFF);
    }
  }
  return WriteBmp(path, width, height, bits.data());
}

unsigned ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return unsigned(GetRValue(c)) << 16 | unsigned(GetGValue(c)) << 8 | GetBValue(c);
}

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

// WM_GETTEXT, not GetWindowText: the latter may give a stale caption across processes.
std::string WindowText(HWND window) {
  wchar_t text[1024] = L"";
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &length)) return {};
  return Utf8(std::wstring(text, length));
}

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
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    inputs.push_back(input);
  }
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = *it;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

Program::Program() : replyWindow_(CreateReplyWindow()) {}

Program::~Program() {
  if (hook_) UnhookWindowsHookEx(hook_);
  if (probe_) FreeLibrary(probe_);
  if (process_.hProcess) {
    if (Running()) {
      TerminateProcess(process_.hProcess, 1);
      WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  if (replyWindow_) DestroyWindow(replyWindow_);
}

bool Program::Start(const std::wstring& settingsPath, const std::wstring& arguments) {
  SetEnvironmentVariableW(L"QUILLA_INI", settingsPath.c_str());
  std::wstring commandLine = L"\"" + Config().program + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(Config().program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                      nullptr, &startup, &process_)) {
    return false;
  }
  // Hooked before it runs, the probe sees the program's own message loop from its first
  // message on.
  if (!probe_) probe_ = LoadLibraryW(Config().probeDll.c_str());
  auto proc = probe_ ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe_, "ProbeGetMessage"))) : nullptr;
  if (proc) hook_ = SetWindowsHookExW(WH_GETMESSAGE, proc, probe_, process_.dwThreadId);
  ResumeThread(process_.hThread);
  if (!hook_) return false;
  // The first start in a fresh Wine prefix is slow.
  WaitFor([&] {
    std::vector<HWND> found = Windows(L"QUILLA32");
    if (!found.empty()) mainWindow_ = found.front();
    return mainWindow_ || !Running();
  }, 60000);
  return mainWindow_ != nullptr;
}

bool Program::Running() const { return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

bool Program::WaitForExit(DWORD milliseconds, DWORD* exitCode) {
  if (!WaitFor([&] { return !Running(); }, milliseconds)) return false;
  if (exitCode) GetExitCodeProcess(process_.hProcess, exitCode);
  return true;
}

std::vector<HWND> Program::Windows(const std::wstring& className) const {
  WindowSearch search{process_.dwProcessId, Utf8(className), true, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Program::WaitForDialog(DWORD milliseconds) const {
  HWND dialog = nullptr;
  WaitFor([&] {
    std::vector<HWND> found = Windows(L"#32770");
    dialog = found.empty() ? nullptr : found.front();
    return dialog != nullptr;
  }, milliseconds);
  return dialog;
}

HWND Program::AnyDialog() const {
  WindowSearch search{process_.dwProcessId, "#32770", false, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found.empty() ? nullptr : search.found.front();
}

void ExpectNoDialog(const Program& program) {
  EXPECT_TRUE(program.Settle()) << "the program stays busy";
  HWND box = program.AnyDialog();
  EXPECT_EQ(box, nullptr) << "unexpected box: " << (box ? Program::MessageText(box) : "");
}

std::string Program::MessageText(HWND box) { return WindowText(GetDlgItem(box, 65535)); }

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
  for (HWND box : Windows(L"#32770")) windows.push_back(box);
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
  const int width = area.right - area.left, height = area.bottom - area.top;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  bool ok = bits && WriteBmp(Config().screenshots + L"\\" + std::wstring(name.begin(), name.end()) + L".bmp", width, height, bits);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

bool WaitForTitle(HWND window, const std::string& title, DWORD milliseconds) {
  return WaitFor([&] { return WindowText(window) == title; }, milliseconds);
}

CliResult RunCli(const std::wstring& arguments) {
  const std::wstring program =
      Config().program.substr(0, Config().program.find_last_of(L'\\') + 1) + L"quilla-cli.exe";
  std::wstring commandLine = L"\"" + program + L"\" " + arguments;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  CliResult result;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return {DWORD(-1), "(no pipe)"};
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = writeEnd;
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                      nullptr, nullptr, &startup, &process);
  CloseHandle(writeEnd);
  if (started) {
    char buffer[1024];
    DWORD n = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0) result.output.append(buffer, n);
    WaitForSingleObject(process.hProcess, 120000);
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  } else {
    result.output = "(quilla-cli did not start)";
  }
  CloseHandle(readEnd);
  while (!result.output.empty() && (result.output.back() == '\n' || result.output.back() == '\r'))
    result.output.pop_back();
  return result;
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
