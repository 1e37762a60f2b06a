#include "core/dib_image.h"
#include "formats/targa/targa_codec.h"
#include "formats/targa/targa_header.h"
#include "formats/transfer.h"

namespace quilla {

// The file being written is a temporary one, which the save flow removes after a failure,
// so the file under the document's name is never touched here.
void WriteTarga(Transfer& transfer) {
  using namespace targa;
  DIBImage& document = transfer.document;
  transfer.LockImage();
  const uint32_t width = uint32_t(document.Width()), height = uint32_t(document.Height());
  const uint32_t colors = document.ColorCount();
  uint8_t header[kTargaHeaderBytes] = {};
  header[1] = colors ? 1 : 0;
  header[2] = colors ? kColorMapped : kTrueColor;
  header[5] = uint8_t(colors), header[6] = uint8_t(colors >> 8);
  header[7] = colors ? 24 : 0;
  header[12] = uint8_t(width), header[13] = uint8_t(width >> 8);
  header[14] = uint8_t(height), header[15] = uint8_t(height >> 8);
  header[16] = colors ? 8 : 24;
  header[17] = 0x20;
  ByteWriter& out = transfer.Out();
  out.Write(header, sizeof header);

  if (colors) {
    uint8_t map[256 * 3];
    const RgbQuad* table = document.GetColors();
    for (uint32_t i = 0; i < colors; ++i) map[3 * i] = table[i].blue, map[3 * i + 1] = table[i].green, map[3 * i + 2] = table[i].red;
    out.Write(map, size_t(colors) * 3);
  }
  const size_t rowBytes = size_t(width) * (colors ? 1 : 3);
  for (uint32_t y = 0; y < height; ++y) {
    transfer.RowDone(y, height);
    out.Write(document.RowPointer(int(y)), rowBytes);
  }
  transfer.UnlockImage();
}

}  // namespace quilla
