// The largest picture each save type can describe in its header, checked before a save
// creates anything, so a picture too large is refused with the limit it passed.
#pragma once
#include <cstdint>
#include <string>

namespace quilla {

class DIBImage;

// The refusal for writing image as fileType ("Image too wide for PCX (at most 65534
// pixels)"), or an empty string when the type can hold it.
std::string SaveSizeProblem(const DIBImage& image, uint32_t fileType);

}  // namespace quilla
