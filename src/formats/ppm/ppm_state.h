// The codec's process-wide state, shared by reader, writer and their clean-ups.
#pragma once
#include <cstdint>
#include <vector>

namespace quilla {
class DIBImage;
}

namespace quilla::ppm {

struct CodecState {
  bool quiet = false;            // preview reading: no messages, no progress, no cancel polls
  bool locked = false;           // the document's image is locked by the codec
  bool madeImage = false;        // the reader created the image now in the document
  std::vector<uint8_t> buffer;   // raw row while reading, output row while writing
};

CodecState& State();

// Gives the buffer's memory back and unlocks the document if the codec locked it.
void ReleaseState(DIBImage& document);

}  // namespace quilla::ppm
