// Feeds arbitrary bytes to the PCX probe, the quiet preview reader and the full reader; a
// file that reads is written back and must read again with the same colours.
#include <cstdint>
#include <cstdlib>

#include "core/dib_image.h"
#include "formats/file_types.h"
#include "formats/image_files.h"
#include "formats/transfer.h"
#include "formats/pcx/pcx_codec.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  quilla::fuzz::InstallQuietHost();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quilla;
  static const fuzz::TempFiles files("pcx_reader_fuzz", ".pcx");
  if (!files.Store(data, size)) return 0;
  fuzz::ProbeAndPreview(files.input, kPcxFile);

  DIBImage document;
  int ok = ReadImageFileAs(document, files.input, kPcxFile);
  if (document.IsLocked() || Transfer::OpenFiles() != 0) std::abort();
  if (!ok || fuzz::PixelCount(document) > (1u << 20)) return 0;

  // What was read is written and read back with the same colours.
  DIBImage back;
  if (fuzz::WriteAndReadBack(document, files.output, kPcxFile, back) && !fuzz::SameColors(document, back))
    std::abort();
  return 0;
}
