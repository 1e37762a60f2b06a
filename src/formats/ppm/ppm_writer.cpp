#include <string>
#include <vector>

#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "formats/ppm/ppm_codec.h"
#include "formats/transfer.h"

namespace quilla {

void WritePpm(Transfer& transfer) {
  DIBImage& document = transfer.document;
  if (!document.HasImage()) AbortCodec(AbortReason::NoMemory);
  transfer.LockImage();
  ResetProgress();
  const int width = document.Width(), height = document.Height();
  std::vector<uint8_t> row(size_t(width) * 3);
  uint8_t* out = row.data();
  ByteWriter& writer = transfer.Out();
  std::string header = FormatMessageText("P6 %d %d 255\n", width, height);
  writer.Write(header.data(), header.size());

  const bool trueColor = document.IsTrueColor();
  const RgbQuad* table = document.GetColors();
  for (int y = 0; y < height; ++y) {
    transfer.RowDone(y, height, 32);
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
  transfer.UnlockImage();
}

}  // namespace quilla
