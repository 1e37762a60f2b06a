// What the Targa reader and writer tell the user.
#pragma once

namespace quilla::targa {

inline constexpr char kInvalidFile[] = "Invalid or unsupported Targa file";
inline constexpr char kShortHeader[] = "Unexpected end of file";
inline constexpr char kPrematureEof[] = "Premature EOF in Targa file";
inline constexpr char kMapTooLarge[] = "Colormap too large";
inline constexpr char kMapFormat[] = "Unsupported Targa colormap format";
inline constexpr char kWriteError[] = "Write error.";

}  // namespace quilla::targa
