// The default navigation policy's tests, in their order, against a recording shell and files
// that exist only by name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostDoubles.h"
#include "Shared/Windows/MFC/Dialogs/NavigationPolicy.h"
#include "foundation/URLInfoErrors.h"

namespace {

using hostdoubles::Machine;

const char* Name(NavigationAction action) {
  switch (action) {
    case NavigationAction::HandedToShell: return "shell";
    case NavigationAction::LoadInPlace: return "in place";
    case NavigationAction::OpenInNewWindow: return "new window";
  }
  return "?";
}

NavigationAction Decide(std::string_view target) { return DecideNavigation(UStringRef<UTF8>(target)); }

TEST(NavigationPolicy, OrderOfTestsWhenTheShellOpensEverything) {
  struct Case {
    const char* target;
    NavigationAction expected;
    std::vector<std::string> asked;
  } cases[] = {
      {"http:x", NavigationAction::HandedToShell, {"shell open http:x show=1"}},
      {"HTTP:x", NavigationAction::HandedToShell, {"shell open HTTP:x show=1"}},
      {"HtTpS:x", NavigationAction::HandedToShell, {"shell open HtTpS:x show=1"}},
      {"mailto:someone", NavigationAction::HandedToShell, {"shell default mailto:someone show=1"}},
      // Not a web address: tested as a path, then a new window.
      {"httpx:y", NavigationAction::OpenInNewWindow, {"attributes httpx:y"}},
      {"file:///C:/Existing.html", NavigationAction::LoadInPlace, {"attributes C:\\Existing.html"}},
      {"FILE://localhost/C:/Existing.html", NavigationAction::LoadInPlace, {"attributes C:\\Existing.html"}},
      {"file:///C:/Missing.html", NavigationAction::OpenInNewWindow, {"attributes C:\\Missing.html"}},
      // A file address's path is percent-decoded.
      {"file:///C:/Exist%69ng.html", NavigationAction::LoadInPlace, {"attributes C:\\Existing.html"}},
      {"C:\\Existing.html", NavigationAction::LoadInPlace, {"attributes C:\\Existing.html"}},
      {"c:\\missing.html", NavigationAction::OpenInNewWindow, {"attributes c:\\missing.html"}},
      // Script is tested after the files.
      {"javascript:void(0)", NavigationAction::LoadInPlace, {"attributes javascript:void(0)"}},
      {"JavaScript:x", NavigationAction::LoadInPlace, {"attributes JavaScript:x"}},
      {"about:blank", NavigationAction::OpenInNewWindow, {"attributes about:blank"}},
      {"res://app.exe/page.html", NavigationAction::OpenInNewWindow, {"attributes res://app.exe/page.html"}},
      // An empty target names no file and asks for none.
      {"", NavigationAction::OpenInNewWindow, {}},
  };
  for (const Case& c : cases) {
    Machine machine(42);
    EXPECT_STREQ(Name(Decide(c.target)), Name(c.expected)) << c.target;
    EXPECT_EQ(machine.Take(), c.asked) << c.target;
  }
}

TEST(NavigationPolicy, AddressTheShellCannotOpenGoesOnToTheLaterTests) {
  struct Case {
    INT_PTR shellResult;
    const char* target;
    NavigationAction expected;
    std::vector<std::string> asked;
  } cases[] = {
      {SE_ERR_NOASSOC, "https://example.com/", NavigationAction::OpenInNewWindow,
       {"shell open https://example.com/ show=1", "attributes https://example.com"}},
      {32, "mailto:a@b", NavigationAction::OpenInNewWindow, {"shell default mailto:a@b show=1", "attributes mailto:a@b"}},
      {33, "http:ok", NavigationAction::HandedToShell, {"shell open http:ok show=1"}},
  };
  for (const Case& c : cases) {
    Machine machine(c.shellResult);
    EXPECT_STREQ(Name(Decide(c.target)), Name(c.expected)) << c.target;
    EXPECT_EQ(machine.Take(), c.asked) << c.target;
  }
}

TEST(NavigationPolicy, FailuresReadingTheTargetLeaveThePolicy) {
  Machine machine;
  // A file address without "//" has no authority to read a path from.
  EXPECT_THROW(Decide("file:C:/Existing.html"), NoAuthorityError);
  // Bytes that are not UTF-8 cannot be given to the shell.
  EXPECT_ANY_THROW(Decide("http:\xFF"));
  EXPECT_EQ(machine.Take(), std::vector<std::string>{});
}

}  // namespace
