// The text is accepted only when it can make a whole curve: it compiles with the variable "x"
// and evaluates at every x = i / 255, the same computation Interactive RGB then runs.
#include "shell/function_dialog.h"

#include "core/messages.h"
#include "resources/resource_ids.h"
#include "resources/retouch_dialog_ids.h"
#include "retouch/expr_evaluator.h"
#include "settings/list_records.h"
#include "shell/dialog_support.h"
#include "shell/shell_state.h"

namespace quilla {

namespace {

constexpr int kHelpTopic = 61;

std::string* editing = nullptr;  // the dialog is modal: one text at a time

void Fill(HWND dialog, LPARAM init) {
  editing = reinterpret_cast<std::string*>(init);
  SendDlgItemMessageW(dialog, IDC_FUNCTION_TEXT, EM_LIMITTEXT, kMaxFunctionText, 0);
  SetControlText(dialog, IDC_FUNCTION_TEXT, *editing);
}

bool CopyBack(HWND dialog) {
  std::string text = ControlText(dialog, IDC_FUNCTION_TEXT);
  TransferTable trial{};
  const CurveResult result = ComputeFunctionCurve(text, trial);
  if (result.outcome != CurveOutcome::Computed) {
    ShowCurveFailure(dialog, result);
    return false;
  }
  *editing = text;
  return true;
}

}  // namespace

INT_PTR CALLBACK NewFuncDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const DialogPattern pattern{DialogKind::Small, kHelpTopic, Fill, CopyBack, nullptr};
  INT_PTR result = FALSE;
  return HandleDialogPattern(pattern, dialog, message, wParam, lParam, result) ? result : FALSE;
}

bool EditFunctionDefinition(HWND owner, std::string& text) {
  const INT_PTR answer = DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_EDIT_FUNCTION), owner, NewFuncDlgProc,
                                         reinterpret_cast<LPARAM>(&text));
  editing = nullptr;
  return answer == IDOK;
}

void ShowCurveFailure(HWND owner, const CurveResult& result) {
  if (result.outcome == CurveOutcome::NoMemory) ShowNoMemory(owner);
  if (result.outcome == CurveOutcome::NotCompiled || result.outcome == CurveOutcome::NotEvaluated)
    ShowWarningOwned(owner, "%s", ExprEvaluator::ErrorText(result.error));
}

}  // namespace quilla
