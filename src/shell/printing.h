// Printing: the printer chosen for the run (the print-setup common dialog), the Print and
// Printer Options dialogs, printing the main image on one page, and printing a batch.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

namespace quilla {

// Start-up: the default printer's device mode, names and device context, fetched without
// showing anything (no printer leaves the state empty).
void InitPrinter();
// Exit: the device context and both blocks are given back.
void ReleasePrinter();
// The print-setup common dialog; true when the user confirmed. The device context held
// before is deleted; with returnDC the dialog makes the new one.
bool PrinterSetup(HWND owner, bool returnDC);

// The printer chosen: its device mode (its print-quality fields) and names, locked while
// the owner lives; null members without a printer.
class PrinterLock {
 public:
  PrinterLock();
  ~PrinterLock();
  PrinterLock(const PrinterLock&) = delete;
  PrinterLock& operator=(const PrinterLock&) = delete;
  DEVMODEW* mode = nullptr;
  const DEVNAMES* names = nullptr;
  explicit operator bool() const { return mode && names; }
  const wchar_t* Driver() const;
  const wchar_t* Device() const;
  const wchar_t* Port() const;
  bool IsDefault() const;
};

// The printer's device context: the one kept, else one made from the printer's names and
// kept; null when none can be made.
HDC PrinterDC();
// Deletes the kept device context (the setup dialog makes a new one).
void DeletePrinterDC();

// The Print dialog (resource 35); true when the user pressed OK.
bool ShowPrintDialog(HWND owner);
INT_PTR CALLBACK PrintDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The Printer Options dialog (resource 56), command 118.
void ShowPrinterOptions();
INT_PTR CALLBACK PrinterOptionsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Prints the main image on one page: 1 on success or when the user chose to skip it,
// 0 after the failure's message.
int PrintCurrentImage();
// The batch destination "Printer": the Print dialog once, then each file opened and
// printed as a job of its own while the batch runs.
void PrintFiles(const std::vector<std::string>& names);

// Commands 156 "&Print", 157 "P&rinter setup..." and 118 "&Printer...".
LRESULT OnPrint(LPARAM);
LRESULT OnPrinterSetup(LPARAM);
LRESULT OnPrinterOptions(LPARAM);

}  // namespace quilla
