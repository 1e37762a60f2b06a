// Shared by the JPEG tests: photo-like images and JPEG files made by libjpeg directly (as
// another program would make them).
#pragma once
// jpeglib.h takes size_t and FILE from the headers before it.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <cmath>
#include <string>
#include <vector>

#include "formats/jpeg/jpeg_codec.h"
#include "formats/formats_test_support.h"

namespace quilla {

using JpegTest = MadeFileTest;

// A smooth picture with some detail: (x, y) -> red, green, blue, or its brightness thrice.
inline void PhotoPixel(int x, int y, int width, int height, bool gray, uint8_t rgb[3]) {
  double fx = double(x) / width, fy = double(y) / height;
  rgb[0] = uint8_t(40 + 180 * fx);
  rgb[1] = uint8_t(60 + 150 * fy);
  rgb[2] = uint8_t(128 + 100 * std::sin(6.28 * (fx + fy)));
  if (gray) rgb[0] = rgb[1] = rgb[2] = uint8_t((rgb[0] * 77 + rgb[1] * 150 + rgb[2] * 29) >> 8);
}

inline void MakePhoto(DIBImage& document, int width, int height, bool gray = false) {
  ASSERT_TRUE(document.CreateImage(width, height, true, nullptr, 0, 0));
  ImageLock lock(document);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t rgb[3];
      PhotoPixel(x, y, width, height, gray, rgb);
      uint8_t* bgr = document.RowPointer(y) + 3 * x;
      bgr[0] = rgb[2], bgr[1] = rgb[1], bgr[2] = rgb[0];
    }
}

// Largest difference of any channel between the document and the photo of its size.
inline int MaxPhotoError(DIBImage& document, bool gray = false) {
  DIBImage photo;
  MakePhoto(photo, document.Width(), document.Height(), gray);
  return MaxDifference(document, photo);
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

// Compresses the photo with libjpeg itself, in its usual red, green, blue order.
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
    for (int x = 0; x < spec.width; ++x) {
      uint8_t rgb[3];
      PhotoPixel(x, int(c.next_scanline), spec.width, spec.height, spec.gray, rgb);
      std::copy(rgb, rgb + c.input_components, row.begin() + c.input_components * x);
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

// Where a JPEG file's frame header (its marker) starts; 0 when there is none.
inline size_t FrameAt(const Bytes& file) {
  for (size_t i = 2; i + 9 < file.size(); ++i)
    if (file[i] == 0xFF && (file[i + 1] == 0xC0 || file[i + 1] == 0xC1 || file[i + 1] == 0xC2)) return i;
  return 0;
}

}  // namespace quilla
