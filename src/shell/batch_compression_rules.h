// The platform-free half of batch compression: where each file's JPEG goes.
#pragma once
#include <string>

namespace quilla {

// The name cut at the last "." of its file part (a "." in a folder's name is no extension),
// ".jpg" appended, lower-cased as the program shows names. A ".jpg" file gives itself.
std::string CompressedJpegName(const std::string& name);

}  // namespace quilla
