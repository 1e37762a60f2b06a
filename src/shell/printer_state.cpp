// The printer kept for the whole run: the print dialog record's device mode and device names
// (movable global blocks) and the printer's device context, with the print-setup dialog that
// changes them.
#include "shell/printing.h"  // first: the Windows headers, in their order

#include <dlgs.h>
#include <winspool.h>

#include "shell/file_dialogs.h"
#include "shell/gdi.h"
#include "shell/help.h"
#include "shell/shell_state.h"

namespace quilla {

namespace {
constexpr int kSetupHelpContext = 16;
constexpr int kSetupButton = 23;

struct PrinterState {
  GlobalBlock devMode, devNames;
  CreatedDC dc;
};
PrinterState printer;

// Runs the common dialog on the kept blocks, which it may reallocate: they are handed
// over for the call and taken back from the record afterwards.
bool RunPrintDialog(PRINTDLGW& record) {
  record.lStructSize = sizeof record;
  record.hDevMode = printer.devMode.Release();
  record.hDevNames = printer.devNames.Release();
  const bool ok = PrintDlgW(&record) != FALSE;
  printer.devMode.Reset(record.hDevMode);
  printer.devNames.Reset(record.hDevNames);
  return ok;
}

UINT_PTR CALLBACK PrintSetupHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      // A template with a control 23 has it as a plain push button, first in the tab order.
      if (HWND button = GetDlgItem(dialog, kSetupButton)) {
        SendMessageW(button, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        SetWindowPos(button, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      }
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == kHelpDialogCommand || LOWORD(wParam) == pshHelp) {
        ShowHelpTopic(kSetupHelpContext);
        return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}
}  // namespace

void InitPrinter() {
  // Without a default printer the dialog would fail, and Wine keeps a failed common dialog's
  // error for the next one to report: the open dialog's Cancel would show it.
  DWORD length = 0;
  GetDefaultPrinterW(nullptr, &length);
  if (length == 0) return;
  PRINTDLGW record{};
  record.hwndOwner = shell.mainWindow;
  record.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
  if (RunPrintDialog(record)) printer.dc.Reset(record.hDC);
}

void ReleasePrinter() {
  printer.dc.Reset();
  printer.devMode.Reset();
  printer.devNames.Reset();
}

bool PrinterSetup(HWND owner, bool returnDC) {
  PRINTDLGW record{};
  record.hwndOwner = owner;
  record.Flags = PD_PRINTSETUP | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIES | PD_ENABLESETUPHOOK |
                 PD_SHOWHELP | (returnDC ? PD_RETURNDC : 0);
  record.lpfnSetupHook = PrintSetupHookProc;
  const bool ok = RunPrintDialog(record);
  printer.dc.Reset(ok && returnDC ? record.hDC : nullptr);
  if (!ok) ShowCommDlgError();  // nothing for Cancel
  return ok;
}

HDC PrinterDC() {
  if (!printer.dc) {
    PrinterLock lock;
    if (lock.names) printer.dc.Reset(CreateDCW(lock.Driver(), lock.Device(), lock.Port(), nullptr));
  }
  return printer.dc.Get();
}

void DeletePrinterDC() { printer.dc.Reset(); }

PrinterLock::PrinterLock()
    : mode(printer.devMode ? static_cast<DEVMODEW*>(GlobalLock(printer.devMode.Get())) : nullptr),
      names(printer.devNames ? static_cast<const DEVNAMES*>(GlobalLock(printer.devNames.Get())) : nullptr) {}

PrinterLock::~PrinterLock() {
  if (mode) GlobalUnlock(printer.devMode.Get());
  if (names) GlobalUnlock(printer.devNames.Get());
}

// The names block holds offsets in characters from its start.
const wchar_t* PrinterLock::Driver() const { return reinterpret_cast<const wchar_t*>(names) + names->wDriverOffset; }
const wchar_t* PrinterLock::Device() const { return reinterpret_cast<const wchar_t*>(names) + names->wDeviceOffset; }
const wchar_t* PrinterLock::Port() const { return reinterpret_cast<const wchar_t*>(names) + names->wOutputOffset; }
bool PrinterLock::IsDefault() const { return (names->wDefault & DN_DEFAULTPRN) != 0; }

LRESULT OnPrinterSetup(LPARAM) {
  PrinterSetup(shell.mainWindow, true);
  return 0;
}

}  // namespace quilla
