#include <cstring>
#include <memory>

#include "color/color_quantizer.h"
#include "color/color_reduction.h"
#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "formats/byte_writer.h"
#include "formats/codec_abort.h"
#include "formats/file_types.h"
#include "formats/gif/gif_codec.h"
#include "formats/gif/gif_lzw.h"
#include "formats/gif/gif_options.h"
#include "formats/transfer_files.h"

namespace quilla {

namespace {

constexpr const char kWriteErrorText[] = "Output file write error";

// Writer state, process-wide and set anew by every write.
struct WriterState {
  bool quiet = false;
  DIBImage* document = nullptr;
  bool documentLocked = false;
  // The palette copy a true-colour image is written through.
  std::unique_ptr<DIBImage> temporary;
  bool temporaryLocked = false;
};
WriterState state;

// The bits per pixel of a colour count: the smallest n >= 1 with 2^n >= count.
int BitsForColors(uint32_t colors) {
  int bits = 1;
  while ((1u << bits) < colors) ++bits;
  return bits;
}

bool Cancelled(int n, int height) {
  if (state.quiet) return false;
  return n % 32 == 0 ? !ReportProgress(n, height) : !PollCancel();
}

void WriteGifFile(DIBImage& document, DIBImage& source) {
  if (!document.Lock()) AbortCodec(AbortReason::WriteError);
  state.documentLocked = true;
  if (&source != &document) {
    if (!source.Lock()) AbortCodec(AbortReason::WriteError);
    state.temporaryLocked = true;
  }
  ByteWriter out(TransferStream(document.file));

  if (!state.quiet) ResetProgress();
  bool interlaced = gif::SaveInterlaced();
  int width = source.Width(), height = source.Height();
  if (width > 0xFFFF || height > 0xFFFF) gif::Fatal(kWriteErrorText);
  uint32_t colors = source.ColorCount();
  int bits = BitsForColors(colors);
  int tableSize = 1 << bits;
  int codeSize = bits < 2 ? 2 : bits;
  auto fill = uint8_t(source.GetFillIndex());
  bool is89a = document.fileType != kGif87a;

  uint8_t head[13 + 256 * 3 + 8 + 10 + 1];
  size_t n = 0;
  std::memcpy(head, is89a ? "GIF89a" : "GIF87a", 6);
  n = 6;
  head[n++] = uint8_t(width), head[n++] = uint8_t(width >> 8);
  head[n++] = uint8_t(height), head[n++] = uint8_t(height >> 8);
  head[n++] = uint8_t(0x80 | (bits - 1) << 4 | (bits - 1));
  head[n++] = fill;
  head[n++] = 0;
  const RgbQuad* table = source.GetColors();
  for (int i = 0; i < tableSize; ++i) {
    RgbQuad c = uint32_t(i) < colors ? table[i] : RgbQuad{0, 0, 0, 0};
    head[n++] = c.red, head[n++] = c.green, head[n++] = c.blue;
  }
  if (is89a) {
    const uint8_t control[8] = {0x21, 0xF9, 4, 1, 0, 0, fill, 0};
    std::memcpy(head + n, control, sizeof control);
    n += sizeof control;
  }
  const uint8_t descriptor[10] = {',', 0, 0, 0, 0, uint8_t(width), uint8_t(width >> 8), uint8_t(height),
                                  uint8_t(height >> 8), uint8_t(interlaced ? 0x40 : 0)};
  std::memcpy(head + n, descriptor, sizeof descriptor);
  n += sizeof descriptor;
  head[n++] = uint8_t(codeSize);
  out.Write(head, n);

  gif::LzwEncoder encoder(*gif::Tables());
  encoder.Start(out, codeSize + 1);
  for (int row = 0; row < height; ++row) {
    if (Cancelled(row, height)) AbortCodec(AbortReason::Cancelled);
    int y = interlaced ? gif::InterlacedRow(row, height) : row;
    encoder.CompressRow(source.RowPointer(y), width, unsigned(tableSize));
  }
  encoder.Finish();
  const uint8_t tail[2] = {0, ';'};
  out.Write(tail, sizeof tail);
  if (!CloseTransferFile(document.file)) AbortCodec(AbortReason::WriteError);

  if (state.temporaryLocked) source.Unlock();
  state.temporaryLocked = false;
  state.temporary.reset();
  document.Unlock();
  state.documentLocked = false;
}

}  // namespace

int WriteGif(DIBImage& document) {
  state.quiet = false;
  state.document = &document;
  state.documentLocked = state.temporaryLocked = false;
  state.temporary.reset();
  if (!GifCoderReady() && !InitializeGifCoder()) {
    CloseTransferFile(document.file);
    ShowNoMemory();
    return 0;
  }
  DIBImage* source = &document;
  if (document.IsTrueColor()) {
    // Palette formats hold at most 256 colours: the image is reduced into a copy.
    bool ok = ColorQuantizerReady() || InitializeColorQuantizer();
    if (ok) {
      state.temporary.reset(new (std::nothrow) DIBImage);
      ok = state.temporary && QuantizeInto(*state.temporary, document, 256, gif::UseDithering(), false);
    }
    if (!ok) {
      CloseTransferFile(document.file);
      state.temporary.reset();
      ShowNoMemory();
      return 0;
    }
    source = state.temporary.get();
  }
  try {
    WriteGifFile(document, *source);
    return 1;
  } catch (const CodecAbort& abort) {
    AbortGifWrite(document);
    if (abort.reason == AbortReason::WriteError)
      ShowWarning("%s", kWriteErrorText);
    else
      ReportCodecAbort(abort, document.fileName);
    return 0;
  }
}

void AbortGifWrite(DIBImage& document) {
  if (state.documentLocked && state.document == &document) {
    state.documentLocked = false;
    document.Unlock();
  }
  if (state.temporary) {
    if (state.temporaryLocked) state.temporary->Unlock();
    state.temporaryLocked = false;
    state.temporary.reset();
  }
  // The file is the temporary the dispatch created; it removes it after a failure.
  CloseTransferFile(document.file);
}

}  // namespace quilla
