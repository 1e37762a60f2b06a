// The built-in contents of the three lists, used until the settings file is read and by
// the full reset.
#pragma once
#include "settings/list_records.h"

namespace quilla {

UserFunctionList DefaultFunctions();
// The nine named filters in slots 0..8, "Identity" in slots 9..19.
std::array<FilterSpec, kFilterSlots> DefaultFilters();
// Only the filters of slots 0..8, which the filter dialog's Defaults button restores.
FilterSpec DefaultNamedFilter(int slot);
inline constexpr int kNamedFilterCount = 9;
// Macros and their names; the current index is 0.
MacroTable DefaultMacros();

}  // namespace quilla
