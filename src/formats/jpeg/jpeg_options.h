// What the JPEG adapter takes from the options: the Normal and Preview decompression
// sets, the colour options of reading and the write options.
#pragma once

#include "color/quantize_options.h"

namespace quilla {

// One set of decompression choices; index 0 Normal, 1 Preview.
struct JpegDecodeSetup {
  int grayscale = 0;          // non-zero: one grey channel
  int denominator = 1;        // 1, 2, 4 or 8
  int fastUpsampling = 0;     // non-zero: no smooth chroma upsampling
  int dctType = 0;            // 0 integer accurate, 1 integer fast, 2 floating point
  int fastQuantizing = 0;     // non-zero: ordered dither instead of Floyd-Steinberg
  int onePass = 0;            // non-zero: one-pass colour quantization

  bool operator==(const JpegDecodeSetup&) const = default;
};

// The set of an index, from the options ("LoadJpegGSNormal", ...) and back to them.
JpegDecodeSetup LoadJpegDecodeSetup(int index);
void StoreJpegDecodeSetup(int index, const JpegDecodeSetup& setup);
// The set "JpegDecompressionSetup" names (any value but 1 is Normal).
int ActiveJpegSetupIndex();
JpegDecodeSetup ActiveJpegDecodeSetup();

// The colour options of reading ("NeedQuantizeRead", "UseSysPalette", "NColorsCreatePal",
// "UseDithering") and "ImagePreviewGray".
struct JpegReadColorOptions {
  bool quantize = false;
  bool systemPalette = false;
  int colors = 256;  // kept within what the library can build: 2..256
  bool dither = true;
  bool previewGray = false;
};
// The reduce-while-reading options a transfer read, with "ImagePreviewGray".
JpegReadColorOptions JpegReadColorOptionsFor(const QuantizeOptions& reduction);

// What the writer uses: "JpegQuality", "JpegEntOpt" and "SaveJpegGS" (which a save may have
// switched off for itself).
struct JpegWriteOptions {
  int quality = 75;
  bool optimizeEntropy = true;
  bool grayscale = false;
};
JpegWriteOptions CurrentJpegWriteOptions();

}  // namespace quilla
