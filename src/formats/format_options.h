// The options the open and save flows read, with their settings-file defaults. The
// settings subsystem owns persistence; it copies its values in here at start-up.
#pragma once

namespace quilla {

struct FormatOptions {
  int openType = 1;         // "OpenType", open filter index 1..9
  int saveType = 1;         // "SaveType", save filter index 1..10
  bool warnAllSaves = true;     // "WarnAllSaves"
  bool warnJpegGsSave = true;   // "WarnJpegGsSave"
  bool saveJpegGs = false;      // "SaveJpegGS"
  int resizeOnLoad = 101;   // "ResizeOnLoad": 101 never, 102 shrink, 103 enlarge, 104 always
};

// The one process-wide instance.
FormatOptions& CurrentFormatOptions();

}  // namespace quilla
