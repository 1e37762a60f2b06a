// Loaded into quilla.exe by a WH_GETMESSAGE hook the GUI tests install on its thread: it
// answers the requests of probe.h from inside the program (under Wine another process
// cannot read a window's menus, nor tell whether a thread is idle). The program itself
// knows nothing of it.
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <string>

#include "probe.h"

namespace {
void Describe(HMENU menu, int depth, std::wstring& out) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = L"";
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 255;
    if (!GetMenuItemInfoW(menu, UINT(i), TRUE, &info)) continue;
    std::wstring flags;
    if (info.fType & MFT_SEPARATOR) flags += L'S';
    if (info.fState & MFS_GRAYED) flags += L'G';
    if (info.fState & MFS_CHECKED) flags += L'C';
    if (info.hSubMenu) flags += L'P';
    if (flags.empty()) flags = L"-";
    out += std::to_wstring(depth) + L'|' + std::to_wstring(info.hSubMenu ? 0 : info.wID) + L'|' + flags + L'|' + text + L'\n';
    if (info.hSubMenu) Describe(info.hSubMenu, depth + 1, out);
  }
}

void Reply(HWND to, HWND from, unsigned long tag, const void* data, DWORD size) {
  COPYDATASTRUCT copy{tag, size, const_cast<void*>(data)};
  SendMessageW(to, WM_COPYDATA, reinterpret_cast<WPARAM>(from), reinterpret_cast<LPARAM>(&copy));
}

// The command of the busy menu's one item when the window shows that menu, else 0.
UINT BusyMenuCommand(HWND window) {
  HMENU menu = GetMenu(window);
  if (!menu || GetMenuItemCount(menu) != 1 || GetSubMenu(menu, 0)) return 0;
  const UINT id = GetMenuItemID(menu, 0);
  return id == UINT(-1) ? 0 : id;
}

// The requests waiting for their moment. They are looked at when their own message is
// taken and again on a short thread timer, whose message comes only when nothing else is
// queued.
struct Pending {
  HWND mainWindow = nullptr;
  HWND settleReply = nullptr;
  LPARAM settleNumber = 0;
  bool idleBefore = false;
  bool busyClick = false;
  UINT_PTR timer = 0;
  // The stack address of the shallowest message loop seen: the program's own loop. A
  // loop deeper down runs inside a message handler.
  std::uintptr_t outermost = 0;
} pending;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  wchar_t name[16] = L"";
  GetClassNameW(window, name, 16);
  if (IsWindowVisible(window) && lstrcmpW(name, L"#32770") == 0) *reinterpret_cast<bool*>(found) = true;
  return TRUE;
}

// A dialog or message box on the screen: the loop taking messages is its modal loop, which
// waits for the user.
bool DialogShown() {
  bool found = false;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

bool Idle(std::uintptr_t here) {
  constexpr UINT kWork = QS_POSTMESSAGE | QS_SENDMESSAGE | QS_INPUT | QS_PAINT | QS_HOTKEY;
  if (HIWORD(GetQueueStatus(QS_ALLINPUT)) & kWork) return false;
  return here >= pending.outermost || DialogShown();
}

// Answers what can be answered now; msg is the thread's message of a request or of the
// timer, which the program would take for nothing, or for the click.
void Serve(MSG* msg, std::uintptr_t here) {
  msg->message = WM_NULL;
  if (pending.busyClick) {
    if (const UINT command = BusyMenuCommand(pending.mainWindow)) {
      pending.busyClick = false;
      *msg = MSG{pending.mainWindow, WM_COMMAND, command, 0, msg->time, msg->pt};
      return;  // the click is handled first; Settle waits for it
    }
  }
  // Idle at two looks in a row, with a wait for the timer between them: while a thread
  // waits for messages, Wine puts what it painted on the screen.
  if (pending.settleReply) {
    const bool idle = Idle(here);
    if (idle && pending.idleBefore) {
      const LPARAM number = pending.settleNumber;
      const HWND to = pending.settleReply;
      pending.settleReply = nullptr;
      Reply(to, pending.mainWindow, kSettleTag, &number, sizeof number);
    }
    pending.idleBefore = idle && pending.settleReply;
  }
  const bool waiting = pending.busyClick || pending.settleReply;
  if (waiting && !pending.timer) pending.timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, nullptr);
  if (!waiting && pending.timer) {
    KillTimer(nullptr, pending.timer);
    pending.timer = 0;
  }
}
// The shell's block for a drop of the names listed in the file the atom names.
HGLOBAL DropBlock(ATOM atom) {
  wchar_t path[MAX_PATH] = L"";
  GlobalGetAtomNameW(atom, path, MAX_PATH);
  GlobalDeleteAtom(atom);
  std::wstring names;
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    wchar_t buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got) names.append(buffer, got / sizeof(wchar_t));
    CloseHandle(file);
  }
  for (wchar_t& c : names) {
    if (c == L'\n') c = L'\0';
  }
  names += L'\0';
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + (names.size() + 1) * sizeof(wchar_t));
  if (!block) return nullptr;
  auto* header = static_cast<DROPFILES*>(GlobalLock(block));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  CopyMemory(header + 1, names.data(), names.size() * sizeof(wchar_t));
  GlobalUnlock(block);
  return block;
}
}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeGetMessage(int code, WPARAM wParam, LPARAM lParam) {
  static const UINT menuRequest = RegisterWindowMessageW(kMenuRequest);
  static const UINT settleRequest = RegisterWindowMessageW(kSettleRequest);
  static const UINT busyClickRequest = RegisterWindowMessageW(kBusyClickRequest);
  static const UINT dropRequest = RegisterWindowMessageW(kDropRequest);
  MSG* msg = reinterpret_cast<MSG*>(lParam);
  if (code != HC_ACTION || wParam != PM_REMOVE) return CallNextHookEx(nullptr, code, wParam, lParam);
  const auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
  if (here > pending.outermost) pending.outermost = here;
  const UINT message = msg->message;
  if (message == menuRequest) {
    std::wstring description;
    if (HMENU menu = GetMenu(msg->hwnd)) Describe(menu, 0, description);
    Reply(reinterpret_cast<HWND>(msg->wParam), msg->hwnd, kMenuTag, description.data(),
          DWORD((description.size() + 1) * sizeof(wchar_t)));
  } else if (message == settleRequest) {
    pending.mainWindow = msg->hwnd;
    pending.settleReply = reinterpret_cast<HWND>(msg->wParam);
    pending.settleNumber = msg->lParam;
    pending.idleBefore = false;
  } else if (message == busyClickRequest) {
    pending.mainWindow = msg->hwnd;
    pending.busyClick = true;
  } else if (message == dropRequest) {
    *msg = MSG{msg->hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(DropBlock(ATOM(msg->lParam))), 0, msg->time, msg->pt};
  }
  const bool ours = message == menuRequest || message == settleRequest || message == busyClickRequest ||
                    (message == WM_TIMER && !msg->hwnd && pending.timer && msg->wParam == pending.timer);
  if (ours) Serve(msg, here);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
