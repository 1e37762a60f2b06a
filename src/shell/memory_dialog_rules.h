// The platform-free half of Memory Options (command 120): the backing-store settings of
// the JPEG library ("TmpPath", "UseTmpFiles") as the dialog shows and stores them.
#pragma once
#include <string>
#include <string_view>

namespace quilla {

inline constexpr int kMemoryTmpPathChars = 500;

struct JpegMemoryOptions {
  std::string tmpPath = ".\\";
  bool useTmpFiles = true;
};
// What the dialog fills itself from.
JpegMemoryOptions CurrentJpegMemoryOptions();
// OK: "UseTmpFiles" from the button, "TmpPath" from up to 500 characters of the edit field,
// normalised (trailing backslashes replaced by one; empty becomes ".\").
void StoreMemoryOptions(bool useTmpFiles, std::string_view editText);

}  // namespace quilla
