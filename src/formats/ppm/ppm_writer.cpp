#include <new>
#include <string>

#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "formats/byte_writer.h"
#include "formats/codec_abort.h"
#include "formats/ppm/ppm_codec.h"
#include "formats/ppm/ppm_state.h"
#include "formats/transfer_files.h"

namespace quilla {

namespace {

constexpr const char kWriteError[] = "Error writing PBM file";

void WritePpmFile(DIBImage& document) {
  ppm::CodecState& s = ppm::State();
  std::FILE* stream = TransferStream(document.file);
  if (!stream) AbortCodec(AbortReason::WriteError);
  if (!document.HasImage() || !document.Lock()) AbortCodec(AbortReason::NoMemory);
  s.locked = true;
  ResetProgress();
  const int width = document.Width(), height = document.Height();
  try {
    s.buffer.resize(size_t(width) * 3);
  } catch (const std::bad_alloc&) {
    AbortCodec(AbortReason::NoMemory);
  }
  uint8_t* out = s.buffer.data();
  ByteWriter writer(stream);
  std::string header = FormatMessageText("P6 %d %d 255\n", width, height);
  writer.Write(header.data(), header.size());

  const bool trueColor = document.IsTrueColor();
  const RgbQuad* table = document.GetColors();
  for (int y = 0; y < height; ++y) {
    int go = y % 32 == 0 ? ReportProgress(y, height) : PollCancel();
    if (!go) AbortCodec(AbortReason::Cancelled);
    const uint8_t* src = document.RowPointer(y);
    uint8_t* dst = out;
    if (trueColor) {
      for (int x = 0; x < width; ++x, src += 3, dst += 3) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
      }
    } else {
      for (int x = 0; x < width; ++x, dst += 3) {
        const RgbQuad& c = table[src[x]];
        dst[0] = c.red;
        dst[1] = c.green;
        dst[2] = c.blue;
      }
    }
    writer.Write(out, size_t(width) * 3);
  }
  ppm::ReleaseState(document);
  if (!CloseTransferFile(document.file)) AbortCodec(AbortReason::WriteError);
}

}  // namespace

int WritePpm(DIBImage& document) {
  ppm::CodecState& s = ppm::State();
  s.quiet = false;
  try {
    WritePpmFile(document);
    return 1;
  } catch (const CodecAbort& abort) {
    AbortPpmWrite(document);
    if (abort.reason == AbortReason::WriteError)
      ShowWarning("%s", kWriteError);
    else
      ReportCodecAbort(abort, document.fileName);
    return 0;
  }
}

void AbortPpmWrite(DIBImage& document) {
  // The dispatch removes the unfinished file once it is closed.
  ppm::ReleaseState(document);
  CloseTransferFile(document.file);
}

}  // namespace quilla
