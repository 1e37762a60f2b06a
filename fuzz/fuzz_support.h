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

// Installs the process's QuietHost, starts the engine, and returns the host.
QuietHost& InstallQuietHost();

// Input and output files of one target, unique to this process (parallel fuzzing jobs).
struct TempFiles {
  TempFiles(const char* target, const char* extension);
  // Writes the fuzzer's bytes to `input`.
  bool Store(const uint8_t* data, size_t size) const;
  std::string input, output;
};

// Probes `name` with the codec of `type` and reads it as a 64x64 preview with it; a
// preview left locked or a file left open aborts.
void ProbeAndPreview(const std::string& name, uint32_t type);

uint64_t PixelCount(const DIBImage& document);

// Writes `document` to `output` in its own type and reads it back into `back` with the
// codec of `type`. False when the output cannot be made; a failed write or read, or
// another size, aborts.
bool WriteAndReadBack(DIBImage& document, const std::string& output, uint32_t type, DIBImage& back);

// Same bytes in every row: palette indices, or BGR triples for true colour.
bool SameRows(DIBImage& a, DIBImage& b);
// Same colour at every pixel, whether through a palette or not.
bool SameColors(DIBImage& a, DIBImage& b);

}  // namespace quilla::fuzz
