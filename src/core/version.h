#pragma once

namespace quilla {

inline constexpr const char kVersionText[] = "1.0";
// Window title and message-box caption.
inline constexpr const char kProgramTitle[] = "Quilla 1.0/32";

}  // namespace quilla
