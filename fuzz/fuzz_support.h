// What the reader fuzz targets share: a host that shows nothing, the input kept in a
// temporary file, and the round trip that writes what was read and reads it back.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "cli/headless_host.h"
#include "core/dib_image.h"

namespace quilla::fuzz {

// HeadlessHost without its printing, so the fuzzer's output stays readable; questions get
// `answer` (go on, unless a target says otherwise), every other box Ok.
class QuietHost : public HeadlessHost {
 public:
  MsgResult answer = MsgResult::Yes;
  MsgResult MessageBox(OwnerWindow, const std::string&, const std::string&, MsgButtons buttons, MsgIcon) override {
    return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? answer : MsgResult::Ok;
  }
};

// Installs the process's QuietHost and returns it.
QuietHost& InstallQuietHost();

// Input and output files of one target, unique to this process (parallel fuzzing jobs).
struct TempFiles {
  TempFiles(const char* target, const char* extension);
  // Writes the fuzzer's bytes to `input`.
  bool Store(const uint8_t* data, size_t size) const;
  std::string input, output;
};

using Codec = int (*)(DIBImage&);
using PreviewReader = int (*)(DIBImage&, int maxWidth, int maxHeight);

// Probes `name` and reads it as a 64x64 preview; a preview left locked aborts.
void ProbeAndPreview(const std::string& name, Codec probe, PreviewReader preview);

uint64_t PixelCount(const DIBImage& document);

// Writes `document` to `output` and reads it back into `back`. False when the output
// cannot be opened; a failed write or read, or another size, aborts.
bool WriteAndReadBack(DIBImage& document, const std::string& output, Codec write, Codec read, DIBImage& back);

// Same bytes in every row: palette indices, or BGR triples for true colour.
bool SameRows(DIBImage& a, DIBImage& b);
// Same colour at every pixel, whether through a palette or not.
bool SameColors(DIBImage& a, DIBImage& b);

}  // namespace quilla::fuzz
