// Section names of the settings file and the program's identification strings, which
// tell our files from foreign ones.
#pragma once

namespace quilla {

inline constexpr const char kIdentitySection[] = "Quilla for Windows";
inline constexpr const char kOptionsSection[] = "Options";
inline constexpr const char kFunctionsSection[] = "Functions";
inline constexpr const char kFiltersSection[] = "Filters";
inline constexpr const char kMacrosSection[] = "One keystroke retouch";

inline constexpr const char kAuthorText[] = "The Quilla developers";
inline constexpr const char kCopyrightText[] = "Copyright (C) The Quilla developers";
// The identification values are read into fields of this width.
inline constexpr unsigned kMaxIdentityText = 48;

}  // namespace quilla
