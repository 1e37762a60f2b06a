#include "shell/batch_compression.h"

#include "core/messages.h"
#include "core/progress.h"
#include "formats/file_types.h"
#include "formats/image_files.h"
#include "shell/batch_compression_rules.h"
#include "shell/file_commands.h"
#include "shell/shell_state.h"
#include "shell/window_title.h"

namespace quilla {

namespace {
// Writes the main image as a JPEG. Afterwards the document is again the file it was read
// from, so a later Save doesn't put JPEG data under the source's name.
bool WriteAsJpeg(const std::string& jpegName) {
  DIBImage& document = shell.mainDocument;
  const uint32_t readType = document.fileType;
  const std::string readName = document.fileName;
  document.fileType = kJpegFile;
  const bool ok = WriteImageFile(document, jpegName) != 0;
  document.fileType = readType;
  document.fileName = readName;
  return ok;
}
}  // namespace

void RunBatchCompression(const std::vector<std::string>& names) {
  for (size_t i = 0; i < names.size() && !IsBatchCancelled() && !IsExiting(); ++i) {
    SetBatchIndex(int(i));
    if (!OpenMainImage(names[i]) || IsBatchCancelled()) continue;
    ShowBusyMenu(kCompressingMenu);
    WaitCursor wait;
    // The write's progress follows the name the read showed.
    ResetProgress();
    CurrentHost().SetWindowTitle(ProgressName());
    // The writer has said what went wrong.
    if (!WriteAsJpeg(CompressedJpegName(names[i]))) CancelBatch();
  }
  UpdateTitle();
}

}  // namespace quilla
