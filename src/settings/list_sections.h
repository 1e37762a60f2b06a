// The three list sections of the settings file: "Functions" (with "NFunctions" in
// "Options"), "Filters" and "One keystroke retouch". Readers replace the list in memory
// from the file's text; a file without the list's section (a missing file) leaves the
// list as it is, so that the built-in lists survive a save into a new file. Writers set
// every key of the list.
#pragma once
#include "settings/ini_file.h"
#include "settings/list_records.h"

namespace quilla {

// Non-empty texts are packed to the front in file order; the remaining slots get "x"
// (first slot) or "x^(1/n)". Channel selections outside the list become 0.
void ReadFunctions(const IniFile& file, UserFunctionList& functions);
void WriteFunctions(IniFile& file, const UserFunctionList& functions);

// Each slot starts from the identity filter; the numbers that read are kept, clamped to
// the ranges the filter dialog allows.
void ReadFilterSpecs(const IniFile& file, std::array<FilterSpec, kFilterSlots>& filters);
void WriteFilterSpecs(IniFile& file, const std::array<FilterSpec, kFilterSlots>& filters);

// Operation codes outside 0..9 leave the step as it was; parameters outside their
// operation's range become 0; a current index outside the table becomes 0.
void ReadMacros(const IniFile& file, MacroTable& macros);
void WriteMacros(IniFile& file, const MacroTable& macros);

}  // namespace quilla
