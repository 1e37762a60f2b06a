// On Windows the command line arrives in UTF-16; the engine takes UTF-8 names, so file
// names in any script reach it intact.
#include <windows.h>

#include <string>
#include <vector>

namespace quilla::cli {
int Main(int argc, char** argv);
}

static std::string Utf8(const wchar_t* text) {
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(bytes > 0 ? size_t(bytes - 1) : 0, '\0');
  if (bytes > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), bytes, nullptr, nullptr);
  return out;
}

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args(static_cast<size_t>(argc));
  for (int i = 0; i < argc; ++i) args[size_t(i)] = Utf8(argv[i]);
  std::vector<char*> pointers;
  for (std::string& arg : args) pointers.push_back(arg.data());
  pointers.push_back(nullptr);
  return quilla::cli::Main(argc, pointers.data());
}
