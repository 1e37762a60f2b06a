#pragma once

namespace quilla::bmp {

// The codec's quiet switch: set by the preview reader, cleared by ReadBmp and WriteBmp.
// While set there are no messages, no progress and no cancel polls.
extern bool quiet;

}  // namespace quilla::bmp
