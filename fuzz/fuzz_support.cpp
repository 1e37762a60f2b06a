#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/messages.h"
#include "formats/engine.h"
#include "formats/image_files.h"
#include "formats/transfer.h"

namespace quilla::fuzz {

QuietHost& InstallQuietHost() {
  static QuietHost host;
  InstallHost(&host);
  if (!StartEngine()) std::abort();
  return host;
}

TempFiles::TempFiles(const char* target, const char* extension) {
  // The process id at a fixed width: the names are as long in every run, so a fixed seed
  // takes the same paths whatever the id.
  char pid[16];
  std::snprintf(pid, sizeof pid, "%07d", int(getpid()));
  std::string stem = "/tmp/" + std::string(target) + "." + pid + ".";
  input = stem + "in" + extension;
  output = stem + "out" + extension;
}

bool TempFiles::Store(const uint8_t* data, size_t size) const {
  std::FILE* f = std::fopen(input.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

void ProbeAndPreview(const std::string& name, uint32_t type) {
  uint32_t width = 0, height = 0;
  ProbeFileAs(name, type, width, height);
  DIBImage document;
  ReadImagePreviewAs(document, name, type, 64, 64);
  if (document.IsLocked() || Transfer::OpenFiles() != 0) std::abort();
}

uint64_t PixelCount(const DIBImage& document) { return uint64_t(document.Width()) * uint64_t(document.Height()); }

bool WriteAndReadBack(DIBImage& document, const std::string& output, uint32_t type, DIBImage& back) {
  if (!WriteImageFile(document, output)) std::abort();
  if (!ReadImageFileAs(back, output, type) || back.Width() != document.Width() || back.Height() != document.Height())
    std::abort();
  return true;
}

bool SameRows(DIBImage& a, DIBImage& b) {
  a.Lock();
  b.Lock();
  size_t rowBytes = size_t(a.Width()) * (a.IsTrueColor() ? 3 : 1);
  bool same = true;
  for (int y = 0; same && y < a.Height(); ++y) same = std::memcmp(a.RowPointer(y), b.RowPointer(y), rowBytes) == 0;
  b.Unlock();
  a.Unlock();
  return same;
}

namespace {

uint32_t ColorAt(DIBImage& d, int x, int y) {
  const uint8_t* row = d.RowPointer(y);
  if (d.IsTrueColor()) return uint32_t(row[3 * x]) | uint32_t(row[3 * x + 1]) << 8 | uint32_t(row[3 * x + 2]) << 16;
  RgbQuad c = d.GetColors()[row[x]];
  return uint32_t(c.blue) | uint32_t(c.green) << 8 | uint32_t(c.red) << 16;
}

}  // namespace

bool SameColors(DIBImage& a, DIBImage& b) {
  a.Lock();
  b.Lock();
  bool same = true;
  for (int y = 0; same && y < a.Height(); ++y)
    for (int x = 0; same && x < a.Width(); ++x) same = ColorAt(a, x, y) == ColorAt(b, x, y);
  b.Unlock();
  a.Unlock();
  return same;
}

}  // namespace quilla::fuzz
