// Printing the main image on one page as a job of its own (command 156), and the batch
// destination "Printer" that prints each file of a list.
#include <string>
#include <vector>

#include "app/file_session.h"
#include "core/messages.h"
#include "core/progress.h"
#include "settings/app_options.h"
#include "shell/file_commands.h"
#include "shell/print_rules.h"
#include "shell/printing.h"
#include "shell/shell_state.h"
#include "shell/utf.h"
#include "shell/window_title.h"

namespace quilla {

namespace {
PrintScale ScaleFromOptions() {
  const AppOptions& options = Options();
  return {options.PercentColsPrint(), options.PercentRowsPrint(), options.FitPrinterPage() != 0,
          options.CenterPrinterPage() != 0};
}

// One page with the whole image stretched to the placement; false when any step failed
// (drawing included, so a blank page is never reported as printed), in which case the job
// is abandoned rather than left open.
bool PrintPage(HDC dc, const PrintPlacement& placed) {
  const std::wstring title = Widen(CurrentFileTitle());
  DOCINFOW document{};
  document.cbSize = sizeof document;
  document.lpszDocName = title.c_str();
  if (StartDocW(dc, &document) <= 0) return false;
  bool ok = StartPage(dc) > 0;
  if (ok) {
    DIBImage& image = shell.mainDocument;
    ImageLock lock(image);
    SetStretchBltMode(dc, COLORONCOLOR);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(image.GetHeader());
    // An empty placement the user chose to print anyway leaves the page blank.
    ok = lock && (placed.Empty() || StretchDIBits(dc, placed.x, placed.y, placed.width, placed.height, 0, 0,
                                                  image.Width(), image.Height(), image.GetBits(), info,
                                                  DIB_RGB_COLORS, SRCCOPY) != 0);
  }
  ok = ok && EndPage(dc) > 0;
  if (!ok) {
    AbortDoc(dc);
    return false;
  }
  return EndDoc(dc) > 0;
}
}  // namespace

int PrintCurrentImage() {
  HDC dc = PrinterDC();
  if (!dc) {
    ShowWarning("Error creating printer device context");
    return 0;
  }
  if (!(GetDeviceCaps(dc, RASTERCAPS) & RC_STRETCHDIB)) {
    ShowWarning("Printer driver does not support StretchDIBits");
    return 0;
  }
  const PrinterPage page{GetDeviceCaps(dc, ASPECTX), GetDeviceCaps(dc, ASPECTY), GetDeviceCaps(dc, HORZRES),
                         GetDeviceCaps(dc, VERTRES)};
  const DIBImage& image = shell.mainDocument;
  const PrintPlacement placed = PlaceOnPage(image.Width(), image.Height(), page, ScaleFromOptions());
  if (placed.Empty() && AskYesNo("Image will be printed with NULL dimensions, skip?") == MsgResult::Yes) return 1;
  if (placed.Overflows(page) && AskYesNo("Image will overflow printer page dimensions, skip?") == MsgResult::Yes)
    return 1;
  bool printed;
  {
    WaitCursor wait;
    printed = PrintPage(dc, placed);
  }
  if (!printed) {
    ShowWarning("Error printing image!");
    return 0;
  }
  return 1;
}

LRESULT OnPrint(LPARAM) {
  if (ShowPrintDialog(shell.mainWindow)) PrintCurrentImage();
  return 0;
}

void PrintFiles(const std::vector<std::string>& names) {
  if (!ShowPrintDialog(shell.mainWindow)) return;
  for (size_t i = 0; i < names.size() && !IsBatchCancelled(); ++i) {
    SetBatchIndex(int(i));
    if (!OpenMainImage(names[i]) || IsBatchCancelled()) continue;
    ShowBusyMenu(kPrintingMenu);
    const int printed = PrintCurrentImage();
    RestoreMenu();
    if (!printed) CancelBatch();
  }
  UpdateTitle();
}

}  // namespace quilla
