#include <algorithm>
#include <cstring>
#include <memory>

#include <jerror.h>

#include "color/windows16_palette.h"
#include "core/dib_image.h"
#include "core/messages.h"
#include "core/size_limits.h"
#include "formats/codec_abort.h"
#include "formats/file_types.h"
#include "formats/jpeg/jpeg_codec.h"
#include "formats/jpeg/jpeg_library.h"
#include "formats/jpeg/jpeg_options.h"
#include "formats/transfer.h"

namespace quilla {

namespace {

constexpr JDIMENSION kRowsPerCall = 16;
// A Huffman-coded block takes a bit at least, and at the largest sampling factors (4 x 4)
// one block covers 32 x 32 pixels. Arithmetic coding has no such bound; it is held to it.
constexpr uint64_t kMaxPixelsPerFileByte = 8 * 32 * 32;

// Everything one read needs, in one record without destructors: the library's frames and
// the decoding function below may be left by a longjmp at any point.
struct ReadSession {
  jpeg_decompress_struct cinfo;
  jpeg::ErrorManager error;
  jpeg::ProgressMonitor progress;
  jpeg::SourceManager source;
  DIBImage* document;
  Transfer* transfer;
  ByteReader* in;
  uint64_t fileBytes;
  bool preview;
  int maxWidth, maxHeight;  // the box of a preview
  JpegDecodeSetup setup;
  JpegReadColorOptions color;
  bool quantizing, twoPass, grayscale;
  bool noMemory;    // the image could not be created
  uint8_t* lastRow;  // first byte of the last row in memory: the top row of the picture
  uint32_t stride;
  JSAMPLE colormap[3][256];
  JSAMPROW colormapRows[3];
};

void UseWindows16Map(ReadSession& s) {
  for (size_t i = 0; i < Windows16Palette.size(); ++i) {
    s.colormap[0][i] = Windows16Palette[i].blue;
    s.colormap[1][i] = Windows16Palette[i].green;
    s.colormap[2][i] = Windows16Palette[i].red;
  }
  for (int c = 0; c < 3; ++c) s.colormapRows[c] = s.colormap[c];
  s.cinfo.colormap = s.colormapRows;
  s.cinfo.actual_number_of_colors = int(Windows16Palette.size());
  s.cinfo.desired_number_of_colors = int(Windows16Palette.size());
  s.cinfo.two_pass_quantize = FALSE;
}

// The library's parameters from the decompression set and the colour options.
void ChooseParameters(ReadSession& s) {
  jpeg_decompress_struct& c = s.cinfo;
  // Rows come out in the document's blue, green, red order; grey files stay grey.
  if (c.out_color_space != JCS_GRAYSCALE) c.out_color_space = JCS_EXT_BGR;
  bool gray = s.preview ? s.color.previewGray : s.setup.grayscale != 0;
  if (gray) c.out_color_space = JCS_GRAYSCALE;

  s.quantizing = s.color.quantize;
  s.twoPass = false;
  if (s.quantizing) {
    c.quantize_colors = TRUE;
    if (s.color.systemPalette) {
      UseWindows16Map(s);
    } else {
      c.desired_number_of_colors = s.preview ? 256 : s.color.colors;
      c.two_pass_quantize = s.preview || s.setup.onePass == 0 ? TRUE : FALSE;
      s.twoPass = c.two_pass_quantize != FALSE;
    }
    if (s.preview) c.dither_mode = JDITHER_FS;
    else if (!s.color.dither) c.dither_mode = JDITHER_NONE;
    else c.dither_mode = s.setup.fastQuantizing ? JDITHER_ORDERED : JDITHER_FS;
  }

  if (s.preview) {
    c.scale_denom = unsigned(JpegPreviewDenominator(int(c.image_width), int(c.image_height), s.maxWidth, s.maxHeight));
    c.do_fancy_upsampling = FALSE;
    c.dct_method = JDCT_IFAST;
    return;
  }
  int denominator = s.setup.denominator;
  c.scale_denom = denominator == 2 || denominator == 4 || denominator == 8 ? unsigned(denominator) : 1;
  c.do_fancy_upsampling = s.setup.fastUpsampling == 0 ? TRUE : FALSE;
  c.dct_method = s.setup.dctType == 1 ? JDCT_IFAST : s.setup.dctType == 2 ? JDCT_FLOAT : JDCT_ISLOW;
}

// The image the rows go to; false when it cannot be had.
bool CreateDocumentImage(ReadSession& s) {
  jpeg_decompress_struct& c = s.cinfo;
  RgbQuad table[256] = {};
  int count = 0;
  if (s.quantizing) {
    count = std::clamp(c.actual_number_of_colors, 0, 256);
    for (int i = 0; i < count; ++i) {
      uint8_t first = c.colormap[0][i];
      table[i] = s.grayscale ? RgbQuad{first, first, first, 0}
                             : RgbQuad{first, c.colormap[1][i], c.colormap[2][i], 0};
    }
  }
  DIBImage& document = *s.document;
  if (!document.CreateImage(int(c.output_width), int(c.output_height), !s.quantizing, table, count, 0)) return false;
  if (!s.transfer->TryLockImage()) return false;
  s.lastRow = document.RowPointer(0);
  s.stride = document.RowStride();
  return true;
}

// The output of a header, checked against what the document can hold before the library
// takes any memory for it.
bool OutputFits(const jpeg_decompress_struct& c, bool quantizing) {
  if (c.output_width == 0 || c.output_height == 0) return false;
  if (c.output_width > kMaxImageSide || c.output_height > kMaxImageSide) return false;
  auto stride = CheckedRowStride(c.output_width, quantizing ? 8 : 24);
  return stride && CheckedMul(*stride, c.output_height);
}

// A frame larger than the file can code at the densest, which the library would fill in
// from nothing, is refused before the library or the document takes memory for it.
bool FileCanHold(const jpeg_decompress_struct& c, uint64_t fileBytes) {
  return uint64_t(c.image_width) * c.image_height <= fileBytes * kMaxPixelsPerFileByte;
}

// Decoded rows go straight into the document's rows, top row first; only grey output
// for a true-colour image passes through a buffer to become three equal bytes.
void ReadRows(ReadSession& s) {
  jpeg_decompress_struct& c = s.cinfo;
  bool expand = s.grayscale && !s.quantizing;
  JSAMPARRAY buffer = nullptr;
  if (expand) buffer = (*c.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&c), JPOOL_IMAGE, c.output_width, kRowsPerCall);
  JSAMPROW rows[kRowsPerCall];
  while (c.output_scanline < c.output_height) {
    JDIMENSION first = c.output_scanline;
    JDIMENSION wanted = std::min(kRowsPerCall, c.output_height - first);
    for (JDIMENSION i = 0; i < wanted; ++i) rows[i] = s.lastRow - size_t(first + i) * s.stride;
    JDIMENSION got = jpeg_read_scanlines(&c, expand ? buffer : rows, wanted);
    if (got == 0) break;  // the library's finish reports the missing rows
    if (expand) {
      for (JDIMENSION i = 0; i < got; ++i) {
        const JSAMPLE* grey = buffer[i];
        uint8_t* out = rows[i];
        for (JDIMENSION x = 0; x < c.output_width; ++x, out += 3) out[0] = out[1] = out[2] = grey[x];
      }
    }
  }
}

// The decoding itself. A longjmp from the library's hooks lands at the setjmp below; this
// frame holds nothing that needs destroying, and the session record is all it uses.
int Decode(ReadSession& s) {
  if (setjmp(s.error.jump)) {
    jpeg_destroy_decompress(&s.cinfo);
    return 0;
  }
  jpeg_create_decompress(&s.cinfo);
  jpeg::HandMemoryOptions(reinterpret_cast<j_common_ptr>(&s.cinfo));
  jpeg::UseSource(&s.cinfo, s.source, *s.in);
  jpeg_read_header(&s.cinfo, TRUE);
  if (s.preview) {
    s.document->decodedWidth = int32_t(s.cinfo.image_width);
    s.document->decodedHeight = int32_t(s.cinfo.image_height);
  }
  ChooseParameters(s);
  jpeg::InitProgressMonitor(s.progress, s.error, !s.preview, s.quantizing && s.twoPass);
  s.cinfo.progress = &s.progress.pub;
  jpeg_calc_output_dimensions(&s.cinfo);
  if (!OutputFits(s.cinfo, s.quantizing)) {
    s.noMemory = true;
    jpeg_destroy_decompress(&s.cinfo);
    return 0;
  }
  if (!FileCanHold(s.cinfo, s.fileBytes)) ERREXIT(&s.cinfo, JWRN_JPEG_EOF);
  if (!s.preview) jpeg::SafeSetCaption("starting decompression...");
  jpeg_start_decompress(&s.cinfo);
  s.grayscale = s.cinfo.out_color_space == JCS_GRAYSCALE;
  if (!CreateDocumentImage(s)) {
    s.noMemory = true;
    jpeg_destroy_decompress(&s.cinfo);
    return 0;
  }
  ReadRows(s);
  if (!s.preview) jpeg::SafeSetCaption("finishing decompression...");
  jpeg_finish_decompress(&s.cinfo);
  jpeg_destroy_decompress(&s.cinfo);
  return 1;
}

// Runs one read; the lock the decoding took is given back however it ended.
int RunRead(ReadSession& s, Transfer& transfer) {
  s.fileBytes = s.in->Size();
  s.cinfo.err = jpeg::InitErrorManager(s.error, transfer.quiet, false, &transfer);
  int ok = Decode(s);
  transfer.UnlockImage();
  return ok;
}

// What a failed operation tells: the library's message, memory, or the user's cancel.
[[noreturn]] void Fail(bool noMemory, const jpeg::ErrorManager& error) {
  if (noMemory) AbortCodec(AbortReason::NoMemory);
  if (error.failed) throw CodecAbort{AbortReason::Message, error.message};
  AbortCodec(error.cancelled ? AbortReason::Cancelled : AbortReason::Silent);
}

struct ProbeSession {
  jpeg_decompress_struct cinfo;
  jpeg::ErrorManager error;
  jpeg::SourceManager source;
  ByteReader* in;
};

int ReadHeaderOnly(ProbeSession& s) {
  if (setjmp(s.error.jump)) {
    jpeg_destroy_decompress(&s.cinfo);
    return 0;
  }
  jpeg_create_decompress(&s.cinfo);
  jpeg::UseSource(&s.cinfo, s.source, *s.in);
  jpeg_read_header(&s.cinfo, TRUE);
  jpeg_destroy_decompress(&s.cinfo);
  return 1;
}

}  // namespace

