#include "shell/command_line.h"

#include <gtest/gtest.h>

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

}  // namespace quilla
