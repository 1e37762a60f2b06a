#include "shell/help.h"

#include <windows.h>
#include <shellapi.h>

#include "core/messages.h"
#include "shell/shell_state.h"
#include "shell/utf.h"

namespace quilla {

namespace {
bool helpUsed = false;

struct TopicPage {
  int topic;
  const wchar_t* page;
};
constexpr TopicPage kPages[] = {
    {kHelpOpenDialog, L"open-save.html"}, {kHelpSaveDialog, L"open-save.html"},
    {kHelpDeviceCaps, L"devcaps.html"},   {42, L"options.html"},
    {55, L"options.html"},
    {27, L"slideshow.html"},
    {39, L"contact-sheet.html"}, {78, L"contact-sheet.html"},
};

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = L"";
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  size_t slash = folder.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1);
}
}  // namespace

const wchar_t* HelpPageOf(int topic) {
  for (const TopicPage& entry : kPages) {
    if (entry.topic == topic) return entry.page;
  }
  return L"index.html";
}

std::wstring HelpFile() { return ProgramFolder() + L"help\\index.html"; }

bool ShowHelpTopic(int topic) {
  const std::wstring page = ProgramFolder() + L"help\\" + HelpPageOf(topic);
  if (GetFileAttributesW(page.c_str()) == INVALID_FILE_ATTRIBUTES) {
    ShowWarning("Cannot open:\n\n%s", Narrow(page).c_str());
    return false;
  }
  helpUsed = true;
  // ShellExecute answers above 32 on success.
  auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(shell.mainWindow, L"open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result <= 32) {
    ShowWarning("Cannot open:\n\n%s", Narrow(page).c_str());
    return false;
  }
  return true;
}

bool HelpWasUsed() { return helpUsed; }

}  // namespace quilla
