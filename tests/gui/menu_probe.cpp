// Loaded into quilla.exe by a WH_GETMESSAGE hook the GUI tests install on its thread:
// under Wine another process cannot read a window's menus, so this reads them from
// inside and sends the description back by WM_COPYDATA. The program itself knows
// nothing of it.
#include <windows.h>

#include <string>

#include "menu_probe.h"

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
}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeGetMessage(int code, WPARAM wParam, LPARAM lParam) {
  static const UINT probeMessage = RegisterWindowMessageW(kMenuProbeMessage);
  MSG* msg = reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == probeMessage) {
    std::wstring description;
    if (HMENU menu = GetMenu(msg->hwnd)) Describe(menu, 0, description);
    COPYDATASTRUCT data{kMenuProbeTag, DWORD((description.size() + 1) * sizeof(wchar_t)), description.data()};
    SendMessageW(reinterpret_cast<HWND>(msg->wParam), WM_COPYDATA, reinterpret_cast<WPARAM>(msg->hwnd),
                 reinterpret_cast<LPARAM>(&data));
    msg->message = WM_NULL;  // the program never sees the request
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
