// Section "Options" and the identification section: the scalar options and the two text
// styles, written in the order Save all uses and read in the order Load all uses.
#pragma once
#include <string>

#include "settings/app_options.h"
#include "settings/ini_file.h"

namespace quilla {

// Identification and the seventeen window-state keys "DlgX" .. "C8Black".
void WriteWindowState(IniFile& file, const AppOptions& options);
// "AutoResize" .. "CTL3DV2", text styles and packed colours included.
void WriteOptionsSection(IniFile& file, const AppOptions& options);

struct Identification {
  std::string author, copyright, version;
};
Identification ReadIdentification(const IniFile& file);
// Author and copyright must match ours exactly; the version is not compared.
bool IsForeign(const Identification& identification);

// Every key of "Options" over the current values, which stand for the missing keys, with
// the fallbacks Load all uses for the background colours and the temporary path.
void ReadOptionsSection(const IniFile& file, AppOptions& options);

}  // namespace quilla
