// Feeds arbitrary bytes to the GIF probe, the quiet preview reader and the full reader
// (whose warnings are answered "continue"); a file that reads is written back and must
// read again with the same pixels.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "core/dib_image.h"
#include "core/host.h"
#include "core/messages.h"
#include "formats/file_types.h"
#include "formats/gif/gif_codec.h"
#include "formats/image_files.h"
#include "formats/transfer_files.h"

namespace {

class SilentHost : public quilla::Host {
 public:
  quilla::MsgResult MessageBox(quilla::OwnerWindow, const std::string&, const std::string&, quilla::MsgButtons buttons,
                               quilla::MsgIcon) override {
    return buttons == quilla::MsgButtons::YesNo || buttons == quilla::MsgButtons::YesNoCancel ? quilla::MsgResult::Yes
                                                                                           : quilla::MsgResult::Ok;
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

std::string TempName(const char* what) {
  return "/tmp/gif_reader_fuzz." + std::to_string(getpid()) + "." + what + ".gif";
}

bool Store(const std::string& name, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(name.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static SilentHost host;
  quilla::InstallHost(&host);
  if (!quilla::InitializeGifCoder()) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string input = TempName("in"), output = TempName("out");
  if (!Store(input, data, size)) return 0;

  quilla::DIBImage preview;
  quilla::KeepFileName(preview, input.c_str());
  quilla::ProbeGif(preview);
  quilla::ReadGifPreview(preview, 64, 64);

  quilla::DIBImage document;
  quilla::KeepFileName(document, input.c_str());
  if (!quilla::ReadGif(document) || uint64_t(document.Width()) * uint64_t(document.Height()) > (1u << 20)) return 0;

  // What was read is written and read back unchanged.
  document.file = quilla::OpenTransferFile(output.c_str(), "wb");
  if (document.file == quilla::kNoFile) return 0;
  if (!quilla::WriteGif(document)) std::abort();
  quilla::DIBImage back;
  quilla::KeepFileName(back, output.c_str());
  if (!quilla::ReadGif(back) || back.Width() != document.Width() || back.Height() != document.Height()) std::abort();
  document.Lock();
  back.Lock();
  for (int y = 0; y < document.Height(); ++y)
    if (std::memcmp(document.RowPointer(y), back.RowPointer(y), size_t(document.Width())) != 0) std::abort();
  back.Unlock();
  document.Unlock();
  return 0;
}
