// ShellExecuteW's parameter text split into a program's arguments by the platform's rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "posix/WindowsCommandLine.h"

namespace {

TEST(WindowsCommandLine, SplitsAsTheRuntimeDoes) {
  const struct Case {
    const char* line;
    std::vector<std::string> arguments;
  } cases[] = {
      {"", {}},
      {" \t ", {}},
      {"a  b\tc", {"a", "b", "c"}},
      {"\"C:\\Program Files\\x\" /s", {"C:\\Program Files\\x", "/s"}},
      {"a\"b c\"d", {"ab cd"}},             // quotes join with what touches them
      {"\"\"", {""}},                       // an empty argument stays
      {"\"a \"\"b\"\" c\"", {"a \"b\" c"}},  // "" inside quotes is one quote
      {"C:\\dir\\ x", {"C:\\dir\\", "x"}},  // backslashes before no quote are themselves
      {"\"C:\\dir\\\\\" x", {"C:\\dir\\", "x"}},  // 2n backslashes, then the closing quote
      {"a\\\"b", {"a\"b"}},                 // 2n+1 backslashes: a literal quote
      {"\"open end", {"open end"}},         // an unclosed quote runs to the end
      {"caf\xC3\xA9 \"cr\xC3\xA9\xC3\xA9s x\"", {"caf\xC3\xA9", "cr\xC3\xA9\xC3\xA9s x"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.arguments, posix::SplitWindowsCommandLine(c.line)) << c.line;
  }
}

}  // namespace
