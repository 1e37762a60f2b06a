// Small pieces shared by the image-level colour operations.
#pragma once
#include <cstdint>

#include "core/dib_image.h"

namespace quilla {

// Holds a document's lock for a scope; ok() is false when it holds no image.
class ImageLock {
 public:
  explicit ImageLock(DIBImage& image) : image(image), locked(image.Lock() != 0) {}
  ~ImageLock() {
    if (locked) image.Unlock();
  }
  ImageLock(const ImageLock&) = delete;
  ImageLock& operator=(const ImageLock&) = delete;
  bool ok() const { return locked; }

 private:
  DIBImage& image;
  bool locked;
};

// Palette indices to blue, green, red bytes.
inline void ExpandRow(const uint8_t* src, const RgbQuad* table, uint8_t* dst, int width) {
  for (int x = 0; x < width; ++x, dst += 3) {
    const RgbQuad& c = table[src[x]];
    dst[0] = c.blue, dst[1] = c.green, dst[2] = c.red;
  }
}

inline bool SameColors(const RgbQuad* a, const RgbQuad* b, int count) {
  for (int i = 0; i < count; ++i)
    if (a[i].red != b[i].red || a[i].green != b[i].green || a[i].blue != b[i].blue) return false;
  return true;
}

}  // namespace quilla
