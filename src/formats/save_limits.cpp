#include "formats/save_limits.h"

#include "core/dib_image.h"
#include "core/messages.h"
#include "formats/file_types.h"

namespace quilla {

namespace {

struct SizeLimit {
  const char* format;
  uint32_t width, height;  // 0: no limit below the program's own
};

// 16-bit sizes in the headers; PCX keeps width - 1 and height - 1, and the bytes of a line
// (even, at most 65535) bound an 8-bit line to 65534 pixels. (libjpeg names its own limit.)
SizeLimit LimitOf(const DIBImage& image, uint32_t fileType) {
  switch (fileType) {
    case kOs2Bmp: return {"OS/2 BMP", 0xFFFF, 0xFFFF};
    case kGif87a:
    case kGif89a: return {"GIF", 0xFFFF, 0xFFFF};
    case kTargaFile: return {"Targa", 0xFFFF, 0xFFFF};
    case kPcxFile: {
      const uint32_t colors = image.ColorCount();
      return {"PCX", colors == 0 || colors > 16 ? 65534u : 0x10000u, 0x10000};
    }
    default: return {"", 0, 0};
  }
}

}  // namespace

std::string SaveSizeProblem(const DIBImage& image, uint32_t fileType) {
  const SizeLimit limit = LimitOf(image, fileType);
  if (limit.width && uint32_t(image.Width()) > limit.width)
    return FormatMessageText("Image too wide for %s (at most %u pixels)", limit.format, limit.width);
  if (limit.height && uint32_t(image.Height()) > limit.height)
    return FormatMessageText("Image too tall for %s (at most %u pixels)", limit.format, limit.height);
  return "";
}

}  // namespace quilla
