#include <algorithm>
#include <cstring>
#include <memory>

#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "formats/codec_abort.h"
#include "formats/jpeg/jpeg_codec.h"
#include "formats/jpeg/jpeg_library.h"
#include "formats/jpeg/jpeg_options.h"
#include "formats/transfer.h"

namespace quilla {

namespace {

constexpr JDIMENSION kRowsPerReport = 32;

// As for reading: one record without destructors, all the coding function uses.
struct WriteSession {
  jpeg_compress_struct cinfo;
  jpeg::ErrorManager error;
  jpeg::DestinationManager destination;
  DIBImage* document;
  ByteWriter* out;
  JpegWriteOptions options;
  bool palette;
  const uint8_t* lastRow;  // the top row of the picture
  uint32_t stride;
  uint8_t lookup[256][3];  // colour-table index -> blue, green, red
};

// Palette rows become blue, green, red through the colour table; indices past the table
// (which a foreign bitmap may hold) write black.
void BuildLookup(WriteSession& s) {
  std::memset(s.lookup, 0, sizeof s.lookup);
  const RgbQuad* colors = s.document->GetColors();
  uint32_t count = std::min<uint32_t>(s.document->ColorCount(), 256);
  for (uint32_t i = 0; i < count; ++i) {
    s.lookup[i][0] = colors[i].blue;
    s.lookup[i][1] = colors[i].green;
    s.lookup[i][2] = colors[i].red;
  }
}

// A longjmp from the library's hooks lands at the setjmp below, as in the reader.
int Encode(WriteSession& s) {
  if (setjmp(s.error.jump)) {
    jpeg_destroy_compress(&s.cinfo);
    return 0;
  }
  jpeg_create_compress(&s.cinfo);
  jpeg::HandMemoryOptions(reinterpret_cast<j_common_ptr>(&s.cinfo));
  jpeg::UseDestination(&s.cinfo, s.destination, *s.out);
  jpeg_compress_struct& c = s.cinfo;
  c.image_width = JDIMENSION(s.document->Width());
  c.image_height = JDIMENSION(s.document->Height());
  c.input_components = 3;
  c.in_color_space = JCS_EXT_BGR;  // the document's own byte order
  jpeg_set_defaults(&c);
  jpeg_set_colorspace(&c, s.options.grayscale ? JCS_GRAYSCALE : JCS_YCbCr);
  ResetProgress();
  JSAMPARRAY built = nullptr;
  if (s.palette) built = (*c.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&c), JPOOL_IMAGE, c.image_width * 3, 1);
  jpeg_set_quality(&c, s.options.quality, FALSE);
  c.optimize_coding = s.options.optimizeEntropy ? TRUE : FALSE;
  c.smoothing_factor = 0;
  jpeg::SafeSetCaption("starting compression...");
  jpeg_start_compress(&c, TRUE);
  JDIMENSION reported = ~JDIMENSION(0);
  while (c.next_scanline < c.image_height) {
    const uint8_t* source = s.lastRow - size_t(c.next_scanline) * s.stride;
    JSAMPROW row;
    if (s.palette) {
      row = built[0];
      uint8_t* out = row;
      for (JDIMENSION x = 0; x < c.image_width; ++x, out += 3) std::memcpy(out, s.lookup[source[x]], 3);
    } else {
      row = const_cast<JSAMPROW>(source);  // the library only reads input rows
    }
    jpeg_write_scanlines(&c, &row, 1);
    JDIMENSION step = c.next_scanline / kRowsPerReport;
    if (step != reported) {
      reported = step;
      if (!jpeg::SafeReportRows(c.next_scanline, c.image_height) || jpeg::StopRequested(s.error)) {
        s.error.cancelled = true;
        jpeg_destroy_compress(&c);
        return 0;
      }
    }
  }
  jpeg::SafeSetCaption("finishing compression...");
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  return 1;
}

}  // namespace

void WriteJpeg(Transfer& transfer) {
  DIBImage& document = transfer.document;
  if (!document.HasImage()) AbortCodec(AbortReason::WriteError);
  transfer.LockImage();
  auto s = std::make_unique<WriteSession>();
  s->document = &document;
  s->out = &transfer.Out();
  s->options = CurrentJpegWriteOptions();
  s->palette = !document.IsTrueColor();
  s->lastRow = document.RowPointer(0);
  s->stride = document.RowStride();
  if (s->palette) BuildLookup(*s);
  s->cinfo.err = jpeg::InitErrorManager(s->error, false, true, &transfer);
  int ok = Encode(*s);
  jpeg::SafeRestoreCaption();
  if (!ok && s->error.failed) throw CodecAbort{AbortReason::Message, s->error.message};
  if (!ok) AbortCodec(s->error.cancelled ? AbortReason::Cancelled : AbortReason::Silent);
  transfer.UnlockImage();
}

}  // namespace quilla
