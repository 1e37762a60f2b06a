// Feeds arbitrary bytes to the JPEG probes, the full reader under decompression choices
// picked from the input's last byte (warnings answered either way), and the quiet preview
// reader; a file that reads is written back and must read again at the same size.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "core/dib_image.h"
#include "core/host.h"
#include "core/messages.h"
#include "formats/file_types.h"
#include "formats/image_files.h"
#include "formats/jpeg/jpeg_codec.h"
#include "formats/transfer_files.h"
#include "settings/app_options.h"

namespace {

class ScriptHost : public quilla::Host {
 public:
  quilla::MsgResult answer = quilla::MsgResult::Yes;
  quilla::MsgResult MessageBox(quilla::OwnerWindow, const std::string&, const std::string&, quilla::MsgButtons buttons,
                               quilla::MsgIcon) override {
    return buttons == quilla::MsgButtons::YesNo ? answer : quilla::MsgResult::Ok;
  }
  void SetWindowTitle(const std::string&) override {}
  bool PumpPendingMessages(const std::function<bool()>&) override { return true; }
  bool WaitAndDispatchOneMessage() override { return true; }
  void ShowWaitCursor() override {}
  void RestoreCursor() override {}
  void ShowBusyMenu(int) override {}
  void RestoreMainMenu() override {}
  void SetToolbarBusy(bool) override {}
  bool IsFullScreen() override { return false; }
  void LeaveFullScreen() override {}
  void RealizePalette() override {}
  void FitWindowToImage() override {}
  quilla::ScreenRect WorkArea() override { return {0, 0, 1024, 768}; }
};

ScriptHost host;

std::string TempName(const char* what) {
  return "/tmp/jpeg_reader_fuzz." + std::to_string(getpid()) + "." + what + ".jpg";
}

bool Store(const std::string& name, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(name.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

// Frames larger than this are not decoded: the library's whole-image buffers would pass
// the fuzzer's memory limit while being perfectly legal.
constexpr uint64_t kMaxFuzzPixels = uint64_t(1) << 22;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  quilla::InstallHost(&host);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quilla;
  static const std::string input = TempName("in"), output = TempName("out");
  if (!Store(input, data, size)) return 0;
  DIBImage document;
  KeepFileName(document, input.c_str());
  if (ProbeJpegFile(document) != kJpegFile) return 0;
  if (ProbeJpegSize(document) != kJpegFile) return 0;
  if (uint64_t(document.fileWidth) * document.fileHeight > kMaxFuzzPixels) return 0;

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
  host.answer = choice & 1 ? MsgResult::No : MsgResult::Yes;

  if (ReadImageFile(document, input.c_str()) && document.HasImage()) {
    int width = document.Width(), height = document.Height();
    document.fileType = kJpegFile;
    if (WriteImageFile(document, output.c_str())) {
      // Read back at full size, whatever the choices above.
      o.SetJpegDenom(kJpegNormal, 1);
      DIBImage back;
      if (!ReadImageFile(back, output.c_str()) || back.Width() != width || back.Height() != height) std::abort();
    }
  }
  DIBImage preview;
  int result = ReadImagePreview(preview, input.c_str(), 64, 48);
  if (result == 2 && preview.HasImage()) std::abort();
  if (result != 2 && (preview.Width() > 64 || preview.Height() > 48)) std::abort();
  return 0;
}
