// Feeds arbitrary bytes to the BMP probe, the quiet preview reader and the full reader; a
// file that reads is written back with its own header kind and must read again the same.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/dib_image.h"
#include "core/host.h"
#include "core/messages.h"
#include "formats/bmp/bmp_codec.h"
#include "formats/image_files.h"
#include "formats/transfer_files.h"

namespace {

class QuietHost : public quilla::Host {
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
  return "/tmp/bmp_reader_fuzz." + std::to_string(getpid()) + "." + what + ".bmp";
}

bool Store(const std::string& name, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(name.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

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
  static QuietHost host;
  quilla::InstallHost(&host);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string input = TempName("in"), output = TempName("out");
  if (!Store(input, data, size)) return 0;

  quilla::DIBImage preview;
  quilla::KeepFileName(preview, input.c_str());
  quilla::ProbeBmp(preview);
  quilla::ReadBmpPreview(preview, 64, 64);

  quilla::DIBImage document;
  quilla::KeepFileName(document, input.c_str());
  if (!quilla::ReadBmp(document)) {
    if (document.HasImage() || document.file != quilla::kNoFile) std::abort();  // a failure frees everything
    return 0;
  }
  if (uint64_t(document.Width()) * uint64_t(document.Height()) > (1u << 22) || !IndicesInTable(document)) return 0;

  document.file = quilla::OpenTransferFile(output.c_str(), "wb");
  if (document.file == quilla::kNoFile) return 0;
  if (!quilla::WriteBmp(document)) std::abort();
  quilla::DIBImage back;
  quilla::KeepFileName(back, output.c_str());
  if (!quilla::ReadBmp(back) || back.Width() != document.Width() || back.Height() != document.Height() ||
      back.fileType != document.fileType || back.ColorCount() != document.ColorCount())
    std::abort();
  document.Lock();
  back.Lock();
  size_t rowBytes = size_t(document.Width()) * (document.IsTrueColor() ? 3 : 1);
  for (int y = 0; y < document.Height(); ++y)
    if (std::memcmp(document.RowPointer(y), back.RowPointer(y), rowBytes) != 0) std::abort();
  if (std::memcmp(document.GetColors(), back.GetColors(), document.ColorTableBytes()) != 0) std::abort();
  back.Unlock();
  document.Unlock();
  return 0;
}
