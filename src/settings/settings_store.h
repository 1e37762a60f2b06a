// The whole-file settings commands and the list loaders and savers, on the process-wide
// Options(). Each builds the file's path anew from the Windows directory the shell hands
// in (or QUILLA_INI), runs under the wait cursor, and writes through a temporary file so
// that a failed write leaves the old file as it was. Savers return 1 on success and 0
// on failure, after a warning naming the file.
#pragma once
#include <string>

#include "settings/ini_file.h"

namespace quilla {

inline constexpr const char kCannotWriteSettingsText[] = "Cannot write the settings file %s";

// The shell passes the system's Windows directory once at start-up.
void SetSettingsWindowsDirectory(const std::string& directory);
std::string CurrentSettingsPath();

// Start-up: reserves the function texts and filter names; 0 when memory is short (the
// shell then ends its start). Exit: releases them.
int AllocateListBuffers();
void FreeListBuffers();

// Full reset first; a foreign or missing file is then replaced by one holding the
// defaults; otherwise the scalar options and text styles are read. The lists are not read.
int LoadAllSettings();
// Reads the lists from the file (unless the file is being replaced as foreign), then
// rewrites the whole file from memory.
int SaveAllSettings();
// full: also the dialog positions, the toolbar placement and the lists. Never touches the file.
void SetDefaultSettings(bool full);
// Identification and the window-state keys, into the file as it is.
int SaveWindowState();

int LoadFunctions();
int SaveFunctions();
int LoadFilterSpecs();
int SaveFilterSpecs();
int LoadMacros();
int SaveMacros();

// The complete file Save all writes, from memory as it stands.
IniFile BuildSettingsFile();

// Sets one key of "Options" as if the settings file held that value, through the same
// reading (and clamping) as Load all; the other options keep their values. 0 when the
// section has no such key.
int SetOptionByKey(std::string_view key, std::string_view value);

}  // namespace quilla
