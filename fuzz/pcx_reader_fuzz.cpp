// Feeds arbitrary bytes to the PCX probe, the quiet preview reader and the full reader; a
// file that reads is written back and must read again with the same colours.
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
#include "formats/pcx/pcx_codec.h"
#include "formats/transfer_files.h"

namespace {

class SilentHost : public quilla::Host {
 public:
  quilla::MsgResult MessageBox(quilla::OwnerWindow, const std::string&, const std::string&, quilla::MsgButtons,
                               quilla::MsgIcon) override {
    return quilla::MsgResult::Ok;
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
  return "/tmp/pcx_reader_fuzz." + std::to_string(getpid()) + "." + what + ".pcx";
}

bool Store(const std::string& name, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(name.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

uint32_t ColorAt(quilla::DIBImage& d, int x, int y) {
  const uint8_t* row = d.RowPointer(y);
  if (d.IsTrueColor()) return uint32_t(row[3 * x]) | uint32_t(row[3 * x + 1]) << 8 | uint32_t(row[3 * x + 2]) << 16;
  quilla::RgbQuad c = d.GetColors()[row[x]];
  return uint32_t(c.blue) | uint32_t(c.green) << 8 | uint32_t(c.red) << 16;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static SilentHost host;
  quilla::InstallHost(&host);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string input = TempName("in"), output = TempName("out");
  if (!Store(input, data, size)) return 0;

  quilla::DIBImage preview;
  quilla::KeepFileName(preview, input.c_str());
  quilla::ProbePcx(preview);
  quilla::ReadPcxPreview(preview, 64, 64);
  if (preview.IsLocked()) std::abort();

  quilla::DIBImage document;
  quilla::KeepFileName(document, input.c_str());
  int ok = quilla::ReadPcx(document);
  if (document.IsLocked() || document.file != quilla::kNoFile) std::abort();
  if (!ok || uint64_t(document.Width()) * uint64_t(document.Height()) > (1u << 20)) return 0;

  // What was read is written and read back with the same colours.
  document.file = quilla::OpenTransferFile(output.c_str(), "wb");
  if (document.file == quilla::kNoFile) return 0;
  if (!quilla::WritePcx(document)) std::abort();
  quilla::DIBImage back;
  quilla::KeepFileName(back, output.c_str());
  if (!quilla::ReadPcx(back) || back.Width() != document.Width() || back.Height() != document.Height()) std::abort();
  document.Lock();
  back.Lock();
  for (int y = 0; y < document.Height(); ++y)
    for (int x = 0; x < document.Width(); ++x)
      if (ColorAt(document, x, y) != ColorAt(back, x, y)) std::abort();
  back.Unlock();
  document.Unlock();
  return 0;
}
