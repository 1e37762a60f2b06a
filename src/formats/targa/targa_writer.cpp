#include "core/dib_image.h"
#include "core/progress.h"
#include "formats/codec_abort.h"
#include "formats/targa/targa_codec.h"
#include "formats/targa/targa_header.h"
#include "formats/targa/targa_state.h"
#include "formats/transfer_files.h"

namespace quilla {

namespace {

using namespace targa;

[[noreturn]] void Fail(const char* text) { throw CodecAbort{AbortReason::Message, text}; }

void Put(std::FILE* file, const void* data, size_t n, const char* failure) {
  if (n != 0 && std::fwrite(data, 1, n, file) != n) Fail(failure);
}

void WriteTargaFile(DIBImage& document) {
  std::FILE* file = TransferStream(document.file);
  if (!file) Fail(kHeaderWriteError);
  if (!document.Lock()) AbortCodec(AbortReason::NoMemory);
  holdsLock = true;

  const uint32_t width = uint32_t(document.Width()), height = uint32_t(document.Height());
  const uint32_t colors = document.ColorCount();
  // The header holds the size in 16 bits.
  if (width > 0xFFFF || height > 0xFFFF) Fail(kHeaderWriteError);
  uint8_t header[kTargaHeaderBytes] = {};
  header[1] = colors ? 1 : 0;
  header[2] = colors ? kColorMapped : kTrueColor;
  header[5] = uint8_t(colors), header[6] = uint8_t(colors >> 8);
  header[7] = colors ? 24 : 0;
  header[12] = uint8_t(width), header[13] = uint8_t(width >> 8);
  header[14] = uint8_t(height), header[15] = uint8_t(height >> 8);
  header[16] = colors ? 8 : 24;
  header[17] = 0x20;
  Put(file, header, sizeof header, kHeaderWriteError);

  if (colors) {
    uint8_t map[256 * 3];
    const RgbQuad* table = document.GetColors();
    for (uint32_t i = 0; i < colors; ++i) map[3 * i] = table[i].blue, map[3 * i + 1] = table[i].green, map[3 * i + 2] = table[i].red;
    Put(file, map, size_t(colors) * 3, kWriteError);
  }
  const size_t rowBytes = size_t(width) * (colors ? 1 : 3);
  for (uint32_t y = 0; y < height; ++y) {
    if (!quiet && !ReportProgress(y, height)) AbortCodec(AbortReason::Cancelled);
    Put(file, document.RowPointer(int(y)), rowBytes, kWriteError);
  }
  document.Unlock();
  holdsLock = false;
  if (!CloseTransferFile(document.file)) Fail(kWriteError);
}

}  // namespace

int WriteTarga(DIBImage& document) {
  quiet = false;
  try {
    WriteTargaFile(document);
    return 1;
  } catch (const CodecAbort& abort) {
    AbortTargaWrite(document);
    if (!quiet) ReportCodecAbort(abort, document.fileName);
    return 0;
  }
}

// The file being written is a temporary one, which the save flow removes after a failure,
// so the file under the document's name is never touched here.
void AbortTargaWrite(DIBImage& document) {
  document.ioState = 0;
  CloseTransferFile(document.file);
  if (holdsLock) {
    document.Unlock();
    holdsLock = false;
  }
}

}  // namespace quilla
