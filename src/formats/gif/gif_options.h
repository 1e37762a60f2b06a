// The settings the GIF codec reads, behind one small interface of its own.
#pragma once

namespace quilla::gif {

bool SaveInterlaced();     // "SaveGifInterlaced"
bool UseDithering();       // "UseDithering", for the reduction of a true-colour image

}  // namespace quilla::gif
