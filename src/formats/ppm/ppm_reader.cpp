#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "core/size_limits.h"
#include "formats/byte_reader.h"
#include "formats/codec_abort.h"
#include "formats/file_types.h"
#include "formats/packed_rows.h"
#include "formats/ppm/ppm_codec.h"
#include "formats/read_settings.h"
#include "formats/transfer.h"

namespace quilla {

namespace {

constexpr const char* kUnexpectedEof = kPpmTexts.shortRead;
constexpr const char kInvalidFile[] = "Invalid or unsupported PBM file";
constexpr int kLargestMaxval = 65535;
// Numbers in the file are read saturating here, well above any accepted value.
constexpr int kNumberCeiling = INT_MAX / 10 - 10;

[[noreturn]] void Fail(const char* text) { throw CodecAbort{AbortReason::Message, text}; }

inline bool IsSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
inline bool IsDigit(int c) { return c >= '0' && c <= '9'; }

// Characters of the file through a buffer of its own, so the ASCII forms cost no call per
// character; reads of whole raw rows go through the bounded reader.
class Source {
 public:
  explicit Source(ByteReader& reader) : in(reader) {}

  // The next byte, or -1 at the end of the file.
  int Get() {
    if (next == end && !Fill()) return -1;
    return buffer[next++];
  }
  // Steps back over the byte the last Get returned.
  void Unget() { --next; }

  bool Read(uint8_t* out, size_t n) {
    size_t take = std::min(n, end - next);
    std::memcpy(out, buffer + next, take);
    next += take;
    return take == n || in.ReadSome(out + take, n - take) == n - take;
  }
  uint64_t Remaining() const { return (end - next) + in.Remaining(); }
  // n raw bytes where the file reader holds them, once this buffer is used up; nullptr
  // when they cannot be had in place (Read takes them then).
  const uint8_t* Borrow(size_t n) { return next == end ? in.Borrow(n) : nullptr; }

  // Skips a comment after its '#', to the end of the line. False at the end of the file.
  bool SkipComment() {
    for (int c = Get();; c = Get()) {
      if (c < 0) return false;
      if (c == '\n' || c == '\r') return true;
    }
  }

  // A header number: whitespace and comments skipped, an optional sign, then digits; the
  // character after it stays unread. False when there is no number.
  bool ScanInt(int& value) {
    int c = Get();
    while (IsSpace(c) || c == '#') {
      if (c == '#' && !SkipComment()) return false;
      c = Get();
    }
    bool negative = c == '-';
    if (c == '-' || c == '+') c = Get();
    if (!IsDigit(c)) return false;
    int v = 0;
    for (; IsDigit(c); c = Get()) v = std::min(v * 10 + (c - '0'), kNumberCeiling);
    if (c >= 0) Unget();
    value = negative ? -v : v;
    return true;
  }

  // A sample of the ASCII forms: anything up to the first digit is skipped, comments
  // included; the character after the digits is consumed unless it starts a comment.
  int Sample() {
    int c = Get();
    while (!IsDigit(c)) {
      if (c < 0 || (c == '#' && !SkipComment())) Fail(kUnexpectedEof);
      c = Get();
    }
    int v = 0;
    for (; IsDigit(c); c = Get()) v = std::min(v * 10 + (c - '0'), kNumberCeiling);
    if (c == '#') Unget();
    return v;
  }

 private:
  bool Fill() {
    next = 0;
    end = in.ReadSome(buffer, sizeof buffer);
    return end != 0;
  }

