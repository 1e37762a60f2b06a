#include "shell/memory_dialog_rules.h"

#include "settings/app_options.h"
#include "settings/text_bounds.h"

namespace quilla {

JpegMemoryOptions CurrentJpegMemoryOptions() { return {Options().TmpPath(), Options().UseTmpFiles() != 0}; }

void StoreMemoryOptions(bool useTmpFiles, std::string_view editText) {
  Options().SetUseTmpFiles(useTmpFiles ? 1 : 0);
  Options().SetTmpPath(TruncateUtf8(editText, kMemoryTmpPathChars));
}

}  // namespace quilla
