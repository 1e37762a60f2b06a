// Starts the GUI tests: where quilla.exe, the probe and the screenshots are, and the Wine
// settings that let the screenshots show the windows' frames.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "harness.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  using quilla::gui::Config;
  using quilla::gui::WindowsPath;
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring here(self);
  here.resize(here.find_last_of(L'\\'));
  Config().probeDll = here + L"\\quilla_probe.dll";
  Config().screenshots = here + L"\\screenshots";
  Config().workDir = here;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](const char* key) { return arg.rfind(key, 0) == 0 ? WindowsPath(arg.substr(strlen(key))) : L""; };
    if (arg.rfind("--program=", 0) == 0) Config().program = value("--program=");
    if (arg.rfind("--screenshots=", 0) == 0) Config().screenshots = value("--screenshots=");
  }
  if (Config().program.empty()) {
    std::fprintf(stderr, "usage: quilla_gui_tests --program=PATH-OF-quilla.exe [--screenshots=DIR]\n");
    return 2;
  }
  CreateDirectoryW(Config().screenshots.c_str(), nullptr);
  // Without a window manager Wine leaves the frames and captions undrawn; asking it to
  // draw them itself, for quilla.exe only, makes the screenshots show the titles.
  HKEY key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\quilla.exe\\X11 Driver", 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
    RegSetValueExW(key, L"Decorated", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"N"), 2 * sizeof(wchar_t));
    RegSetValueExW(key, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"N"), 2 * sizeof(wchar_t));
    RegCloseKey(key);
  }
  return RUN_ALL_TESTS();
}
