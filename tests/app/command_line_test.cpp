#include "app/command_line.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "support/scratch_folder.h"

namespace quilla {

using Names = std::vector<std::string>;

TEST(SplitCommandLine, BlanksAndTabsSeparateNames) {
  EXPECT_EQ(SplitCommandLine(""), Names{});
  EXPECT_EQ(SplitCommandLine(" \t  "), Names{});
  EXPECT_EQ(SplitCommandLine("a.bmp"), (Names{"a.bmp"}));
  EXPECT_EQ(SplitCommandLine("  a.bmp \t b.gif\tc.pcx  "), (Names{"a.bmp", "b.gif", "c.pcx"}));
}

TEST(SplitCommandLine, QuotesKeepBlanksAndAreDropped) {
  EXPECT_EQ(SplitCommandLine("\"C:\\My Pictures\\a b.bmp\" c.bmp"), (Names{"C:\\My Pictures\\a b.bmp", "c.bmp"}));
  // A quote toggles inside a name too: the parts join.
  EXPECT_EQ(SplitCommandLine("x\"y z\"w"), (Names{"xy zw"}));
  EXPECT_EQ(SplitCommandLine("\"a\"\"b\""), (Names{"ab"}));
  // An open quote runs to the end of the line.
  EXPECT_EQ(SplitCommandLine("\"open name\tstill"), (Names{"open name\tstill"}));
  // Empty quotes make no name.
  EXPECT_EQ(SplitCommandLine("\"\" a \"\""), (Names{"a"}));
}

TEST(ListFileNames, EachKeptLineIsOneName) {
  const std::string longest(kMaxListLine, 'n');
  const struct {
    std::string text;
    Names names;
  } cases[] = {
      {"# slides\n\na.bmp\nb.gif\n", {"a.bmp", "b.gif"}},
      {"a b.bmp   \n   \nlast.pcx", {"a b.bmp", "last.pcx"}},  // only trailing blanks go
      {" #not a comment\n\ttab.bmp\t\n", {" #not a comment", "\ttab.bmp\t"}},
      {"dos.bmp \r\nnext.bmp\r\n", {"dos.bmp", "next.bmp"}},
      {longest + "\nafter.bmp\n", {longest, "after.bmp"}},
      // A longer line names nothing rather than breaking into pieces.
      {longest + "xy\nafter.bmp\n", {"after.bmp"}},
  };
  for (const auto& c : cases) EXPECT_EQ(ListFileNames(c.text), c.names) << c.text;
}

TEST(ListFileLines, LinesStandAsWrittenWithoutTheirNewlines) {
  EXPECT_EQ(ListFileLines("a.bmp \r\n\n# b\nlast"), (Names{"a.bmp ", "", "# b", "last"}));
  EXPECT_EQ(ListFileLines("one\n"), (Names{"one"})) << "no line after the last newline";
  EXPECT_EQ(ListFileLines(std::string(kMaxListLine + 1, 'n') + "\nafter"), (Names{"after"}));
}

TEST(CommandLineNames, ListFilesAreExpandedInPlace) {
  const std::map<std::string, std::string> files = {
      {"Show.TXT", "#two names\n\none.bmp\ntwo.bmp\n"},
      {"self.txt", "self.txt\nx.bmp\n"},
  };
  const ListFileReader read = [&](const std::string& name) -> std::optional<std::string> {
    auto found = files.find(name);
    if (found == files.end()) return std::nullopt;
    return found->second;
  };
  EXPECT_EQ(CommandLineNames("first.bmp Show.TXT last.bmp", read),
            (Names{"first.bmp", "one.bmp", "two.bmp", "last.bmp"}));
  EXPECT_EQ(CommandLineNames("gone.txt only.bmp", read), (Names{"only.bmp"}));
  // A list naming itself is read once; its own name stays an ordinary name.
  EXPECT_EQ(CommandLineNames("self.txt", read), (Names{"self.txt", "x.bmp"}));
  // The extension is the file part's: a dotted directory or a longer extension is no list.
  EXPECT_EQ(CommandLineNames("notes.txt.bmp a.txtx", read), (Names{"notes.txt.bmp", "a.txtx"}));
}

TEST(CommandLineNames, ReadsListsFromDisk) {
  testing_support::ScratchFolder folder("command-line");
  std::ofstream(folder.File("my list.txt"), std::ios::binary) << "# holiday\r\n\r\nc:\\a.jpg  \r\nc:\\b.jpg\r\n";
  EXPECT_EQ(CommandLineNames("\"" + folder.File("my list.txt") + "\"\t\"" + folder.File("missing.txt") + "\""),
            (Names{"c:\\a.jpg", "c:\\b.jpg"}));
}

TEST(ChooseCommandLineStart, OneNameOpensSeveralQueue) {
  EXPECT_EQ(ChooseCommandLineStart({}), CommandLineStart::kNothing);
  EXPECT_EQ(ChooseCommandLineStart({"a.bmp"}), CommandLineStart::kOpenOne);
  EXPECT_EQ(ChooseCommandLineStart({"a.bmp", "b.bmp"}), CommandLineStart::kSlideshow);
}

}  // namespace quilla
