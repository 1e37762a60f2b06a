// The Print dialog (PrintDlgProc): the printer chosen, its print qualities (levels or the
// driver's resolutions) written into the device mode as the user picks them, and the
// print-setup dialog behind "Setup...".
#include <string>
#include <vector>

#include "shell/printing.h"  // first: the Windows headers, in their order

#include <winspool.h>

#include "resources/print_dialog_ids.h"
#include "resources/resource_ids.h"
#include "shell/dialog_support.h"
#include "shell/print_rules.h"
#include "shell/shell_state.h"
#include "shell/utf.h"

namespace quilla {

namespace {
constexpr int kHelpContext = 14;

// The old driver entry some printer drivers export, asked with the device's names.
using DriverCapabilities = DWORD(WINAPI*)(LPCSTR device, LPCSTR port, WORD capability, LPSTR output,
                                          const DEVMODEA* mode);

std::vector<Resolution> PairsToResolutions(const std::vector<LONG>& pairs) {
  std::vector<Resolution> resolutions;
  for (size_t i = 0; i + 1 < pairs.size(); i += 2) resolutions.push_back({long(pairs[i]), long(pairs[i + 1])});
  return resolutions;
}

// The resolutions from the driver's own entry when it has one; otherwise (drivers of today
// export only the spooler's entry point) from the spooler, which asks the driver.
std::vector<Resolution> PrinterResolutions(const PrinterLock& lock) {
  std::vector<LONG> pairs;
  if (HMODULE driver = LoadLibraryW(Widen(DriverFileName(Narrow(lock.Driver()))).c_str())) {
    const auto ask =
        reinterpret_cast<DriverCapabilities>(reinterpret_cast<void*>(GetProcAddress(driver, "DeviceCapabilities")));
    if (ask) {
      const std::string device = Narrow(lock.Device()), port = Narrow(lock.Port());
      const DWORD count = ask(device.c_str(), port.c_str(), DC_ENUMRESOLUTIONS, nullptr, nullptr);
      if (count != DWORD(-1) && count > 0) {
        pairs.resize(2 * size_t(count));
        if (ask(device.c_str(), port.c_str(), DC_ENUMRESOLUTIONS, reinterpret_cast<LPSTR>(pairs.data()), nullptr) !=
            count)
          pairs.clear();
      }
    }
    FreeLibrary(driver);
    if (ask) return PairsToResolutions(pairs);
  }
  const int count = DeviceCapabilitiesW(lock.Device(), lock.Port(), DC_ENUMRESOLUTIONS, nullptr, lock.mode);
  if (count <= 0) return {};
  pairs.resize(2 * size_t(count));
  if (DeviceCapabilitiesW(lock.Device(), lock.Port(), DC_ENUMRESOLUTIONS, reinterpret_cast<LPWSTR>(pairs.data()),
                          lock.mode) != count)
    return {};
  return PairsToResolutions(pairs);
}

void ShowPrinterName(HWND dialog) {
  PrinterLock lock;
  if (!lock.names) return;
  SetControlText(dialog, IDC_PRINT_PRINTER,
                 PrinterCaption(Narrow(lock.Device()), Narrow(lock.Port()), lock.IsDefault()));
}

void FillQualityList(HWND dialog) {
  SendDlgItemMessageW(dialog, IDC_PRINT_QUALITY, CB_RESETCONTENT, 0, 0);
  PrinterLock lock;
  if (!lock) return;
  const PrintQuality current{lock.mode->dmPrintQuality, lock.mode->dmYResolution};
  const QualityList list =
      MakeQualityList(current, IsQualityLevel(current.quality) ? std::vector<Resolution>{} : PrinterResolutions(lock));
  for (const std::string& entry : list.entries) {
    SendDlgItemMessageW(dialog, IDC_PRINT_QUALITY, CB_ADDSTRING, 0, LPARAM(Widen(entry).c_str()));
  }
  SendDlgItemMessageW(dialog, IDC_PRINT_QUALITY, CB_SETCURSEL, WPARAM(list.selected), 0);
  if (list.writeBack) {
    lock.mode->dmPrintQuality = short(list.chosen.quality);
    lock.mode->dmYResolution = short(list.chosen.yResolution);
  }
}

// The entry chosen goes into the device mode.
void StoreQuality(HWND dialog) {
  PrinterLock lock;
  if (!lock) return;
  const int index = int(SendDlgItemMessageW(dialog, IDC_PRINT_QUALITY, CB_GETCURSEL, 0, 0));
  if (index < 0) return;
  const HWND list = GetDlgItem(dialog, IDC_PRINT_QUALITY);
  std::wstring text(size_t(SendMessageW(list, CB_GETLBTEXTLEN, WPARAM(index), 0)) + 1, L'\0');
  text.resize(size_t(SendMessageW(list, CB_GETLBTEXT, WPARAM(index), LPARAM(text.data()))));
  PrintQuality quality{lock.mode->dmPrintQuality, lock.mode->dmYResolution};
  if (QualityOfEntry(IsQualityLevel(quality.quality), index, Narrow(text), quality)) {
    lock.mode->dmPrintQuality = short(quality.quality);
    lock.mode->dmYResolution = short(quality.yResolution);
  }
}

void Fill(HWND dialog, LPARAM) {
  ShowPrinterName(dialog);
  FillQualityList(dialog);
}
}  // namespace

INT_PTR CALLBACK PrintDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const DialogPattern pattern{DialogKind::Small, kHelpContext, Fill, nullptr, nullptr};
  INT_PTR result = FALSE;
  if (HandleDialogPattern(pattern, dialog, message, wParam, lParam, result)) return result;
  if (message != WM_COMMAND) return FALSE;
  switch (LOWORD(wParam)) {
    case IDC_PRINT_QUALITY:
      StoreQuality(dialog);
      return TRUE;
    case IDC_PRINT_SETUP:
      DeletePrinterDC();
      if (PrinterSetup(dialog, true)) Fill(dialog, 0);
      return TRUE;
  }
  return FALSE;
}

bool ShowPrintDialog(HWND owner) {
  return DialogBoxParamW(shell.instance, MAKEINTRESOURCEW(IDD_PRINT), owner, PrintDlgProc, 0) == IDOK;
}

}  // namespace quilla
