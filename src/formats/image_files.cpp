#include "formats/image_files.h"

#include "core/dib_image.h"
#include "core/fit_box.h"
#include "core/messages.h"
#include "core/progress.h"
#include "formats/codec_abort.h"
#include "formats/codec_table.h"
#include "formats/file_system.h"
#include "formats/file_types.h"
#include "formats/jpeg/jpeg_codec.h"
#include "formats/save_limits.h"
#include "formats/transfer.h"
#include "retouch/resize.h"
#include "settings/app_options.h"

namespace quilla {

namespace {

struct Probed {
  int type = kUnknownFile;
  uint32_t width = 0, height = 0;
};

using ProbeFunction = int (*)(ByteReader& in, uint32_t& width, uint32_t& height);

// One look at the head of the file; a probe that runs off the end says no.
Probed ProbeWith(ProbeFunction probe, ByteReader& in) {
  Probed found;
  if (!in.TrySeek(0)) return found;
  try {
    found.type = probe(in, found.width, found.height);
  } catch (const CodecAbort&) {
    found = {};
  }
  if (found.type == kUnknownFile) found.width = found.height = 0;
  return found;
}

Probed ProbeWith(const CodecEntry& codec, ByteReader& in) { return ProbeWith(codec.probe, in); }

// The codecs in their fixed order; the first that knows the content wins. With sizes, the
// JPEG probe is the one that reads the frame header, so that a JPEG's size is known too.
Probed ProbeOpenFile(Transfer& transfer, bool sizes = false) {
  int count = 0;
  const CodecEntry* codecs = Codecs(&count);
  for (int i = 0; i < count; ++i) {
    const ProbeFunction probe = sizes && codecs[i].types[0] == kJpegFile ? ProbeJpegSize : codecs[i].probe;
    if (Probed found = ProbeWith(probe, transfer.In()); found.type != kUnknownFile) return found;
  }
  return {};
}

// The codec's read from the first byte of the open file, with the read state set.
int ReadOpenFile(Transfer& transfer, const CodecEntry& codec) {
  DIBImage& document = transfer.document;
  document.ioState = 1;
  // A reader that closed the file early (before its colour reduction) leaves nothing to try.
  int ok = transfer.IsOpen() && transfer.In().TrySeek(0) ? RunCodec(transfer, codec.read, codec.texts) : 0;
  document.ioState = 0;
  return ok;
}

// A quiet read into the preview box: 0 read, 1 partly read (an image kept after a failure,
// or read with warnings), 2 not read.
int ReadPreviewWith(Transfer& transfer, const CodecEntry& codec, int maxWidth, int maxHeight) {
  DIBImage& document = transfer.document;
  transfer.previewWidth = maxWidth;
  transfer.previewHeight = maxHeight;
  int ok = ReadOpenFile(transfer, codec);
  if (document.HasImage()) ShrinkPreview(document, maxWidth, maxHeight);
  return ok ? (transfer.partial ? 1 : 0) : document.HasImage() ? 1 : 2;
}

}  // namespace

int ProbeFileTypeAndSize(const std::string& name, uint32_t& width, uint32_t& height) {
  DIBImage scratch;
  Transfer transfer(scratch, name, Transfer::Direction::Read, true);
  width = height = 0;
  if (!transfer.OpenForReading()) return kCannotOpen;
  Probed found = ProbeOpenFile(transfer, true);
  width = found.width;
  height = found.height;
  return found.type;
}

int ProbeFileAs(const std::string& name, uint32_t type, uint32_t& width, uint32_t& height) {
  DIBImage scratch;
  Transfer transfer(scratch, name, Transfer::Direction::Read, true);
  width = height = 0;
  const CodecEntry* codec = CodecOfType(type);
  if (!transfer.OpenForReading()) return kCannotOpen;
  if (!codec) return kUnknownFile;
  Probed found = ProbeWith(*codec, transfer.In());
  width = found.width;
  height = found.height;
  return found.type;
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

int ReadImageFile(DIBImage& document, const std::string& name, const std::function<void()>& onRecognised) {
  std::string shown = ShownName(name.c_str());
  document.fileName = name;
  Transfer transfer(document, name, Transfer::Direction::Read, false);
  if (!transfer.OpenForReading()) {
    ShowWarning("Cannot open:\n\n%s", shown.c_str());
    return 0;
  }
  const Probed found = ProbeOpenFile(transfer);
  const CodecEntry* codec = CodecOfType(uint32_t(found.type));
  if (!codec) {
    ShowWarning("File type is not supported:\n\n%s", shown.c_str());
    return 0;
  }
  if (onRecognised) onRecognised();
  document.fileWidth = found.width;
  document.fileHeight = found.height;
  document.fileType = uint32_t(found.type);
  document.FreeImage();
  DisableInterface();
  int ok = ReadOpenFile(transfer, *codec);
  EnableInterface();
  transfer.CloseFile();
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

int ReadImageFileAs(DIBImage& document, const std::string& name, uint32_t type) {
  const CodecEntry* codec = CodecOfType(type);
  Transfer transfer(document, name, Transfer::Direction::Read, false);
  document.fileName = name;
  if (!codec || !transfer.OpenForReading()) return 0;
  document.fileType = type;
  return ReadOpenFile(transfer, *codec);
}

int WriteImageFile(DIBImage& document, const std::string& name) {
  std::string shown = ShownName(name.c_str());
  document.fileName = name;
  const CodecEntry* codec = CodecOfType(document.fileType);
  // Checked before anything is created, so an unsupported type leaves no file behind.
  if (!codec) {
    ShowWarning("File type is not supported:\n\n%s", shown.c_str());
    return 0;
  }
  const std::string tooLarge = SaveSizeProblem(document, document.fileType);
  if (!tooLarge.empty()) {
    ShowWarning("%s:\n\n%s", tooLarge.c_str(), shown.c_str());
    return 0;
  }
  std::string temp;
  Transfer transfer(document, name, Transfer::Direction::Write, false);
  transfer.AdoptForWriting(IsReadOnlyFile(name) ? nullptr : CreateTempFileBeside(name, temp));
  if (!transfer.IsOpen()) {
    ShowWarning("Cannot create:\n\n%s", shown.c_str());
    return 0;
  }
  document.ioState = 2;
  DisableInterface();
  int ok = RunCodec(transfer, codec->write, codec->texts);
  EnableInterface();
  document.ioState = 0;
  transfer.CloseFile();  // a failed write leaves its file open until here
  if (ok && !ReplaceFileWith(temp, name)) {
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

int ReadImagePreview(DIBImage& document, const std::string& name, int maxWidth, int maxHeight) {
  WaitCursor wait;
  document.FreeImage();
  document.fileName = name;
  Transfer transfer(document, name, Transfer::Direction::Read, true);
  if (!transfer.OpenForReading()) return 2;
  // Each reader tries from the start of the file until one recognises it.
  static const uint32_t kPreviewOrder[] = {kJpegFile, kGif87a, kPcxFile, kPnmFile, kTiffFile, kTargaFile, kWindowsBmp};
  int result = 2;
  for (uint32_t type : kPreviewOrder) {
    result = ReadPreviewWith(transfer, *CodecOfType(type), maxWidth, maxHeight);
    if (result != 2) break;
  }
  if (document.HasImage()) document.RebuildPalette();
  return result;
}

int ReadImagePreviewAs(DIBImage& document, const std::string& name, uint32_t type, int maxWidth, int maxHeight) {
  document.FreeImage();
  document.fileName = name;
  Transfer transfer(document, name, Transfer::Direction::Read, true);
  const CodecEntry* codec = CodecOfType(type);
  if (!codec || !transfer.OpenForReading()) return 2;
  return ReadPreviewWith(transfer, *codec, maxWidth, maxHeight);
}

}  // namespace quilla
