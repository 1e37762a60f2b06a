// Shared by the PCX and Targa tests: files made from bytes and read through one codec,
// the quantizing options switched for one test, P6 files made and parsed for comparing
// with other programs' output.
#pragma once
#include <string>

#include "formats/formats_test_support.h"

namespace quilla {

// Files made from bytes in the scratch directory, read or probed through one codec alone,
// past the other probes.
class SingleCodecTest : public FormatsTest {
 protected:
  SingleCodecTest(uint32_t type, const char* madeName) : type(type), madeName(madeName) {}
  // The bytes as the test's file, its path returned.
  std::string Made(const Bytes& bytes) const {
    WriteBytes(Path(madeName), bytes);
    return Path(madeName);
  }
  int ReadDirect(DIBImage& document, const Bytes& bytes) { return ReadImageFileAs(document, Made(bytes), type); }
  int Probe(const Bytes& bytes, uint32_t& width, uint32_t& height) const {
    return ProbeFileAs(Made(bytes), type, width, height);
  }

  const uint32_t type;
  const char* const madeName;
};

// The quantizing options of one test; the defaults come back at the end of the test.
struct ReadQuantizingScope {
  ReadQuantizingScope(int need, int system, int colors, int dither);
  ~ReadQuantizingScope();
};

// A P6 file of the test picture used with other programs: every channel a function of x
// and y, so that a mirrored or shifted result shows.
void WriteTestPixmap(const std::string& path, int width, int height);
// Pixels of a P6 file with maxval 255, as 0xRRGGBB from the top; empty when unreadable.
std::vector<uint32_t> ReadPixmap(const std::string& path, int& width, int& height);
// The document's pixels in the same form.
std::vector<uint32_t> DocumentPixels(DIBImage& document);

}  // namespace quilla
