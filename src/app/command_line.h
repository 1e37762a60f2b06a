// The file names given on the command line: blanks and tabs separate names outside double
// quotes, a double quote toggles the quoted state and is dropped, and a name ending in
// ".txt" is a list file whose lines are names in its place.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quilla {

std::vector<std::string> SplitCommandLine(const std::string& line);

// A list file's whole text, or nothing when it cannot be opened.
using ListFileReader = std::function<std::optional<std::string>(const std::string& name)>;
std::optional<std::string> ReadListFile(const std::string& name);

// Whether a name's extension is ".txt", in any case.
bool IsListFileName(const std::string& name);
// The lines of a list file's text without their newlines (a carriage return before one
// goes too). Lines longer than kMaxListLine are skipped: no name in the program is that long.
inline constexpr size_t kMaxListLine = 499;
std::vector<std::string> ListFileLines(const std::string& text);
// The names of a list file's text: its lines lose their trailing blanks; empty lines and
// lines beginning with "#" are skipped.
std::vector<std::string> ListFileNames(const std::string& text);

// The command line's names in order, each list file replaced by its names (a list file
// that cannot be read gives none). Names read from a list file are not expanded again,
// so a list naming itself or another list ends.
std::vector<std::string> CommandLineNames(const std::string& line, const ListFileReader& readList = ReadListFile);

// What the program does with the command line's names: nothing, open the one name, or
// queue them all for the slideshow and post the drop-list command.
enum class CommandLineStart { kNothing, kOpenOne, kSlideshow };
CommandLineStart ChooseCommandLineStart(const std::vector<std::string>& names);

}  // namespace quilla
