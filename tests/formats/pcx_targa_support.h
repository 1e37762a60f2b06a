// Shared by the PCX and Targa tests: files made from bytes and read through one codec, the
// set-ups their tests repeat, and the comparisons with other programs' tools.
#pragma once
#include <string>
#include <vector>

#include "formats/formats_test_support.h"

namespace quilla {

// A header field of a written file: 1 or 2 bytes (little-endian) at an offset.
struct HeaderField { size_t at; int bytes; uint32_t value; };
void ExpectFields(const Bytes& file, std::initializer_list<HeaderField> fields);

// A pixel a read must give, x and y from the top, as 0xRRGGBB.
struct Pixel { int x, y; uint32_t value; };

// A file the reader must refuse, and the message it gives.
struct Refusal { Bytes file; std::string message; };

// The quantizing options of one test (the set-up of the next puts the defaults back).
inline void SetReadQuantizing(int need, int system, int colors, int dither) {
  AppOptions& o = Options();
  o.SetNeedQuantizeRead(need), o.SetUseSysPalette(system), o.SetNColorsCreatePal(colors), o.SetUseDithering(dither);
}

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
  // Each file's read fails with its message, leaving no image and no file open.
  void ExpectRefused(const std::vector<Refusal>& refusals);

  // The test image of MakeTestImage, to be written in this codec's type.
  void MakeOwn(DIBImage& document, int width, int height, int colors, int seed = 1) {
    MakeTestImage(document, width, height, colors, seed);
    document.fileType = type;
  }
  // The bytes of the document written to the named file.
  Bytes Written(DIBImage& document, const std::string& name) {
    EXPECT_TRUE(WriteImageFile(document, Path(name))) << host.LastMessage();
    return ReadBytes(Path(name));
  }

  // The pump of messages asks the transfer under way to stop the nth time; pumps counts them.
  void CancelAtPump(int n) {
    host.onPump = [this, n] {
      if (++pumps == n) RequestCancel();
      return true;
    };
  }
  // The file's read, cancelled at the nth pump, stops there without a word, no file open.
  void ExpectReadCancelledAt(DIBImage& document, const std::string& path, int n);
  // The document's write over an older file, cancelled at the nth pump, leaves that file as
  // it was, and alone, without a word.
  void ExpectCancelledWriteKeepsTheOldFile(DIBImage& document, int n);

  // Runs each command of other programs, which makes the file its last word names, and
  // reads that file: it must show the pixels of decoder's P6 decoding of it or, with no
  // decoder, those of src.ppm, the test picture made first. With palettes, each file must
  // read as a palette image.
  void ExpectOtherProgramsFilesRead(const std::vector<std::string>& commands, const char* decoder,
                                    bool palettes = false);
  // Images of each colour count, written in this type, decode with decoder to their own pixels.
  void ExpectDecoderReadsWhatIsWritten(const char* decoder, std::initializer_list<int> colorCounts);

  const uint32_t type;
  const char* const madeName;
  int pumps = 0;
};

}  // namespace quilla
