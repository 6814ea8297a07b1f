// Which targets are the host's commands, and whether WebKit can guard them: a prefix that is a
// scheme and its colon is guarded; one that is no scheme leaves its asker unknown.
#include <gtest/gtest.h>

#include <string>

#include "gtk/WebKitCommandPrefixes.h"

namespace {

using Match = gtkui::WebKitCommandPrefixes::Match;

TEST(WebKitCommandPrefixes, TellsCommandsAndWhetherTheyAreGuarded) {
  gtkui::WebKitCommandPrefixes commands;
  commands.Set({u"openexecutable:", u"close:", u"run now", u"", u"x-1+y.z:go"});
  const struct {
    const char* target;
    Match expected;
  } cases[] = {
      {"openexecutable:C:%5Cbin%5Cx.sh", Match::Guarded},
      {"OpenExecutable:x", Match::Guarded},       // WebKit lowers the scheme; a host may not
      {"close:", Match::Guarded},
      {"closed:", Match::None},                   // another scheme
      {"open:x", Match::None},
      {"http://127.0.0.1/openexecutable:x", Match::None},
      {"run now please", Match::Unguarded},       // no scheme: nobody checked who asks
      {"RUN NOW", Match::Unguarded},
      {"x-1+y.z:go/on", Match::Guarded},          // a longer prefix is guarded by its scheme
      {"", Match::None},                          // the empty prefix is no command
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, commands.Of(c.target)) << c.target;
}

TEST(WebKitCommandPrefixes, ANewListReplacesTheOld) {
  gtkui::WebKitCommandPrefixes commands;
  commands.Set({u"close:"});
  commands.Set({u"openfolder:", u"1bad:"});
  EXPECT_EQ(Match::None, commands.Of("close:"));
  EXPECT_EQ(Match::Guarded, commands.Of("openfolder:C:"));
  EXPECT_EQ(Match::Unguarded, commands.Of("1bad:x"));  // a scheme starts with a letter
}

}  // namespace
