#include "shell/slideshow_rules.h"

#include <climits>

#include "settings/app_options.h"

namespace quilla {

unsigned SlidePauseMilliseconds(int seconds) {
  if (seconds <= 0) return 0;
  const long long ms = seconds * 1000LL;
  return ms > kLongestTimerMs ? kLongestTimerMs : unsigned(ms);
}

std::optional<int> ParseSlideDelay(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > INT_MAX) return std::nullopt;
  }
  return int(value);
}

bool StoreSlideshowOptions(const SlideshowChoice& choice, std::string_view delayText) {
  AppOptions& options = Options();
  if (choice.automatic) {
    const std::optional<int> delay = ParseSlideDelay(delayText);
    if (!delay) return false;
    options.SetSSNSecondsDelay(*delay);
  }
  options.SetSSAuto(choice.automatic ? 1 : 0);
  options.SetSSCycle(choice.cycle ? 1 : 0);
  options.SetSSFullScreen(choice.fullScreen ? 1 : 0);
  return true;
}

}  // namespace quilla
