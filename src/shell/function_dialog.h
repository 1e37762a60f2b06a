// Edit Function Definition (NewFuncDlgProc), the editor of one user function, and the message
// a curve computed from a function shows when it fails.
#pragma once
#include <windows.h>

#include <string>

#include "retouch/function_curve.h"

namespace quilla {

INT_PTR CALLBACK NewFuncDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Opens the dialog on the text. On OK true, with the new text: it compiles and evaluates over
// the whole curve, and its blanks are gone.
bool EditFunctionDefinition(HWND owner, std::string& text);

// The evaluator's message, or "Not enough memory !", for a curve that was not computed;
// nothing for one that was.
void ShowCurveFailure(HWND owner, const CurveResult& result);

}  // namespace quilla
