#include "shell/command_line.h"

namespace quilla {

std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> names;
  std::string name;
  bool quoted = false, inName = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      inName = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inName && !name.empty()) names.push_back(name);
      name.clear();
      inName = false;
    } else {
      name += c;
      inName = true;
    }
  }
  if (!name.empty()) names.push_back(name);
  return names;
}

}  // namespace quilla
