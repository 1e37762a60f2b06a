// Bounds and conversions shared by the settings reader and the option records: values
// are cut to the fields that receive them, never past the end of a UTF-8 character, and
// integers are parsed the way the profile integer reader does, without overflow.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quilla {

// Longest value the settings reader hands out: the 550-character read buffer less its
// terminator.
inline constexpr size_t kMaxProfileValue = 549;

// The first maxBytes bytes of text, shortened further to end on a character boundary.
std::string TruncateUtf8(std::string_view text, size_t maxBytes);

// Leading blanks, an optional sign and decimal digits; the value is clamped to the 32-bit
// range. Empty when no digit follows the sign.
std::optional<int> ParseProfileInt(std::string_view text);

}  // namespace quilla
