#include "formats/pcx_targa_support.h"

#include <fstream>
#include <sstream>

#include "settings/app_options.h"

namespace quilla {

ReadQuantizingScope::ReadQuantizingScope(int need, int system, int colors, int dither) {
  AppOptions& o = Options();
  o.SetNeedQuantizeRead(need), o.SetUseSysPalette(system), o.SetNColorsCreatePal(colors), o.SetUseDithering(dither);
}

ReadQuantizingScope::~ReadQuantizingScope() {
  AppOptions& o = Options();
  for (IntOption option : {IntOption::NeedQuantizeRead, IntOption::UseSysPalette, IntOption::NColorsCreatePal,
                           IntOption::UseDithering})
    o.StoreInt(option, AppOptions::DefaultInt(option, o.GetDisplayMode()));
}

void WriteTestPixmap(const std::string& path, int width, int height) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << width << " " << height << "\n255\n";
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      char rgb[3] = {char(x * 9 + y), char(y * 13), char((x ^ y) * 5 + 40)};
      out.write(rgb, 3);
    }
}

std::vector<uint32_t> ReadPixmap(const std::string& path, int& width, int& height) {
  std::ifstream in(path, std::ios::binary);
  // Header fields with '#' comments between them.
  auto field = [&in](std::string& word) {
    while (in >> word && word[0] == '#') in.ignore(1 << 20, '\n');
    return bool(in);
  };
  std::string magic, w, h, maxval;
  if (!field(magic) || !field(w) || !field(h) || !field(maxval) || magic != "P6" || maxval != "255") return {};
  width = std::stoi(w), height = std::stoi(h);
  in.get();
  std::vector<uint32_t> pixels;
  for (int i = 0; i < width * height; ++i) {
    unsigned char rgb[3];
    if (!in.read(reinterpret_cast<char*>(rgb), 3)) return {};
    pixels.push_back(uint32_t(rgb[0]) << 16 | uint32_t(rgb[1]) << 8 | rgb[2]);
  }
  return pixels;
}

std::vector<uint32_t> DocumentPixels(DIBImage& document) {
  std::vector<uint32_t> pixels;
  for (int y = 0; y < document.Height(); ++y)
    for (int x = 0; x < document.Width(); ++x) pixels.push_back(PixelRgb(document, x, y));
  return pixels;
}

}  // namespace quilla
