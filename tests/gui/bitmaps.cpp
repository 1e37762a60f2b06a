#include "bitmaps.h"

#include <cstdio>
#include <memory>
#include <type_traits>

namespace quilla::gui {

namespace {
// The screen's device context, released with the object.
struct ScreenDc {
  HDC dc = GetDC(nullptr);
  ScreenDc() = default;
  ~ScreenDc() { ReleaseDC(nullptr, dc); }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
};
}  // namespace

bool WriteBmp(const std::wstring& path, int width, int height, const std::vector<unsigned>& pixels) {
  if (pixels.size() != size_t(width) * size_t(height)) return false;
  // Rows are stored bottom-up, blue first, each padded to four bytes.
  const size_t stride = size_t((width * 3 + 3) & ~3);
  std::vector<unsigned char> bits(stride * size_t(height));
  for (int y = 0; y < height; ++y) {
    unsigned char* row = bits.data() + size_t(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const unsigned c = pixels[size_t(y) * size_t(width) + size_t(x)];
      row[3 * x] = (unsigned char)(c & 0xFF);
      row[3 * x + 1] = (unsigned char)((c >> 8) & 0xFF);
      row[3 * x + 2] = (unsigned char)((c >> 16) & 0xFF);
    }
  }
  BITMAPFILEHEADER file{};
  file.bfType = 0x4d42;
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = DWORD(file.bfOffBits + bits.size());
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  std::unique_ptr<FILE, decltype(&fclose)> out(_wfopen(path.c_str(), L"wb"), fclose);
  if (!out) return false;
  const bool ok = fwrite(&file, sizeof file, 1, out.get()) == 1 && fwrite(&info, sizeof info, 1, out.get()) == 1 &&
                  fwrite(bits.data(), bits.size(), 1, out.get()) == 1;
  return fclose(out.release()) == 0 && ok;
}

std::vector<unsigned> Picture(int width, int height, unsigned (*colour)(int x, int y)) {
  std::vector<unsigned> pixels;
  pixels.reserve(size_t(width) * size_t(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels.push_back(colour(x, y));
  }
  return pixels;
}

// A binary PPM all of one grey: its reader reports progress and polls for a cancel row by row.
bool WriteGreyPpm(const std::wstring& path, int width, int height) {
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (!out) return false;
  bool ok = fprintf(out, "P6\n%d %d\n255\n", width, height) > 0;
  const std::string row(size_t(width) * 3, '\x80');
  for (int y = 0; y < height && ok; ++y) ok = fwrite(row.data(), row.size(), 1, out) == 1;
  return fclose(out) == 0 && ok;
}

bool WriteTestBmp(const std::wstring& path, int width, int height, unsigned (*colour)(int x, int y)) {
  return WriteBmp(path, width, height, Picture(width, height, colour));
}

unsigned Gradient(int x, int y) { return unsigned(x * 4) << 16 | unsigned(y * 5) << 8 | unsigned((x + y) * 2); }

std::vector<unsigned> CaptureScreen(const RECT& area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return {};
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  ScreenDc screen;
  // The bitmap outlives the memory context it is selected into.
  const std::unique_ptr<std::remove_pointer_t<HBITMAP>, decltype(&DeleteObject)> bitmap(
      CreateDIBSection(screen.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0), DeleteObject);
  const std::unique_ptr<std::remove_pointer_t<HDC>, decltype(&DeleteDC)> memory(CreateCompatibleDC(screen.dc),
                                                                                 DeleteDC);
  if (!bitmap || !memory || !bits) return {};
  SelectObject(memory.get(), bitmap.get());
  if (!BitBlt(memory.get(), 0, 0, width, height, screen.dc, area.left, area.top, SRCCOPY)) return {};
  GdiFlush();
  const auto* p = static_cast<const unsigned*>(bits);
  std::vector<unsigned> pixels(p, p + size_t(width) * size_t(height));
  for (unsigned& c : pixels) c &= 0xFFFFFF;
  return pixels;
}

unsigned ScreenPixel(int x, int y) {
  ScreenDc screen;
  const COLORREF c = GetPixel(screen.dc, x, y);
  return unsigned(GetRValue(c)) << 16 | unsigned(GetGValue(c)) << 8 | GetBValue(c);
}

int ScreenCaps(int index) {
  ScreenDc screen;
  return GetDeviceCaps(screen.dc, index);
}

}  // namespace quilla::gui
