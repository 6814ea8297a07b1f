// Which navigation targets of the guide page are commands, and what reaches the shell.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "app/GuideCommand.h"
#include "support/RecordingShell.h"

namespace {

enum class Outcome { Load, Open, Close, Refused };

struct Case {
  const char* comment;
  std::u16string_view target;
  Outcome outcome;
  std::u16string_view file = u"";  // Open only
  INT show = 0;                    // Open only
};

// Views with zero units inside need their length spelled out.
constexpr std::u16string_view kZeroUnitInside(u"openfolder:C:\\a\0.exe", 20);
constexpr char16_t kLoneSurrogateCommand[] = {u'o', u'p', u'e', u'n', u'f', u'o', u'l', u'd', u'e', u'r', u':', 0xD800, 0};
constexpr char16_t kLoneSurrogateAddress[] = {u'h', u't', u't', u'p', u':', u'/', u'/', u'x', u'/', 0xDC00, 0};

const Case kCases[] = {
    // The three opening commands, prefixes in any ASCII letter case, with their show values.
    {"lower case", u"openexecutable:setup.exe", Outcome::Open, u"setup.exe", SW_SHOWNORMAL},
    {"mixed case", u"OpenExecutable:setup.exe", Outcome::Open, u"setup.exe", SW_SHOWNORMAL},
    {"upper case", u"OPENEXECUTABLE:setup.exe", Outcome::Open, u"setup.exe", SW_SHOWNORMAL},
    {"folder", u"openfolder:C:%5CProgram%20Files", Outcome::Open, u"C:\\Program Files", SW_SHOWDEFAULT},
    {"lower-case escape", u"openfolder:C:%5cTsr", Outcome::Open, u"C:\\Tsr", SW_SHOWDEFAULT},
    {"browser, + stays +", u"openinbrowser:https://example.com/?q=a+b", Outcome::Open,
     u"https://example.com/?q=a+b", SW_SHOWDEFAULT},
    // The whole remainder is the file: nothing is split off as parameters.
    {"blanks and switches stay in the file", u"openexecutable:setup.exe%20/quiet", Outcome::Open,
     u"setup.exe /quiet", SW_SHOWNORMAL},
    // Percent-decoding edge cases.
    {"trailing %", u"openexecutable:a.exe%", Outcome::Open, u"a.exe", SW_SHOWNORMAL},
    {"trailing % and one digit", u"openexecutable:a.exe%4", Outcome::Open, u"a.exe", SW_SHOWNORMAL},
    {"%zz stays", u"openfolder:a%zzb", Outcome::Open, u"a%zzb", SW_SHOWDEFAULT},
    {"%%41", u"openfolder:%%41", Outcome::Open, u"%A", SW_SHOWDEFAULT},
    {"UTF-8 escapes become one unit", u"openfolder:C:%5CT%C3%A9", Outcome::Open, u"C:\\T\u00e9", SW_SHOWDEFAULT},
    {"raw text outside the BMP", u"openfolder:C:\\\U0001D11E", Outcome::Open, u"C:\\\U0001D11E", SW_SHOWDEFAULT},
    {"exactly the prefix", u"openexecutable:", Outcome::Open, u"", SW_SHOWNORMAL},
    // Closing; the remainder is ignored.
    {"close", u"close:", Outcome::Close},
    {"close with a remainder", u"CLOSE:anything%00", Outcome::Close},
    // No command: the browser loads these.
    {"closed: is no command", u"closed:", Outcome::Load},
    {"no colon", u"openfolder", Outcome::Load},
    {"leading blank", u" openfolder:C:\\", Outcome::Load},
    {"about:blank", u"about:blank", Outcome::Load},
    {"page link", u"file:///C:/Gen/TsrInstallationGuide/Content/next.html", Outcome::Load},
    {"empty target", u"", Outcome::Load},
    {"address outside the BMP", u"https://example.com/\U0001F600", Outcome::Load},
    {"command-like start, no command", u"Contents.html", Outcome::Load},
    {"non-ASCII start", u"\u00d6ffnen.html", Outcome::Load},
    // Refused: cancelled, and nothing reaches the shell.
    {"escaped zero byte", u"openexecutable:evil.exe%00.txt", Outcome::Refused},
    {"zero unit in the target", kZeroUnitInside, Outcome::Refused},
    {"remainder not UTF-8", u"openfolder:%FF", Outcome::Refused},
    {"truncated UTF-8 sequence", u"openfolder:%C3", Outcome::Refused},
    {"unpaired surrogate in a command", kLoneSurrogateCommand, Outcome::Refused},
    // Undecidable targets are not loaded either: one could be a command in disguise.
    {"unpaired surrogate in an address", kLoneSurrogateAddress, Outcome::Refused},
};

Outcome OutcomeOf(GuideCommand::Kind kind) {
  switch (kind) {
    case GuideCommand::Load:
      return Outcome::Load;
    case GuideCommand::Open:
      return Outcome::Open;
    case GuideCommand::Close:
      return Outcome::Close;
    case GuideCommand::Refused:
      break;
  }
  return Outcome::Refused;
}

TEST(GuideCommand, TargetsBecomeShellCallsOrLoads) {
  ScopedRecordingShell shell;
  for (const Case& c : kCases) {
    shell->Clear();
    const GuideCommand command = ReadGuideCommand(UStringRef<UTF16>(c.target));
    ASSERT_EQ(c.outcome, OutcomeOf(command.kind)) << c.comment;
    if (command.kind == GuideCommand::Open) OpenInShell(command);
    const auto requests = shell->Requests();
    if (c.outcome != Outcome::Open) {
      EXPECT_TRUE(requests.empty()) << c.comment;
      continue;
    }
    ASSERT_EQ(1u, requests.size()) << c.comment;
    const RecordedRequest& r = requests[0];
    EXPECT_EQ(nullptr, r.owner) << c.comment;
    EXPECT_EQ(std::u16string(u"open"), r.verb) << c.comment;
    EXPECT_EQ(std::u16string(c.file), r.file) << c.comment;
    EXPECT_FALSE(r.parameters.has_value()) << c.comment;
    EXPECT_FALSE(r.directory.has_value()) << c.comment;
    EXPECT_EQ(c.show, r.showCommand) << c.comment;
  }
}

TEST(GuideCommand, OnlyLocalAndInMemoryDocumentsAreLocal) {
  const struct {
    std::u16string_view address;
    bool local;
  } cases[] = {
      {u"", true},  // a page from memory
      {u"file:///C:/Gen/TsrInstallationGuide/Content/runvane.html", true},
      {u"FILE:///C:/x.html", true},
      {u"File:", true},
      {u"C:\\Gen\\TsrInstallationGuide\\Content\\runvane.html", true},  // as the launcher navigates
      {u"d:/Gen/a.html", true},
      {u"\\\\server\\share\\a.html", false},
      {u"C:", false},
      {u"1:\\a.html", false},
      {u"about:blank", false},
      {u"https://example.com/", false},
      {u"files:///C:/x.html", false},
      {u"fil", false},
      {u" file:///C:/x.html", false},
      {u"\uFF46ile:///C:/x.html", false},  // a full-width f is no ASCII letter
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.local, IsLocalDocumentAddress(UStringRef<UTF16>(c.address)))
        << std::string(c.address.begin(), c.address.end());
}

}  // namespace
