// Splitting a command line into file names: blanks and tabs separate names outside
// double quotes; a double quote toggles the quoted state and is dropped.
#pragma once
#include <string>
#include <vector>

namespace quilla {

std::vector<std::string> SplitCommandLine(const std::string& line);

}  // namespace quilla
