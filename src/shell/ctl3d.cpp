#include "shell/ctl3d.h"

#include <windows.h>

#include <string>

#include "core/messages.h"
#include "settings/app_options.h"
#include "shell/shell_state.h"
#include "shell/utf.h"

namespace quilla {

namespace {
using Ctl3dCall = BOOL(WINAPI*)(HINSTANCE);
HMODULE library = nullptr;

bool OlderThan390() {
  const DWORD version = GetVersion();
  const unsigned major = LOBYTE(LOWORD(version)), minor = HIBYTE(LOWORD(version));
  return major < 3 || (major == 3 && minor < 90);
}

Ctl3dCall Entry(const char* name) { return reinterpret_cast<Ctl3dCall>(reinterpret_cast<void*>(GetProcAddress(library, name))); }
}  // namespace

bool LoadCtl3dWhereNeeded() {
  if (!OlderThan390()) return true;
  wchar_t systemDir[MAX_PATH] = L"";
  GetSystemDirectoryW(systemDir, MAX_PATH);
  const std::string name = Options().CTL3D32();
  const std::wstring path = std::wstring(systemDir) + L"\\" + Widen(name);
  library = LoadLibraryW(path.c_str());
  Ctl3dCall registerCall = library ? Entry("Ctl3dRegister") : nullptr;
  Ctl3dCall autoSubclass = library ? Entry("Ctl3dAutoSubclass") : nullptr;
  if (!registerCall || !autoSubclass) {
    if (library) FreeLibrary(library);
    library = nullptr;
    ShowWarning("Cannot load %s! Please, make sure that this file is installed at %s", name.c_str(),
                Narrow(systemDir).c_str());
    return false;
  }
  registerCall(shell.instance);
  autoSubclass(shell.instance);
  return true;
}

bool Ctl3dLoaded() { return library != nullptr; }

void UnloadCtl3d() {
  if (!library) return;
  if (Ctl3dCall unregisterCall = Entry("Ctl3dUnregister")) unregisterCall(shell.instance);
  FreeLibrary(library);
  library = nullptr;
}

}  // namespace quilla
