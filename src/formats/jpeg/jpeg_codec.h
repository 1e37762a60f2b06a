// JPEG files through libjpeg's classic interface: reading at full grain with the active
// decompression set, quiet previews with the Preview choices fitted to a box, baseline
// writing, and the two header probes. FileType 5.
#pragma once
#include <cstdint>

namespace quilla {

class ByteReader;
class Transfer;

// 5 when the file starts with 0xFF 0xD8, else 0.
int ProbeJpeg(ByteReader& in, uint32_t& width, uint32_t& height);
// 5 with the frame size when the library reads a header, else 0. Shows nothing.
int ProbeJpegSize(ByteReader& in, uint32_t& width, uint32_t& height);

// With the active decompression set; a quiet transfer reads a preview with the Preview
// choices fitted to its box (read with warnings: partly read; failed: no image).
void ReadJpeg(Transfer& transfer);
// The scale denominator a preview decodes at, for a stored size and a box.
int JpegPreviewDenominator(int width, int height, int maxWidth, int maxHeight);

void WriteJpeg(Transfer& transfer);

}  // namespace quilla
