#include "harness.h"

#include <cstdio>

#include "menu_probe.h"

namespace quilla::gui {

namespace {
constexpr wchar_t kReplyClass[] = L"QuillaTestReply";

struct Reply {
  std::wstring text;
  bool received = false;
};

LRESULT CALLBACK ReplyWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) {
    auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    auto* reply = reinterpret_cast<Reply*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (reply && data->dwData == kMenuProbeTag && data->cbData >= sizeof(wchar_t)) {
      reply->text.assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t) - 1);
      reply->received = true;
    }
    return TRUE;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

Reply probeReply;

struct WindowSearch {
  DWORD pid;
  std::string className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == search->pid && IsWindowVisible(window) && ClassName(window) == search->className) {
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
  HWND window = CreateWindowW(kReplyClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&probeReply));
  return window;
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

void PumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  MSG msg;
  do {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (GetTickCount() - start < milliseconds);
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
  if (!CreateProcessW(Config().program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process_)) {
    return false;
  }
  // The first start in a fresh Wine prefix is slow.
  for (int i = 0; i < 600 && !mainWindow_ && Running(); ++i) {
    std::vector<HWND> found = Windows(L"QUILLA32");
    if (!found.empty()) mainWindow_ = found.front();
    else PumpFor(50);
  }
  return mainWindow_ != nullptr;
}

bool Program::Running() const { return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

bool Program::WaitForExit(DWORD milliseconds, DWORD* exitCode) {
  const DWORD start = GetTickCount();
  while (Running()) {
    if (GetTickCount() - start > milliseconds) return false;
    PumpFor(20);
  }
  if (exitCode) GetExitCodeProcess(process_.hProcess, exitCode);
  return true;
}

std::vector<HWND> Program::Windows(const std::wstring& className) const {
  WindowSearch search{process_.dwProcessId, Utf8(className), {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Program::WaitForDialog(DWORD milliseconds) const {
  const DWORD start = GetTickCount();
  do {
    std::vector<HWND> found = Windows(L"#32770");
    if (!found.empty()) return found.front();
    PumpFor(50);
  } while (GetTickCount() - start < milliseconds);
  return nullptr;
}

std::string Program::MessageText(HWND box) { return WindowText(GetDlgItem(box, 65535)); }

bool Program::Click(HWND dialog, int buttonId) {
  HWND button = GetDlgItem(dialog, buttonId);
  return button && PostMessageW(button, BM_CLICK, 0, 0);
}

bool Program::WaitClosed(HWND dialog, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (IsWindow(dialog) && IsWindowVisible(dialog)) {
    if (GetTickCount() - start > milliseconds) return false;
    PumpFor(20);
  }
  return true;
}

bool Program::Answer(HWND dialog, int buttonId) { return Click(dialog, buttonId) && WaitClosed(dialog, 5000); }

void Program::PostCommand(int number) const { PostMessageW(mainWindow_, WM_USER, WPARAM(number), 0); }
void Program::PostMenuCommand(int number) const { PostMessageW(mainWindow_, WM_COMMAND, WPARAM(number), 0); }

LRESULT Program::SendCommand(int number) const {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(mainWindow_, WM_USER, WPARAM(number), 0, SMTO_ABORTIFHUNG, 5000, &result);
  return LRESULT(result);
}

std::vector<MenuItem> Program::ReadMenu() {
  if (!hook_) {
    if (!probe_) probe_ = LoadLibraryW(Config().probeDll.c_str());
    auto proc = probe_ ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe_, "ProbeGetMessage"))) : nullptr;
    if (!proc) return {};
    hook_ = SetWindowsHookExW(WH_GETMESSAGE, proc, probe_, GetWindowThreadProcessId(mainWindow_, nullptr));
    if (!hook_) return {};
  }
  probeReply = Reply{};
  // The request queues behind everything posted so far, and the menu states are updated
  // after each of those messages.
  PostMessageW(mainWindow_, WM_NULL, 0, 0);
  PostMessageW(mainWindow_, RegisterWindowMessageW(kMenuProbeMessage), reinterpret_cast<WPARAM>(replyWindow_), 0);
  for (int i = 0; i < 500 && !probeReply.received; ++i) PumpFor(10);
  std::vector<MenuItem> items;
  if (!probeReply.received) return items;
  for (const std::string& line : Split(Utf8(probeReply.text), '\n')) {
    std::vector<std::string> f = Split(line, '|');
    if (f.size() < 4) continue;
    std::string text = f[3];
    for (size_t i = 4; i < f.size(); ++i) text += "|" + f[i];
    items.push_back({std::stoi(f[0]), std::stoi(f[1]), f[2], text});
  }
  return items;
}

bool Program::Settle() const {
  // A sent message is answered only once the program's thread is back in a message loop.
  DWORD_PTR result;
  PostMessageW(mainWindow_, WM_NULL, 0, 0);
  PumpFor(100);
  return SendMessageTimeoutW(mainWindow_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

bool Program::Screenshot(const std::string& name) const {
  RECT area{};
  bool any = false;
  for (const wchar_t* cls : {L"QUILLA32", L"#32770"}) {
    for (HWND window : Windows(cls)) {
      // Let a box that just opened finish painting.
      RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
      DWORD_PTR result;
      SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
      PumpFor(200);
      RECT r;
      GetWindowRect(window, &r);
      if (any) UnionRect(&area, &area, &r);
      else area = r;
      any = true;
    }
  }
  if (!any) return false;
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
  const DWORD start = GetTickCount();
  while (WindowText(window) != title) {
    if (GetTickCount() - start > milliseconds) return false;
    PumpFor(50);
  }
  return true;
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
