#include "formats/image_files.h"

#include <map>
#include <string>

#include "core/dib_image.h"
#include "core/fit_box.h"
#include "core/messages.h"
#include "core/progress.h"
#include "formats/codec_abort.h"
#include "formats/codec_table.h"
#include "formats/file_system.h"
#include "formats/file_types.h"
#include "formats/save_limits.h"
#include "formats/transfer_files.h"
#include "retouch/resize.h"
#include "settings/app_options.h"

namespace quilla {

const char* KeepFileName(DIBImage& document, const char* name) {
  static std::map<const DIBImage*, std::string> names;
  std::string& kept = names[&document];
  kept = name ? name : "";
  return document.fileName = kept.c_str();
}

int ProbeFileType(DIBImage& document) {
  int count = 0;
  const CodecEntry* codecs = Codecs(&count);
  for (int i = 0; i < count; ++i)
    if (int type = codecs[i].probe(document)) return type;
  return kUnknownFile;
}

int ProbeFileTypeAndSize(DIBImage& document, const char* name, uint32_t& width, uint32_t& height) {
  KeepFileName(document, name);
  document.fileWidth = document.fileHeight = 0;
  int type = ProbeFileType(document);
  width = document.fileWidth;
  height = document.fileHeight;
  return type;
}

LoadSize ResizeOnLoadSize(int option, int width, int height, int areaWidth, int areaHeight) {
  bool wanted = false;
  switch (option) {
    case 102: wanted = width > areaWidth || height > areaHeight; break;
    case 103: wanted = areaWidth > width || areaHeight > height; break;
    case 104: wanted = true; break;
    default: break;
  }
  if (!wanted || areaWidth <= 0 || areaHeight <= 0) return {width, height};
  BoxSize size = FitInBox(width, height, areaWidth, areaHeight);
  return {size.width, size.height};
}

int ReadImageFile(DIBImage& document, const char* name) {
  RegisterFileFormats();
  KeepFileName(document, name);
  std::string shown = ShownName(name);
  int type = ProbeFileType(document);
  if (type == kUnknownFile) {
    ShowWarning("File type is not supported:\n\n%s", shown.c_str());
    return 0;
  }
  if (type == kCannotOpen) {
    ShowWarning("Cannot open:\n\n%s", shown.c_str());
    return 0;
  }
  document.fileType = uint32_t(type);
  document.FreeImage();
  document.ioState = 1;
  const CodecEntry* codec = CodecOfType(document.fileType);
  int ok = 0;
  if (!codec || !codec->read) {
    ShowWarning("File type is not supported:\n\n%s", shown.c_str());
  } else {
    DisableInterface();
    ok = codec->read(document);
    EnableInterface();
  }
  document.ioState = 0;
  if (ok) {
    ScreenRect area = CurrentHost().WorkArea();
    LoadSize size = ResizeOnLoadSize(Options().ResizeOnLoad(), document.Width(), document.Height(),
                                     area.Width(), area.Height());
    if ((size.width != document.Width() || size.height != document.Height()) &&
        !ResizeImage(document, size.width, size.height)) {
      ShowNoMemory();
      ok = 0;
    }
  }
  document.RebuildPalette();
  return ok;
}

int WriteImageFile(DIBImage& document, const char* name) {
  RegisterFileFormats();
  KeepFileName(document, name);
  std::string shown = ShownName(name);
  const CodecEntry* codec = CodecOfType(document.fileType);
  // Checked before anything is created, so an unsupported type leaves no file behind.
  if (!codec || !codec->write) {
    ShowWarning("File type is not supported:\n\n%s", shown.c_str());
    return 0;
  }
  const std::string tooLarge = SaveSizeProblem(document, document.fileType);
  if (!tooLarge.empty()) {
    ShowWarning("%s:\n\n%s", tooLarge.c_str(), shown.c_str());
    return 0;
  }
  std::string target = name;
  std::string temp;
  std::FILE* stream = IsReadOnlyFile(target) ? nullptr : CreateTempFileBeside(target, temp);
  document.file = AdoptTransferFile(stream);
  if (document.file == kNoFile) {
    if (stream) RemoveFileUtf8(temp);
    ShowWarning("Cannot create:\n\n%s", shown.c_str());
    return 0;
  }
  document.ioState = 2;
  DisableInterface();
  int ok = codec->write(document);
  EnableInterface();
  document.ioState = 0;
  // A writer closes its file; one that failed early may have left it open.
  if (!CloseTransferFile(document.file) && ok) {
    ShowWarning("Error writing:\n\n%s", shown.c_str());
    ok = 0;
  }
  if (ok && !ReplaceFileWith(temp, target)) {
    ShowWarning("Cannot create:\n\n%s", shown.c_str());
    ok = 0;
  }
  if (!ok) RemoveFileUtf8(temp);
  return ok;
}

void ShrinkPreview(DIBImage& document, int maxWidth, int maxHeight) {
  BoxSize size = ShrinkToBox(document.Width(), document.Height(), maxWidth, maxHeight);
  if (size.width == document.Width() && size.height == document.Height()) return;
  if (size.width > 0 && size.height > 0 && ResizeImage(document, size.width, size.height)) document.DiscardUndo();
}

int ReadImagePreview(DIBImage& document, const char* name, int maxWidth, int maxHeight) {
  RegisterFileFormats();
  WaitCursor wait;
  document.FreeImage();
  KeepFileName(document, name);
  std::FILE* file = OpenFileUtf8(name ? name : "", "rb");
  if (!file) return 2;
  std::fclose(file);
  // Each reader tries from the start of the file until one recognises it.
  static const uint32_t kPreviewOrder[] = {kJpegFile, kGif87a, kPcxFile, kPnmFile, kTiffFile, kTargaFile, kWindowsBmp};
  int result = 2;
  for (uint32_t type : kPreviewOrder) {
    const CodecEntry* codec = CodecOfType(type);
    if (!codec || !codec->readPreview) continue;
    result = codec->readPreview(document, maxWidth, maxHeight);
    if (result != 2) break;
  }
  if (document.HasImage()) document.RebuildPalette();
  return result;
}

}  // namespace quilla
