// The platform-free half of the slideshow: the pause between two slides and the Slideshow
// Options ("SSCycle", "SSFullScreen", "SSAuto", "SSNSecondsDelay") as the dialog stores them.
#pragma once
#include <optional>
#include <string_view>

namespace quilla {

// The longest timer the system takes, in milliseconds.
inline constexpr unsigned kLongestTimerMs = 0x7FFFFFFF;

// The pause of an automatic slideshow for a delay in seconds; 0 means no pause (a delay of
// 0, or a negative one from a hand-edited settings file). Long delays stop at the longest
// timer rather than wrap around.
unsigned SlidePauseMilliseconds(int seconds);

// The delay field: a non-negative whole number, blanks around it allowed; nothing else.
std::optional<int> ParseSlideDelay(std::string_view text);

struct SlideshowChoice {
  bool cycle = false;
  bool fullScreen = true;
  bool automatic = true;
};
// OK: stores the choice, with the delay when automatic (a manual slideshow keeps the delay
// it had). False, with nothing stored, when automatic and the field is no valid delay.
bool StoreSlideshowOptions(const SlideshowChoice& choice, std::string_view delayText);

}  // namespace quilla
