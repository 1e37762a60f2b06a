#include <algorithm>
#include <cstring>
#include <string>

#include "color/color_quantizer.h"
#include "color/windows16_palette.h"
#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "formats/byte_reader.h"
#include "formats/codec_abort.h"
#include "formats/file_types.h"
#include "formats/gif/gif_codec.h"
#include "formats/gif/gif_lzw.h"
#include "formats/packed_rows.h"
#include "formats/transfer.h"

namespace quilla {

namespace {

constexpr int kMinCodeSize = 2, kMaxCodeSize = 11;
// One LZW code of at most 12 bits never stands for more than the table size in pixels, so
// a byte of image data holds at most this many; an image the rest of the file cannot
// hold is refused before its memory is taken.
constexpr uint64_t kMaxPixelsPerDataByte = gif::kCodeLimit;

// What the reader has learnt of the file so far.
struct ReaderState {
  bool is89a = false;
  int background = 0;
  bool interlaced = false;
  int width = 0, height = 0;
  bool remap = false;
  int colorCount = 0;
  RgbQuad table[256] = {};
};

// A warning the user may answer with Cancel, which ends the read; quiet reads go on.
void Warning(const Transfer& transfer, const std::string& text) {
  if (!transfer.quiet && !AskOkCancel("%s\n\nDo you want to continue ?", text.c_str()))
    AbortCodec(AbortReason::Cancelled);
}

void ReadExactly(ByteReader& in, void* out, size_t n, const char* failure) {
  if (in.Remaining() < n) gif::Fatal(failure);
  in.Read(out, n);
}

uint8_t ReadByteOr(ByteReader& in, const char* failure) {
  if (in.Remaining() < 1) gif::Fatal(failure);
  return in.Byte();
}

// Reads the sub-blocks of an extension; calls take(data, count) for each.
template <class Take>
void ReadSubBlocks(ByteReader& in, Take take) {
  uint8_t data[255];
  for (;;) {
    int count = ReadByteOr(in, gif::kPrematureEof);
    if (count == 0) return;
    ReadExactly(in, data, size_t(count), gif::kPrematureEof);
    take(data, count);
  }
}

void ReadColorTable(ByteReader& in, ReaderState& state, int entries, const char* failure) {
  uint8_t rgb[256 * 3];
  ReadExactly(in, rgb, size_t(entries) * 3, failure);
  LoadColorTable(rgb, uint32_t(entries), 3, EntryOrder::RedGreenBlue, state.table);
}

// Files without any colour table get a grey ramp, so that what they hold can be seen.
void GreyTable(ReaderState& state, int entries) {
  for (int i = 0; i < entries; ++i) {
    auto level = uint8_t(entries > 1 ? i * 255 / (entries - 1) : 0);
    state.table[i] = {level, level, level, 0};
  }
}

}  // namespace

void ReadGif(Transfer& transfer) {
  DIBImage& document = transfer.document;
  if (!GifCoderReady()) AbortCodec(AbortReason::NoMemory);
  // A read keeps the rows decoded before a failure; a preview's half-decoded image is no
  // thumbnail for the readers tried after this one.
  transfer.OnCleanUp([&transfer] {
    transfer.document.FreeRowBuffer();
    if (transfer.quiet) transfer.document.FreeImage();
  });
  ByteReader& in = transfer.In();
  ReaderState state;

  uint8_t header[6];
  if (in.Remaining() < sizeof header) gif::Fatal("Not a GIF file");
  in.Read(header, sizeof header);
  if (std::memcmp(header, "GIF", 3) != 0) gif::Fatal("Not a GIF file");
  if (std::memcmp(header + 3, "87a", 3) != 0 && std::memcmp(header + 3, "89a", 3) != 0)
    Warning(transfer, FormatMessageText("Unexpected GIF version number '%c%c%c'", header[3], header[4], header[5]));
  state.is89a = std::memcmp(header + 3, "87a", 3) != 0;

  uint8_t screen[7];
  ReadExactly(in, screen, sizeof screen, "Short file");
  state.colorCount = 2 << (screen[4] & 7);
  bool haveTable = screen[4] & 0x80;
  if (haveTable) ReadColorTable(in, state, state.colorCount, "Short file");
  state.background = screen[5];

  // The first image; extensions before it are read or skipped.
  for (;;) {
    uint8_t c = ReadByteOr(in, gif::kPrematureEof);
    if (c == ';') gif::Fatal("Too few images in GIF file");
    if (c == ',') break;
    if (c == '!') {
      uint8_t label = ReadByteOr(in, gif::kPrematureEof);
      if (label == 0xF9 && state.is89a) {
        ReadSubBlocks(in, [&state](const uint8_t* data, int count) {
          if (count == 4) state.background = data[3];
        });
      } else {
        ReadSubBlocks(in, [](const uint8_t*, int) {});
      }
      continue;
    }
    Warning(transfer, FormatMessageText("Bogus input char 0x%02x, ignoring", c));
  }

  uint8_t descriptor[9];
  ReadExactly(in, descriptor, sizeof descriptor, gif::kPrematureEof);
  state.width = LoadU16le(descriptor + 4);
  state.height = LoadU16le(descriptor + 6);
  state.interlaced = descriptor[8] & 0x40;
  if (descriptor[8] & 0x80) {
    state.colorCount = 2 << (descriptor[8] & 7);
    ReadColorTable(in, state, state.colorCount, gif::kPrematureEof);
    haveTable = true;
  }
  if (!haveTable) GreyTable(state, state.colorCount);
  int codeSize = ReadByteOr(in, gif::kPrematureEof);
  if (codeSize < kMinCodeSize || codeSize > kMaxCodeSize) gif::Fatal(FormatMessageText("Bogus codesize %d", codeSize).c_str());
  if (state.width == 0 || state.height == 0) AbortCodec(AbortReason::NoMemory);
  if (uint64_t(state.width) * uint64_t(state.height) > (in.Remaining() + 1) * kMaxPixelsPerDataByte)
    gif::Fatal(gif::kPrematureEof);
  gif::LzwDecoder decoder(*gif::Tables());
  decoder.Start(in, codeSize, state.colorCount);

  // A background index past the colour table would fill with an undefined colour.
  int background = state.background < state.colorCount ? state.background : 0;
  const RgbQuad* imageTable = state.table;
  int imageColors = state.colorCount;
  state.remap = transfer.reduction.needQuantizeRead && transfer.reduction.useSysPalette;
  bool dither = false;
  ColorQuantizer* quantizer = nullptr;
  if (state.remap) {
    if (!ColorQuantizerReady()) AbortCodec(AbortReason::NoMemory);
    quantizer = &TheColorQuantizer();
    if (!document.AllocRowBuffer(state.width, false)) AbortCodec(AbortReason::NoMemory);
    imageColors = quantizer->UseWindows16();
    quantizer->SetInputPalette(state.table, state.colorCount);
    dither = transfer.reduction.useDithering;
    if (dither && !quantizer->ResetDither(state.width)) AbortCodec(AbortReason::NoMemory);
    imageTable = Windows16Palette.data();
    uint8_t index = uint8_t(background), mapped = 0;
    quantizer->MapPaletteRow(&index, &mapped, 1);
    background = mapped;
  }

  document.decodedWidth = state.width;
  document.decodedHeight = state.height;
  if (!document.CreateImage(state.width, state.height, false, imageTable, imageColors, uint32_t(background)))
    AbortCodec(AbortReason::NoMemory);
  document.fileType = state.is89a ? kGif89a : kGif87a;
  document.SetFillIndex(uint32_t(background));
  transfer.LockImage();

  if (!transfer.quiet) ResetProgress();
  uint8_t* scratch = state.remap ? document.RowBuffer() : nullptr;
  for (int n = 0; n < state.height; ++n) {
    transfer.RowDone(n, state.height, 32);
    int y = state.interlaced ? gif::InterlacedRow(n, state.height) : n;
    uint8_t* row = document.RowPointer(y);
    if (!state.remap) {
      decoder.ReadRow(row, state.width);
    } else {
      decoder.ReadRow(scratch, state.width);
      if (!dither)
        quantizer->MapPaletteRow(scratch, row, state.width);
      else if (!quantizer->DitherPaletteRow(scratch, row, state.width))
        AbortCodec(AbortReason::NoMemory);
    }
  }
  document.FreeRowBuffer();
  transfer.UnlockImage();
}

int ProbeGif(ByteReader& in, uint32_t& width, uint32_t& height) {
  uint8_t header[6];
  in.Read(header, sizeof header);
  if (std::memcmp(header, "GIF", 3) != 0) return 0;
  int type = header[4] == '9' ? kGif89a : kGif87a;
  uint8_t screen[7];
  in.Read(screen, sizeof screen);
  width = LoadU16le(screen);
  height = LoadU16le(screen + 2);
  if (screen[4] & 0x80) in.Skip(uint64_t(6) << (screen[4] & 7));
  for (;;) {
    uint8_t c = in.Byte();
    if (c == ';') return 0;
    if (c == ',') break;
    if (c == '!') {
      in.Byte();
      while (uint8_t count = in.Byte()) in.Skip(count);
    }
  }
  uint8_t descriptor[9];
  in.Read(descriptor, sizeof descriptor);
  width = LoadU16le(descriptor + 4);
  height = LoadU16le(descriptor + 6);
  if (descriptor[8] & 0x80) in.Skip(uint64_t(6) << (descriptor[8] & 7));
  int codeSize = in.Byte();
  return codeSize >= kMinCodeSize && codeSize <= kMaxCodeSize ? type : 0;
}

}  // namespace quilla