  ByteReader& in;
  size_t next = 0, end = 0;
  uint8_t buffer[65536];
};

struct Header {
  int magic = 0;  // 1..6
  int width = 0, height = 0;
  int maxval = 1;
};

Header ReadHeader(Source& src) {
  Header h;
  int p = src.Get(), digit = src.Get();
  if (p < 0 || digit < 0) Fail(kUnexpectedEof);
  if (p != 'P' || digit < '1' || digit > '6') Fail(kInvalidFile);
  h.magic = digit - '0';
  if (!src.ScanInt(h.width) || !src.ScanInt(h.height)) Fail(kUnexpectedEof);
  if (h.magic != 1 && h.magic != 4) {
    if (!src.ScanInt(h.maxval)) Fail(kUnexpectedEof);
    if (h.maxval < 1 || h.maxval > kLargestMaxval)
      throw CodecAbort{AbortReason::Message, FormatMessageText("Invalid MaxGray value: %d", h.maxval)};
  }
  int c = src.Get();
  if (c >= 0 && !IsSpace(c)) src.Unget();
  if (h.width <= 0 || h.height <= 0) Fail(kInvalidFile);
  if (uint32_t(h.width) > kMaxImageSide || uint32_t(h.height) > kMaxImageSide) AbortCodec(AbortReason::NoMemory);
  return h;
}

void ReadPixels(Source& src, Transfer& transfer, const Header& h) {
  DIBImage& document = transfer.document;
  const int width = h.width, height = h.height;
  // Samples above the maximum count as the maximum; 0..maximum spreads over 0..255.
  std::vector<uint8_t> scale(size_t(h.maxval) + 1);
  for (int v = 0; v <= h.maxval; ++v) scale[size_t(v)] = uint8_t(v * 255 / h.maxval);
  const uint8_t* level = scale.data();
  const int top = h.maxval;
  const bool wide = h.maxval > 255;  // raw samples of two bytes, most significant first
  size_t rawBytes = 0;
  if (h.magic == 4) rawBytes = (size_t(width) + 7) / 8;
  if (h.magic == 5) rawBytes = size_t(width) * (wide ? 2 : 1);
  if (h.magic == 6) rawBytes = size_t(width) * (wide ? 6 : 3);
  std::vector<uint8_t> rawRow(rawBytes);
  uint8_t* raw = rawRow.data();

  for (int y = 0; y < height; ++y) {
    uint8_t* dst = document.RowPointer(y);
    switch (h.magic) {
      case 1:
        for (int x = 0; x < width; ++x, dst += 3) {
          uint8_t v = src.Sample() ? 0 : 255;
          dst[0] = dst[1] = dst[2] = v;
        }
        break;
      case 2:
        for (int x = 0; x < width; ++x, dst += 3) dst[0] = dst[1] = dst[2] = level[std::min(src.Sample(), top)];
        break;
      case 3:
        for (int x = 0; x < width; ++x, dst += 3) {
          uint8_t r = level[std::min(src.Sample(), top)];
          uint8_t g = level[std::min(src.Sample(), top)];
          dst[0] = level[std::min(src.Sample(), top)];
          dst[1] = g;
          dst[2] = r;
        }
        break;
      default:
        // Rows of byte samples are swapped straight out of the file reader's block, or read
        // into the image and swapped where they are.
        if (h.magic == 6 && top == 255) {
          if (const uint8_t* row = src.Borrow(rawBytes)) {
            SwapRedBlue(row, size_t(width), dst);
            break;
          }
          if (!src.Read(dst, rawBytes)) Fail(kUnexpectedEof);
          SwapRedBlue(dst, size_t(width), dst);
          break;
        }
        if (!src.Read(raw, rawBytes)) Fail(kUnexpectedEof);
        if (h.magic == 4) {
          for (int x = 0; x < width; ++x, dst += 3) dst[0] = dst[1] = dst[2] = raw[x >> 3] >> (7 - (x & 7)) & 1 ? 0 : 255;
        } else if (h.magic == 5 && !wide) {
          for (int x = 0; x < width; ++x, dst += 3) dst[0] = dst[1] = dst[2] = level[std::min(int(raw[x]), top)];
        } else if (h.magic == 5) {
          for (int x = 0; x < width; ++x, dst += 3)
            dst[0] = dst[1] = dst[2] = level[std::min(raw[2 * x] << 8 | raw[2 * x + 1], top)];
        } else if (!wide) {
          const uint8_t* p = raw;
          for (int x = 0; x < width; ++x, dst += 3, p += 3) {
            dst[0] = level[std::min(int(p[2]), top)];
            dst[1] = level[std::min(int(p[1]), top)];
            dst[2] = level[std::min(int(p[0]), top)];
          }
        } else {
          const uint8_t* p = raw;
          for (int x = 0; x < width; ++x, dst += 3, p += 6) {
            dst[0] = level[std::min(p[4] << 8 | p[5], top)];
            dst[1] = level[std::min(p[2] << 8 | p[3], top)];
            dst[2] = level[std::min(p[0] << 8 | p[1], top)];
          }
        }
        break;
    }
    // Progress every 64th row, cancel polls between.
    transfer.RowDone(y, height, 64);
  }
}

}  // namespace

void ReadPpm(Transfer& transfer) {
  DIBImage& document = transfer.document;
  Source src(transfer.In());
  Header h = ReadHeader(src);

  // A file that cannot hold its pixels fails before any memory is taken for them: a raw
  // file too short for its rows, an ASCII one with fewer characters than samples (each
  // needs a digit at least). An ASCII file that ends later keeps the rows read.
  uint64_t pixels = uint64_t(h.width) * uint64_t(h.height);
  uint64_t needed = h.magic == 3 ? pixels * 3 : h.magic < 3 ? pixels : 0;
  if (h.magic >= 4) {
    uint64_t rowBytes = h.magic == 4 ? (uint64_t(h.width) + 7) / 8
                                     : uint64_t(h.width) * (h.magic == 6 ? 3 : 1) * (h.maxval > 255 ? 2 : 1);
    needed = rowBytes * uint64_t(h.height);
  }
  if (needed > src.Remaining()) Fail(kUnexpectedEof);
  document.decodedWidth = h.width;
  document.decodedHeight = h.height;
  if (!document.CreateImage(h.width, h.height, true, nullptr, 0, 0)) AbortCodec(AbortReason::NoMemory);
  transfer.LockImage();
  if (!transfer.quiet) ResetProgress();
  ReadPixels(src, transfer, h);
  transfer.UnlockImage();
  transfer.CloseFile();
  if (ReduceAfterRead(transfer) == 0) Fail("Not enough memory for quantization step");
}

int ProbePpm(ByteReader& in, uint32_t& width, uint32_t& height) {
  Source src(in);
  int w = 0, h = 0;
  if (src.Get() != 'P') return 0;
  int digit = src.Get();
  if (digit < '1' || digit > '6' || !src.ScanInt(w) || !src.ScanInt(h)) return 0;
  width = uint32_t(w);
  height = uint32_t(h);
  return kPnmFile;
}

}  // namespace quilla
