// The Win32 layer speaks UTF-16; the rest of the program UTF-8.
#pragma once
#include <string>

namespace quilla {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);

}  // namespace quilla
