// Memory Options (MemOptionsDlgProc, command 120): main memory only, or temporary files
// for the JPEG library in the directory given.
#include "resources/options_dialog_ids.h"
#include "resources/resource_ids.h"
#include "shell/dialog_support.h"
#include "shell/dialogs.h"
#include "shell/memory_dialog_rules.h"
#include "shell/shell_state.h"

namespace quilla {

namespace {
constexpr int kHelpContext = 66;

void Fill(HWND dialog, LPARAM) {
  const JpegMemoryOptions memory = CurrentJpegMemoryOptions();
  SetChecked(dialog, IDC_MEM_MAIN_ONLY, !memory.useTmpFiles);
  SetChecked(dialog, IDC_MEM_TMP_FILES, memory.useTmpFiles);
  SendDlgItemMessageW(dialog, IDC_MEM_TMP_PATH, EM_LIMITTEXT, kMemoryTmpPathChars, 0);
  SetControlText(dialog, IDC_MEM_TMP_PATH, memory.tmpPath);
}

bool CopyBack(HWND dialog) {
  StoreMemoryOptions(IsChecked(dialog, IDC_MEM_TMP_FILES), ControlText(dialog, IDC_MEM_TMP_PATH));
  return true;
}
}  // namespace

INT_PTR CALLBACK MemOptionsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const DialogPattern pattern{DialogKind::Small, kHelpContext, Fill, CopyBack, nullptr};
  INT_PTR result = FALSE;
  HandleDialogPattern(pattern, dialog, message, wParam, lParam, result);
  return result;
}

void ShowMemoryOptions() {
  DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_MEMORY_OPTIONS), shell.mainWindow, MemOptionsDlgProc, 0);
}

}  // namespace quilla
