// Feeds arbitrary bytes to the Targa probe, the quiet preview reader and the full reader; a
// file that reads is read again reduced to a palette as the quantizing options ask, then
// written back and must read again with the same colours.
#include <cstdint>
#include <cstdlib>

#include "core/dib_image.h"
#include "formats/file_types.h"
#include "formats/image_files.h"
#include "formats/targa/targa_codec.h"
#include "formats/transfer.h"
#include "fuzz_support.h"
#include "settings/app_options.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  quilla::fuzz::InstallQuietHost();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quilla;
  static const fuzz::TempFiles files("targa_reader_fuzz", ".tga");
  if (!files.Store(data, size)) return 0;
  fuzz::ProbeAndPreview(files.input, kTargaFile);

  DIBImage document;
  int ok = ReadImageFileAs(document, files.input, kTargaFile);
  if (document.IsLocked() || Transfer::OpenFiles() != 0) std::abort();
  if (!ok || fuzz::PixelCount(document) > (1u << 20)) return 0;

  // The reductions while reading: two passes, or the Windows colours, dithered or not.
  AppOptions& options = Options();
  options.SetNeedQuantizeRead(1);
  options.SetUseSysPalette(int(size & 1));
  options.SetUseDithering(int(size >> 1 & 1));
  options.SetNColorsCreatePal(int(2 + size % 255));
  DIBImage reduced;
  if (!ReadImageFileAs(reduced, files.input, kTargaFile) || reduced.IsTrueColor() || reduced.IsLocked()) std::abort();
  options.SetNeedQuantizeRead(0);

  // What was read is written and read back with the same colours.
  DIBImage back;
  if (fuzz::WriteAndReadBack(document, files.output, kTargaFile, back) && !fuzz::SameColors(document, back))
    std::abort();
  return 0;
}
