// Shared by the JPEG tests: options put back to their defaults, photo-like images, and
// JPEG files made by libjpeg directly (as another program would make them) or by
// ImageMagick when it is installed.
#pragma once
// jpeglib.h takes size_t and FILE from the headers before it.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "formats/codec_abort.h"
#include "formats/file_types.h"
#include "formats/image_files.h"
#include "formats/jpeg/jpeg_codec.h"
#include "formats/byte_reader.h"
#include "formats_test_support.h"
#include "settings/app_options.h"

namespace quilla {

class JpegTest : public FormatsTest {
 protected:
  void SetUp() override {
    FormatsTest::SetUp();
    Options().SetDisplayMode(DisplayMode::TrueColor);
    Options().ResetToDefaults(true);
  }
  void TearDown() override {
    Options().ResetToDefaults(true);
    FormatsTest::TearDown();
  }
};

// The library's header probe on a file's bytes: its answer with the frame size.
inline int ProbeJpegSizeOf(const std::string& path, uint32_t& width, uint32_t& height) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(std::fopen(path.c_str(), "rb"), std::fclose);
  EXPECT_TRUE(stream) << path;
  if (!stream) return kCannotOpen;
  ByteReader in(stream.get());
  return ProbeJpegSize(in, width, height);
}

// A smooth picture with some detail: (x, y) -> red, green, blue.
inline void PhotoPixel(int x, int y, int width, int height, uint8_t rgb[3]) {
  double fx = double(x) / width, fy = double(y) / height;
  rgb[0] = uint8_t(40 + 180 * fx);
  rgb[1] = uint8_t(60 + 150 * fy);
  rgb[2] = uint8_t(128 + 100 * std::sin(6.28 * (fx + fy)));
}

inline void MakePhoto(DIBImage& document, int width, int height) {
  ASSERT_TRUE(document.CreateImage(width, height, true, nullptr, 0, 0));
  document.Lock();
  for (int y = 0; y < height; ++y) {
    uint8_t* row = document.RowPointer(y);
    for (int x = 0; x < width; ++x) {
      uint8_t rgb[3];
      PhotoPixel(x, y, width, height, rgb);
      row[3 * x] = rgb[2], row[3 * x + 1] = rgb[1], row[3 * x + 2] = rgb[0];
    }
  }
  document.Unlock();
}

struct MadeJpeg {
  int width = 64, height = 48;
  bool gray = false;
  bool progressive = false;
  int quality = 90;
  int scans = 0;  // a progressive grey file of this many scans (2..694): DC, then AC bit by bit
};

// DC in one scan, then each AC coefficient in a scan of its own from bit 10 down.
inline std::vector<jpeg_scan_info> GreyScanScript(int scans) {
  std::vector<jpeg_scan_info> script(1, jpeg_scan_info{1, {0}, 0, 0, 0, 0});
  for (int al = 10; al >= 0; --al)
    for (int k = 1; k <= 63 && int(script.size()) < scans; ++k)
      script.push_back({1, {0}, k, k, al == 10 ? 0 : al + 1, al});
  return script;
}

// Compresses the photo pattern with libjpeg itself, in its usual red, green, blue order.
inline Bytes MakeJpeg(const MadeJpeg& spec) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = JDIMENSION(spec.width);
  c.image_height = JDIMENSION(spec.height);
  c.input_components = spec.gray ? 1 : 3;
  c.in_color_space = spec.gray ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, spec.quality, TRUE);
  if (spec.progressive) jpeg_simple_progression(&c);
  std::vector<jpeg_scan_info> script = GreyScanScript(spec.scans);
  if (spec.scans) c.scan_info = script.data(), c.num_scans = int(script.size());
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(size_t(spec.width) * 3);
  while (c.next_scanline < c.image_height) {
    int y = int(c.next_scanline);
    for (int x = 0; x < spec.width; ++x) {
      uint8_t rgb[3];
      PhotoPixel(x, y, spec.width, spec.height, rgb);
      if (spec.gray) row[size_t(x)] = uint8_t((rgb[0] * 77 + rgb[1] * 150 + rgb[2] * 29) >> 8);
      else std::copy(rgb, rgb + 3, row.begin() + 3 * x);
    }
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&c, &p, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  Bytes bytes(out, out + size);
  std::free(out);
  return bytes;
}

// Largest difference of any channel between the document and the photo pattern.
inline int MaxPhotoError(DIBImage& document, bool gray = false) {
  int worst = 0;
  int w = document.Width(), h = document.Height();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t rgb[3];
      PhotoPixel(x, y, w, h, rgb);
      uint32_t got = PixelRgb(document, x, y);
      int g[3] = {int(got >> 16 & 255), int(got >> 8 & 255), int(got & 255)};
      int lum = (rgb[0] * 77 + rgb[1] * 150 + rgb[2] * 29) >> 8;
      for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(g[c] - (gray ? lum : rgb[c])));
    }
  return worst;
}

// The number of components in a JPEG file's frame header (0 when none is found).
inline int FrameComponents(const Bytes& file) {
  for (size_t i = 2; i + 9 < file.size(); ++i)
    if (file[i] == 0xFF && (file[i + 1] == 0xC0 || file[i + 1] == 0xC1 || file[i + 1] == 0xC2)) return file[i + 9];
  return 0;
}

inline bool AllGray(DIBImage& document) {
  for (int y = 0; y < document.Height(); ++y)
    for (int x = 0; x < document.Width(); ++x) {
      uint32_t p = PixelRgb(document, x, y);
      if ((p >> 16 & 255) != (p & 255) || (p >> 8 & 255) != (p & 255)) return false;
    }
  return true;
}

}  // namespace quilla
