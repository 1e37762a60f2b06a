#include "formats/codec_table.h"

#include <iterator>

#include "formats/bmp/bmp_codec.h"
#include "formats/file_types.h"
#include "formats/gif/gif_codec.h"
#include "formats/jpeg/jpeg_codec.h"
#include "formats/pcx/pcx_codec.h"
#include "formats/ppm/ppm_codec.h"
#include "formats/targa/targa_codec.h"
#include "formats/tiff/tiff_codec.h"

namespace quilla {

namespace {
// Probing order: JPEG, GIF, BMP, PCX, PPM, TIFF, Targa; the first non-zero answer wins.
const CodecEntry kCodecs[] = {
    {{kJpegFile, kJpegFile}, ProbeJpeg, ReadJpeg, WriteJpeg, {}},
    {{kGif87a, kGif89a}, ProbeGif, ReadGif, WriteGif, kGifTexts},
    {{kWindowsBmp, kOs2Bmp}, ProbeBmp, ReadBmp, WriteBmp, {}},
    {{kPcxFile, kPcxFile}, ProbePcx, ReadPcx, WritePcx, kPcxTexts},
    {{kPnmFile, kPnmFile}, ProbePpm, ReadPpm, WritePpm, kPpmTexts},
    {{kTiffFile, kTiffCompressed}, ProbeTiff, ReadTiff, WriteTiff, {}},
    {{kTargaFile, kTargaFile}, ProbeTarga, ReadTarga, WriteTarga, kTargaTexts},
};
}  // namespace

const CodecEntry* Codecs(int* count) {
  *count = int(std::size(kCodecs));
  return kCodecs;
}

const CodecEntry* CodecOfType(uint32_t type) {
  for (const CodecEntry& codec : kCodecs)
    if (type != kUnknownFile && (codec.types[0] == type || codec.types[1] == type)) return &codec;
  return nullptr;
}

}  // namespace quilla
