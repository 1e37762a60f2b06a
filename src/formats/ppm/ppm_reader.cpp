#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "core/dib_image.h"
#include "core/messages.h"
#include "core/progress.h"
#include "core/size_limits.h"
#include "formats/byte_reader.h"
#include "formats/codec_abort.h"
#include "formats/file_types.h"
#include "formats/ppm/read_reduction.h"
#include "formats/image_files.h"
#include "formats/ppm/ppm_codec.h"
#include "formats/ppm/ppm_state.h"
#include "formats/transfer_files.h"

namespace quilla {

namespace ppm {

CodecState& State() {
  static CodecState state;
  return state;
}

void ReleaseState(DIBImage& document) {
  CodecState& s = State();
  std::vector<uint8_t>().swap(s.buffer);
  if (s.locked) {
    s.locked = false;
    document.Unlock();
  }
}

}  // namespace ppm

namespace {

using ppm::State;

constexpr const char kUnexpectedEof[] = "Unexpected EOF in PBM file";
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

// Progress every 64th row, cancel polls between; a cancel ends the read.
void RowDone(int row, int height) {
  if (State().quiet) return;
  int go = row % 64 == 0 ? ReportProgress(row, height) : PollCancel();
  if (!go) AbortCodec(AbortReason::Cancelled);
}

void ReadPixels(Source& src, DIBImage& document, const Header& h) {
  ppm::CodecState& s = State();
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
  if (rawBytes) {
    try {
      s.buffer.resize(rawBytes);
    } catch (const std::bad_alloc&) {
      AbortCodec(AbortReason::NoMemory);
    }
  }
  uint8_t* raw = s.buffer.data();

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
    RowDone(y, height);
  }
  std::vector<uint8_t>().swap(s.buffer);
}

void ReadPpmFile(DIBImage& document) {
  ppm::CodecState& s = State();
  document.file = OpenTransferFile(document.fileName, "rb");
  if (document.file == kNoFile) AbortCodec(AbortReason::Silent);
  ByteReader in(TransferStream(document.file));
  Source src(in);
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
  s.madeImage = true;
  document.Lock();
  s.locked = true;
  if (!s.quiet) ResetProgress();
  ReadPixels(src, document, h);
  ppm::ReleaseState(document);

  if (ReduceAfterRead(document, !s.quiet) == 0) Fail("Not enough memory for quantization step");
  CloseTransferFile(document.file);
}

int ReadPpmGuarded(DIBImage& document) {
  ppm::CodecState& s = State();
  s.madeImage = false;
  try {
    ReadPpmFile(document);
    return 1;
  } catch (const CodecAbort& abort) {
    AbortPpmRead(document);
    if (!s.quiet) {
      if (abort.reason == AbortReason::ShortRead)
        ShowWarning("%s", kUnexpectedEof);
      else
        ReportCodecAbort(abort, document.fileName);
    }
    return 0;
  }
}

}  // namespace

int ProbePpm(DIBImage& document) {
  int32_t file = OpenTransferFile(document.fileName, "rb");
  if (file == kNoFile) return kCannotOpen;
  int answer = 0;
  try {
    ByteReader in(TransferStream(file));
    Source src(in);
    int width = 0, height = 0;
    if (src.Get() == 'P') {
      int digit = src.Get();
      if (digit >= '1' && digit <= '6' && src.ScanInt(width) && src.ScanInt(height)) {
        document.fileWidth = uint32_t(width);
        document.fileHeight = uint32_t(height);
        answer = kPnmFile;
      }
    }
  } catch (const CodecAbort&) {
    answer = 0;
  }
  CloseTransferFile(file);
  return answer;
}

int ReadPpm(DIBImage& document) {
  State().quiet = false;
  return ReadPpmGuarded(document);
}

int ReadPpmPreview(DIBImage& document, int maxWidth, int maxHeight) {
  ppm::CodecState& s = State();
  s.quiet = true;
  int ok = ReadPpmGuarded(document);
  s.quiet = false;
  bool made = s.madeImage && document.HasImage();
  if (made) ShrinkPreview(document, maxWidth, maxHeight);
  return ok ? 0 : made ? 1 : 2;
}

void AbortPpmRead(DIBImage& document) {
  ppm::ReleaseState(document);
  CloseTransferFile(document.file);
}

}  // namespace quilla
