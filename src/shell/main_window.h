// The main window: its classes, its creation and its window procedure.
#pragma once
#include <windows.h>

namespace quilla {

inline constexpr wchar_t kMainClass[] = L"QUILLA32";
inline constexpr wchar_t kFullScreenClass[] = L"QuillaFull32";

bool RegisterMainClass();
bool RegisterFullScreenClass();
// At (10, 10), 300 x 300, titled with the program title; null on failure.
HWND CreateMainWindow();

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace quilla
