#include "settings/text_bounds.h"

#include <cstdint>
#include <limits>

namespace quilla {

std::string TruncateUtf8(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return std::string(text);
  size_t end = maxBytes;
  // Step back over continuation bytes so that no character is cut in two.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return std::string(text.substr(0, end));
}

std::optional<int> ParseProfileInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i >= text.size() || text[i] < '0' || text[i] > '9') return std::nullopt;
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int>::max()} + 1;
  int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    if (magnitude < kLimit) magnitude = magnitude * 10 + (text[i] - '0');
  if (magnitude > kLimit) magnitude = kLimit;
  int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int>::max()) value = std::numeric_limits<int>::max();
  return static_cast<int>(value);
}

}  // namespace quilla
