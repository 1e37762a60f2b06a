#include "shell/print_rules.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "core/fit_box.h"

namespace quilla {

namespace {
const char* const kLevelNames[] = {"High", "Medium", "Low", "Draft"};
constexpr int kLevelCount = int(sizeof kLevelNames / sizeof kLevelNames[0]);
}  // namespace

PrintPlacement PlaceOnPage(int imageWidth, int imageHeight, const PrinterPage& page, const PrintScale& scale) {
  PrintPlacement placed;
  // A device that reports no aspect gives no size, which the caller asks about.
  if (page.aspectX <= 0 || page.aspectY <= 0) return placed;
  // 64 bits: a large image at 900 % on a high-aspect device stays exact.
  const int64_t ax = page.aspectX, ay = page.aspectY;
  int64_t width = int64_t(imageWidth) * ay / ax;
  int64_t height = ax * imageHeight / ay;
  width = width * scale.percentCols / 100;
  height = height * scale.percentRows / 100;
  if (scale.fit && width > 0 && height > 0 && page.width > 0 && page.height > 0) {
    const BoxSize fitted = FitInBox(int(width), int(height), page.width, page.height);
    width = fitted.width < page.width ? fitted.width : page.width;
    height = fitted.height < page.height ? fitted.height : page.height;
  }
  // Past the int range only an absurd device could go; it gets the largest size.
  placed.width = int(std::min<int64_t>(width, INT32_MAX));
  placed.height = int(std::min<int64_t>(height, INT32_MAX));
  if (scale.center) {
    placed.x = (page.width - placed.width) / 2;
    placed.y = (page.height - placed.height) / 2;
  }
  return placed;
}

std::string PrinterCaption(const std::string& device, const std::string& port, bool isDefault) {
  return (isDefault ? "Default Printer (" + device + " on " + port + ")" : device + " on " + port);
}

std::string DriverFileName(const std::string& driver) {
  return driver.find('.') == std::string::npos ? driver + ".drv" : driver;
}

bool IsQualityLevel(int quality) { return quality >= kHighestQualityLevel && quality <= kLowestQualityLevel; }

QualityList MakeQualityList(const PrintQuality& current, const std::vector<Resolution>& resolutions) {
  QualityList list;
  if (IsQualityLevel(current.quality)) {
    list.entries.assign(kLevelNames, kLevelNames + kLevelCount);
    list.selected = current.quality - kHighestQualityLevel;
    return list;
  }
  for (size_t i = 0; i < resolutions.size(); ++i) {
    char text[64];
    std::snprintf(text, sizeof text, "%ldx%ld dpi", resolutions[i].x, resolutions[i].y);
    list.entries.push_back(text);
    if (list.selected < 0 && resolutions[i] == Resolution{current.quality, current.yResolution}) list.selected = int(i);
  }
  if (list.selected < 0 && !resolutions.empty()) {
    list.selected = 0;
    list.writeBack = true;
    list.chosen = {int(resolutions[0].x), int(resolutions[0].y)};
  }
  return list;
}

bool QualityOfEntry(bool levels, int index, const std::string& text, PrintQuality& quality) {
  if (levels) {
    if (index < 0 || index >= kLevelCount) return false;
    quality = {index + kHighestQualityLevel, quality.yResolution};
    return true;
  }
  long x = 0, y = 0;
  char separator = 0;
  if (std::sscanf(text.c_str(), "%ld%c%ld", &x, &separator, &y) != 3) return false;
  quality = {int(x), int(y)};
  return true;
}

}  // namespace quilla
