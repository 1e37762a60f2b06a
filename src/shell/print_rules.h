// The platform-free half of printing: where an image lands on the printer page, and the
// print-quality list of the Print dialog with what a choice writes into the device mode.
#pragma once
#include <string>
#include <vector>

namespace quilla {

// The printer's pixel aspect (ASPECTX, ASPECTY) and page size in pixels (HORZRES, VERTRES).
struct PrinterPage {
  int aspectX = 1, aspectY = 1;
  int width = 0, height = 0;
};

// "PercentColsPrint", "PercentRowsPrint", "FitPrinterPage", "CenterPrinterPage".
struct PrintScale {
  int percentCols = 100, percentRows = 100;
  bool fit = true, center = true;
};

// The image's rectangle on the page, in printer pixels.
struct PrintPlacement {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const PrintPlacement&) const = default;
  bool Empty() const { return width <= 0 || height <= 0; }
  bool Overflows(const PrinterPage& page) const { return width > page.width || height > page.height; }
};

// The image's size corrected for the printer's pixel aspect, scaled by the percentages,
// fitted to the page when asked (enlarging as well as shrinking, then limited to the page),
// and centred or at the page's corner.
PrintPlacement PlaceOnPage(int imageWidth, int imageHeight, const PrinterPage& page, const PrintScale& scale);

// The printer line of the Print dialog: "Default Printer (%s on %s)" or "%s on %s".
std::string PrinterCaption(const std::string& device, const std::string& port, bool isDefault);
// The driver's file: its name, with ".drv" appended when it has no extension.
std::string DriverFileName(const std::string& driver);

// A device mode's print quality is a level from -4 (high) to -1 (draft), or a horizontal
// resolution in dots per inch with the vertical one beside it.
inline constexpr int kHighestQualityLevel = -4, kLowestQualityLevel = -1;
bool IsQualityLevel(int quality);

struct Resolution {
  long x = 0, y = 0;
  bool operator==(const Resolution&) const = default;
};

// What the device mode's print quality and Y resolution say.
struct PrintQuality {
  int quality = 0, yResolution = 0;
  bool operator==(const PrintQuality&) const = default;
};

// The list the dialog shows, the entry selected (-1: none, the list is empty) and, when the
// device mode matched no entry, the quality the first entry writes back into it.
struct QualityList {
  std::vector<std::string> entries;
  int selected = -1;
  bool writeBack = false;
  PrintQuality chosen;
};
// For a level: "High", "Medium", "Low", "Draft" with the level's entry selected. Otherwise one
// "%ldx%ld dpi" entry per resolution of the printer, the one equal to the device mode's
// selected, else the first.
QualityList MakeQualityList(const PrintQuality& current, const std::vector<Resolution>& resolutions);
// The device mode's fields for the list's entry: a level from its index when the list holds
// levels, else the two numbers of its text. False when the text holds no resolution.
bool QualityOfEntry(bool levels, int index, const std::string& text, PrintQuality& quality);

}  // namespace quilla
