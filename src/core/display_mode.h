#pragma once

namespace quilla {

// What the screen can show, decided at start-up: fewer than 8 bits per pixel, a palette
// device, or high/true colour. The quantizing defaults follow it.
enum class DisplayMode : int { SixteenColor = 0, Palette = 1, TrueColor = 2 };

}  // namespace quilla