int ProbeJpeg(ByteReader& in, uint32_t&, uint32_t&) {
  uint8_t head[2] = {};
  return in.ReadSome(head, sizeof head) == 2 && head[0] == 0xFF && head[1] == 0xD8 ? int(kJpegFile) : 0;
}

int ProbeJpegSize(ByteReader& in, uint32_t& width, uint32_t& height) {
  auto s = std::make_unique<ProbeSession>();
  s->in = &in;
  s->cinfo.err = jpeg::InitErrorManager(s->error, true, false);
  if (!ReadHeaderOnly(*s)) return 0;
  width = s->cinfo.image_width;
  height = s->cinfo.image_height;
  return kJpegFile;
}

void ReadJpeg(Transfer& transfer) {
  DIBImage& document = transfer.document;
  // A preview leaves the type alone, and a preview that fails leaves no image.
  if (transfer.quiet)
    transfer.OnCleanUp([&document] { document.FreeImage(); });
  else
    document.fileType = kJpegFile;
  auto s = std::make_unique<ReadSession>();
  s->document = &document;
  s->transfer = &transfer;
  s->in = &transfer.In();
  s->preview = transfer.quiet;
  s->maxWidth = transfer.previewWidth;
  s->maxHeight = transfer.previewHeight;
  if (!s->preview) s->setup = ActiveJpegDecodeSetup();
  s->color = JpegReadColorOptionsFor(transfer.reduction);
  int ok = RunRead(*s, transfer);
  if (!s->preview) jpeg::SafeRestoreCaption();
  if (!ok) Fail(s->noMemory, s->error);
  transfer.partial = s->error.warningSeen;
}

int JpegPreviewDenominator(int width, int height, int maxWidth, int maxHeight) {
  if (maxWidth <= 0 || maxHeight <= 0) return 8;
  double r = std::max(double(width) / maxWidth, double(height) / maxHeight);
  return r > 4 ? 8 : r > 2 ? 4 : r > 1 ? 2 : 1;
}

}  // namespace quilla
