// Feeds arbitrary bytes to the JPEG probes, the full reader under decompression choices
// picked from the input's last byte (warnings answered either way), and the quiet preview
// reader; a file that reads is written back and must read again at the same size.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/dib_image.h"
#include "formats/file_types.h"
#include "formats/byte_reader.h"
#include "formats/image_files.h"
#include "formats/jpeg/jpeg_codec.h"
#include "fuzz_support.h"
#include "settings/app_options.h"

namespace {

quilla::fuzz::QuietHost* host;

// Frames larger than this are not decoded: the library's whole-image buffers would pass
// the fuzzer's memory limit while being perfectly legal.
constexpr uint64_t kMaxFuzzPixels = uint64_t(1) << 22;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  host = &quilla::fuzz::InstallQuietHost();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quilla;
  static const fuzz::TempFiles files("jpeg_reader_fuzz", ".jpg");
  const char* input = files.input.c_str();
  if (!files.Store(data, size)) return 0;
  DIBImage document;
  uint32_t width = 0, height = 0;
  if (ProbeFileAs(files.input, kJpegFile, width, height) != kJpegFile) return 0;
  std::FILE* stream = std::fopen(input, "rb");
  if (!stream) return 0;
  ByteReader in(stream);
  int probed = ProbeJpegSize(in, width, height);
  std::fclose(stream);
  if (probed != kJpegFile || uint64_t(width) * height > kMaxFuzzPixels) return 0;

  uint8_t choice = size ? data[size - 1] : 0;
  AppOptions& o = Options();
  o.SetJpegDenom(kJpegNormal, 1 << (choice & 3));
  o.SetLoadJpegGS(kJpegNormal, choice >> 2 & 1);
  o.SetJpegDCTType(kJpegNormal, choice >> 3 & 3);
  o.SetJpegFastUp(kJpegNormal, choice >> 5 & 1);
  o.SetNeedQuantizeRead(choice >> 6 & 1);
  o.SetUseSysPalette(choice >> 7 & (choice >> 5) & 1);
  o.SetJpegOption1Pass(kJpegNormal, choice >> 4 & 1);
  o.SetJpegOptionFastQuant(kJpegNormal, choice >> 1 & 1);
  o.SetNColorsCreatePal(8 + (choice * 7) % 249);
  host->answer = choice & 1 ? MsgResult::No : MsgResult::Yes;

  if (ReadImageFile(document, input) && document.HasImage()) {
    int width = document.Width(), height = document.Height();
    document.fileType = kJpegFile;
    if (WriteImageFile(document, files.output.c_str())) {
      // Read back at full size, whatever the choices above.
      o.SetJpegDenom(kJpegNormal, 1);
      DIBImage back;
      if (!ReadImageFile(back, files.output.c_str()) || back.Width() != width || back.Height() != height)
        std::abort();
    }
  }
  DIBImage preview;
  int result = ReadImagePreview(preview, input, 64, 48);
  if (result == 2 && preview.HasImage()) std::abort();
  if (result != 2 && (preview.Width() > 64 || preview.Height() > 48)) std::abort();
  return 0;
}
