// Feeds arbitrary bytes to the BMP probe, the quiet preview reader and the full reader; a
// file that reads is written back with its own header kind and must read again the same.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/dib_image.h"
#include "formats/bmp/bmp_codec.h"
#include "formats/file_types.h"
#include "formats/image_files.h"
#include "formats/transfer.h"
#include "fuzz_support.h"

namespace {

// Indices past the colour count name no colour; a file holding them cannot round-trip.
bool IndicesInTable(quilla::DIBImage& document) {
  uint32_t count = document.ColorCount();
  if (count == 0) return true;
  document.Lock();
  bool inside = true;
  for (int y = 0; inside && y < document.Height(); ++y)
    for (int x = 0; inside && x < document.Width(); ++x) inside = document.RowPointer(y)[x] < count;
  document.Unlock();
  return inside;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  quilla::fuzz::InstallQuietHost();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quilla;
  static const fuzz::TempFiles files("bmp_reader_fuzz", ".bmp");
  if (!files.Store(data, size)) return 0;
  fuzz::ProbeAndPreview(files.input, kWindowsBmp);

  DIBImage document;
  if (!ReadImageFileAs(document, files.input, kWindowsBmp)) {
    if (document.HasImage() || Transfer::OpenFiles() != 0) std::abort();  // a failure frees everything
    return 0;
  }
  if (fuzz::PixelCount(document) > (1u << 22) || !IndicesInTable(document)) return 0;

  DIBImage back;
  if (!fuzz::WriteAndReadBack(document, files.output, kWindowsBmp, back)) return 0;
  if (back.fileType != document.fileType || back.ColorCount() != document.ColorCount() ||
      !fuzz::SameRows(document, back))
    std::abort();
  document.Lock();
  back.Lock();
  if (std::memcmp(document.GetColors(), back.GetColors(), document.ColorTableBytes()) != 0) std::abort();
  back.Unlock();
  document.Unlock();
  return 0;
}
