// Feeds arbitrary bytes to the GIF probe, the quiet preview reader and the full reader
// (whose warnings are answered "continue"); a file that reads is written back and must
// read again with the same pixels.
#include <cstdint>
#include <cstdlib>

#include "core/dib_image.h"
#include "formats/gif/gif_codec.h"
#include "formats/file_types.h"
#include "formats/image_files.h"
#include "formats/transfer.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  quilla::fuzz::InstallQuietHost();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quilla;
  static const fuzz::TempFiles files("gif_reader_fuzz", ".gif");
  if (!files.Store(data, size)) return 0;
  fuzz::ProbeAndPreview(files.input, kGif87a);

  DIBImage document;
  if (!ReadImageFileAs(document, files.input, kGif87a) || fuzz::PixelCount(document) > (1u << 20)) return 0;

  // What was read is written and read back unchanged.
  DIBImage back;
  if (fuzz::WriteAndReadBack(document, files.output, kGif87a, back) && !fuzz::SameRows(document, back))
    std::abort();
  return 0;
}
