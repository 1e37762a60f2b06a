// Persisted text-drawing styles: "Normal" for Add Text, "Contact" for contact-sheet labels.
#pragma once
#include <cstdint>
#include <string>

namespace quilla {

inline constexpr size_t kMaxFaceName = 31;
inline constexpr size_t kMaxStyleText = 254;

// Colour values with red in the low byte, then green, then blue.
inline constexpr uint32_t PackColor(int red, int green, int blue) {
  return static_cast<uint32_t>(red & 0xFF) | static_cast<uint32_t>(green & 0xFF) << 8 |
         static_cast<uint32_t>(blue & 0xFF) << 16;
}
inline constexpr int RedOf(uint32_t color) { return static_cast<int>(color & 0xFF); }
inline constexpr int GreenOf(uint32_t color) { return static_cast<int>(color >> 8 & 0xFF); }
inline constexpr int BlueOf(uint32_t color) { return static_cast<int>(color >> 16 & 0xFF); }
// The same colour as 0x00RRGGBB, which the colour dialogs take, and back.
inline constexpr uint32_t PackedToRgb(uint32_t color) {
  return static_cast<uint32_t>(RedOf(color)) << 16 | static_cast<uint32_t>(GreenOf(color)) << 8 |
         static_cast<uint32_t>(BlueOf(color));
}
inline constexpr uint32_t RgbToPacked(uint32_t rgb) {
  return PackColor(static_cast<int>(rgb >> 16), static_cast<int>(rgb >> 8), static_cast<int>(rgb));
}

struct TextStyle {
  int alignment = 0;  // 0 centre, 1 left, 2 right
  int direction = 0;  // 0 horizontal, 1 vertical up, 2 vertical down
  int bold = 0, italic = 0, strikeout = 0, underline = 0;
  uint32_t foreground = PackColor(255, 255, 255);
  uint32_t background = PackColor(0, 0, 0);
  int opaque = 0;
  int points = 10;
  std::string face = "system";  // at most kMaxFaceName bytes
  std::string text;             // at most kMaxStyleText bytes
};

enum class TextStyleGroup { Normal, Contact };
inline constexpr const char* TextStylePrefix(TextStyleGroup group) {
  return group == TextStyleGroup::Normal ? "Normal" : "Contact";
}

}  // namespace quilla
