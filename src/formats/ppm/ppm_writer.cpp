#include <string>
#include <vector>

#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "formats/packed_rows.h"
#include "formats/ppm/ppm_codec.h"
#include "formats/transfer.h"

namespace quilla {

void WritePpm(Transfer& transfer) {
  DIBImage& document = transfer.document;
  if (!document.HasImage()) AbortCodec(AbortReason::NoMemory);
  transfer.LockImage();
  ResetProgress();
  const int width = document.Width(), height = document.Height();
  const size_t rowBytes = size_t(width) * 3;
  ByteWriter& writer = transfer.Out();
  std::string header = FormatMessageText("P6 %d %d 255\n", width, height);
  writer.Write(header.data(), header.size());

  // Rows are converted straight into the writer's block; a row longer than a block goes
  // through a row of its own.
  std::vector<uint8_t> longRow(rowBytes > kFileBlockBytes ? rowBytes : 0);
  const bool trueColor = document.IsTrueColor();
  const RgbQuad* table = document.GetColors();
  for (int y = 0; y < height; ++y) {
    transfer.RowDone(y, height, 32);
    const uint8_t* src = document.RowPointer(y);
    uint8_t* dst = longRow.empty() ? writer.Claim(rowBytes) : longRow.data();
    if (trueColor) {
      SwapRedBlue(src, size_t(width), dst);
    } else {
      for (int x = 0; x < width; ++x) {
        const RgbQuad& c = table[src[x]];
        dst[3 * x] = c.red;
        dst[3 * x + 1] = c.green;
        dst[3 * x + 2] = c.blue;
      }
    }
    if (!longRow.empty()) writer.Write(longRow.data(), rowBytes);
  }
  transfer.UnlockImage();
}

}  // namespace quilla
