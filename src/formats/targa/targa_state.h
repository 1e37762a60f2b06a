// State shared by the Targa reader and writer.
#pragma once
#include <vector>

namespace quilla::targa {

// Set by the preview reader, cleared by ReadTarga and WriteTarga. While set the codec
// shows no message, reports no progress and does not poll for cancel.
extern bool quiet;
// Whether the codec holds the document's lock.
extern bool holdsLock;
// The rows of the read running: as stored in the file, and as handed to the quantizer.
extern std::vector<uint8_t> fileRow;
extern std::vector<uint8_t> rowBuffer;

inline constexpr char kInvalidFile[] = "Invalid or unsupported Targa file";
inline constexpr char kShortHeader[] = "Unexpected end of file";
inline constexpr char kPrematureEof[] = "Premature EOF in Targa file";
inline constexpr char kMapTooLarge[] = "Colormap too large";
inline constexpr char kMapFormat[] = "Unsupported Targa colormap format";
inline constexpr char kHeaderWriteError[] = "Could not write Targa header";
inline constexpr char kWriteError[] = "Write error.";

}  // namespace quilla::targa
