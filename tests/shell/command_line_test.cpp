// Splitting the command line.
#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lemmabox {
namespace {

using Files = std::vector<std::string>;

TEST(CommandLineTest, SplitsTokensAndTakesFileNamesInOrder) {
  struct Case {
    std::string text;
    Files files;
    bool splash;
  } cases[] = {
      {"\"/home/ann/my notes/orbit.axn\" -x /y second.axn",
       {"/home/ann/my notes/orbit.axn", "second.axn"},
       true},
      {":", {}, false},
      {";quiet a.axn", {"a.axn"}, false},
      {"a.axn\tb.axn\nc.axn\r\nd.axn", {"a.axn", "b.axn", "c.axn", "d.axn"}, true},
      {std::string("a.axn\0b.axn", 11), {"a.axn", "b.axn"}, true},
      {"   ", {}, true},
      {"", {}, true},
      {"\"\" - --help", {}, true},
      {"\"unclosed name.axn", {"unclosed name.axn"}, true},
      {"\"a b\"c.axn", {"a b", "c.axn"}, true},
      {"mid\"quote x", {"mid\"quote", "x"}, true},
      // Paths of this system start with '/' too; only single-word switches are ignored.
      {"/Embedding /p /orbit.axn /tmp/x", {"/orbit.axn", "/tmp/x"}, true},
      {"\u03B1\u03B2.axn", {"\u03B1\u03B2.axn"}, true},
  };
  for (const Case& c : cases) {
    CommandLine line = ParseCommandLine(c.text);
    EXPECT_EQ(line.files, c.files) << c.text;
    EXPECT_EQ(line.splash, c.splash) << c.text;
  }
}

TEST(CommandLineTest, ArgumentsFollowTheSameRulesWithoutSplitting) {
  CommandLine line =
      ParseCommandArguments({"my notes.axn", "-x", "/y", ":", "", "/srv/b.axn", "\"q\".axn"});
  EXPECT_EQ(line.files, (Files{"my notes.axn", "/srv/b.axn", "\"q\".axn"}));
  EXPECT_FALSE(line.splash);
}

TEST(CommandLineTest, TokensTooLongForAFileNameAreIgnored) {
  std::string longest(kMaxFileNameLength, 'a');
  std::string tooLong(kMaxFileNameLength + 1, 'b');
  CommandLine line = ParseCommandLine(longest + " " + tooLong + " c.axn");
  EXPECT_EQ(line.files, (Files{longest, "c.axn"}));
}

}  // namespace
}  // namespace lemmabox
