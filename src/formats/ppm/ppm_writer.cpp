#include <algorithm>
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
  // Rows are converted a block or more at a time, which goes to the file in one write.
  const int rowsPerChunk = int(std::min((kFileBlockBytes + rowBytes - 1) / rowBytes, size_t(height)));
  std::vector<uint8_t> chunk(rowBytes * size_t(rowsPerChunk));
  ByteWriter& writer = transfer.Out();
  std::string header = FormatMessageText("P6 %d %d 255\n", width, height);
  writer.Write(header.data(), header.size());

  const bool trueColor = document.IsTrueColor();
  const RgbQuad* table = document.GetColors();
  uint8_t* dst = chunk.data();
  for (int y = 0; y < height; ++y) {
    transfer.RowDone(y, height, 32);
    const uint8_t* src = document.RowPointer(y);
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
    dst += rowBytes;
    if (dst == chunk.data() + chunk.size() || y == height - 1) {
      writer.Write(chunk.data(), size_t(dst - chunk.data()));
      dst = chunk.data();
    }
  }
  transfer.UnlockImage();
}

}  // namespace quilla
