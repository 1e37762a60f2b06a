// Feeds arbitrary bytes, through a temporary file, to the PPM/PGM/PBM probe, the quiet preview
// reader and the full reader; a file that reads is written back and must read again with
// the same pixels.
#include <cstdint>
#include <cstdlib>

#include "core/dib_image.h"
#include "formats/file_types.h"
#include "formats/image_files.h"
#include "formats/ppm/ppm_codec.h"
#include "formats/transfer.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  quilla::fuzz::InstallQuietHost();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quilla;
  static const fuzz::TempFiles files("ppm_reader_fuzz", "");
  if (!files.Store(data, size)) return 0;
  fuzz::ProbeAndPreview(files.input, kPnmFile);

  DIBImage document;
  if (!ReadImageFileAs(document, files.input, kPnmFile) || fuzz::PixelCount(document) > (1u << 20)) return 0;

  // What was read is written and read back unchanged.
  document.fileType = kPnmFile;
  DIBImage back;
  if (!fuzz::WriteAndReadBack(document, files.output, kPnmFile, back)) return 0;
  if (back.ColorCount() != document.ColorCount() || !fuzz::SameRows(document, back)) std::abort();
  return 0;
}
