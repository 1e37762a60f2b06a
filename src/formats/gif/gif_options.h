// The settings the GIF codec reads, behind one small interface of its own.
#pragma once

namespace quilla::gif {

bool SaveInterlaced();     // "SaveGifInterlaced"
bool UseDithering();       // "UseDithering"
bool RemapWhileReading();  // "NeedQuantizeRead" and "UseSysPalette" both on

}  // namespace quilla::gif
